#pragma once
// A Windows colour value, as the configuration file stores colours: the integer 0x00BBGGRR (red in
// the low byte, blue in the third).
#include <cstdint>

namespace grx {

using WinColor = std::uint32_t;
inline constexpr int winRed(WinColor c) { return int(c & 0xFF); }
inline constexpr int winGreen(WinColor c) { return int((c >> 8) & 0xFF); }
inline constexpr int winBlue(WinColor c) { return int((c >> 16) & 0xFF); }
inline constexpr WinColor winColor(int r, int g, int b) {
  return WinColor(r & 0xFF) | (WinColor(g & 0xFF) << 8) | (WinColor(b & 0xFF) << 16);
}

}  // namespace grx
