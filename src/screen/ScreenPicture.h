#pragma once
// The tester's display as a picture: the 1024 bytes the tester sends (8 bands of 128 columns, each
// byte a vertical strip of 8 pixels, least significant bit on top) decoded into a 132 x 68 pixel
// map inside a blank ring and an ink frame, and that map as a 24-bit Windows bitmap in two colours.
// Window-free: the screen image window and grx1-cli screenshot both use it.
#include "device/LinkState.h"
#include "platform/WinColor.h"

#include <QByteArray>

#include <array>
#include <cstdint>

namespace grx {

inline constexpr int kPictureWidth = 132;
inline constexpr int kPictureHeight = 68;

// 1 = ink, 0 = background; column by column: pixel (x, y) is element x * 68 + y.
class PixelMap {
 public:
  PixelMap() { pixels_.fill(0); }
  std::uint8_t pixel(int x, int y) const { return pixels_[std::size_t(x * kPictureHeight + y)]; }
  void setPixel(int x, int y, std::uint8_t value) { pixels_[std::size_t(x * kPictureHeight + y)] = value; }
  bool operator==(const PixelMap&) const = default;

 private:
  std::array<std::uint8_t, kPictureWidth * kPictureHeight> pixels_;
};

// The empty picture: ink on the border (columns 0 and 131, rows 0 and 67), background elsewhere.
PixelMap framedPixelMap();

// Decodes the image into columns 2 .. 129 and rows 2 .. 65 of `map` and leaves every byte of
// `image` at 0 (the next read then starts from zeros).
void decodeScreenImage(ScreenImage& image, PixelMap& map);

// The map as a 24-bit BMP file (132 x 68, rows bottom up, no palette): ink where it holds 1.
QByteArray pictureBmp(const PixelMap& map, WinColor ink, WinColor background);

// Writes the bytes to `path`, replacing an existing file. False when it could not be written.
bool writePictureFile(const QString& path, const QByteArray& bmp);

}  // namespace grx
