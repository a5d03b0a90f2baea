#pragma once
// Impact records with chosen field values, and measurement sets made of them, for tests.
#include "data/MeasurementSet.h"

#include <QString>

#include <array>
#include <cstdint>
#include <initializer_list>
#include <vector>

namespace grx::test {

class RecordBuilder {
 public:
  RecordBuilder();
  RecordBuilder& series(std::uint32_t seriesNumber, std::uint32_t impactNumber = 1);
  RecordBuilder& stamp(int day, int month, int year, int hours, int minutes, int seconds);
  RecordBuilder& f32(int offset, float value);
  RecordBuilder& moduli(float dynamic, float statical);
  RecordBuilder& peaks(float accelMin, float accelMax, float velocityMin, float velocityMax);
  RecordBuilder& displacement(float mm);
  RecordBuilder& soil(const QString& name);
  RecordBuilder& object(const QString& name);
  RecordBuilder& coordinates(std::int32_t latitude, std::int32_t longitude);
  RecordBuilder& accelCodes(std::int16_t code);  // every sample the same code
  RecordBuilder& accelCode(int i, std::int16_t code);
  RecordBuilder& forceCode(int i, std::int16_t code);

  const std::uint8_t* bytes() const { return bytes_.data(); }

 private:
  std::array<std::uint8_t, kRecordSize> bytes_{};
};

// Replaces the set with these records, one directory entry in use per record.
void fillSet(MeasurementSet& set, const std::vector<RecordBuilder>& records);

// Records whose series numbers are the given ones, every other field plausible.
std::vector<RecordBuilder> recordsWithSeries(std::initializer_list<std::uint32_t> seriesNumbers);

// A coordinate word from (degrees * 100 + minutes) and the fraction of a minute in 1/65536.
std::int32_t coordinate(std::uint32_t degreesMinutes, std::uint32_t fraction, bool negative = false);

}  // namespace grx::test
