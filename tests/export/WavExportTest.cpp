// WAV files of one impact: the fixed header, the samples of each signal, peak normalisation.
#include "export/WavExport.h"

#include "platform/LittleEndian.h"
#include "support/RecordBuilder.h"

#include <gtest/gtest.h>

#include <vector>

namespace grx {
namespace {

using test::RecordBuilder;

std::vector<int> samplesOf(const QByteArray& wav, int count) {
  std::vector<int> out;
  const auto* p = reinterpret_cast<const std::uint8_t*>(wav.constData()) + 44;
  for (int k = 0; k < count; ++k) out.push_back(readI16(p + 2 * k));
  return out;
}

TEST(WavExport, EveryFileIs1068BytesBehindTheSameHeader) {
  const QByteArray header = QByteArray::fromHex(
      "52494646 24040000 57415645"  // "RIFF", 1060, "WAVE"
      "666d7420 10000000 0100 0100"  // "fmt ", 16, PCM, mono
      "093d0000 127a0000 0200 1000"  // 15625 samples/s, 31250 bytes/s, 2 bytes per sample, 16 bits
      "64617461 00040000");          // "data", 1024
  ASSERT_EQ(header.size(), 44);
  RecordBuilder r;
  r.accelCode(0, 5).forceCode(0, 9);
  for (ExportSignal s : {ExportSignal::Acceleration, ExportSignal::Velocity, ExportSignal::Displacement, ExportSignal::Force}) {
    const QByteArray wav = signalWav(ImpactRecordView(r.bytes()), s);
    EXPECT_EQ(wav.size(), 1068);
    EXPECT_EQ(wav.left(44).toHex(), header.toHex());
  }
}

TEST(WavExport, SamplesOfEachSignal) {
  struct Case {
    const char* what;
    std::vector<std::int16_t> accel;  // codes from sample 0 on, the rest 0
    std::vector<std::int16_t> force;
    ExportSignal signal;
    std::vector<int> expected;  // the first samples of the file
    int last;                   // sample 511
  };
  const Case cases[] = {
      {"acceleration as stored", {-32768, 32767, -1, 7}, {}, ExportSignal::Acceleration, {-32768, 32767, -1, 7, 0}, 0},
      // V = -20000, -40000, -7233, 25534, 30000 ...: peak 40000, -40000 -> -23197, 30000 -> 17397
      {"velocity peak below zero", {-20000, -20000, 32767, 32767, 4466}, {}, ExportSignal::Velocity,
       {-11598, -23197, -4194, 14807, 17397}, 17397},
      // V = 32767, 33139, 371, -1 ...: -1 x 23197 / 33139 = -0.69999... is written as 0
      {"velocity truncated toward zero", {32767, 372, -32768, -372}, {}, ExportSignal::Velocity, {22936, 23197, 259, 0, 0}, 0},
      {"force peak -32768", {}, {-32768, 32767, -1, 3}, ExportSignal::Force, {-23197, 23196, 0, 2, 0}, 0},
      {"all-zero velocity (peak 0 counts as 1)", {}, {5}, ExportSignal::Velocity, {0, 0, 0}, 0},
      {"all-zero displacement", {}, {5}, ExportSignal::Displacement, {0, 0, 0}, 0},
      // S = 2, 3, 4, 5 ...: peak S[511] = 513
      {"displacement", {2, -1}, {}, ExportSignal::Displacement, {90, 135, 180, 226}, 23197},
  };
  for (const Case& c : cases) {
    RecordBuilder r;
    r.f32(rec::ForceFullScale, 1e6f).peaks(-1000, 1000, 0, 0);  // physical scales must not matter
    for (std::size_t k = 0; k < c.accel.size(); ++k) r.accelCode(int(k), c.accel[k]);
    for (std::size_t k = 0; k < c.force.size(); ++k) r.forceCode(int(k), c.force[k]);
    const QByteArray wav = signalWav(ImpactRecordView(r.bytes()), c.signal);
    EXPECT_EQ(samplesOf(wav, int(c.expected.size())), c.expected) << c.what;
    EXPECT_EQ(samplesOf(wav, 512)[511], c.last) << c.what;
  }
}

TEST(WavExport, DisplacementSumsBeyondThirtyTwoBitsKeepTheirShape) {
  RecordBuilder r;
  r.accelCodes(32767);
  // S[k] = 32767 (k+1)(k+2)/2 reaches 4303224576 at k = 511
  const std::vector<int> s = samplesOf(signalWav(ImpactRecordView(r.bytes()), ExportSignal::Displacement), 512);
  EXPECT_EQ(s[0], 0);
  EXPECT_EQ(s[255], 5810);
  EXPECT_EQ(s[511], 23197);
  for (int k = 1; k < 512; ++k) ASSERT_GE(s[k], s[k - 1]) << k;
}

}  // namespace
}  // namespace grx
