#include "CalibrationSection.h"

#include "ChartAxis.h"
#include "ReportLayout.h"
#include "control/ControlTables.h"
#include "platform/NumberFormat.h"
#include "platform/TextCells.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace grx {
namespace {

constexpr TextPair kCaption{"Калибровка «%1»: объект %2, материал %3", "Calibration \"%1\": object %2, material %3"};
constexpr TextPair kQuantityLabel{"Эталонный показатель", "Reference quantity"};
constexpr TextPair kModelLabel{"Модель", "Model"};
constexpr TextPair kLinearModel{"линейная, y = a + b·x", "linear, y = a + b·x"};
constexpr TextPair kPowerModel{"степенная, y = a·x^b, подобрана по ln y и ln x",
                               "power, y = a·x^b, fitted on ln y against ln x"};
constexpr TextPair kEquationLabel{"Уравнение", "Equation"};
constexpr TextPair kPairsLabel{"Число пар n", "Pairs n"};
constexpr TextPair kR2Label{"Коэффициент детерминации R²", "Coefficient of determination R²"};
constexpr TextPair kSLabel{"Остаточное стандартное отклонение s", "Residual standard error s"};
constexpr TextPair kOfLogarithms{"%1 (в логарифмах)", "%1 (of the logarithms)"};
constexpr TextPair kConfidenceLabel{"Вероятность нижней границы", "Confidence of the lower bound"};
constexpr TextPair kConfidenceValue{"%1 % (односторонняя, t = %2)", "%1 % (one-sided, t = %2)"};
constexpr TextPair kRangeLabel{"Диапазон калибровки", "Calibrated range"};
constexpr TextPair kRangeValue{"Evd %1–%2 МПа", "Evd %1–%2 MPa"};
constexpr TextPair kDateLabel{"Дата", "Date"};
constexpr TextPair kCommentLabel{"Комментарий", "Comment"};
constexpr TextPair kWarningsLabel{"Предупреждения", "Warnings"};
constexpr TextPair kNotFittedLabel{"Не подобрана", "Not fitted"};

constexpr TextPair kDynamicAxis{"Evd, МПа", "Evd, MPa"};
constexpr TextPair kLegendPairs{"пары", "pairs"};
constexpr TextPair kLegendFit{"зависимость", "fitted"};
constexpr TextPair kLegendLower{"нижняя граница %1 %", "lower bound %1 %"};
constexpr TextPair kLegendRequired{"требование", "requirement"};

const QColor kFitColor(0, 70, 190);
const QColor kRequiredColor(200, 0, 0);
const QColor kGridColor(200, 200, 200);

// Room around the plot for the value labels (left), the quantity (above), the dynamic modulus's
// labels, its name and the legend (below).
constexpr double kLeftMm = 12;
constexpr double kRightMm = 6;  // room for half the last label of the dynamic modulus
constexpr double kTopMm = 5;
constexpr double kBottomMm = 18;  // two lines of legend
constexpr double kLegendLineMm = 3.5;
constexpr int kCurveSteps = 48;
constexpr int kAxisParts = 8;

ReportFont chartFont() {
  ReportFont f;
  f.pointSize = 7;
  return f;
}

QString dateText(const QDate& date, Language language) {
  if (!date.isValid()) return QStringLiteral("-");
  return date.toString(language == Language::Russian ? QStringLiteral("dd.MM.yyyy") : QStringLiteral("MM.dd.yyyy"));
}

// "Ev2, MPa", or the name alone for a quantity without a unit.
QString quantityText(const Calibration& c, Language language) {
  const QString unit = singleLineText(referenceUnit(c, language));
  return referenceNameText(c, language) + (unit.isEmpty() ? QString() : QStringLiteral(", ") + unit);
}

// 90 % or 97,5 %.
QString percentText(double share) {
  const double percent = share * 100;
  return formatFloat(percent, std::abs(percent - std::round(percent)) < 1e-9 ? u"0" : u"0.0");
}

// A range that grows with every finite value taken.
struct Span {
  double low = std::numeric_limits<double>::infinity();
  double high = -std::numeric_limits<double>::infinity();
  void take(double v) {
    if (!std::isfinite(v)) return;
    low = std::min(low, v);
    high = std::max(high, v);
  }
  // Widened a little so that no dot sits on the frame, then to whole steps.
  ChartAxis axis() const {
    if (!(low <= high)) return {};
    const double span = high > low ? high - low : std::max(1.0, std::abs(high) * 0.1);
    return chartAxis(low - span * 0.05, high + span * 0.05, kAxisParts);
  }
};

}  // namespace

std::vector<int> usedCalibrations(const ControlSetup& setup, const ControlResult& result) {
  std::vector<bool> used(std::size_t(setup.calibrations.size()), false);
  for (const PointResult& p : result.points)
    if (p.calibration >= 0 && p.calibration < setup.calibrations.size()) used[std::size_t(p.calibration)] = true;
  for (const Requirement& r : setup.requirements)
    if (const int i = r.calibration.isEmpty() ? -1 : calibrationIndex(setup.calibrations, r.calibration); i >= 0)
      used[std::size_t(i)] = true;
  std::vector<int> out;
  for (std::size_t i = 0; i < used.size(); ++i)
    if (used[i]) out.push_back(int(i));
  return out;
}

QString calibrationCaption(const Calibration& c, Language language) {
  return kCaption.text(language).arg(c.name, c.object, c.material);
}

QStringList calibrationLines(const Calibration& c, Language language) {
  QStringList lines;
  auto line = [&](const TextPair& label, const QString& value) { lines << label.text(language) + QStringLiteral(": ") + value; };
  const bool power = c.model == CalibrationModel::Power;
  line(kQuantityLabel, quantityText(c, language));
  line(kModelLabel, (power ? kPowerModel : kLinearModel).text(language));
  const FitOutcome outcome = fitCalibration(c);
  if (!outcome.ok()) {
    line(kPairsLabel, QString::number(c.pairs.size()));
    line(kNotFittedLabel, fitProblemText(outcome.problem, language));
  } else {
    const CalibrationFit& fit = outcome.fit;
    line(kEquationLabel, fitEquation(c, fit, language));
    line(kPairsLabel, QString::number(fit.n));
    const QString r2 = formatFloat(fit.r2, u"0.00");
    line(kR2Label, power ? kOfLogarithms.text(language).arg(r2) : r2);
    const QString unit = singleLineText(referenceUnit(c, language));
    line(kSLabel, power ? kOfLogarithms.text(language).arg(formatFloat(fit.s, u"0.000"))
                        : referenceNumber(c, fit.s) + (unit.isEmpty() ? QString() : u' ' + unit));
    line(kConfidenceLabel, kConfidenceValue.text(language).arg(percentText(fit.confidence), formatFloat(fit.t, u"0.000")));
    line(kRangeLabel, kRangeValue.text(language).arg(formatFloat(fit.xMin, u"0.0"), formatFloat(fit.xMax, u"0.0")));
  }
  line(kDateLabel, dateText(c.date, language));
  if (!c.comment.trimmed().isEmpty()) line(kCommentLabel, c.comment.trimmed());
  if (outcome.ok())
    if (const QStringList warnings = fitWarnings(outcome.fit, language); !warnings.isEmpty())
      line(kWarningsLabel, warnings.join(QStringLiteral("; ")));
  return lines;
}

ReportDrawing calibrationChartDrawing(const ControlSetup& setup, int index, QSizeF size, Language language) {
  ReportDrawing d;
  if (index < 0 || index >= setup.calibrations.size()) return d;
  const Calibration& c = setup.calibrations[index];
  const FitOutcome outcome = fitCalibration(c);
  const CalibrationFit& fit = outcome.fit;

  // The curves over the calibrated range only: the calibration is never extrapolated.
  QPolygonF estimate, lower;
  if (outcome.ok())
    for (int k = 0; k <= kCurveSteps; ++k) {
      const double x = fit.xMin + (fit.xMax - fit.xMin) * k / kCurveSteps;
      estimate.append({x, fit.estimate(x)});
      lower.append({x, fit.lowerBound(x)});
    }
  struct Required {
    double reference, dynamic;
  };
  std::vector<Required> required;
  for (const Requirement& r : setup.requirements)
    if (r.minReference && calibrationIndex(setup.calibrations, r.calibration) == index)
      required.push_back({*r.minReference, r.minDynamic});

  Span xs, ys;
  for (const CalibrationPair& p : c.pairs) xs.take(p.dynamic), ys.take(p.reference);
  for (const QPolygonF* curve : {&estimate, &lower})
    for (const QPointF& p : *curve) xs.take(p.x()), ys.take(p.y());
  for (const Required& r : required) xs.take(r.dynamic), ys.take(r.reference);
  const ChartAxis ax = xs.axis(), ay = ys.axis();

  const ReportFont font = chartFont();
  const QRectF plot(kLeftMm, kTopMm, size.width() - kLeftMm - kRightMm, size.height() - kTopMm - kBottomMm);
  auto at = [&](double x, double y) {
    return QPointF(plot.left() + (x - ax.low) / (ax.high - ax.low) * plot.width(),
                   plot.bottom() - (y - ay.low) / (ay.high - ay.low) * plot.height());
  };
  auto inPlot = [&](const QPolygonF& curve) {
    QPolygonF out;
    for (const QPointF& p : curve)
      if (std::isfinite(p.y())) out.append(at(p.x(), p.y()));
    return out;
  };

  // Grid and labels at every step of either axis, the quantities, the frame.
  for (double v = ay.low; v <= ay.high + ay.step * 1e-6; v += ay.step) {
    const double y = at(ax.low, v).y();
    d.lines.append({QPolygonF{{plot.left(), y}, {plot.right(), y}}, kGridColor, 0.1, false});
    d.texts.append({QRectF(0, y - 2, kLeftMm - 1.5, 4), tickText(v, ay.step), font, HAlign::Right, Qt::black});
  }
  for (double v = ax.low; v <= ax.high + ax.step * 1e-6; v += ax.step) {
    const double x = at(v, ay.low).x();
    d.lines.append({QPolygonF{{x, plot.top()}, {x, plot.bottom()}}, kGridColor, 0.1, false});
    d.texts.append({QRectF(x - 6, plot.bottom() + 0.5, 12, 3.5), tickText(v, ax.step), font, HAlign::Center, Qt::black});
  }
  d.texts.append({QRectF(0, 0, plot.width(), 4), quantityText(c, language), font, HAlign::Left, Qt::black});
  d.texts.append({QRectF(plot.left(), plot.bottom() + 4, plot.width(), 3.5), kDynamicAxis.text(language), font,
                  HAlign::Center, Qt::black});
  d.lines.append({QPolygonF{plot.topLeft(), plot.topRight(), plot.bottomRight(), plot.bottomLeft(), plot.topLeft()},
                  Qt::black, 0.2, false});

  // Each requirement: its reference value across to the derived modulus, and down from there.
  for (const Required& r : required)
    if (std::isfinite(r.dynamic))
      d.lines.append({QPolygonF{at(ax.low, r.reference), at(r.dynamic, r.reference), at(r.dynamic, ay.low)},
                      kRequiredColor, 0.3, true});
  if (estimate.size() > 1) d.lines.append({inPlot(estimate), kFitColor, 0.35, false});
  if (lower.size() > 1) d.lines.append({inPlot(lower), kFitColor, 0.35, true});
  for (const CalibrationPair& p : c.pairs)
    if (std::isfinite(p.dynamic) && std::isfinite(p.reference))
      d.marks.append({at(p.dynamic, p.reference), MarkShape::Dot, Qt::black, 1.2});

  // The legend under the axis: a sample of each mark or line and its words, on a second line when
  // the first is full.
  double x = plot.left();
  double y = plot.bottom() + 7.5 + kLegendLineMm / 2;
  auto legendPlace = [&](const QString& text) {
    const double width = textWidthMm(text, font) + 1;
    if (x > plot.left() && x + 7 + width > size.width()) x = plot.left(), y += kLegendLineMm;
    return width;
  };
  auto legend = [&](const QString& text, double width) {
    d.texts.append({QRectF(x + 7, y - 2, width, 4), text, font, HAlign::Left, Qt::black});
    x += 7 + width + 3;
  };
  const QString pairs = kLegendPairs.text(language);
  const double pairsWidth = legendPlace(pairs);
  d.marks.append({QPointF(x + 3, y), MarkShape::Dot, Qt::black, 1.2});
  legend(pairs, pairsWidth);
  auto legendLine = [&](const QString& text, QColor color, bool dashed) {
    const double width = legendPlace(text);
    d.lines.append({QPolygonF{{x, y}, {x + 6, y}}, color, 0.35, dashed});
    legend(text, width);
  };
  if (outcome.ok()) {
    legendLine(kLegendFit.text(language), kFitColor, false);
    legendLine(kLegendLower.text(language).arg(percentText(fit.confidence)), kFitColor, true);
  }
  if (!required.empty()) legendLine(kLegendRequired.text(language), kRequiredColor, true);
  return d;
}

}  // namespace grx
