// The decode of the tester's screen image, the bitmap bytes and the Screenshot keys of GRX1.ini.
#include "config/ScreenshotSettings.h"
#include "screen/ScreenPicture.h"
#include "support/FileBytes.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <set>
#include <utility>

namespace grx {
namespace {

using Pixel = std::pair<int, int>;

// The ink pixels of the map.
std::set<Pixel> inkPixels(const PixelMap& map) {
  std::set<Pixel> ink;
  for (int x = 0; x < kPictureWidth; ++x)
    for (int y = 0; y < kPictureHeight; ++y)
      if (map.pixel(x, y)) ink.insert({x, y});
  return ink;
}

std::set<Pixel> frame() {
  std::set<Pixel> ink;
  for (int x = 0; x < 132; ++x) ink.insert({x, 0}), ink.insert({x, 67});
  for (int y = 0; y < 68; ++y) ink.insert({0, y}), ink.insert({131, y});
  return ink;
}

TEST(ScreenDecode, OneBitLandsOnItsPixelInsideTheFrame) {
  const struct {
    int byte;
    std::uint8_t value;
    Pixel pixel;
  } cases[] = {
      {0, 1, {2, 2}},
      {0, 128, {2, 9}},
      {128, 1, {2, 10}},
      {1023, 128, {129, 65}},
      {127, 1, {129, 2}},
      {5, 4, {7, 4}},
  };
  for (const auto& c : cases) {
    ScreenImage image{};
    image[std::size_t(c.byte)] = c.value;
    PixelMap map = framedPixelMap();
    decodeScreenImage(image, map);
    std::set<Pixel> expected = frame();
    expected.insert(c.pixel);
    EXPECT_EQ(inkPixels(map), expected) << "byte " << c.byte << " = " << int(c.value);
    EXPECT_EQ(image, ScreenImage{}) << "decoding leaves the buffer at zero";
  }
}

TEST(ScreenDecode, AllInkFillsTheBlockInsideABlankRingAndTheFrame) {
  ScreenImage image;
  image.fill(255);
  PixelMap map = framedPixelMap();
  decodeScreenImage(image, map);
  for (int x = 0; x < 132; ++x) {
    for (int y = 0; y < 68; ++y) {
      const bool border = x == 0 || x == 131 || y == 0 || y == 67;
      const bool ring = !border && (x == 1 || x == 130 || y == 1 || y == 66);
      EXPECT_EQ(map.pixel(x, y), ring ? 0 : 1) << x << "," << y;
    }
  }
  EXPECT_EQ(image, ScreenImage{});
}

TEST(ScreenPicture, BitmapIs24BitBottomUpInBgrOrder) {
  PixelMap map = framedPixelMap();
  map.setPixel(2, 2, 1);
  const QByteArray bmp = pictureBmp(map, winColor(31, 44, 37), winColor(225, 234, 234));
  ASSERT_EQ(bmp.size(), 54 + 132 * 3 * 68);
  // BM, file size 26982, pixels at 54, header 40, 132 x 68, 1 plane, 24 bits, no compression.
  const QByteArray header("BM\x66\x69\x00\x00\x00\x00\x00\x00\x36\x00\x00\x00\x28\x00\x00\x00"
                          "\x84\x00\x00\x00\x44\x00\x00\x00\x01\x00\x18\x00\x00\x00\x00\x00",
                          34);
  EXPECT_EQ(bmp.left(34).toHex(' '), header.toHex(' '));
  auto at = [&](int x, int y) { return bmp.mid(54 + (67 - y) * 396 + 3 * x, 3).toHex(); };
  EXPECT_EQ(at(0, 0), "252c1f") << "the frame in ink: blue, green, red";
  EXPECT_EQ(at(131, 67), "252c1f");
  EXPECT_EQ(at(1, 1), "eaeae1") << "the ring in the background";
  EXPECT_EQ(at(2, 2), "252c1f");
  EXPECT_EQ(at(3, 2), "eaeae1");
}

class ScreenshotKeys : public ::testing::Test {
 protected:
  IniFile ini() const { return IniFile(dir.filePath("GRX1.ini")); }
  void write(const QByteArray& bytes) const { ASSERT_TRUE(test::writeFileBytes(dir.filePath("GRX1.ini"), bytes)); }
  QTemporaryDir dir;
  const QRect main{100, 50, 800, 600};
  const QSize window{189, 218};
  const QSize screen{1280, 800};
};

TEST_F(ScreenshotKeys, WithoutAFileCentredOverTheMainWindowInTheDefaultColours) {
  EXPECT_EQ(readScreenshotPosition(ini(), main, window, screen), QPoint(405, 241));
  EXPECT_EQ(readPenColor(ini()), 2436127u);
  EXPECT_EQ(readBackgroundColor(ini()), 15395553u);
  EXPECT_EQ(winRed(2436127), 31);
  EXPECT_EQ(winGreen(2436127), 44);
  EXPECT_EQ(winBlue(2436127), 37);
}

TEST_F(ScreenshotKeys, PositionsAreKeptOnTheScreen) {
  const struct {
    const char* left;
    const char* top;
    QPoint expected;
  } cases[] = {
      {"10", "20", {10, 20}},
      {"5000", "700", {1091, 557}},   // right edge flush; bottom below the screen: 25 above the edge
      {"1091", "582", {1091, 582}},   // exactly on the edges: kept
      {"-4", "-9", {0, 0}},
      {"abc", "1.5", {405, 241}},     // not integers: the defaults
      {"123456789012", "", {1091, 241}},  // Left read as its first 9 characters
  };
  for (const auto& c : cases) {
    write(QByteArray("[Screenshot]\r\nLeft=") + c.left + "\r\nTop=" + c.top + "\r\n");
    EXPECT_EQ(readScreenshotPosition(ini(), main, window, screen), c.expected) << c.left << " " << c.top;
  }
}

TEST_F(ScreenshotKeys, ColourFallbacks) {
  const struct {
    const char* value;
    WinColor pen;
    WinColor background;
  } cases[] = {
      {"red", 16711680, 16777215},
      {"", 16711680, 16777215},
      {"255", 255, 255},
      {"4294967295", 4294967295u, 4294967295u},
      {"12345678901234567890", 16711680, 16777215},
  };
  for (const auto& c : cases) {
    write(QByteArray("[Screenshot]\r\nPenColor=") + c.value + "\r\nBackgroundColor=" + c.value + "\r\n");
    EXPECT_EQ(readPenColor(ini()), c.pen) << c.value;
    EXPECT_EQ(readBackgroundColor(ini()), c.background) << c.value;
  }
}

TEST_F(ScreenshotKeys, WritesDecimalIntegers) {
  write("[Config]\r\nLangId=Eng\r\n");
  writeScreenshotPosition(ini(), {12, -3});
  writePenColor(ini(), winColor(0, 0, 255));
  writeBackgroundColor(ini(), 15395553);
  EXPECT_EQ(test::readFileBytes(dir.filePath("GRX1.ini")),
            "[Config]\r\nLangId=Eng\r\n[Screenshot]\r\nLeft=12\r\nTop=-3\r\nPenColor=16711680\r\n"
            "BackgroundColor=15395553\r\n");
}

}  // namespace
}  // namespace grx
