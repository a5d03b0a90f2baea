#pragma once
// Realistic measurements made up by the program itself, for the simulated tester, the first run
// without a tester, the tests and the benchmarks. The same seed always gives the same bytes.
#include "MeasurementSet.h"

#include <cstdint>

namespace grx {

// Replaces the content of `set` with `impacts` generated impacts (clamped to 0..3557) in series of
// 3 to 8, with names from the tester's default lists and coordinates around one site. The
// directory holds one entry in use per impact; the rest of it reads as unused.
void generateSampleMeasurements(MeasurementSet& set, int impacts, std::uint32_t seed = 1);

// One impact's shape: peak displacement (mm), pulse length (ms) and peak force (N).
struct SamplePulse {
  double displacementMm = 0.5;
  double durationMs = 18.0;
  double forceN = 7070.0;
};

// Writes the signals and the tester's results of one impact into a record: a haversine plate
// displacement (so the acceleration is a cosine pulse), a half-sine force, a little noise, and the
// peaks and moduli the tester would store. `noiseSeed` 0 gives noise-free samples.
void writeSampleImpact(std::uint8_t* record, const SamplePulse& pulse, std::uint32_t noiseSeed);

}  // namespace grx
