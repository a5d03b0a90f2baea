#pragma once
// Checks of a single impact that the compaction control shows and counts; they never remove an
// impact.
#include "data/ImpactRecord.h"

namespace grx {

// How long the force stays above 10 % of its peak, in ms: the run of stored force samples (64 µs
// each) around the peak sample (the largest magnitude, of either sign) that all lie beyond a tenth
// of the peak on its side. 0 for a record without force.
double impactDurationMs(const ImpactRecordView& record);

struct ImpactFlags {
  bool duration = false;   // the duration lies outside the settable window
  bool nonFinite = false;  // the dynamic or static modulus is no finite number
  bool svAbove = false;    // the impact's s/v ratio lies above the required maximum
  bool any() const { return duration || nonFinite || svAbove; }
};

// maxSv: the requirement's maximum s/v ratio, or a negative number when none is required.
ImpactFlags impactFlags(const ImpactRecordView& record, double durationMinMs, double durationMaxMs, double maxSv);

}  // namespace grx
