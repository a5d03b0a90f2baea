// Imports by grx1-cli processes: one killed in the middle of its transaction, two side by side.
#include "ArchiveFixture.h"

#include "data/ProjectFile.h"
#include "data/SampleMeasurements.h"

#include <QProcess>

#include <csignal>

namespace grx::test {
namespace {

class ArchiveProcessTest : public ArchiveFixture {
 protected:
  QString sampleFile(const char* name, int impacts, std::uint32_t seed) {
    auto set = std::make_unique<MeasurementSet>();
    generateSampleMeasurements(*set, impacts, seed);
    const QString path = dir_.filePath(QString::fromLatin1(name));
    EXPECT_EQ(writeProjectFile(*set, path), ProjectWriteResult::Ok);
    return path;
  }
  // Starts `grx1-cli archive add`; with holdAt it stops after that many impacts until told to go on.
  void startAdd(QProcess& process, const QStringList& files, int holdAt = 0) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    if (holdAt) env.insert(QStringLiteral("GRX1_ARCHIVE_HOLD_AT"), QString::number(holdAt));
    process.setProcessEnvironment(env);
    process.start(cliPath(), QStringList{"archive", "--db", connection_, "add"} + files);
    ASSERT_TRUE(process.waitForStarted());
  }
  static void waitForHold(QProcess& process) {
    process.setReadChannel(QProcess::StandardError);
    QByteArray said;
    while (!said.contains("holding\n") && process.waitForReadyRead(30000)) said += process.readAllStandardError();
    ASSERT_TRUE(said.contains("holding\n")) << said.toStdString();
  }
  std::pair<int, int> seriesAndImpacts() {
    std::vector<ArchiveSeries> series;
    EXPECT_TRUE(openArchive()->listSeries({}, series).ok());
    int impacts = 0;
    for (const ArchiveSeries& s : series) impacts += s.impacts;
    return {int(series.size()), impacts};
  }
};

TEST_P(ArchiveProcessTest, AnImportKilledMidwayLeavesNothingOfItBehind) {
  const QString file = sampleFile("read.grx", 200, 7);
  openArchive().reset();
  QProcess process;
  process.setProcessChannelMode(QProcess::SeparateChannels);
  startAdd(process, {file}, 120);
  waitForHold(process);
  ::kill(pid_t(process.processId()), SIGKILL);
  ASSERT_TRUE(process.waitForFinished());
  const auto archive = openArchive();
  std::vector<ArchiveImport> imports;
  ASSERT_TRUE(archive->listImports(imports).ok());
  EXPECT_TRUE(imports.empty());
  EXPECT_EQ(seriesAndImpacts(), std::make_pair(0, 0));
}

TEST_P(ArchiveProcessTest, TwoImportersAtOnceStoreEveryImpactOnce) {
  const QString a = sampleFile("a.grx", 400, 11);
  const QString b = sampleFile("b.grx", 400, 12);
  openArchive().reset();
  // The first holds its transaction open until the second has started on the same impacts.
  QProcess first, second;
  startAdd(first, {a, b}, 150);
  waitForHold(first);
  startAdd(second, {b, a});
  first.write("\n");
  ASSERT_TRUE(first.waitForFinished(60000));
  ASSERT_TRUE(second.waitForFinished(60000));
  EXPECT_EQ(first.exitCode(), 0) << first.readAllStandardError().toStdString();
  EXPECT_EQ(second.exitCode(), 0) << second.readAllStandardError().toStdString();
  // Every impact is new to exactly one of them.
  int added = 0;
  for (QProcess* p : {&first, &second})
    for (const QByteArray& line : p->readAllStandardOutput().split('\n'))
      if (line.contains(" new,")) added += line.split(' ')[3].toInt();
  EXPECT_EQ(added, 800);
  EXPECT_EQ(seriesAndImpacts().second, 800);
}

INSTANTIATE_TEST_SUITE_P(Engines, ArchiveProcessTest, ::testing::Values(ArchiveEngine::Sqlite, ArchiveEngine::Postgres),
                         engineName);

}  // namespace
}  // namespace grx::test
