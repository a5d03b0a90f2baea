#include "ScreenPicture.h"

#include "platform/LittleEndian.h"
#include "platform/SafeFile.h"

#include <QSaveFile>

namespace grx {
namespace {

constexpr int kFirstColumn = 2;
constexpr int kLastColumn = 129;
constexpr int kBmpHeaderSize = 14 + 40;
constexpr int kBmpRowSize = (kPictureWidth * 3 + 3) / 4 * 4;

}  // namespace

PixelMap framedPixelMap() {
  PixelMap map;
  for (int x = 0; x < kPictureWidth; ++x) {
    map.setPixel(x, 0, 1);
    map.setPixel(x, kPictureHeight - 1, 1);
  }
  for (int y = 0; y < kPictureHeight; ++y) {
    map.setPixel(0, y, 1);
    map.setPixel(kPictureWidth - 1, y, 1);
  }
  return map;
}

void decodeScreenImage(ScreenImage& image, PixelMap& map) {
  // Byte k is display column k mod 128 of band k / 128; its bits run down the band.
  int c = kFirstColumn;
  int r = 2;
  for (std::uint8_t& byte : image) {
    for (int bit = 0; bit < 8; ++bit) {
      map.setPixel(c, r, byte & 1);
      byte = std::uint8_t(byte >> 1);
      ++r;
    }
    ++c;
    r -= 8;
    if (c == kLastColumn + 1) {
      c = kFirstColumn;
      r += 8;
    }
  }
}

QByteArray pictureBmp(const PixelMap& map, WinColor ink, WinColor background) {
  const int imageSize = kBmpRowSize * kPictureHeight;
  QByteArray bytes(kBmpHeaderSize + imageSize, '\0');
  auto* p = reinterpret_cast<std::uint8_t*>(bytes.data());
  p[0] = 'B';
  p[1] = 'M';
  writeU32(p + 2, std::uint32_t(bytes.size()));
  writeU32(p + 10, kBmpHeaderSize);           // pixels start after the two headers
  writeU32(p + 14, 40);                       // BITMAPINFOHEADER
  writeU32(p + 18, kPictureWidth);
  writeU32(p + 22, kPictureHeight);           // positive: the last row comes first
  writeU16(p + 26, 1);                          // planes
  writeU16(p + 28, 24);                         // bits per pixel
  writeU32(p + 34, std::uint32_t(imageSize));
  writeU32(p + 38, 3780);                     // 96 dots per inch
  writeU32(p + 42, 3780);
  for (int y = 0; y < kPictureHeight; ++y) {
    std::uint8_t* row = p + kBmpHeaderSize + (kPictureHeight - 1 - y) * kBmpRowSize;
    for (int x = 0; x < kPictureWidth; ++x) {
      const WinColor c = map.pixel(x, y) ? ink : background;
      row[3 * x] = std::uint8_t(winBlue(c));
      row[3 * x + 1] = std::uint8_t(winGreen(c));
      row[3 * x + 2] = std::uint8_t(winRed(c));
    }
  }
  return bytes;
}

bool writePictureFile(const QString& path, const QByteArray& bmp) {
  return writeFileSafely(path, bmp) == SafeWriteResult::Ok;
}

}  // namespace grx
