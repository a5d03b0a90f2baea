#include "ChartRules.h"

#include "platform/NumberFormat.h"

namespace grx {
namespace {

constexpr TextPair kAccelTitle{"Виброускорение, м/с2", "Vibroacceleration, m/s2"};
constexpr TextPair kVelTitle{"Виброскорость, м/с", "Vibrovelocity, m/s"};
constexpr TextPair kDispTitle{"Виброперемещение, мм", "Vibrodisplacement, mm"};
constexpr TextPair kForceTitle{"Сила удара, кН", "Impact force, kN"};
constexpr TextPair kDispForceTitle{"Виброперемещение, мм; Сила удара, кН", "Vibrodisplacement, mm; Impact force, kN"};
constexpr TextPair kVelForceTitle{"Виброскорость, м/с; Сила удара, кН", "Vibrovelocity, m/s; Impact force, kN"};
constexpr TextPair kVelDispTitle{"Виброскорость, м/с; Виброперемещение, мм", "Vibrovelocity, m/s; Vibrodisplacement, mm"};
constexpr TextPair kVelDispForceTitle{"Виброскорость, м/с; Виброперемещение, мм; Сила удара, кН",
                                      "Vibrovelocity, m/s; Vibrodisplacement, mm; Impact force, kN"};
constexpr TextPair kTimeTitle{"Время, мс", "Time, ms"};

constexpr std::uint32_t kBlack = 0x000000;
constexpr std::uint32_t kGreen = 0x008000;
constexpr std::uint32_t kRed = 0xFF0000;
constexpr std::uint32_t kNavy = 0x000080;

constexpr TextPair kDataHeader[4] = {
    {"Виброускорение", "Vibr.acceleration"},
    {"Виброскорость", "Vibr.velocity"},
    {"Виброперемещение", "Vibr.displacement"},
    {"Сила удара", "Impact force"},
};

AxisTitle title(const TextPair* pair, std::uint32_t color, Language language) {
  return {pair ? pair->text(language) : QString(), pair ? color : kBlack};
}

// The curves on the right axis when acceleration is on the left: their title and colour.
AxisTitle rightTitleWithAcceleration(bool v, bool s, bool f, Language language) {
  if (v && s && f) return title(&kVelDispForceTitle, kRed, language);
  if (v && s) return title(&kVelDispTitle, kRed, language);
  if (v && f) return title(&kVelForceTitle, kGreen, language);
  if (v) return title(&kVelTitle, kGreen, language);
  if (s && f) return title(&kDispForceTitle, kRed, language);
  if (s) return title(&kDispTitle, kRed, language);
  if (f) return title(&kForceTitle, kNavy, language);
  return title(nullptr, kBlack, language);
}

}  // namespace

AxisPlan planAxes(const CurveChecks& c, bool reducedView, Language language) {
  AxisPlan plan;
  plan.left = plan.right = title(nullptr, kBlack, language);
  plan.onLeft[CurveA] = true;
  if (reducedView) {
    plan.onLeft[CurveS] = true;
    plan.left = c.displacement ? title(&kDispTitle, kRed, language) : title(nullptr, kBlack, language);
    plan.left.color = kRed;
    plan.right = title(&kForceTitle, kNavy, language);
    plan.rightVisible = c.force;
    return plan;
  }
  if (c.accel) {
    plan.left = title(&kAccelTitle, kBlack, language);
    plan.right = rightTitleWithAcceleration(c.velocity, c.displacement, c.force, language);
    plan.rightVisible = c.velocity || c.displacement || c.force;
    if (c.velocity) plan.onLeft[CurveV] = false;
    if (c.displacement) plan.onLeft[CurveS] = false;
    if (c.force) plan.onLeft[CurveF] = false;
    return plan;
  }
  // Without acceleration the first checked curves take the left axis.
  const bool v = c.velocity, s = c.displacement, f = c.force;
  if (v && s && f) {
    plan.onLeft[CurveV] = plan.onLeft[CurveS] = true;
    plan.onLeft[CurveF] = false;
    plan.left = title(&kVelDispTitle, kRed, language);
    plan.right = title(&kForceTitle, kNavy, language);
    plan.rightVisible = true;
  } else if (v && (s || f)) {
    plan.onLeft[CurveV] = true;
    plan.onLeft[s ? CurveS : CurveF] = false;
    plan.left = title(&kVelTitle, kGreen, language);
    plan.right = s ? title(&kDispTitle, kRed, language) : title(&kForceTitle, kNavy, language);
    plan.rightVisible = true;
  } else if (v) {
    plan.onLeft[CurveV] = true;
    plan.left = title(&kVelTitle, kGreen, language);
  } else if (s && f) {
    plan.onLeft[CurveS] = true;
    plan.onLeft[CurveF] = false;
    plan.left = title(&kDispTitle, kRed, language);
    plan.right = title(&kForceTitle, kNavy, language);
    plan.rightVisible = true;
  } else if (s) {
    plan.onLeft[CurveS] = true;
    plan.left = title(&kDispTitle, kRed, language);
  } else if (f) {
    plan.onLeft[CurveF] = true;
    plan.left = title(&kForceTitle, kNavy, language);
  }
  if (!plan.rightVisible) plan.right = title(nullptr, kBlack, language);
  return plan;
}

QString timeAxisTitle(Language language) { return kTimeTitle.text(language); }

AxisRange verticalAxisRange(bool autoMode, bool plus, double smallest, double storedMinimum, double storedMaximum) {
  AxisRange r;
  if (autoMode) {
    r.lower = 1.05 * smallest;
    r.upper = plus ? -r.lower : 0.0;
  } else {
    r.lower = storedMinimum;
    r.upper = plus ? storedMaximum : 0.0;
  }
  if (r.lower > r.upper) r.lower = r.upper - 0.01;
  return r;
}

AxisRange drawableRange(AxisRange range) {
  if (range.upper - range.lower >= 1e-9) return range;
  const double middle = (range.lower + range.upper) / 2;
  return {middle - 0.01, middle + 0.01};
}

double labelStep(double range) {
  if (range < 0.04) return 0.001;
  if (range < 0.4) return 0.01;
  if (range < 4) return 0.1;
  if (range < 40) return 1;
  return 10;
}

int chartSampleCount(BottomAxisMode mode) { return mode == BottomAxisMode::Ms32 ? 512 : 312; }

QString chartDataText(const std::array<CurvePoints, 4>& curves, Language language) {
  int first = -1, last = -1;
  for (int c = 0; c < 4; ++c) {
    if (!curves[c].takesPart) continue;
    if (first < 0) first = c;
    last = c;
  }
  if (first < 0 || curves[first].y.isEmpty()) return {};
  const int rows = int(curves[first].y.size());
  QString text = QStringLiteral("\r\n") + kTimeTitle.text(language) + u'\t';
  for (int c = 0; c < 4; ++c)
    if (curves[c].takesPart) text += kDataHeader[c].text(language) + u'\t';
  text += QLatin1String("\r\n");
  for (int k = 0; k < rows; ++k) {
    text += formatFloat(k < curves[last].x.size() ? curves[last].x[k] : 0.0, u"0.000") + u'\t';
    for (int c = 0; c < 4; ++c) {
      if (!curves[c].takesPart) continue;
      text += formatFloat(k < curves[c].y.size() ? curves[c].y[k] : 0.0, u"0.0000") + u'\t';
    }
    text += QLatin1String("\r\n");
  }
  return text;
}

}  // namespace grx
