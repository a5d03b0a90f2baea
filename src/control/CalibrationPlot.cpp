#include "CalibrationPlot.h"

#include "platform/TextPair.h"
#include "views/DecimalComma.h"

#include <algorithm>
#include <cmath>

namespace grx {
namespace {

constexpr TextPair kDynamicAxis{"Evd, МПа", "Evd, MPa"};
constexpr TextPair kPairs{"Пары", "Pairs"};
constexpr TextPair kFit{"Зависимость", "Fitted"};
// %1 the confidence in per cent.
constexpr TextPair kBound{"Нижняя граница прогноза, %1 %", "Lower prediction bound, %1 %"};

constexpr int kCurveSteps = 60;  // the curves are drawn through so many steps over the range

}  // namespace

CalibrationPlot::CalibrationPlot(QWidget* parent) : QCustomPlot(parent) {
  setLocale(decimalCommaLocale());
  setBackground(Qt::white);
  setInteractions({});
  for (QCPAxis* axis : {xAxis, yAxis}) axis->grid()->setPen(QPen(QColor(170, 170, 170), 0, Qt::DotLine));
  fit_ = addGraph();
  fit_->setPen(QPen(QColor(0, 90, 200), 1.6));
  bound_ = addGraph();
  bound_->setPen(QPen(QColor(200, 0, 0), 1.6, Qt::DashLine));
  pairs_ = addGraph();
  pairs_->setLineStyle(QCPGraph::lsNone);
  pairs_->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssCircle, QColor(0, 0, 160), QColor(0, 0, 160), 7));
  legend->setVisible(true);
  legend->setFont(QFont(font().family(), std::max(7, font().pointSize() - 1)));
  legend->setBorderPen(Qt::NoPen);
  legend->setFillOrder(QCPLayoutGrid::foColumnsFirst);
  legend->setWrap(3);
  axisRect()->insetLayout()->take(legend);
  plotLayout()->addElement(1, 0, legend);
  plotLayout()->setRowStretchFactor(1, 0.001);
}

void CalibrationPlot::showCalibration(const Calibration& calibration, const FitOutcome& outcome) {
  const Language language = currentLanguage();
  xAxis->setLabel(kDynamicAxis.text());
  const QString unit = referenceUnit(calibration, language);
  yAxis->setLabel(referenceName(calibration, language) + (unit.isEmpty() ? QString() : QStringLiteral(", ") + unit));
  pairs_->setName(kPairs.text());
  fit_->setName(kFit.text());
  bound_->setName(kBound.text().arg(std::lround(calibration.confidence * 100)));
  for (QCPGraph* g : {pairs_, fit_, bound_}) g->data()->clear();

  double xLow = INFINITY, xHigh = -INFINITY, yLow = INFINITY, yHigh = -INFINITY;
  const auto extend = [&](double x, double y) {
    if (!std::isfinite(x) || !std::isfinite(y)) return;
    xLow = std::min(xLow, x), xHigh = std::max(xHigh, x), yLow = std::min(yLow, y), yHigh = std::max(yHigh, y);
  };
  for (const CalibrationPair& p : calibration.pairs) {
    pairs_->addData(p.dynamic, p.reference);
    extend(p.dynamic, p.reference);
  }
  if (outcome.ok()) {
    // Only over the calibrated range: the calibration is never extrapolated.
    const CalibrationFit& fit = outcome.fit;
    for (int i = 0; i <= kCurveSteps; ++i) {
      const double x = fit.xMin + (fit.xMax - fit.xMin) * i / kCurveSteps;
      fit_->addData(x, fit.estimate(x));
      bound_->addData(x, fit.lowerBound(x));
      extend(x, fit.lowerBound(x));
    }
  }
  for (QCPGraph* g : {pairs_, fit_, bound_}) {
    if (g->data()->isEmpty()) g->removeFromLegend();
    else g->addToLegend();
  }
  if (xLow > xHigh) xLow = 0, xHigh = 100, yLow = 0, yHigh = 100;
  // A margin around the points, so none lies on the frame.
  const double dx = std::max((xHigh - xLow) * 0.08, 1e-3 + std::abs(xHigh) * 0.05);
  const double dy = std::max((yHigh - yLow) * 0.08, 1e-3 + std::abs(yHigh) * 0.05);
  xAxis->setRange(xLow - dx, xHigh + dx);
  yAxis->setRange(yLow - dy, yHigh + dy);
  replot();
}

}  // namespace grx
