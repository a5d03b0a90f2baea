// The screen image window: position and colours from GRX1.ini, the picture file, the request that
// waits for an idle link, and the withdrawal when the window closes while reading.
#include "device/LinkRequests.h"
#include "platform/IniFile.h"
#include "screen/TfrmScreenshot.h"
#include "support/FakeModalUi.h"
#include "support/FileBytes.h"
#include "support/WaitUntil.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace grx {
namespace {

class CountingWaiter final : public UiWaiter {
 public:
  void waitMs(int ms) override { polls.push_back(ms); }
  std::vector<int> polls;
};

class ScreenshotWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    setCurrentLanguage(Language::English);
    main.move(20, 30);
    main.resize(400, 300);
  }
  void TearDown() override { delete window.data(); }

  TfrmScreenshot& open() {
    window = new TfrmScreenshot({&link, &ui, &waiter, &config, dir.path()}, &main);
    window->FormCreate();
    return *window;
  }
  QByteArray bmp() const { return test::readFileBytes(dir.filePath("Screenshot.bmp")); }
  // The colour of picture pixel (x, y) in the file, as "rrggbb".
  QByteArray filePixel(int x, int y) const {
    const QByteArray bgr = bmp().mid(54 + (67 - y) * 396 + 3 * x, 3);
    if (bgr.size() != 3) return {};
    QByteArray rgb;
    rgb.append(bgr[2]).append(bgr[1]).append(bgr[0]);
    return rgb.toHex();
  }
  QByteArray ini() const { return test::readFileBytes(dir.filePath("GRX1.ini")); }

  QTemporaryDir dir;
  IniFile config{dir.filePath("GRX1.ini")};
  LinkShared link;
  CountingWaiter waiter;
  test::FakeModalUi ui;
  QWidget main;
  QPointer<TfrmScreenshot> window;
};

TEST_F(ScreenshotWindow, OpensCentredInTheDefaultColoursWithTheEmptyFrameSaved) {
  link.setState(lsReadRecords);  // the start-up read is running
  TfrmScreenshot& w = open();
  EXPECT_EQ(w.windowTitle(), "Screenshot");
  EXPECT_EQ(w.BtnGetPicture->text(), "Consider the image of the screen");
  EXPECT_EQ(w.pos(), QPoint(20 + (400 - 189) / 2, 30 + (300 - 218) / 2));
  EXPECT_EQ(w.pictureFile(), dir.path() + QDir::separator() + "Screenshot.bmp");
  ASSERT_EQ(bmp().size(), 26982);
  EXPECT_EQ(filePixel(0, 0), "1f2c25");
  EXPECT_EQ(filePixel(131, 40), "1f2c25");
  EXPECT_EQ(filePixel(1, 1), "e1eaea");
  EXPECT_EQ(filePixel(60, 30), "e1eaea");
  EXPECT_EQ(QGuiApplication::clipboard()->image().pixelColor(0, 0), QColor(31, 44, 37));
  // Reading, but not posted into the running read.
  EXPECT_TRUE(w.reading());
  EXPECT_FALSE(w.BtnGetPicture->isEnabled());
  EXPECT_FALSE(w.BtnClose->isEnabled());
  EXPECT_TRUE(w.BtnPenColor->isEnabled());
  EXPECT_EQ(link.state(), lsReadRecords);
}

TEST_F(ScreenshotWindow, PostsOnceTheLinkIsIdleAndShowsTheAnswer) {
  link.setState(lsReadRecords);
  ScreenImage stale{};
  stale.fill(0xFF);
  link.setScreenImage(stale);
  TfrmScreenshot& w = open();
  link.setState(lsIdle);  // the read has completed
  ASSERT_TRUE(test::waitUntil([&] { return link.state() == lsReadScreen; }, 2000));
  EXPECT_EQ(link.screenImage(), ScreenImage{}) << "the request starts from an empty image";
  ScreenImage answer{};
  answer[0] = 1;
  answer[1023] = 128;
  link.setScreenImage(answer);
  link.setState(lsIdle);  // as the worker leaves lsReadScreen
  ASSERT_TRUE(test::waitUntil([&] { return !w.reading(); }, 2000));
  EXPECT_EQ(w.pixels().pixel(2, 2), 1);
  EXPECT_EQ(w.pixels().pixel(129, 65), 1);
  EXPECT_EQ(w.pixels().pixel(3, 2), 0);
  EXPECT_EQ(filePixel(2, 2), "1f2c25");
  EXPECT_EQ(filePixel(129, 65), "1f2c25");
  EXPECT_EQ(filePixel(129, 64), "e1eaea");
  EXPECT_EQ(QGuiApplication::clipboard()->image().pixelColor(129, 65), QColor(31, 44, 37));
  EXPECT_TRUE(w.BtnGetPicture->isEnabled());
  EXPECT_TRUE(w.BtnClose->isEnabled());
}

TEST_F(ScreenshotWindow, ColourDialogsRepaintAndWriteTheirColourAlsoWhenCancelled) {
  link.setState(lsReadRecords);
  TfrmScreenshot& w = open();
  ASSERT_TRUE(QFile::remove(dir.filePath("Screenshot.bmp")));
  w.BtnPenColorClick();  // cancelled
  ASSERT_EQ(ui.colorDialogs.size(), 1u);
  EXPECT_EQ(ui.colorDialogs[0], QColor(31, 44, 37));
  EXPECT_EQ(filePixel(0, 0), "1f2c25") << "written again";
  EXPECT_TRUE(ini().contains("[Screenshot]\r\nPenColor=2436127\r\n"));

  ui.colorAnswers = {QColor(255, 0, 0)};
  w.BtnBackgroundColorClick();
  EXPECT_EQ(ui.colorDialogs[1], QColor(225, 234, 234));
  EXPECT_EQ(filePixel(1, 1), "ff0000");
  EXPECT_TRUE(ini().contains("BackgroundColor=255\r\n"));
  EXPECT_EQ(w.backgroundColor(), 255u);
}

TEST_F(ScreenshotWindow, ColoursThatAreNoNumbersOpenWithTheFallbacks) {
  ASSERT_TRUE(test::writeFileBytes(dir.filePath("GRX1.ini"), "[Screenshot]\r\nPenColor=red\r\nBackgroundColor=x\r\n"));
  link.setState(lsReadRecords);
  TfrmScreenshot& w = open();
  EXPECT_EQ(w.penColor(), 16711680u);
  EXPECT_EQ(filePixel(0, 0), "0000ff");
  EXPECT_EQ(filePixel(1, 1), "ffffff");
}

TEST_F(ScreenshotWindow, ClosingWhileReadingWithdrawsTheRequestAfter99Polls) {
  link.setState(lsIdle);
  TfrmScreenshot& w = open();
  EXPECT_EQ(link.state(), lsReadScreen);
  w.move(33, 44);
  w.close();
  EXPECT_EQ(waiter.polls, std::vector<int>(99, 10));
  EXPECT_EQ(link.state(), lsIdle);
  EXPECT_TRUE(ini().contains("[Screenshot]\r\nLeft=33\r\nTop=44\r\n"));
  EXPECT_EQ(filePixel(60, 30), "e1eaea") << "the withdrawn read shows the empty frame";
}

TEST_F(ScreenshotWindow, ClosingBeforeItCouldPostLeavesTheLinkAlone) {
  link.setState(lsReadRecords);
  TfrmScreenshot& w = open();
  w.close();
  EXPECT_TRUE(waiter.polls.empty());
  EXPECT_EQ(link.state(), lsReadRecords);
}

}  // namespace
}  // namespace grx
