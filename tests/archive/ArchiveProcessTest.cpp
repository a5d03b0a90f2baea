// Imports by grx1-cli processes: one killed in the middle of its transaction, two side by side.
#include "ArchiveFixture.h"

#include "data/ProjectFile.h"
#include "data/SampleMeasurements.h"

#include "support/FileBytes.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

#ifndef _WIN32
#include <unistd.h>
#endif

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
  process.kill();  // SIGKILL; on Windows TerminateProcess
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

// The server stopped in the middle of an import: one line, and nothing of the import is kept.
TEST_P(ArchiveProcessTest, AServerLostInTheMiddleOfAnImportIsSaidInOneLine) {
  if (GetParam() != ArchiveEngine::Postgres) GTEST_SKIP() << "a server's connection";
  const QString file = sampleFile("read.grx", 300, 5);
  openArchive().reset();
  QProcess process;
  startAdd(process, {file}, 100);
  waitForHold(process);
  // Every connection to the test's database ends as a server shutdown ends them.
  runOnServer(QStringLiteral("SELECT pg_terminate_backend(pid) FROM pg_stat_activity WHERE datname = ?"), {database_});
  process.write("\n");
  ASSERT_TRUE(process.waitForFinished(30000));
  const QString said = QString::fromUtf8(process.readAllStandardError());
  EXPECT_EQ(process.exitCode(), 2);
  EXPECT_EQ(said.count(u'\n'), 1) << said.toStdString();
  EXPECT_TRUE(said.startsWith("The archive \"" + connection_ + "\" failed; nothing was changed")) << said.toStdString();
  EXPECT_EQ(seriesAndImpacts(), std::make_pair(0, 0));
}

#ifndef _WIN32  // a tmpfs in a mount namespace of its own
// A full disk and a read-only disk are said as what they are, never as a damaged archive, and the
// archive on them can still be listed. Needs a small disk of its own: a tmpfs mounted in a mount
// namespace of the test's own (root only).
TEST(ArchiveOnItsOwnDisk, AFullAndAReadOnlyDiskAreSaidSoAndTheArchiveIsStillListed) {
  if (::geteuid() != 0) GTEST_SKIP() << "mounting a small disk needs root";
  QTemporaryDir dir;
  const QString disk = dir.filePath("disk");
  QDir().mkdir(disk);
  // An archive filled on the small disk, which then fills up; each command's standard error goes
  // into a file of its own beside the disk, and the list's line count too.
  const QString script = QStringLiteral(
      "C=$1 D=$2 O=$3; set -e; mount -t tmpfs -o size=4m tmpfs $D\n"
      "$C sample -o $O/s.grx --impacts 300 --seed 4; $C sample -o $O/m.grx --impacts 300 --seed 5\n"
      "$C archive --db $D/a.sqlite add $O/s.grx >/dev/null; dd if=/dev/zero of=$D/fill bs=4k 2>/dev/null || true\n"
      "set +e; $C archive --db $D/a.sqlite add $O/m.grx 2>$O/full-add.txt\n"
      "$C archive --db $D/a.sqlite list 2>$O/full-list.txt | wc -l >$O/full-lines.txt\n"
      "$C archive --db $D/new.sqlite add $O/m.grx 2>$O/full-new.txt; ls $D >$O/full-files.txt\n"
      "rm $D/fill; mount -o remount,ro $D; $C archive --db $D/a.sqlite add $O/m.grx 2>$O/ro-add.txt\n"
      "$C archive --db $D/a.sqlite list 2>$O/ro-list.txt | wc -l >$O/ro-lines.txt\n");
  QProcess shell;
  shell.start(QStringLiteral("unshare"), {"-m", "sh", "-c", script, "sh", QStringLiteral(GRX1_CLI_PATH), disk, dir.path()});
  ASSERT_TRUE(shell.waitForFinished(60000));
  if (shell.exitCode() != 0 && !QFile::exists(dir.filePath("full-add.txt")))
    GTEST_SKIP() << "no disk of its own: " << shell.readAllStandardError().toStdString();
  auto text = [&dir](const char* name) { return QString::fromUtf8(readFileBytes(dir.filePath(name))); };
  const QString full = "No space left on the disk for the archive \"" + disk;
  EXPECT_TRUE(text("full-add.txt").startsWith(full + "/a.sqlite\"; nothing was changed")) << text("full-add.txt").toStdString();
  EXPECT_TRUE(text("full-new.txt").startsWith(full + "/new.sqlite\"")) << text("full-new.txt").toStdString();
  EXPECT_FALSE(text("full-files.txt").contains("new.sqlite")) << "an archive that could not be made leaves no file";
  EXPECT_TRUE(text("ro-add.txt").startsWith("The archive \"" + disk + "/a.sqlite\" is read-only")) << text("ro-add.txt").toStdString();
  EXPECT_EQ(text("full-list.txt") + text("ro-list.txt"), QString());
  EXPECT_GT(text("full-lines.txt").trimmed().toInt(), 10);  // one line a series
  EXPECT_EQ(text("ro-lines.txt"), text("full-lines.txt"));
}
#endif

INSTANTIATE_TEST_SUITE_P(Engines, ArchiveProcessTest, ::testing::Values(ArchiveEngine::Sqlite, ArchiveEngine::Postgres),
                         engineName);

}  // namespace
}  // namespace grx::test
