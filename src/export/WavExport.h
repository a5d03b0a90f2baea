#pragma once
// WAV files of one impact: 512 samples of mono 16-bit PCM at 15625 samples per second (one per
// 64 microsecond sample period) behind a fixed 44-byte header, 1068 bytes in all.
#include "ImpactExport.h"

#include <QByteArray>

#include <array>
#include <cstdint>

namespace grx {

inline constexpr int kWavHeaderSize = 44;
inline constexpr int kWavFileSize = kWavHeaderSize + 2 * kSamplesPerSignal;

// Scales the values so that the largest magnitude (taken together with 0; a peak of 0 counts as 1)
// becomes 23197, truncating each product toward zero.
std::array<std::int16_t, kSamplesPerSignal> peakNormalised(const std::array<std::int64_t, kSamplesPerSignal>& values);

// Acceleration codes as stored; velocity and displacement code sums and force codes normalised to
// their peak. No physical scale enters a WAV file.
std::array<std::int16_t, kSamplesPerSignal> wavSamples(const ImpactRecordView& record, ExportSignal signal);

// Header and samples: the whole file.
QByteArray signalWav(const ImpactRecordView& record, ExportSignal signal);

}  // namespace grx
