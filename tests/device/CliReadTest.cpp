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

TEST_F(CliReadTest, BadArgumentsExitWith2) {
  const QStringList cases[] = {{}, {"-o"}, {"--timeout", "abc", "-o", "x.grx"}, {"-o", "x.grx", "--speed", "2"},
                               {"--timeout", "0", "-o", "x.grx"}};
  for (const QStringList& args : cases) {
    const CliRun run = runRead(args);
    EXPECT_EQ(run.code, 2) << args.join(' ').toStdString();
    EXPECT_TRUE(run.err.contains("usage: grx1-cli read -o OUT.grx [--timeout SECONDS]"));
  }
}

}  // namespace
}  // namespace grx
