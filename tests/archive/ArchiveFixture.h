#pragma once
// An empty archive for each test, on either engine: an SQLite file in a temporary folder, or a
// database of its own on the PostgreSQL server that tools/pg.sh starts (GRX1_TEST_PG_URL). Without
// that server the PostgreSQL cases fail when GRX1_TEST_PG_REQUIRED is set (tools/test.sh sets it)
// and are skipped with a note otherwise.
#include "archive/Archive.h"
#include "archive/ArchiveSql.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace grx::test {

class ArchiveFixture : public ::testing::TestWithParam<ArchiveEngine> {
 protected:
  void SetUp() override;
  void TearDown() override;
  std::unique_ptr<Archive> openArchive(int schemaVersion = 0);
  // Runs SQL on the test's archive through a connection of the test's own.
  void runOnArchive(const QString& sql, const QVariantList& values = {});
  // PostgreSQL: runs SQL on the server's own database (to act on the test's connections).
  void runOnServer(const QString& sql, const QVariantList& values = {});
  // The path of grx1-cli, whose imports the tests kill or run side by side.
  static QString cliPath();

  QTemporaryDir dir_;
  QString connection_;  // what the program is given
  QString database_;    // PostgreSQL: the test's database
};

std::string engineName(const ::testing::TestParamInfo<ArchiveEngine>& info);

}  // namespace grx::test
