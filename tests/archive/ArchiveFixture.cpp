#include "ArchiveFixture.h"

#include <QCoreApplication>
#include <QSqlDatabase>
#include <QUrl>

#include <atomic>

namespace grx::test {
namespace {

std::atomic<int> counter{0};

// A connection of the test to the server's own database, to make and drop the test's databases.
QSqlDatabase serverConnection(const QUrl& url, const QString& database, const QString& name) {
  QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
  db.setHostName(url.host());
  db.setPort(url.port());
  db.setUserName(url.userName());
  db.setDatabaseName(database);
  return db;
}

void runOn(const QUrl& url, const QString& database, const QString& sql, const QVariantList& values = {}) {
  const QString name = QStringLiteral("test-admin-%1").arg(++counter);
  {
    QSqlDatabase db = serverConnection(url, database, name);
    ASSERT_TRUE(db.open()) << db.lastError().text().toStdString();
    const ArchiveError e = runSql(db, sql, values);
    EXPECT_TRUE(e.ok()) << e.detail.toStdString();
  }
  QSqlDatabase::removeDatabase(name);
}

}  // namespace

std::string engineName(const ::testing::TestParamInfo<ArchiveEngine>& info) {
  return info.param == ArchiveEngine::Sqlite ? "Sqlite" : "Postgres";
}

QString ArchiveFixture::cliPath() { return QStringLiteral(GRX1_CLI_PATH); }

void ArchiveFixture::SetUp() {
  if (GetParam() == ArchiveEngine::Sqlite) {
    connection_ = dir_.filePath(QStringLiteral("archive.sqlite"));
    return;
  }
  const QString server = qEnvironmentVariable("GRX1_TEST_PG_URL");
  if (server.isEmpty()) {
    if (qEnvironmentVariableIsSet("GRX1_TEST_PG_REQUIRED")) FAIL() << "GRX1_TEST_PG_URL is not set: no PostgreSQL server";
    GTEST_SKIP() << "no PostgreSQL server: run the tests through tools/pg.sh (tools/test.sh does)";
  }
  const QUrl url(server);
  database_ = QStringLiteral("grx1_test_%1_%2").arg(QCoreApplication::applicationPid()).arg(++counter);
  runOn(url, url.path().mid(1), QStringLiteral("CREATE DATABASE ") + database_);
  QUrl own = url;
  own.setPath(u'/' + database_);
  connection_ = own.toString();
}

void ArchiveFixture::TearDown() {
  if (database_.isEmpty()) return;
  const QUrl url(qEnvironmentVariable("GRX1_TEST_PG_URL"));
  runOn(url, url.path().mid(1), QStringLiteral("DROP DATABASE ") + database_ + QStringLiteral(" WITH (FORCE)"));
}

std::unique_ptr<Archive> ArchiveFixture::openArchive(int schemaVersion) {
  ArchiveError error;
  std::unique_ptr<Archive> archive = Archive::open(connection_, error, ArchiveAccess::Write, schemaVersion);
  EXPECT_TRUE(archive) << int(error.failure) << " " << error.detail.toStdString();
  return archive;
}

void ArchiveFixture::runOnServer(const QString& sql, const QVariantList& values) {
  const QUrl url(qEnvironmentVariable("GRX1_TEST_PG_URL"));
  runOn(url, url.path().mid(1), sql, values);
}

void ArchiveFixture::runOnArchive(const QString& sql, const QVariantList& values) {
  if (GetParam() == ArchiveEngine::Postgres) return runOn(QUrl(connection_), database_, sql, values);
  const QString name = QStringLiteral("test-sqlite-%1").arg(++counter);
  {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
    db.setDatabaseName(connection_);
    ASSERT_TRUE(db.open());
    const ArchiveError e = runSql(db, sql, values);
    EXPECT_TRUE(e.ok()) << e.detail.toStdString();
  }
  QSqlDatabase::removeDatabase(name);
}

}  // namespace grx::test
