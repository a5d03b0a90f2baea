#pragma once
// The value axes of the protocol's charts: a step of 1, 2 or 5 times a power of ten and the range
// widened to whole steps, with tick labels of as many decimals as the step needs.
#include "control/ControlTables.h"

#include <cmath>

namespace grx {

// A step of 1, 2 or 5 times a power of ten that parts the span into about `parts`.
inline double niceStep(double span, int parts = 5) {
  const double raw = span / parts;
  const double power = std::pow(10.0, std::floor(std::log10(raw)));
  for (const double m : {1.0, 2.0, 5.0})
    if (m * power >= raw * (1 - 1e-9)) return m * power;
  return 10 * power;
}

struct ChartAxis {
  double low = 0, high = 1, step = 0.2;
};

// The axis over low..high (low below high) widened to whole steps.
inline ChartAxis chartAxis(double low, double high, int parts = 5) {
  ChartAxis a;
  a.step = niceStep(high - low, parts);
  a.low = std::floor(low / a.step) * a.step;
  a.high = std::ceil(high / a.step) * a.step;
  return a;
}

inline QString tickText(double value, double step) {
  const int decimals = step >= 1 ? 0 : int(std::ceil(-std::log10(step) - 1e-9));
  return controlNumber(value, decimals == 0 ? u"0" : decimals == 1 ? u"0.0" : u"0.00");
}

}  // namespace grx
