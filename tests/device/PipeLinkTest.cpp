// The bulk-pipe transport on real FIFOs in a temporary folder: alone against raw FIFOs, and under
// the device worker against the simulated tester's pipe server.
#include "LinkTestSupport.h"
#include "data/SampleMeasurements.h"
#include "device/DeviceWorker.h"
#include "device/LibUsbLink.h"
#include "device/PipeLink.h"
#include "platform/TextPair.h"
#include "sim/PipeTester.h"
#include "sim/TesterData.h"

#include <QDir>

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <memory>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace grx {
namespace {

using Clock = std::chrono::steady_clock;

// Two FIFOs made by hand, with the tester's ends opened by the test itself.
class RawPipes {
 public:
  explicit RawPipes(const std::string& folder) : path(folder + "/raw") {
    ::mkdir(path.c_str(), 0755);
    ::mkfifo((path + "/Pipe00").c_str(), 0666);
    ::mkfifo((path + "/Pipe01").c_str(), 0666);
  }
  ~RawPipes() {
    closeReader();
    closeWriter();
  }
  void openReader() { reader = ::open((path + "/Pipe00").c_str(), O_RDONLY | O_NONBLOCK); }
  void openWriter() { writer = ::open((path + "/Pipe01").c_str(), O_WRONLY | O_NONBLOCK); }
  void closeReader() {
    if (reader >= 0) ::close(reader);
    reader = -1;
  }
  void closeWriter() {
    if (writer >= 0) ::close(writer);
    writer = -1;
  }
  std::string path;
  int reader = -1;  // tester side of Pipe00
  int writer = -1;  // tester side of Pipe01
};

TEST(PipeLinkFind, ListsSubFoldersInByteOrderAndTheWorkerTakesTheLast) {
  test::PipeFolder folder;
  for (const char* name : {"b", "a", "B", "tester10", "tester9"}) QDir(folder.path()).mkdir(QString::fromLatin1(name));
  QFile file(folder.path() + "/zfile");
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.close();
  TPipeLink link;
  std::string list;
  EXPECT_EQ(link.FindDevices(list), 5);
  const std::string f = folder.stdPath();
  EXPECT_EQ(list, f + "/B\n" + f + "/a\n" + f + "/b\n" + f + "/tester10\n" + f + "/tester9\n");
  EXPECT_EQ(lastDevicePath(list), f + "/tester9");
}

TEST(PipeLinkFind, NoFolderOrEmptyFolderFindsNothing) {
  const struct {
    const char* folder;
    int count;
  } cases[] = {{"/nonexistent/grx1-pipes", 0}};
  for (const auto& c : cases) {
    qputenv("GRX1_PIPE_DIR", c.folder);
    TPipeLink link;
    std::string list;
    EXPECT_EQ(link.FindDevices(list), c.count);
    EXPECT_TRUE(list.empty());
  }
  test::PipeFolder empty;
  TPipeLink link;
  std::string list;
  EXPECT_EQ(link.FindDevices(list), 0);
}

TEST(PipeLinkPath, LastPathOfAList) {
  const struct {
    std::string list;
    std::string last;
  } cases[] = {{"a\nb\n", "b"}, {"one\n", "one"}, {"x", "x"}, {"", ""}, {"a\nbb", "bb"}};
  for (const auto& c : cases) EXPECT_EQ(lastDevicePath(c.list), c.last) << c.list;
}

class PipeLinkRaw : public ::testing::Test {
 protected:
  test::PipeFolder folder;
  RawPipes pipes{folder.stdPath()};
  TPipeLink link{50};
};

TEST_F(PipeLinkRaw, OpenFailsWithEnxioWhenNoTesterReadsPipe00) {
  EXPECT_EQ(link.Open(pipes.path), std::uint16_t(ENXIO));
  EXPECT_FALSE(link.isOpen());
  EXPECT_EQ(link.Open(folder.stdPath() + "/missing"), std::uint16_t(ENOENT));
}

TEST_F(PipeLinkRaw, ArgumentsAndStateAreCheckedBeforeAnyTransfer) {
  std::uint8_t buffer[4] = {};
  EXPECT_EQ(link.Read(buffer, 4), kPipeNotOpen);
  EXPECT_EQ(link.Write(buffer, 4), kPipeNotOpen);
  pipes.openReader();
  ASSERT_EQ(link.Open(pipes.path), 0);
  EXPECT_EQ(link.Open(pipes.path), 0) << "already open";
  EXPECT_EQ(link.Read(buffer, 0), kPipeBadArgument);
  EXPECT_EQ(link.Read(nullptr, 4), kPipeBadArgument);
  EXPECT_EQ(link.Write(buffer, 0), kPipeBadArgument);
  EXPECT_EQ(link.Write(nullptr, 4), kPipeBadArgument);
  link.Close();
  link.Close();
  EXPECT_EQ(link.Read(buffer, 4), kPipeNotOpen);
}

TEST_F(PipeLinkRaw, AShortChunkIsFollowedByAReadOfTheRest) {
  pipes.openReader();
  ASSERT_EQ(link.Open(pipes.path), 0);
  pipes.openWriter();
  ASSERT_GE(pipes.writer, 0);
  std::uint8_t sent[64];
  for (int i = 0; i < 64; ++i) sent[i] = std::uint8_t(i + 1);
  std::thread tester([&] {
    ASSERT_EQ(::write(pipes.writer, sent, 30), 30);
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    ASSERT_EQ(::write(pipes.writer, sent + 30, 34), 34);
  });
  std::uint8_t got[64] = {};
  EXPECT_EQ(link.Read(got, 64), kPipeDone);
  tester.join();
  EXPECT_EQ(std::memcmp(got, sent, 64), 0);
}

TEST_F(PipeLinkRaw, SilenceEndOfFileAndAVanishedTesterFail) {
  pipes.openReader();
  ASSERT_EQ(link.Open(pipes.path), 0);
  std::uint8_t buffer[4] = {};
  const Clock::time_point t0 = Clock::now();
  EXPECT_EQ(link.Read(buffer, 4), kPipeFailed) << "no writer yet: the chunk time-out";
  EXPECT_LT(Clock::now() - t0, std::chrono::seconds(2));

  pipes.openWriter();
  ASSERT_EQ(::write(pipes.writer, "ab", 2), 2);
  pipes.closeWriter();
  EXPECT_EQ(link.Read(buffer, 4), kPipeFailed) << "two bytes, then end of file";

  const std::uint8_t cmd[2] = {0x01, 0xFE};
  EXPECT_EQ(link.Write(cmd, 2), kPipeDone);
  pipes.closeReader();
  EXPECT_EQ(link.Write(cmd, 2), kPipeFailed) << "no reader: EPIPE, and no signal ends the test";
}

// --- the worker over the pipes ---------------------------------------------------------------

class WorkerOverPipes : public ::testing::Test {
 protected:
  void SetUp() override {
    setCurrentLanguage(Language::English);
    test::withoutLibUsb();
    generateSampleMeasurements(*expected, 20, 3);
    sim::loadMeasurements(core, *expected);
    sim::loadDefaultNames(core);
    ASSERT_TRUE(server.create());
    server.start();
    ASSERT_TRUE(server.waitListening(5000));
  }

  // Steps until the state is `target`. Between steps the test gives the server thread a moment:
  // after the host closes its pipes the tester takes a little while to listen again.
  int stepUntil(std::uint8_t target, int maxSteps = 2000) {
    for (int i = 1; i <= maxSteps; ++i) {
      worker.Step();
      if (shared.state() == target) return i;
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return -1;
  }

  std::vector<std::uint8_t> received() {
    std::lock_guard<std::mutex> guard(server.coreMutex());
    return core.received();
  }

  test::PipeFolder folder;
  sim::TesterCore core;
  sim::PipeTester server{core, folder.stdPath()};
  LinkShared shared;
  TPipeLink pipe{200};
  TLibUsbLink libusb;
  test::RecordingSleeper sleeper;
  test::RecordingView view;
  DeviceWorker worker{shared, pipe, libusb, sleeper, view};
  std::unique_ptr<MeasurementSet> expected = std::make_unique<MeasurementSet>();
};

TEST_F(WorkerOverPipes, FullReadThroughTheSimulatedTester) {
  ASSERT_GT(stepUntil(lsIdle), 0);
  EXPECT_EQ(shared.kind(), lkPipe);
  EXPECT_EQ(sleeper.waits, (std::vector<int>{300, 50, 300, 50}));
  EXPECT_EQ(view.entries("panel1:"), (QStringList{"panel1:Check Connection", "panel1:Version Read",
                                                  "panel1:Parameters Read", "panel1:", "panel1:Data Readed (20)"}));
  EXPECT_EQ(view.entries("indicator:"), (QStringList{"indicator:black", "indicator:lime", "indicator:lime",
                                                     "indicator:face"}));
  EXPECT_TRUE(test::sameMeasurements(view.shown, *expected));
  EXPECT_EQ(received(), test::fullReadCommands(20));
  EXPECT_FALSE(pipe.isOpen()) << "lsDecode closes the pipes";
}

TEST_F(WorkerOverPipes, NameAndScreenRequestsOverPipes) {
  ASSERT_GT(stepUntil(lsIdle), 0);
  {
    std::lock_guard<std::mutex> guard(server.coreMutex());
    core.clearReceived();
  }
  const struct {
    std::uint8_t state;
    std::vector<std::uint8_t> bytes;
    std::vector<int> waits;
  } cases[] = {
      {lsReadMaterials, {0x05, 0xFA}, {300, 50}},
      {lsReadObjects, {0x07, 0xF8}, {300, 50}},  // bulk pipe: the same order as for materials
      {lsReadScreen, {0x09, 0xF6}, {100}},
  };
  // Each request opens the tester afresh once the tester has closed the session before.
  ASSERT_TRUE(server.waitNextSession(0, 5000));
  for (const auto& c : cases) {
    const int ended = server.endedSessions();
    sleeper.waits.clear();
    {
      std::lock_guard<std::mutex> guard(server.coreMutex());
      core.clearReceived();
    }
    shared.setState(c.state);
    EXPECT_GT(stepUntil(lsIdle), 0) << int(c.state);
    ASSERT_TRUE(server.waitNextSession(ended, 5000)) << int(c.state);
    EXPECT_EQ(received(), c.bytes) << int(c.state);
    EXPECT_EQ(sleeper.waits, c.waits) << int(c.state);
    EXPECT_FALSE(pipe.isOpen());
  }
  EXPECT_EQ(shared.names(NameList::Materials), core.materialNames());
  EXPECT_EQ(shared.names(NameList::Objects), core.objectNames());
  EXPECT_EQ(shared.screenImage(), core.screen());

  NameBlock block{};
  block[0] = 4;
  block[1] = 'S';
  shared.setNames(NameList::Materials, block);
  shared.setState(lsWriteMaterials);
  EXPECT_GT(stepUntil(lsIdle), 0);
  for (int i = 0; i < 100 && core.nameWrites() == 0; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(5));
  std::lock_guard<std::mutex> guard(server.coreMutex());
  EXPECT_EQ(core.materialNames(), block);
}

TEST_F(WorkerOverPipes, SilenceAtRecord10RestartsTheReadAtTheSearch) {
  {
    std::lock_guard<std::mutex> guard(server.coreMutex());
    core.faults().silenceAtRecord = 10;
  }
  ASSERT_GT(stepUntil(lsIdle), 0);
  EXPECT_EQ(view.entries("panel1:Link Error").size(), 1);
  EXPECT_EQ(view.takeOvers(), 1);
  EXPECT_EQ(view.entries("panel1:Data").last(), QStringLiteral("panel1:Data Readed (20)"));
  EXPECT_TRUE(test::sameMeasurements(view.shown, *expected));
}

TEST_F(WorkerOverPipes, ADroppedLinkIsALinkErrorAndTheNextSessionStartsClean) {
  {
    std::lock_guard<std::mutex> guard(server.coreMutex());
    core.faults().dropAtRecord = 5;
  }
  ASSERT_GT(stepUntil(lsConnect), 0);
  EXPECT_EQ(view.entries("panel1:Link Error").size(), 1);
  // The error path keeps the pipes open; the tester listens again and the read starts over.
  ASSERT_GT(stepUntil(lsIdle), 0);
  EXPECT_TRUE(test::sameMeasurements(view.shown, *expected)) << view.log().join(" | ").toStdString();
}

TEST_F(WorkerOverPipes, ReadOfZeroBytesIsALinkErrorOnPipes) {
  // A version of length 0 makes the worker read 0 bytes, which the pipe transport refuses.
  {
    std::lock_guard<std::mutex> guard(server.coreMutex());
    core.setVersion("");
  }
  ASSERT_GT(stepUntil(lsReadVersion), 0);
  worker.Step();
  EXPECT_EQ(shared.state(), lsConnect);
  EXPECT_TRUE(view.log().contains("panel1:Link Error"));
}

TEST_F(WorkerOverPipes, ATesterPluggedInAgainIsFoundAgain) {
  // The tester vanishes in the middle of the read: the error path keeps the old pipes open. It
  // comes back with new device nodes, under the same name or another; the read must complete
  // over the new pipes instead of failing on the stale ones for ever.
  const char* names[] = {"tester0", "tester1"};
  for (const char* name : names) {
    shared.setState(lsStartup);
    shared.setDataReceived(false);
    {
      std::lock_guard<std::mutex> guard(server.coreMutex());
      core.faults().silenceAtRecord = 10;
      core.faults().silenceTimes = -1;
    }
    ASSERT_GT(stepUntil(lsReadRecords, 50), 0) << name;
    worker.Step();
    ASSERT_EQ(shared.state(), lsConnect) << name;
    ASSERT_TRUE(pipe.isOpen()) << "the error path leaves the pipes open";
    server.stop();
    server.remove();

    sim::TesterCore again;
    sim::loadMeasurements(again, *expected);
    sim::PipeTester back(again, folder.stdPath(), name);
    ASSERT_TRUE(back.create());
    back.start();
    ASSERT_TRUE(back.waitListening(5000));
    EXPECT_GT(stepUntil(lsIdle, 20), 0) << name << ": " << view.log().join(" | ").toStdString();
    EXPECT_TRUE(test::sameMeasurements(view.shown, *expected)) << name;
    back.stop();
    back.remove();
    ASSERT_TRUE(server.create());
    server.start();
    ASSERT_TRUE(server.waitListening(5000));
  }
}

}  // namespace
}  // namespace grx
