#pragma once
// Explicit little-endian field access for everything that crosses the link or goes to a file:
// never cast a byte buffer into a struct.
#include <bit>
#include <cstdint>
#include <cstring>

namespace grx {

inline std::uint16_t readU16(const std::uint8_t* p) { return std::uint16_t(p[0] | (p[1] << 8)); }
inline std::int16_t readI16(const std::uint8_t* p) { return std::int16_t(readU16(p)); }
inline std::uint32_t readU32(const std::uint8_t* p) {
  return std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16) | (std::uint32_t(p[3]) << 24);
}
inline std::int32_t readI32(const std::uint8_t* p) { return std::int32_t(readU32(p)); }
inline float readF32(const std::uint8_t* p) { return std::bit_cast<float>(readU32(p)); }

inline void writeU16(std::uint8_t* p, std::uint16_t v) {
  p[0] = std::uint8_t(v);
  p[1] = std::uint8_t(v >> 8);
}
inline void writeU32(std::uint8_t* p, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = std::uint8_t(v >> (8 * i));
}
inline void writeI32(std::uint8_t* p, std::int32_t v) { writeU32(p, std::uint32_t(v)); }
inline void writeI16(std::uint8_t* p, std::int16_t v) { writeU16(p, std::uint16_t(v)); }
inline void writeF32(std::uint8_t* p, float v) { writeU32(p, std::bit_cast<std::uint32_t>(v)); }

}  // namespace grx
