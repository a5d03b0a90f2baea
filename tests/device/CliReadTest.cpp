// grx1-cli read against the simulated tester on pipes, with the protocol's waits removed.
#include "LinkTestSupport.h"
#include "cli/CliRead.h"
#include "data/ProjectFile.h"
#include "data/SampleMeasurements.h"
#include "device/LinkSleeper.h"
#include "sim/PipeTester.h"
#include "sim/TesterData.h"

#include <QTemporaryDir>
#include <QTextStream>

#include <gtest/gtest.h>

#include <memory>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace grx {
namespace {

struct CliRun {
  int code = 0;
  QString out, err;
};

CliRun runRead(const QStringList& args) {
  CliRun run;
  QTextStream out(&run.out), err(&run.err);
  run.code = runCliRead(args, out, err, std::make_unique<NoSleeper>());
  out.flush();
  err.flush();
  return run;
}

class CliReadTest : public ::testing::Test {
 protected:
  void SetUp() override { test::withoutLibUsb(); }
  test::PipeFolder folder;
  QTemporaryDir output;
};

TEST_F(CliReadTest, ReadsTheTesterAndSavesAProjectFile) {
  auto set = std::make_unique<MeasurementSet>();
  generateSampleMeasurements(*set, 25, 5);
  sim::TesterCore core;
  sim::loadMeasurements(core, *set);
  sim::PipeTester server(core, folder.stdPath());
  ASSERT_TRUE(server.create());
  server.start();
  ASSERT_TRUE(server.waitListening(5000));

  const QString file = output.filePath("read.grx");
  const CliRun run = runRead({"-o", file, "--timeout", "10"});
  EXPECT_EQ(run.code, 0) << run.err.toStdString();
  EXPECT_TRUE(run.err.contains("tester: GRX-1 simulator 1.0")) << run.err.toStdString();
  EXPECT_TRUE(run.err.contains("reading records: 100%") || run.err.contains("reading records: 9"));
  auto read = std::make_unique<MeasurementSet>();
  ASSERT_EQ(readProjectFile(file, *read), ProjectReadResult::Ok);
  read->buildSeries();
  set->buildSeries();
  EXPECT_TRUE(test::sameMeasurements(*read, *set));
}

TEST_F(CliReadTest, NoTesterWithinTheTimeOutExitsWith2) {
  const CliRun run = runRead({"-o", output.filePath("none.grx"), "--timeout", "0.3"});
  EXPECT_EQ(run.code, 2);
  EXPECT_TRUE(run.err.contains("no tester answered within 0.3 s")) << run.err.toStdString();
  EXPECT_FALSE(QFile::exists(output.filePath("none.grx")));
}

TEST_F(CliReadTest, ATesterFoundButSilentIsToldApartFromNoTester) {
  // Device nodes whose host-to-tester pipe has a reader, but nobody ever answers.
  const std::string dir = folder.stdPath() + "/tester0";
  ASSERT_EQ(::mkdir(dir.c_str(), 0755), 0);
  ASSERT_EQ(::mkfifo((dir + "/Pipe00").c_str(), 0600), 0);
  ASSERT_EQ(::mkfifo((dir + "/Pipe01").c_str(), 0600), 0);
  const int reader = ::open((dir + "/Pipe00").c_str(), O_RDONLY | O_NONBLOCK);
  ASSERT_GE(reader, 0);
  const CliRun run = runRead({"-o", output.filePath("silent.grx"), "--timeout", "0.5"});
  ::close(reader);
  EXPECT_EQ(run.code, 2);
  EXPECT_TRUE(run.err.endsWith("\ngrx1-cli read: the tester was found but did not answer within 0.5 s; the link "
                               "itself waits 0.35 s before the first answer\n"))
      << run.err.toStdString();
}

TEST_F(CliReadTest, BadArgumentsExitWith2AndOneLine) {
  const QStringList cases[] = {{},
                               {"-o"},
                               {"--timeout", "abc", "-o", "x.grx"},
                               {"-o", "x.grx", "--speed", "2"},
                               {"--timeout", "0", "-o", "x.grx"},
                               {"--timeout", "inf", "-o", "x.grx"},
                               {"--timeout", "nan", "-o", "x.grx"},
                               {"--timeout", "1e300", "-o", "x.grx"},
                               {"--timeout", "0.05", "-o", "x.grx"},
                               {"--timeout", "86401", "-o", "x.grx"},
                               {"--max-time", "-1", "-o", "x.grx"},
                               {"--max-time", "infinity", "-o", "x.grx"}};
  for (const QStringList& args : cases) {
    const CliRun run = runRead(args);
    EXPECT_EQ(run.code, 2) << args.join(' ').toStdString();
    EXPECT_EQ(run.err.count(u'\n'), 1) << run.err.toStdString();
    EXPECT_TRUE(run.err.startsWith("grx1-cli read: ")) << run.err.toStdString();
    EXPECT_TRUE(run.err.endsWith(" (see grx1-cli read --help)\n")) << run.err.toStdString();
    EXPECT_TRUE(run.out.isEmpty());
  }
}

TEST_F(CliReadTest, HelpGoesToStdoutAndExplainsTheTwoTimeLimits) {
  const CliRun run = runRead({"--help"});
  EXPECT_EQ(run.code, 0);
  EXPECT_TRUE(run.err.isEmpty());
  EXPECT_TRUE(run.out.startsWith("usage: grx1-cli read -o OUT.grx [--timeout SECONDS] [--max-time SECONDS]"));
  EXPECT_TRUE(run.out.contains("longest time without a new answer from the tester")) << run.out.toStdString();
  EXPECT_TRUE(run.out.contains("longest time for the whole command (default: none)"));
}

// A tester behind the pipes for the time-out cases, with the given faults.
class CliReadFaultTest : public CliReadTest {
 protected:
  void serve(int impacts, const sim::TesterFaults& faults) {
    generateSampleMeasurements(*set, impacts, 9);
    sim::loadMeasurements(core, *set);
    core.faults() = faults;
    ASSERT_TRUE(server.create());
    server.start();
    ASSERT_TRUE(server.waitListening(5000));
  }
  std::unique_ptr<MeasurementSet> set = std::make_unique<MeasurementSet>();
  sim::TesterCore core;
  sim::PipeTester server{core, folder.stdPath()};
};

TEST_F(CliReadFaultTest, ATesterThatFailsAtTheSameRecordEveryTimeEndsWithTheTimeOut) {
  // Every try starts the read over; the records before the fault come again and are no sign of
  // life, so the time-out ends the command. --max-time is the guard should it not.
  sim::TesterFaults faults;
  faults.silenceAtRecord = 10;
  faults.silenceTimes = -1;
  serve(20, faults);
  const QString file = output.filePath("never.grx");
  const CliRun run = runRead({"-o", file, "--timeout", "1.5", "--max-time", "40"});
  EXPECT_EQ(run.code, 2);
  EXPECT_TRUE(run.err.contains("link: Link Error")) << run.err.toStdString();
  EXPECT_TRUE(run.err.endsWith("\ngrx1-cli read: the tester stopped answering: nothing new within 1.5 s\n"))
      << run.err.toStdString();
  EXPECT_FALSE(run.err.contains("%grx1-cli")) << "the message starts on a new line after the progress";
  EXPECT_FALSE(QFile::exists(file));
}

TEST_F(CliReadFaultTest, ASlowButSteadyTesterIsReadToTheEnd) {
  // 20 ms per answer, the progress moves every 16 records (about 320 ms): longer than the time-out,
  // but every record is a fresh answer well within it (230 ms to spare for a busy machine).
  sim::TesterFaults faults;
  faults.slowMs = 20;
  serve(1500, faults);
  const QString file = output.filePath("slow.grx");
  const CliRun run = runRead({"-o", file, "--timeout", "0.25"});
  ASSERT_EQ(run.code, 0) << run.err.toStdString();
  auto read = std::make_unique<MeasurementSet>();
  ASSERT_EQ(readProjectFile(file, *read), ProjectReadResult::Ok);
  EXPECT_EQ(read->count(), 1500u);
  EXPECT_TRUE(test::sameMeasurements(*read, *set));
}

TEST_F(CliReadFaultTest, MaxTimeBoundsTheWholeCommand) {
  sim::TesterFaults faults;
  faults.slowMs = 20;
  serve(300, faults);
  const CliRun run = runRead({"-o", output.filePath("long.grx"), "--timeout", "5", "--max-time", "0.8"});
  EXPECT_EQ(run.code, 2);
  EXPECT_TRUE(run.err.endsWith("\ngrx1-cli read: the read did not finish within 0.8 s (--max-time)\n"))
      << run.err.toStdString();
}

}  // namespace
}  // namespace grx
