#include "config/Settings.h"

#include "support/FileBytes.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace grx {
namespace {

StartupSettings settingsFrom(const QByteArray& ini, QSize screen = {1280, 1024}) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("GRX1.ini"));
  EXPECT_TRUE(test::writeFileBytes(path, ini));
  return readStartupSettings(IniFile(path), screen);
}

TEST(Settings, DefaultsOfAFirstStart) {
  const StartupSettings s = settingsFrom("");
  EXPECT_FALSE(s.language.has_value());
  EXPECT_EQ(s.geometry, QRect((1280 - 500) / 2, (1024 - 400) / 2, 500, 400));
  EXPECT_EQ(s.table1Width, 500);
  EXPECT_TRUE(s.reducedView);
  EXPECT_EQ(s.bottomAxis, BottomAxisMode::Ms20);
  EXPECT_DOUBLE_EQ(s.limits.leftMinimum, -0.5);
  EXPECT_DOUBLE_EQ(s.limits.rightMinimum, -10);
  EXPECT_EQ(s.uses, 0);
}

TEST(Settings, GeometryRules) {
  struct Case {
    const char* formMain;
    QRect geometry;
    int table1Width;
  };
  const Case cases[] = {
      {"Width=2000\r\nHeight=3000", QRect(0, 0, 1280, 1024), 500},
      {"Width=600\r\nHeight=500\r\nLeft=-5\r\nTop=-9", QRect(0, 0, 600, 500), 500},
      {"Width=600\r\nHeight=500\r\nLeft=900\r\nTop=700", QRect(680, 1024 - 500 - 25, 600, 500), 500},
      {"Width=abc\r\nHeight=\r\nLeft=10\r\nTop=20", QRect(10, 20, 500, 400), 500},
      {"Table1Width=10", QRect(390, 312, 500, 400), 50},
      {"Table1Width=990", QRect(390, 312, 500, 400), 950},
      {"Table1Width=333", QRect(390, 312, 500, 400), 333},
  };
  for (const Case& c : cases) {
    const StartupSettings s = settingsFrom(QByteArray("[FormMain]\r\n") + c.formMain + "\r\n");
    EXPECT_EQ(s.geometry, c.geometry) << c.formMain;
    EXPECT_EQ(s.table1Width, c.table1Width) << c.formMain;
  }
}

TEST(Settings, FirstCharacterRules) {
  struct Case {
    const char* config;
    bool reduced, accel, code, leftPlus, leftAuto;
    BottomAxisMode bottom;
  };
  const Case cases[] = {
      {"Super=N", true, false, false, false, true, BottomAxisMode::Ms20},
      {"Super=Yes\r\nAccelGraph=\r\nCode=Y\r\nLeftAxisPlus=Yes\r\nLeftAxisAuto=N", false, true, true, true, false,
       BottomAxisMode::Ms20},
      {"Super=No\r\nAccelGraph=Y\r\nBottomAxis=32", true, true, false, false, true, BottomAxisMode::Ms32},
      {"BottomAxis=2000", true, false, false, false, true, BottomAxisMode::Ms20},
      {"BottomAxis=3", true, false, false, false, true, BottomAxisMode::Auto},
      {"BottomAxis=", true, false, false, false, true, BottomAxisMode::Auto},
      {"BottomAxis=Auto", true, false, false, false, true, BottomAxisMode::Auto},
  };
  for (const Case& c : cases) {
    const StartupSettings s = settingsFrom(QByteArray("[Config]\r\n") + c.config + "\r\n");
    EXPECT_EQ(s.reducedView, c.reduced) << c.config;
    EXPECT_EQ(s.curves.accel, c.accel) << c.config;
    EXPECT_EQ(s.codeView, c.code) << c.config;
    EXPECT_EQ(s.leftAxisPlus, c.leftPlus) << c.config;
    EXPECT_EQ(s.leftAxisAuto, c.leftAuto) << c.config;
    EXPECT_EQ(s.bottomAxis, c.bottom) << c.config;
  }
}

TEST(Settings, AxisLimitsWithEitherSeparatorAreKeptAndOrdered) {
  struct Case {
    const char* config;
    AxisLimits expected;
  };
  const Case cases[] = {
      {"LeftAxisMaximum=-2\r\nLeftAxisMinimum=5", {5, -2, 0, -10}},
      {"LeftAxisMaximum=1,250\r\nLeftAxisMinimum=-0,500", {1.25, -0.5, 0, -10}},
      {"LeftAxisMaximum=1.25\r\nLeftAxisMinimum=-0.5", {1.25, -0.5, 0, -10}},
      {"RightAxisMaximum=abc\r\nRightAxisMinimum=-12,5", {0, -0.5, 0, -12.5}},
      // only 9 characters of a value count: 1234567,891 is read as 1234567,8
      {"RightAxisMaximum=1234567,891", {0, -0.5, 1234567.8, -10}},
      // only finite numbers are limits
      {"LeftAxisMaximum=nan\r\nLeftAxisMinimum=-inf", {0, -0.5, 0, -10}},
      {"RightAxisMaximum=inf\r\nRightAxisMinimum=1e999", {0, -0.5, 0, -10}},
  };
  for (const Case& c : cases) {
    const StartupSettings s = settingsFrom(QByteArray("[Config]\r\n") + c.config + "\r\n");
    EXPECT_DOUBLE_EQ(s.limits.leftMaximum, c.expected.leftMaximum) << c.config;
    EXPECT_DOUBLE_EQ(s.limits.leftMinimum, c.expected.leftMinimum) << c.config;
    EXPECT_DOUBLE_EQ(s.limits.rightMaximum, c.expected.rightMaximum) << c.config;
    EXPECT_DOUBLE_EQ(s.limits.rightMinimum, c.expected.rightMinimum) << c.config;
  }
}

}  // namespace
}  // namespace grx
