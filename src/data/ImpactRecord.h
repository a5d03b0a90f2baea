#pragma once
// The tester's record of one impact, 2196 bytes, kept exactly as the tester sent it. The program
// reads the fields it shows through these accessors and never recomputes the stored results.
#include "platform/LittleEndian.h"

#include <cstdint>

namespace grx {

inline constexpr int kRecordSize = 2196;
inline constexpr int kSamplesPerSignal = 512;
inline constexpr int kNameFieldSize = 20;

namespace rec {
inline constexpr int NumberWord = 8;
inline constexpr int Seconds = 12;
inline constexpr int Minutes = 13;
inline constexpr int Hours = 14;
inline constexpr int Day = 15;
inline constexpr int Month = 16;
inline constexpr int Year = 17;
inline constexpr int SoilName = 18;
inline constexpr int ObjectName = 38;
inline constexpr int AccelReference = 64;
inline constexpr int ForceFullScale = 68;
inline constexpr int DynamicModulus = 76;
inline constexpr int StaticModulus = 80;
inline constexpr int AccelMin = 84;
inline constexpr int AccelMax = 88;
inline constexpr int VelocityMin = 92;
inline constexpr int VelocityMax = 96;
inline constexpr int Displacement = 100;
inline constexpr int ImpactForce = 104;
inline constexpr int Latitude = 124;
inline constexpr int Longitude = 128;
inline constexpr int AccelSamples = 148;
inline constexpr int ForceSamples = 1172;
}  // namespace rec

// Read-only view of one impact record.
class ImpactRecordView {
 public:
  explicit ImpactRecordView(const std::uint8_t* bytes) : p_(bytes) {}

  const std::uint8_t* bytes() const { return p_; }

  std::uint32_t numberWord() const { return readU32(p_ + rec::NumberWord); }
  std::uint32_t seriesNumber() const { return numberWord() >> 4; }
  std::uint32_t impactNumber() const { return numberWord() & 15u; }

  int seconds() const { return p_[rec::Seconds]; }
  int minutes() const { return p_[rec::Minutes]; }
  int hours() const { return p_[rec::Hours]; }
  int day() const { return p_[rec::Day]; }
  int month() const { return p_[rec::Month]; }
  int year() const { return p_[rec::Year]; }  // years after 2000

  const std::uint8_t* soilNameField() const { return p_ + rec::SoilName; }
  const std::uint8_t* objectNameField() const { return p_ + rec::ObjectName; }

  float accelReference() const { return readF32(p_ + rec::AccelReference); }
  float forceFullScale() const { return readF32(p_ + rec::ForceFullScale); }
  float dynamicModulus() const { return readF32(p_ + rec::DynamicModulus); }
  float staticModulus() const { return readF32(p_ + rec::StaticModulus); }
  float accelMin() const { return readF32(p_ + rec::AccelMin); }
  float accelMax() const { return readF32(p_ + rec::AccelMax); }
  float velocityMin() const { return readF32(p_ + rec::VelocityMin); }
  float velocityMax() const { return readF32(p_ + rec::VelocityMax); }
  float displacement() const { return readF32(p_ + rec::Displacement); }
  float impactForce() const { return readF32(p_ + rec::ImpactForce); }
  std::int32_t latitude() const { return readI32(p_ + rec::Latitude); }
  std::int32_t longitude() const { return readI32(p_ + rec::Longitude); }

  // The impact's s/v ratio in ms: -displacement / velocity minimum (not finite for a zero velocity).
  double svRatio() const { return -double(displacement()) / double(velocityMin()); }

  std::int16_t accelCode(int i) const { return readI16(p_ + rec::AccelSamples + 2 * i); }
  std::int16_t forceCode(int i) const { return readI16(p_ + rec::ForceSamples + 2 * i); }

 private:
  const std::uint8_t* p_;
};

}  // namespace grx
