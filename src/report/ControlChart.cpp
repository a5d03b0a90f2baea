#include "ControlChart.h"

#include "ChartAxis.h"
#include "control/ControlTables.h"
#include "control/ControlTexts.h"

#include <algorithm>
#include <cmath>

namespace grx {
namespace {

constexpr TextPair kLegendRequired{"требование", "required"};
constexpr TextPair kLegendMean{"среднее", "mean"};
constexpr TextPair kLegendCharacteristic{"характ. значение", "characteristic"};
constexpr TextPair kAxisUnit{"МПа", "MPa"};

const QColor kRequiredColor(200, 0, 0);
const QColor kMeanColor(0, 70, 190);
const QColor kGridColor(200, 200, 200);

// Room around the plot for the value labels (left), the series numbers and the legend (below).
constexpr double kLeftMm = 14;
constexpr double kRightMm = 2;
constexpr double kTopMm = 5;
constexpr double kBottomMm = 11;
constexpr int kMostXLabels = 30;

ReportFont chartFont() {
  ReportFont f;
  f.pointSize = 7;
  return f;
}

// The value axis: the chart's range (which keeps every line off the frame) widened to whole steps.
ChartAxis valueAxis(const ControlChartData& chart) {
  const ControlChartRange range = controlChartRange(chart);
  return chartAxis(range.low, range.high);
}

}  // namespace

LotChart lotChart(const MeasurementSet& set, const ControlResult& result, const ControlSetup& setup, int lot) {
  LotChart chart{controlChartData(result, setup, lot), {}};
  for (const ControlChartPoint& p : chart.data.points)
    chart.labels << QString::number(set.view(set.seriesStart(result.points[std::size_t(p.point)].series)).seriesNumber());
  return chart;
}

ReportDrawing controlChartDrawing(const LotChart& lot, QSizeF size, Language language) {
  const ControlChartData& chart = lot.data;
  ReportDrawing d;
  const ReportFont font = chartFont();
  const QRectF plot(kLeftMm, kTopMm, size.width() - kLeftMm - kRightMm, size.height() - kTopMm - kBottomMm);
  const ChartAxis axis = valueAxis(chart);
  auto yOf = [&](double v) { return plot.bottom() - (v - axis.low) / (axis.high - axis.low) * plot.height(); };
  const int n = int(chart.points.size());
  auto xOf = [&](int i) { return plot.left() + (i + 0.5) * plot.width() / std::max(1, n); };

  // Grid and value labels at every step, the unit above them, the frame.
  for (double v = axis.low; v <= axis.high + axis.step * 1e-6; v += axis.step) {
    const double y = yOf(v);
    d.lines.append({QPolygonF{{plot.left(), y}, {plot.right(), y}}, kGridColor, 0.1, false});
    d.texts.append({QRectF(0, y - 2, kLeftMm - 1.5, 4), tickText(v, axis.step), font, HAlign::Right, Qt::black});
  }
  d.texts.append({QRectF(0, 0, kLeftMm - 1.5, 3), kAxisUnit.text(language), font, HAlign::Right, Qt::black});
  d.lines.append({QPolygonF{plot.topLeft(), plot.topRight(), plot.bottomRight(), plot.bottomLeft(), plot.topLeft()},
                  Qt::black, 0.2, false});

  // The lot's lines, then the points joined in time order (a point without a value breaks the line).
  auto level = [&](double v, QColor color, bool dashed) {
    if (std::isfinite(v))
      d.lines.append({QPolygonF{{plot.left(), yOf(v)}, {plot.right(), yOf(v)}}, color, 0.35, dashed});
  };
  level(chart.required, kRequiredColor, true);
  level(chart.mean, kMeanColor, false);
  level(chart.characteristic, kMeanColor, true);
  QPolygonF run;
  const int every = std::max(1, (n + kMostXLabels - 1) / kMostXLabels);
  for (int i = 0; i < n; ++i) {
    const ControlChartPoint& p = chart.points[std::size_t(i)];
    if (i % every == 0)
      d.texts.append({QRectF(xOf(i) - 5, plot.bottom() + 0.5, 10, 3.5), lot.labels.value(i), font, HAlign::Center, Qt::black});
    if (!std::isfinite(p.dynamic)) {
      if (run.size() > 1) d.lines.append({run, Qt::black, 0.2, false});
      run.clear();
      continue;
    }
    const QPointF at(xOf(i), yOf(p.dynamic));
    run.append(at);
    d.marks.append(p.fails ? DrawnMark{at, MarkShape::Cross, kRequiredColor, 2.0}
                           : DrawnMark{at, MarkShape::Dot, Qt::black, 1.2});
  }
  if (run.size() > 1) d.lines.append({run, Qt::black, 0.2, false});

  // The legend under the series numbers: a sample of each line or mark and its words.
  double x = plot.left();
  const double y = size.height() - 2.5;
  auto legend = [&](const QString& text) {
    d.texts.append({QRectF(x + 7, y - 2, 38, 4), text, font, HAlign::Left, Qt::black});
    x += 46;
  };
  auto legendLine = [&](double v, const TextPair& words, QColor color, bool dashed) {
    if (!std::isfinite(v)) return;
    d.lines.append({QPolygonF{{x, y}, {x + 6, y}}, color, 0.35, dashed});
    legend(words.text(language) + u' ' + controlNumber(v, u"0.0"));
  };
  legendLine(chart.required, kLegendRequired, kRequiredColor, true);
  legendLine(chart.mean, kLegendMean, kMeanColor, false);
  legendLine(chart.characteristic, kLegendCharacteristic, kMeanColor, true);
  if (std::any_of(chart.points.begin(), chart.points.end(), [](const ControlChartPoint& p) { return p.fails; })) {
    d.marks.append({QPointF(x + 3, y), MarkShape::Cross, kRequiredColor, 2.0});
    legend(kVerdictFail.text(language));
  }
  return d;
}

}  // namespace grx
