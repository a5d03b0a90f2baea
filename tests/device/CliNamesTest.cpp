// grx1-cli names and screenshot end to end through the simulated tester, over the bulk pipes and
// over the libusb double, with the protocol's waits removed; and the screen request that waits for
// the end of a data read instead of cutting into it.
#include "LinkTestSupport.h"
#include "cli/CliNames.h"
#include "data/SampleMeasurements.h"
#include "data/TextForms.h"
#include "device/DeviceWorker.h"
#include "device/LibUsbLink.h"
#include "device/PipeLink.h"
#include "platform/IniFile.h"
#include "sim/PipeTester.h"
#include "sim/TesterData.h"
#include "support/FileBytes.h"

#include <QElapsedTimer>
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

CliRun run(const QStringList& args, const QString& programFolder = {}) {
  CliRun r;
  QTextStream out(&r.out), err(&r.err);
  const bool screenshot = args.value(0) == u"screenshot";
  CliLinkOptions options{std::make_unique<NoSleeper>(), programFolder};
  r.code = screenshot ? runCliScreenshot(args.mid(1), out, err, std::move(options))
                      : runCliNames(args.mid(1), out, err, std::move(options));
  out.flush();
  err.flush();
  return r;
}

// The display pixel (x, y) of a screen image as the tester lays it out: 8 bands of 128 columns,
// least significant bit on top.
bool displayPixel(const std::array<std::uint8_t, sim::kScreenBytes>& screen, int x, int y) {
  return (screen[std::size_t((y / 8) * 128 + x)] >> (y % 8)) & 1;
}

// The BMP's pixel (x, y) as "rrggbb".
QByteArray bmpPixel(const QByteArray& bmp, int x, int y) {
  const QByteArray bgr = bmp.mid(54 + (67 - y) * 396 + 3 * x, 3);
  QByteArray rgb;
  if (bgr.size() == 3) rgb.append(bgr[2]).append(bgr[1]).append(bgr[0]);
  return rgb.toHex();
}

// Every pixel of the picture against the served image: the display inside a blank ring and the
// frame, ink "ff0000" on "ffffff".
::testing::AssertionResult pictureMatches(const QByteArray& bmp, const std::array<std::uint8_t, sim::kScreenBytes>& screen) {
  if (bmp.size() != 26982) return ::testing::AssertionFailure() << "file size " << bmp.size();
  for (int x = 0; x < 132; ++x) {
    for (int y = 0; y < 68; ++y) {
      bool ink = x == 0 || x == 131 || y == 0 || y == 67;
      if (x >= 2 && x <= 129 && y >= 2 && y <= 65) ink = displayPixel(screen, x - 2, y - 2);
      const QByteArray expected = ink ? "ff0000" : "ffffff";
      if (bmpPixel(bmp, x, y) != expected)
        return ::testing::AssertionFailure() << "pixel " << x << "," << y << " is " << bmpPixel(bmp, x, y).constData();
    }
  }
  return ::testing::AssertionSuccess();
}

class CliNamesOverPipes : public ::testing::Test {
 protected:
  void SetUp() override {
    test::withoutLibUsb();
    generateSampleMeasurements(*set, 6, 2);
    sim::loadMeasurements(core, *set);
    sim::loadDefaultNames(core);
    ASSERT_TRUE(server.create());
    server.start();
    ASSERT_TRUE(server.waitListening(5000));
    ASSERT_TRUE(test::writeFileBytes(work.filePath("GRX1.ini"),
                                     "[Screenshot]\r\nPenColor=255\r\nBackgroundColor=16777215\r\n"));
  }
  QString file(const char* name) const { return work.filePath(QString::fromLatin1(name)); }

  test::PipeFolder folder;
  QTemporaryDir work;
  std::unique_ptr<MeasurementSet> set = std::make_unique<MeasurementSet>();
  sim::TesterCore core;
  sim::PipeTester server{core, folder.stdPath()};
};

TEST_F(CliNamesOverPipes, GetEditPutAndGetAgainReturnsTheEditedNames) {
  const CliRun get = run({"names", "get", "materials", "-o", file("tester.mtgrx"), "--timeout", "20"});
  ASSERT_EQ(get.code, 0) << get.err.toStdString();
  const QByteArray read = test::readFileBytes(file("tester.mtgrx"));
  // "Не выбран", "Песок" in Windows-1251, then the other eleven.
  EXPECT_TRUE(read.startsWith("[Materials Names]\r\nName00=\xCD\xE5 \xE2\xFB\xE1\xF0\xE0\xED\r\n"
                              "Name01=\xCF\xE5\xF1\xEE\xEA\r\n"))
      << read.left(60).toHex().constData();
  EXPECT_TRUE(read.endsWith("Name12=\xC3\xF0\xF3\xED\xF2 - 8\r\n"));
  EXPECT_EQ(read.count('\n'), 14);

  // The user's edit: name 3 becomes "Гравий".
  ASSERT_TRUE(IniFile(file("tester.mtgrx")).writeString("Materials Names", "Name02", "Гравий"));
  const CliRun put = run({"names", "put", "materials", file("tester.mtgrx")});
  ASSERT_EQ(put.code, 0) << put.err.toStdString();
  {
    std::lock_guard<std::mutex> guard(server.coreMutex());
    EXPECT_EQ(core.nameWrites(), 1);
    const std::uint8_t slot2[8] = {6, 0xC3, 0xF0, 0xE0, 0xE2, 0xE8, 0xE9, 0};
    EXPECT_TRUE(std::equal(slot2, slot2 + 8, core.materialNames().begin() + 40));
    const std::uint8_t slot1[7] = {5, 0xCF, 0xE5, 0xF1, 0xEE, 0xEA, 0};
    EXPECT_TRUE(std::equal(slot1, slot1 + 7, core.materialNames().begin() + 20));
  }

  const CliRun again = run({"names", "get", "materials", "-o", file("again.mtgrx")});
  ASSERT_EQ(again.code, 0) << again.err.toStdString();
  EXPECT_EQ(test::readFileBytes(file("again.mtgrx")), test::readFileBytes(file("tester.mtgrx")));
}

TEST_F(CliNamesOverPipes, AFileWithoutNamesIsRefusedBeforeTheTesterIsAsked) {
  ASSERT_TRUE(test::writeFileBytes(file("objects.mtgrx"), "[Objects Names]\r\nName01=Base\r\n"));
  const CliRun put = run({"names", "put", "materials", file("objects.mtgrx")});
  EXPECT_EQ(put.code, 2);
  EXPECT_EQ(put.err, "grx1-cli names: File is not readable or damaged: " + file("objects.mtgrx") + "\n");
  std::lock_guard<std::mutex> guard(server.coreMutex());
  EXPECT_EQ(core.nameWrites(), 0);
  EXPECT_TRUE(core.received().empty()) << "not even the start-up read ran";
}

TEST_F(CliNamesOverPipes, ScreenshotMatchesTheServedImagePixelForPixel) {
  {
    std::lock_guard<std::mutex> guard(server.coreMutex());
    for (std::size_t i = 0; i < core.screen().size(); ++i) core.screen()[i] = std::uint8_t(i * 37 + (i >> 7));
  }
  const CliRun shot = run({"screenshot", "-o", file("shot.bmp"), "--timeout", "20"}, work.path());
  ASSERT_EQ(shot.code, 0) << shot.err.toStdString();
  std::lock_guard<std::mutex> guard(server.coreMutex());
  EXPECT_TRUE(pictureMatches(test::readFileBytes(file("shot.bmp")), core.screen()));
  // The start-up read came first and was complete: the screen command after the last record.
  std::vector<std::uint8_t> expected = test::fullReadCommands(6);
  expected.insert(expected.end(), {0x09, 0xF6});
  EXPECT_EQ(core.received(), expected);
}

// A tester that dies in the middle of every session (its nodes stay), one that cuts its name and
// screen answers, a read-only target, and a name holding a line break (written as a blank, and said).
TEST_F(CliNamesOverPipes, ADeadTesterACutAnswerOrARefusedTargetEndsWithoutAFile) {
  ASSERT_TRUE(test::writeFileBytes(file("in.mtgrx"), "[Materials Names]\r\nName00=Sand\r\n"));
  ASSERT_TRUE(test::writeFileBytes(file("ro.mtgrx"), "old"));
  ASSERT_TRUE(QFile::setPermissions(file("ro.mtgrx"), QFile::ReadOwner));
  const QString dead = "the tester stopped answering: nothing new within 0.5 s\n";
  const struct {
    QStringList args;
    int dropAt, answerBytes, code;
    QString tail;
  } cases[] = {
      {{"names", "get", "materials", "-o", file("out")}, 2, -1, 2, "grx1-cli names: " + dead},
      {{"names", "put", "materials", file("in.mtgrx")}, 2, -1, 2, "grx1-cli names: " + dead},
      {{"screenshot", "-o", file("out")}, 2, -1, 2, "grx1-cli screenshot: " + dead},
      {{"names", "get", "materials", "-o", file("out")}, -1, 100, 2,
       "grx1-cli names: the tester answered only 100 of 260 bytes; no whole answer within 0.5 s\n"},
      {{"screenshot", "-o", file("out")}, -1, 1000, 2,
       "grx1-cli screenshot: the tester answered only 1000 of 1024 bytes; no whole answer within 0.5 s\n"},
      {{"names", "get", "materials", "-o", file("ro.mtgrx")}, -1, -1, 2,
       "grx1-cli names: Can't create data file " + file("ro.mtgrx") + ". It may be no free space or disk is write protected\n"},
      {{"names", "get", "objects", "-o", file("o.objgrx")}, -1, -1, 0,
       "grx1-cli names: 1 name holds a line break; written with a blank in its place\n"
       "grx1-cli names: the tester's objects saved to " + file("o.objgrx") + "\n"},
  };
  for (const auto& c : cases) {
    {
      std::lock_guard<std::mutex> guard(server.coreMutex());
      writeNameField(core.objectNames().data() + 20, QStringLiteral("Base\r\nName05=X"));
      core.faults().dropAtRecord = c.dropAt;
      core.faults().dropTimes = -1;
      core.faults().requestLength = c.answerBytes;
    }
    const int ended = server.endedSessions();
    QElapsedTimer clock;
    clock.start();
    const CliRun r = run(c.args + QStringList{"--timeout", "0.5"}, work.path());
    EXPECT_LT(clock.elapsed(), 1500) << "the time-out and at most a second more";
    EXPECT_EQ(r.code, c.code);
    EXPECT_TRUE(r.err.endsWith(c.tail)) << r.err.toStdString();
    EXPECT_FALSE(QFile::exists(file("out")));
    if (c.dropAt >= 0 || c.answerBytes >= 0) server.waitNextSession(ended, 2000);
  }
  EXPECT_EQ(test::readFileBytes(file("ro.mtgrx")), "old");
  EXPECT_TRUE(test::readFileBytes(file("o.objgrx")).contains("\r\nName01=Base  Name05=X\r\nName02="));
}

TEST(CliNames, NoTesterAndBadArgumentsExitWith2) {
  test::PipeFolder folder;
  test::withoutLibUsb();
  QTemporaryDir work;
  const CliRun none = run({"names", "get", "objects", "-o", work.filePath("x.objgrx"), "--timeout", "0.3"});
  EXPECT_EQ(none.code, 2);
  EXPECT_EQ(none.err, "grx1-cli names: no tester answered within 0.3 s\n");
  EXPECT_FALSE(QFile::exists(work.filePath("x.objgrx")));
  const CliRun shot = run({"screenshot", "-o", work.filePath("x.bmp"), "--timeout", "0.3"}, work.path());
  EXPECT_EQ(shot.code, 2);
  EXPECT_EQ(shot.err, "grx1-cli screenshot: no tester answered within 0.3 s\n");

  const QStringList cases[] = {
      {"names"},
      {"names", "get", "soils", "-o", "x"},
      {"names", "get", "materials"},
      {"names", "put", "materials"},
      {"names", "put", "materials", "a", "-o", "b"},
      {"names", "take", "materials", "a"},
      {"names", "get", "materials", "-o", "x", "--timeout", "0"},
      {"screenshot"},
      {"screenshot", "-o", "x.bmp", "--speed", "1"},
      {"screenshot", "-o", "x.bmp", "extra"},
  };
  for (const QStringList& args : cases) {
    const CliRun r = run(args);
    EXPECT_EQ(r.code, 2) << args.join(' ').toStdString();
    EXPECT_TRUE(r.err.startsWith("grx1-cli " + args[0] + ": ")) << r.err.toStdString();
    EXPECT_TRUE(r.err.endsWith(" (see grx1-cli --help)\n")) << r.err.toStdString();
    EXPECT_EQ(r.err.count(u'\n'), 1) << r.err.toStdString();
  }
}

// --- over the libusb double ----------------------------------------------------------------

class OverLibUsb : public ::testing::Test {
 protected:
  void SetUp() override {
    setCurrentLanguage(Language::English);
    ASSERT_NE(usb.operator->(), nullptr);
  }
  sim::TesterCore& tester() { return usb->device(0); }

  test::PipeFolder pipes;  // empty: libusb is used
  test::UsbDouble usb;
  QTemporaryDir work;
};

TEST_F(OverLibUsb, NamesAndScreenshotThroughTheCommandLine) {
  sim::loadDefaultNames(tester());
  ASSERT_TRUE(test::writeFileBytes(work.filePath("GRX1.ini"), "[Screenshot]\r\nPenColor=255\r\nBackgroundColor=16777215\r\n"));
  const CliRun get = run({"names", "get", "objects", "-o", work.filePath("o.objgrx"), "--timeout", "20"});
  ASSERT_EQ(get.code, 0) << get.err.toStdString();
  // "Несущий слой"
  EXPECT_TRUE(test::readFileBytes(work.filePath("o.objgrx")).contains("Name03=\xCD\xE5\xF1\xF3\xF9\xE8\xE9 \xF1\xEB\xEE\xE9\r\n"));

  ASSERT_TRUE(test::writeFileBytes(work.filePath("n.objgrx"), "[Objects Names]\r\nName12=Dam\r\n"));
  const CliRun put = run({"names", "put", "objects", work.filePath("n.objgrx")});
  ASSERT_EQ(put.code, 0) << put.err.toStdString();
  const std::uint8_t slot12[5] = {3, 'D', 'a', 'm', 0};
  EXPECT_TRUE(std::equal(slot12, slot12 + 5, tester().objectNames().begin() + 240));
  EXPECT_EQ(tester().objectNames()[20], 0) << "the names the file lacks are empty";

  const CliRun shot = run({"screenshot", "-o", work.filePath("s.bmp")}, work.path());
  ASSERT_EQ(shot.code, 0) << shot.err.toStdString();
  EXPECT_TRUE(pictureMatches(test::readFileBytes(work.filePath("s.bmp")), tester().screen()));
}

// A screen request made while the stored impacts are being read waits for the read to finish; it
// does not cut the read off and take record bytes for a picture.
TEST_F(OverLibUsb, AScreenRequestDuringADataReadLeavesTheReadComplete) {
  auto expected = std::make_unique<MeasurementSet>();
  generateSampleMeasurements(*expected, 20, 4);
  sim::loadMeasurements(tester(), *expected);
  LinkShared shared;
  TPipeLink pipe{20};
  TLibUsbLink libusb;
  test::RecordingSleeper sleeper;
  test::RecordingView view;
  DeviceWorker worker{shared, pipe, libusb, sleeper, view};
  for (int i = 0; i < 10 && shared.state() != lsReadRecords; ++i) worker.Step();
  ASSERT_EQ(shared.state(), lsReadRecords);

  EXPECT_FALSE(postScreenRequest(shared));
  EXPECT_EQ(shared.state(), lsReadRecords);
  test::SteppingWaiter waiter([&] { worker.Step(); });
  EXPECT_TRUE(requestScreen(shared, waiter));
  EXPECT_EQ(shared.state(), lsIdle);

  EXPECT_EQ(view.takeOvers(), 1);
  view.shown.buildSeries();
  expected->buildSeries();
  EXPECT_TRUE(test::sameMeasurements(view.shown, *expected));
  std::vector<std::uint8_t> sent = test::fullReadCommands(20);
  sent.insert(sent.end(), {0x09, 0xF6});
  EXPECT_EQ(tester().received(), sent);
  EXPECT_EQ(shared.screenImage(), tester().screen());
}

}  // namespace
}  // namespace grx
