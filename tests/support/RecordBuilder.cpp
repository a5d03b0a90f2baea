#include "RecordBuilder.h"

#include "data/TextForms.h"
#include "platform/LittleEndian.h"

#include <cstring>

namespace grx::test {

RecordBuilder::RecordBuilder() {
  stamp(7, 3, 16, 14, 5, 9);
  moduli(40.0f, 80.0f);
  peaks(-25.0f, 30.0f, -0.1f, 0.05f);
  displacement(0.5f);
  f32(rec::ImpactForce, 7000.0f);
  f32(rec::ForceFullScale, 25000.0f);
}

RecordBuilder& RecordBuilder::series(std::uint32_t seriesNumber, std::uint32_t impactNumber) {
  writeU32(bytes_.data() + rec::NumberWord, (seriesNumber << 4) | (impactNumber & 15u));
  return *this;
}

RecordBuilder& RecordBuilder::stamp(int day, int month, int year, int hours, int minutes, int seconds) {
  bytes_[rec::Day] = std::uint8_t(day);
  bytes_[rec::Month] = std::uint8_t(month);
  bytes_[rec::Year] = std::uint8_t(year);
  bytes_[rec::Hours] = std::uint8_t(hours);
  bytes_[rec::Minutes] = std::uint8_t(minutes);
  bytes_[rec::Seconds] = std::uint8_t(seconds);
  return *this;
}

RecordBuilder& RecordBuilder::f32(int offset, float value) {
  writeF32(bytes_.data() + offset, value);
  return *this;
}

RecordBuilder& RecordBuilder::moduli(float dynamic, float statical) {
  return f32(rec::DynamicModulus, dynamic).f32(rec::StaticModulus, statical);
}

RecordBuilder& RecordBuilder::peaks(float accelMin, float accelMax, float velocityMin, float velocityMax) {
  return f32(rec::AccelMin, accelMin).f32(rec::AccelMax, accelMax).f32(rec::VelocityMin, velocityMin).f32(rec::VelocityMax, velocityMax);
}

RecordBuilder& RecordBuilder::displacement(float mm) { return f32(rec::Displacement, mm); }

RecordBuilder& RecordBuilder::soil(const QString& name) {
  writeNameField(bytes_.data() + rec::SoilName, name);
  return *this;
}

RecordBuilder& RecordBuilder::object(const QString& name) {
  writeNameField(bytes_.data() + rec::ObjectName, name);
  return *this;
}

RecordBuilder& RecordBuilder::coordinates(std::int32_t latitude, std::int32_t longitude) {
  writeI32(bytes_.data() + rec::Latitude, latitude);
  writeI32(bytes_.data() + rec::Longitude, longitude);
  return *this;
}

RecordBuilder& RecordBuilder::accelCodes(std::int16_t code) {
  for (int i = 0; i < kSamplesPerSignal; ++i) accelCode(i, code);
  return *this;
}

RecordBuilder& RecordBuilder::accelCode(int i, std::int16_t code) {
  writeI16(bytes_.data() + rec::AccelSamples + 2 * i, code);
  return *this;
}

RecordBuilder& RecordBuilder::forceCode(int i, std::int16_t code) {
  writeI16(bytes_.data() + rec::ForceSamples + 2 * i, code);
  return *this;
}

void fillSet(MeasurementSet& set, const std::vector<RecordBuilder>& records) {
  set.clear();
  std::memset(set.directory(), 0xFF, kDirectorySize);
  for (std::size_t i = 0; i < records.size(); ++i) {
    std::memcpy(set.record(std::uint32_t(i)), records[i].bytes(), kRecordSize);
    std::uint8_t* entry = set.directory() + i * kDirectoryEntrySize;
    writeU16(entry, std::uint16_t(600 + i));
    entry[2] = 0;
    entry[3] = std::uint8_t(i);
  }
  set.setCount(std::uint32_t(records.size()));
  set.buildSeries();
}

std::vector<RecordBuilder> recordsWithSeries(std::initializer_list<std::uint32_t> seriesNumbers) {
  std::vector<RecordBuilder> records;
  std::uint32_t impact = 0;
  for (std::uint32_t s : seriesNumbers) records.push_back(RecordBuilder().series(s, ++impact));
  return records;
}

std::int32_t coordinate(std::uint32_t degreesMinutes, std::uint32_t fraction, bool negative) {
  const auto word = std::int32_t((degreesMinutes << 16) | (fraction & 0xFFFFu));
  return negative ? -word : word;
}

}  // namespace grx::test
