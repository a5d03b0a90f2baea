#pragma once
// The rules of the signal chart that need no window: which curve goes on which vertical axis with
// which title, how a vertical axis is scaled, the label step for a range, and how many samples are
// drawn. The chart widget applies them.
#include "config/Settings.h"
#include "platform/TextPair.h"

#include <QString>
#include <QVector>

#include <array>
#include <cstdint>
#include <optional>

namespace grx {

enum CurveIndex { CurveA = 0, CurveV = 1, CurveS = 2, CurveF = 3 };

struct AxisTitle {
  QString text;
  std::uint32_t color = 0;  // 0xRRGGBB
};

struct AxisPlan {
  // Per curve (A, V, S, F): true = left axis, false = right axis, none = keeps its axis.
  std::array<std::optional<bool>, 4> onLeft;
  AxisTitle left;
  AxisTitle right;
  bool rightVisible = false;
};

// The axis assignment for the checked curves. In the reduced view the displacement is on the left
// and the force on the right, whatever else is checked.
AxisPlan planAxes(const CurveChecks& checks, bool reducedView, Language language);

// Title of the time axis.
QString timeAxisTitle(Language language);

struct AxisRange {
  double lower = 0;
  double upper = 0;
};

// A vertical axis: with "Auto" from 1.05 × the smallest value shown (mirrored above 0 with
// "Plus"), otherwise from the stored limits (the stored maximum only with "Plus"); never a lower
// limit above the upper one.
AxisRange verticalAxisRange(bool autoMode, bool plus, double smallest, double storedMinimum, double storedMaximum);

// The range an axis is drawn with: a range without span is widened by 0.01 to each side.
AxisRange drawableRange(AxisRange range);

// The desired distance between labels for an axis range.
double labelStep(double range);

// 312 samples (19.968 ms) for the 20 ms and the automatic time axis, 512 (32.768 ms) for 32 ms.
int chartSampleCount(BottomAxisMode mode);

// One curve as the chart shows it, for the chart-data copy.
struct CurvePoints {
  bool takesPart = false;
  QVector<double> x;
  QVector<double> y;
};

// The chart-data copy: an empty line, the header, then one row per point: the time and the value
// of every curve that takes part, each followed by a tab. Empty when no curve takes part or the
// first one has no points.
QString chartDataText(const std::array<CurvePoints, 4>& curves, Language language);

}  // namespace grx
