#include "WavExport.h"

#include "data/DerivedSignals.h"
#include "platform/LittleEndian.h"

#include <algorithm>
#include <cstring>

namespace grx {
namespace {

constexpr std::uint8_t kWavHeader[kWavHeaderSize] = {
    'R', 'I', 'F', 'F', 0x24, 0x04, 0x00, 0x00,  // 1060 bytes follow
    'W', 'A', 'V', 'E', 'f', 'm', 't', ' ',      //
    0x10, 0x00, 0x00, 0x00,                      // format chunk of 16 bytes
    0x01, 0x00, 0x01, 0x00,                      // PCM, mono
    0x09, 0x3D, 0x00, 0x00,                      // 15625 samples per second
    0x12, 0x7A, 0x00, 0x00,                      // 31250 bytes per second
    0x02, 0x00, 0x10, 0x00,                      // 2 bytes per sample, 16 bits
    'd', 'a', 't', 'a', 0x00, 0x04, 0x00, 0x00,  // 1024 bytes of samples
};

constexpr double kWavPeak = 23197.0;

}  // namespace

std::array<std::int16_t, kSamplesPerSignal> peakNormalised(const std::array<std::int64_t, kSamplesPerSignal>& values) {
  std::int64_t largest = 0;
  std::int64_t smallest = 0;
  for (std::int64_t v : values) {
    largest = std::max(largest, v);
    smallest = std::min(smallest, v);
  }
  std::int64_t peak = -smallest > largest ? -smallest : largest;
  if (peak == 0) peak = 1;
  const double factor = kWavPeak / double(peak);
  std::array<std::int16_t, kSamplesPerSignal> out{};
  for (int k = 0; k < kSamplesPerSignal; ++k) out[k] = std::int16_t(double(values[k]) * factor);  // toward zero
  return out;
}

std::array<std::int16_t, kSamplesPerSignal> wavSamples(const ImpactRecordView& record, ExportSignal signal) {
  std::array<std::int16_t, kSamplesPerSignal> out{};
  switch (signal) {
    case ExportSignal::Acceleration:
      for (int k = 0; k < kSamplesPerSignal; ++k) out[k] = record.accelCode(k);
      return out;
    case ExportSignal::Velocity: return peakNormalised(codeSums(record).velocity);
    case ExportSignal::Displacement: return peakNormalised(codeSums(record).displacement);
    case ExportSignal::Force: break;
  }
  std::array<std::int64_t, kSamplesPerSignal> codes{};
  for (int k = 0; k < kSamplesPerSignal; ++k) codes[k] = record.forceCode(k);
  return peakNormalised(codes);
}

QByteArray signalWav(const ImpactRecordView& record, ExportSignal signal) {
  const std::array<std::int16_t, kSamplesPerSignal> samples = wavSamples(record, signal);
  QByteArray out(kWavFileSize, Qt::Uninitialized);
  auto* p = reinterpret_cast<std::uint8_t*>(out.data());
  std::memcpy(p, kWavHeader, kWavHeaderSize);
  for (int k = 0; k < kSamplesPerSignal; ++k) writeI16(p + kWavHeaderSize + 2 * k, samples[k]);
  return out;
}

}  // namespace grx
