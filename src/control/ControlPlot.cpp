#include "ControlPlot.h"

#include "platform/TextPair.h"
#include "views/DecimalComma.h"

#include <algorithm>
#include <cmath>

namespace grx {
namespace {

constexpr TextPair kTimeAxis{"Точки в порядке измерения", "Points in the order measured"};
constexpr TextPair kModulusAxis{"Дин. модуль, МПа", "Dyn. modulus, MPa"};
constexpr TextPair kPassing{"Точки", "Points"};
constexpr TextPair kFailing{"Не соответствуют", "Failing points"};
constexpr TextPair kRequired{"Требуемый", "Required"};
constexpr TextPair kMean{"Среднее", "Mean"};
constexpr TextPair kCharacteristic{"Характеристическое", "Characteristic"};

constexpr int kClickSlack = 3;  // pixels a click may move
constexpr int kHitRadius = 8;   // pixels around a point that still hit it

QCPGraph* pointGraph(QCustomPlot* plot, const QColor& color, double size) {
  QCPGraph* g = plot->addGraph();
  g->setLineStyle(QCPGraph::lsNone);
  g->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssCircle, color, color, size));
  return g;
}

QCPGraph* lineGraph(QCustomPlot* plot, const QColor& color, Qt::PenStyle style) {
  QCPGraph* g = plot->addGraph();
  g->setPen(QPen(color, 1.6, style));
  return g;
}

// Series numbers on the time axis at most.
constexpr int kMostLabels = 25;

}  // namespace

ControlPlot::ControlPlot(QWidget* parent) : QCustomPlot(parent) {
  setLocale(decimalCommaLocale());
  setBackground(Qt::white);
  setInteractions({});
  plotLayout()->insertRow(0);
  title_ = new QCPTextElement(this, QString(), QFont(font().family(), font().pointSize(), QFont::Bold));
  plotLayout()->addElement(0, 0, title_);
  ticker_ = QSharedPointer<QCPAxisTickerText>::create();
  xAxis->setTicker(ticker_);
  for (QCPAxis* axis : {xAxis, yAxis}) axis->grid()->setPen(QPen(QColor(170, 170, 170), 0, Qt::DotLine));

  required_ = lineGraph(this, QColor(200, 0, 0), Qt::SolidLine);
  characteristic_ = lineGraph(this, QColor(230, 120, 0), Qt::DashLine);
  mean_ = lineGraph(this, QColor(0, 90, 200), Qt::DashDotLine);
  path_ = addGraph();
  path_->setPen(QPen(QColor(150, 150, 150), 1));
  passing_ = pointGraph(this, QColor(0, 0, 160), 7);
  failing_ = pointGraph(this, QColor(230, 0, 0), 8);
  path_->removeFromLegend();
  // The legend in one row under the plot, where it covers no point.
  legend->setVisible(true);
  legend->setFont(QFont(font().family(), std::max(7, font().pointSize() - 1)));
  legend->setBorderPen(Qt::NoPen);
  legend->setFillOrder(QCPLayoutGrid::foColumnsFirst);
  legend->setWrap(3);
  axisRect()->insetLayout()->take(legend);
  plotLayout()->addElement(2, 0, legend);
  plotLayout()->setRowStretchFactor(2, 0.001);
  plotLayout()->setRowSpacing(0);
}

void ControlPlot::setLine(QCPGraph* line, double value, int count) {
  line->data()->clear();
  if (!std::isfinite(value)) return;
  line->addData(0.5, value);
  line->addData(count + 0.5, value);
}

void ControlPlot::showLot(const ControlChartData& data, const QString& title) {
  data_ = data;
  title_->setText(title);
  xAxis->setLabel(kTimeAxis.text());
  yAxis->setLabel(kModulusAxis.text());
  passing_->setName(kPassing.text());
  failing_->setName(kFailing.text());
  required_->setName(kRequired.text());
  mean_->setName(kMean.text());
  characteristic_->setName(kCharacteristic.text());

  for (QCPGraph* g : {path_, passing_, failing_}) g->data()->clear();
  const int n = int(data.points.size());
  // The points are named by their series numbers, as in the protocol; thinned out when crowded.
  ticker_->clear();
  const int every = std::max(1, (n + kMostLabels - 1) / kMostLabels);
  for (const ControlChartPoint& p : data.points)
    if ((p.order - 1) % every == 0) ticker_->addTick(p.order, p.label);
  for (const ControlChartPoint& p : data.points) {
    path_->addData(p.order, p.dynamic);
    (p.fails ? failing_ : passing_)->addData(p.order, p.dynamic);
  }
  // The lines run across the whole chart, also of a lot without a point to show.
  const int width = std::max(n, 1);
  setLine(required_, data.required, width);
  setLine(mean_, data.mean, width);
  setLine(characteristic_, data.characteristic, width);
  // Only the lines a lot has are named in the legend.
  for (QCPGraph* g : {passing_, failing_, required_, mean_, characteristic_}) {
    if (g->data()->isEmpty()) g->removeFromLegend();
    else g->addToLegend();
  }
  // The same range as the protocol's chart: the required line never on the frame.
  const ControlChartRange range = controlChartRange(data);
  yAxis->setRange(range.low, range.high);
  xAxis->setRange(0.5, width + 0.5);
  replot();
}

QPoint ControlPlot::pointPixel(int shownIndex) const {
  const ControlChartPoint& p = data_.points[std::size_t(shownIndex)];
  return QPointF(xAxis->coordToPixel(p.order), yAxis->coordToPixel(p.dynamic)).toPoint();
}

QPixmap ControlPlot::picture() { return toPixmap(width(), height()); }

void ControlPlot::mousePressEvent(QMouseEvent* event) {
  pressedAt_ = event->position().toPoint();
  QCustomPlot::mousePressEvent(event);
}

void ControlPlot::mouseReleaseEvent(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  if (event->button() == Qt::LeftButton && (at - pressedAt_).manhattanLength() <= kClickSlack) {
    int best = -1;
    double bestDistance = kHitRadius + 0.5;
    for (int i = 0; i < int(data_.points.size()); ++i) {
      const double d = std::hypot(pointPixel(i).x() - at.x(), pointPixel(i).y() - at.y());
      if (d < bestDistance) {
        best = i;
        bestDistance = d;
      }
    }
    if (best >= 0) emit pointClicked(data_.points[std::size_t(best)].point);
  }
  QCustomPlot::mouseReleaseEvent(event);
}

}  // namespace grx
