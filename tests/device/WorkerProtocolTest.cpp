// The device worker driven step by step over the real libusb transport, which loads the libusb
// test double; the simulated tester behind it records every byte it receives.
#include "LinkTestSupport.h"
#include "data/SampleMeasurements.h"
#include "device/DeviceWorker.h"
#include "device/LibUsbLink.h"
#include "device/LinkRequests.h"
#include "device/PipeLink.h"
#include "platform/TextPair.h"
#include "sim/TesterData.h"
#include "support/RecordBuilder.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <memory>

namespace grx {
namespace {

using test::RecordingSleeper;
using test::RecordingView;
using test::SteppingWaiter;

class WorkerOverLibUsb : public ::testing::Test {
 protected:
  void SetUp() override {
    setCurrentLanguage(Language::English);
    ASSERT_NE(usb.operator->(), nullptr) << "libusb double not loaded from " << test::UsbDouble::path().toStdString();
  }

  sim::TesterCore& tester() { return usb->device(0); }

  void loadSample(int impacts, std::uint32_t seed = 7) {
    generateSampleMeasurements(*expected, impacts, seed);
    sim::loadMeasurements(tester(), *expected);
  }

  // Steps until the link state is `target`; the number of steps taken, or -1.
  int stepUntil(std::uint8_t target, int maxSteps = 30) {
    for (int i = 1; i <= maxSteps; ++i) {
      worker.Step();
      if (shared.state() == target) return i;
    }
    return -1;
  }

  void completeRead(int impacts) {
    loadSample(impacts);
    ASSERT_GT(stepUntil(lsIdle), 0);
    ASSERT_TRUE(shared.dataReceived());
    view.clearLog();
    sleeper.waits.clear();
    tester().clearReceived();
    usb->writeSizes.clear();
  }

  test::PipeFolder pipes;  // empty: no bulk-pipe tester, libusb is used
  test::UsbDouble usb;
  LinkShared shared;
  TPipeLink pipe{20};
  TLibUsbLink libusb;
  RecordingSleeper sleeper;
  RecordingView view;
  DeviceWorker worker{shared, pipe, libusb, sleeper, view};
  std::unique_ptr<MeasurementSet> expected = std::make_unique<MeasurementSet>();
};

TEST_F(WorkerOverLibUsb, NormalReadShowsEveryStatusInOrderAndHandsOverTheSet) {
  loadSample(20);
  const struct {
    std::uint8_t stateAfter;
    QStringList log;
    std::vector<int> waits;
  } steps[] = {
      {lsReadVersion, {"panel1:Version Read", "indicator:lime"}, {300}},
      {lsReadDirectory, {"panel0:GRX-1 simulator 1.0", "panel1:Parameters Read"}, {80, 300}},
      {lsReadRecords, {"progress:show", "position:0", "panel1:", "indicator:lime"}, {50}},
      {lsDecode, {}, {}},  // checked below: positions, then the final texts
      {lsIdle, {"chart:hide", "takeover:20", "chart:show"}, {}},
  };
  for (const auto& s : steps) {
    view.clearLog();
    sleeper.waits.clear();
    worker.Step();
    EXPECT_EQ(shared.state(), s.stateAfter);
    if (s.stateAfter == lsDecode) {
      const QStringList log = view.log();
      ASSERT_GE(log.size(), 4);
      EXPECT_EQ(log.mid(log.size() - 3),
                (QStringList{"panel1:Data Readed (20)", "indicator:face", "progress:hide"}));
      continue;
    }
    EXPECT_EQ(view.log(), s.log);
    EXPECT_EQ(sleeper.waits, s.waits);
  }
  EXPECT_EQ(shared.kind(), lkLibUsb);
  EXPECT_TRUE(shared.dataReceived());
  EXPECT_TRUE(test::sameMeasurements(view.shown, *expected));
  EXPECT_EQ(tester().received(), test::fullReadCommands(20));
  EXPECT_EQ(usb->openHandles, 0) << "lsDecode closes the transport";
}

TEST_F(WorkerOverLibUsb, ProgressFollowsTheFormulaAndOnlyChangesCrossToTheWindow) {
  loadSample(20);
  ASSERT_GT(stepUntil(lsIdle), 0);
  // i*95/20 + 5 for i = 0..19, each change once; 0 comes from the directory step.
  std::vector<int> expectedPositions = {0};
  for (unsigned i = 0; i < 20; ++i) {
    const int p = int(i * 95 / 20 + 5);
    if (p != expectedPositions.back()) expectedPositions.push_back(p);
  }
  EXPECT_EQ(view.positions(), expectedPositions);
}

TEST_F(WorkerOverLibUsb, RecordIndexGoesLowByteFirst) {
  loadSample(310);
  ASSERT_GT(stepUntil(lsIdle), 0);
  const std::vector<std::uint8_t>& sent = tester().received();
  const std::size_t at = 4 + 300 * 4;  // after 01 FE, 02 FD and records 0..299
  ASSERT_GT(sent.size(), at + 4);
  EXPECT_EQ(std::vector<std::uint8_t>(sent.begin() + std::ptrdiff_t(at), sent.begin() + std::ptrdiff_t(at + 4)),
            (std::vector<std::uint8_t>{0x03, 0xFC, 0x2C, 0x01}));
  EXPECT_EQ(sent, test::fullReadCommands(310));
  EXPECT_EQ(view.shown.count(), 310u);
}

TEST_F(WorkerOverLibUsb, SeriesStartListComesFromTheRecordsRead) {
  MeasurementSet set;
  test::fillSet(set, test::recordsWithSeries({7, 7, 8, 8, 7}));
  sim::loadMeasurements(tester(), set);
  ASSERT_GT(stepUntil(lsIdle), 0);
  EXPECT_EQ(view.shown.seriesStarts(), (std::vector<std::uint32_t>{0, 2, 4, 5}));
  EXPECT_EQ(view.shown.seriesCount(), 3u);
}

TEST_F(WorkerOverLibUsb, OneImpactIsReadAsOneImpact) {
  const struct {
    int impacts;
    const char* status;
  } cases[] = {{0, "panel1:No Data"}, {1, "panel1:Data Readed (1)"}, {2, "panel1:Data Readed (2)"}};
  for (const auto& c : cases) {
    loadSample(c.impacts);
    if (shared.state() == lsIdle) {
      ASSERT_TRUE(AGaugeRead(shared));
    }
    view.clearLog();
    tester().clearReceived();
    ASSERT_GT(stepUntil(lsIdle), 0) << c.impacts;
    EXPECT_EQ(view.entries("panel1:").last(), QString::fromLatin1(c.status));
    EXPECT_EQ(view.shown.count(), std::uint32_t(c.impacts));
    EXPECT_EQ(tester().received(), test::fullReadCommands(std::uint32_t(c.impacts)));
  }
}

TEST_F(WorkerOverLibUsb, EmptyDirectoryShowsNoDataAndEmptyTables) {
  loadSample(20);
  tester().faults().emptyDirectory = true;
  ASSERT_EQ(stepUntil(lsReadDirectory), 2);
  view.clearLog();
  worker.Step();
  EXPECT_EQ(shared.state(), lsDecode);
  EXPECT_EQ(view.log(), (QStringList{"progress:show", "position:0", "panel1:No Data", "indicator:face", "progress:hide"}));
  worker.Step();
  EXPECT_EQ(shared.state(), lsIdle);
  EXPECT_EQ(view.entries("takeover"), QStringList{"takeover:0"});
  EXPECT_TRUE(view.shown.isEmpty());
  EXPECT_FALSE(shared.dataReceived());
  EXPECT_EQ(tester().recordRequests(), 0);
}

TEST_F(WorkerOverLibUsb, NoDataInRussian) {
  setCurrentLanguage(Language::Russian);
  tester().faults().emptyDirectory = true;
  ASSERT_GT(stepUntil(lsDecode), 0);
  EXPECT_EQ(view.entries("panel1:").last(), QStringLiteral("panel1:Данных нет"));
}

TEST_F(WorkerOverLibUsb, OverlongVersionShowsTheFirst99BytesWithZerosAsBlanks) {
  loadSample(3);
  tester().faults().versionLength = 150;
  ASSERT_EQ(stepUntil(lsReadDirectory), 2);
  std::vector<std::uint8_t> body = tester().versionBody();
  ASSERT_EQ(body.size(), 150u);
  ASSERT_TRUE(std::count(body.begin(), body.begin() + 99, 0) > 0) << "the test text must contain zeros";
  QString shown;
  for (int i = 0; i < 99; ++i) shown += QChar(body[std::size_t(i)] == 0 ? ' ' : char(body[std::size_t(i)]));
  EXPECT_EQ(view.entries("panel0:"), QStringList{"panel0:" + shown});
  EXPECT_EQ(tester().pendingOutput(), 0u) << "the rest of the version is read and dropped";
}

TEST_F(WorkerOverLibUsb, TheRestOfAnOverlongVersionIsNotTakenForTheDirectory) {
  // Left in the link, the rest would be read as the directory answer: "No Data", or junk impacts.
  const int lengths[] = {100, 150, 99 + 1000 + 7, 14228};
  for (int length : lengths) {
    loadSample(50);
    tester().faults().versionLength = length;
    if (shared.state() == lsIdle) {
      ASSERT_TRUE(AGaugeRead(shared));
    }
    view.clearLog();
    ASSERT_GT(stepUntil(lsIdle), 0) << length;
    EXPECT_EQ(view.entries("panel1:Data"), QStringList{"panel1:Data Readed (50)"}) << length;
    EXPECT_TRUE(test::sameMeasurements(view.shown, *expected)) << length;
    EXPECT_TRUE(view.entries("panel1:Link Error").isEmpty()) << length;
  }
}

TEST_F(WorkerOverLibUsb, OnlyDirectoryEntriesInsideTheAnswerCount) {
  // Three reads: after the second hand-over the staging set holds the first read's directory, 20
  // entries in use. A shorter third answer must not count those stale entries.
  loadSample(20);
  ASSERT_GT(stepUntil(lsIdle), 0);
  ASSERT_TRUE(AGaugeRead(shared));
  ASSERT_GT(stepUntil(lsIdle), 0);
  ASSERT_TRUE(AGaugeRead(shared));
  tester().faults().directoryLength = 10 * 4;
  ASSERT_GT(stepUntil(lsIdle), 0);
  EXPECT_EQ(view.shown.count(), 10u);
  EXPECT_EQ(view.entries("panel1:Data").last(), QStringLiteral("panel1:Data Readed (10)"));
}

TEST_F(WorkerOverLibUsb, FailureAtRecord10Of20DuringTheFirstReadRestartsAtTheSearch) {
  // The tables show an earlier set; a failed read must leave it alone.
  MeasurementSet earlier;
  test::fillSet(earlier, test::recordsWithSeries({1, 1, 2}));
  view.shown.swap(earlier);
  loadSample(20);
  tester().faults().silenceAtRecord = 10;
  ASSERT_EQ(stepUntil(lsReadRecords), 3);
  view.clearLog();
  sleeper.waits.clear();
  worker.Step();

  EXPECT_EQ(shared.state(), lsConnect);
  const QStringList log = view.log();
  ASSERT_GE(log.size(), 3);
  EXPECT_EQ(log.mid(log.size() - 3), (QStringList{"panel1:Link Error", "indicator:red", "progress:hide"}));
  EXPECT_EQ(sleeper.waits, std::vector<int>{1000});
  EXPECT_EQ(view.takeOvers(), 0);
  EXPECT_EQ(view.shown.count(), 3u);
  EXPECT_EQ(view.shown.seriesStarts(), (std::vector<std::uint32_t>{0, 2, 3}));
  EXPECT_FALSE(shared.dataReceived());
  EXPECT_EQ(usb->readSizes.back(), 1000) << "the error path empties the link";

  // The search finds the still open tester at once; the red indicator stays 20 ms.
  view.clearLog();
  sleeper.waits.clear();
  worker.Step();
  EXPECT_EQ(shared.state(), lsReadVersion);
  EXPECT_EQ(view.log(), (QStringList{"panel1:Version Read", "indicator:lime"}));
  EXPECT_EQ(sleeper.waits, (std::vector<int>{20, 300}));

  ASSERT_GT(stepUntil(lsIdle), 0);
  EXPECT_EQ(view.takeOvers(), 1);
  EXPECT_TRUE(test::sameMeasurements(view.shown, *expected));
  std::vector<std::uint8_t> expectedBytes = test::fullReadCommands(11);
  const std::vector<std::uint8_t> again = test::fullReadCommands(20);
  expectedBytes.insert(expectedBytes.end(), again.begin(), again.end());
  EXPECT_EQ(tester().received(), expectedBytes);
}

TEST_F(WorkerOverLibUsb, AGaugeReadPostsOnlyFromIdle) {
  const std::uint8_t states[] = {lsStartup,       lsConnect,      lsReadVersion, lsReadDirectory,
                                 lsReadRecords,   lsReadMaterials, lsWriteMaterials, lsReadObjects,
                                 lsWriteObjects,  lsReadScreen,   lsDecode,      lsPause,
                                 lsIdle};
  for (std::uint8_t s : states) {
    shared.setState(s);
    shared.setDataReceived(true);
    const bool posted = AGaugeRead(shared);
    EXPECT_EQ(posted, s == lsIdle) << int(s);
    EXPECT_EQ(shared.state(), s == lsIdle ? lsConnect : s) << int(s);
    EXPECT_EQ(shared.dataReceived(), s != lsIdle) << int(s);
  }
}

TEST_F(WorkerOverLibUsb, AGaugeReadAfterACompletedReadRepeatsTheWholeRead) {
  completeRead(5);
  ASSERT_TRUE(AGaugeRead(shared));
  EXPECT_FALSE(shared.dataReceived());
  ASSERT_GT(stepUntil(lsIdle), 0);
  EXPECT_EQ(tester().received(), test::fullReadCommands(5));
  EXPECT_EQ(view.takeOvers(), 2);
}

TEST_F(WorkerOverLibUsb, OtherStateValuesTakeTheErrorPath) {
  const struct {
    std::uint8_t state;
    bool dataReceived;
    std::uint8_t after;
  } cases[] = {{4, false, lsConnect}, {10, false, lsConnect}, {200, true, 200}, {11, true, 11}};
  for (const auto& c : cases) {
    shared.setState(c.state);
    shared.setDataReceived(c.dataReceived);
    view.clearLog();
    worker.Step();
    EXPECT_EQ(shared.state(), c.after) << int(c.state);
    EXPECT_TRUE(view.log().contains("panel1:Link Error")) << int(c.state);
  }
}

TEST_F(WorkerOverLibUsb, PauseStateOnlyWaits) {
  shared.setState(lsPause);
  worker.Step();
  EXPECT_EQ(sleeper.waits, std::vector<int>{200});
  EXPECT_TRUE(view.log().isEmpty());
  EXPECT_EQ(shared.state(), lsPause);
}

TEST_F(WorkerOverLibUsb, NameBlockWriteSendsLengthThenPiecesOf64) {
  completeRead(3);
  NameBlock block{};
  for (int i = 0; i < kNameBlockSize; ++i) block[std::size_t(i)] = std::uint8_t(i * 7 + 1);
  SteppingWaiter waiter([this] { worker.Step(); });
  EXPECT_EQ(writeNamesToTester(shared, NameList::Objects, block, waiter), RequestResult::Done);
  EXPECT_EQ(waiter.polls, std::vector<int>{100});

  std::vector<std::uint8_t> expectedBytes = {0x08, 0xF7, 0x04, 0x01, 0x00, 0x00};
  expectedBytes.insert(expectedBytes.end(), block.begin(), block.end());
  EXPECT_EQ(tester().received(), expectedBytes);
  EXPECT_EQ(usb->writeSizes, (std::vector<int>{2, 4, 64, 64, 64, 64, 4}));
  EXPECT_EQ(sleeper.waits, (std::vector<int>{300, 15, 15, 15, 15, 15}));
  EXPECT_EQ(tester().objectNames(), block);
  EXPECT_EQ(view.log(), (QStringList{"indicator:lime", "panel1:Param Writed", "indicator:face"}));
  EXPECT_EQ(shared.state(), lsIdle);
}

TEST_F(WorkerOverLibUsb, NameBlockReadWaitsDifferPerListOverLibUsb) {
  completeRead(3);
  for (int k = 0; k < kNameBlockSize; ++k) {
    tester().materialNames()[std::size_t(k)] = std::uint8_t(k);
    tester().objectNames()[std::size_t(k)] = std::uint8_t(255 - k);
  }
  const struct {
    NameList list;
    std::vector<std::uint8_t> command;
    std::vector<int> waits;
  } cases[] = {
      {NameList::Materials, {0x05, 0xFA}, {300, 50}},
      {NameList::Objects, {0x07, 0xF8}, {300}},  // libusb: the command first, then 300 ms
  };
  for (const auto& c : cases) {
    sleeper.waits.clear();
    tester().clearReceived();
    view.clearLog();
    SteppingWaiter waiter([this] { worker.Step(); });
    NameBlock names{};
    EXPECT_EQ(readNamesFromTester(shared, c.list, waiter, names), RequestResult::Done);
    EXPECT_EQ(names, c.list == NameList::Materials ? tester().materialNames() : tester().objectNames());
    EXPECT_EQ(tester().received(), c.command);
    EXPECT_EQ(sleeper.waits, c.waits);
    EXPECT_EQ(view.log(), (QStringList{"indicator:lime", "panel1:Param Readed", "indicator:face"}));
  }
}

TEST_F(WorkerOverLibUsb, FailedNameWriteStaysPostedUntilTheEditorWithdrawsIt) {
  completeRead(3);
  usb->failWrites = -1;
  NameBlock block{};
  block[0] = 5;
  SteppingWaiter waiter([this] {
    worker.Step();
    EXPECT_TRUE(shared.state() == lsWriteMaterials) << "the failed write is retried, not dropped";
  });
  EXPECT_EQ(writeNamesToTester(shared, NameList::Materials, block, waiter), RequestResult::TimedOut);
  EXPECT_EQ(waiter.polls, std::vector<int>(50, 100)) << "50 polls of 100 ms, about 5 seconds";
  EXPECT_EQ(shared.state(), lsIdle);
  EXPECT_EQ(view.entries("panel1:").count(), 50);
  EXPECT_EQ(view.entries("panel1:").last(), QStringLiteral("panel1:Link Error"));
  EXPECT_EQ(tester().nameWrites(), 0);
  // Nothing more happens once it is withdrawn.
  view.clearLog();
  worker.Step();
  EXPECT_TRUE(view.log().isEmpty());
}

TEST_F(WorkerOverLibUsb, NameReadAfterTimeOutGivesThePreviousBlockAndWithdraws) {
  completeRead(3);
  NameBlock before{};
  before[0] = 3;
  shared.setNames(NameList::Materials, before);
  usb->removeAllDevices();
  SteppingWaiter waiter([this] { worker.Step(); });
  NameBlock names{};
  EXPECT_EQ(readNamesFromTester(shared, NameList::Materials, waiter, names), RequestResult::TimedOut);
  EXPECT_EQ(waiter.polls.size(), 20u);
  EXPECT_EQ(names, before);
  EXPECT_EQ(shared.state(), lsIdle);
  EXPECT_EQ(view.entries("panel1:").last(), QStringLiteral("panel1:Check Connection"));
  EXPECT_EQ(view.entries("indicator:").last(), QStringLiteral("indicator:black"));
  EXPECT_EQ(view.entries("panel0:").last(), QString("panel0:") + QString::fromUtf8(kTesterNotOnBus));
}

TEST_F(WorkerOverLibUsb, RequestsArePostedOnlyFromIdle) {
  shared.setState(lsReadRecords);
  SteppingWaiter waiter({});
  NameBlock names{};
  EXPECT_EQ(readNamesFromTester(shared, NameList::Materials, waiter, names), RequestResult::NotPosted);
  EXPECT_EQ(writeNamesToTester(shared, NameList::Objects, names, waiter), RequestResult::NotPosted);
  EXPECT_TRUE(waiter.polls.empty());
  EXPECT_EQ(shared.state(), lsReadRecords);
}

TEST_F(WorkerOverLibUsb, ScreenImageIsReadIntoTheSharedBuffer) {
  completeRead(3);
  postScreenRequest(shared);
  SteppingWaiter waiter([this] { worker.Step(); });
  EXPECT_TRUE(waitForScreen(shared, waiter));
  EXPECT_EQ(shared.screenImage(), tester().screen());
  EXPECT_EQ(tester().received(), (std::vector<std::uint8_t>{0x09, 0xF6}));
  EXPECT_EQ(sleeper.waits, std::vector<int>{300});
  EXPECT_EQ(view.log(), (QStringList{"panel1:Screenshot reading...", "indicator:lime", "panel1:Screenshot readed",
                                     "indicator:face"}));
}

TEST_F(WorkerOverLibUsb, ClosingTheScreenWindowWithdrawsAnUnansweredRequest) {
  completeRead(3);
  usb->failReads = -1;
  postScreenRequest(shared);
  SteppingWaiter waiter([this] { worker.Step(); });
  EXPECT_TRUE(withdrawScreenRequest(shared, waiter));
  EXPECT_EQ(waiter.polls, std::vector<int>(99, 10));
  EXPECT_EQ(shared.state(), lsIdle);
}

TEST_F(WorkerOverLibUsb, WithoutLibUsbARequestTakesTheErrorPathBackToTheSearch) {
  test::withoutLibUsb();
  worker.Step();
  EXPECT_EQ(shared.kind(), lkNoLibUsb);
  EXPECT_EQ(shared.state(), lsConnect);
  worker.Step();
  EXPECT_EQ(shared.state(), lsConnect) << "no tester anywhere: the search repeats";
  shared.setState(lsReadMaterials);
  view.clearLog();
  worker.Step();
  EXPECT_EQ(shared.state(), lsConnect);
  EXPECT_TRUE(view.log().contains("panel1:Link Error"));
}

TEST_F(WorkerOverLibUsb, SearchWithoutTesterKeepsPanel1AndShowsTheLibUsbMessage) {
  usb->removeAllDevices();
  worker.Step();
  worker.Step();
  EXPECT_EQ(shared.state(), lsConnect);
  EXPECT_TRUE(view.entries("panel1:").isEmpty());
  EXPECT_EQ(view.entries("panel0:"), QStringList(2, QString("panel0:") + QString::fromUtf8(kTesterNotOnBus)));
}

}  // namespace
}  // namespace grx
