#include "SignalChart.h"

#include "data/DerivedSignals.h"
#include "views/DecimalComma.h"

#include <QAction>
#include <QCheckBox>
#include <QMouseEvent>
#include <QRubberBand>

#include <qcustomplot.h>

#include <algorithm>
#include <limits>

namespace grx {
namespace {

// Labels no closer than the desired step (a finer step on a wide range would only crowd them),
// with four small ticks between labels.
class DesiredStepTicker : public QCPAxisTicker {
 public:
  void setDesiredStep(double step) { desired_ = step; }

 protected:
  double getTickStep(const QCPRange& range) override {
    return std::max(desired_, QCPAxisTicker::getTickStep(range));
  }
  int getSubTickCount(double) override { return 4; }

 private:
  double desired_ = 1.0;
};

DesiredStepTicker* tickerOf(QCPAxis* axis) { return static_cast<DesiredStepTicker*>(axis->ticker().data()); }

const QColor kCurveColors[4] = {QColor(0, 0, 0), QColor(0, 128, 0), QColor(255, 0, 0), QColor(0, 0, 160)};
constexpr int kClickSlack = 3;

// Each end is set so that the axis never passes through a minimum above its maximum.
void setUpperEnd(QCPAxis* axis, double lower, double upper) {
  if (axis->range().lower >= upper) axis->setRangeLower(lower);
  axis->setRangeUpper(upper);
}

void setLowerEnd(QCPAxis* axis, double lower, double upper) {
  if (axis->range().upper <= lower) axis->setRangeUpper(upper);
  axis->setRangeLower(lower);
}


}  // namespace

SignalChart::SignalChart(QCustomPlot* plot, MeasurementSet& set, AxisLimits& storedLimits, ChartControls controls,
                         QObject* parent)
    : QObject(parent), plot_(plot), set_(set), stored_(storedLimits), controls_(controls) {
  plot_->setLocale(decimalCommaLocale());
  plot_->setBackground(Qt::white);
  plot_->setCursor(Qt::CrossCursor);
  plot_->setInteractions({});
  plot_->xAxis2->setVisible(false);
  plot_->yAxis2->setVisible(true);
  for (QCPAxis* axis : {plot_->xAxis, plot_->yAxis, plot_->yAxis2}) {
    axis->setTicker(QSharedPointer<QCPAxisTicker>(new DesiredStepTicker));
    axis->setBasePen(QPen(Qt::black, 1));
    axis->grid()->setPen(QPen(QColor(150, 150, 150), 0, Qt::DotLine));
    axis->grid()->setVisible(true);
    axis->setTickLabels(true);
  }
  plot_->axisRect()->setAutoMargins(QCP::msAll);
  for (int c = 0; c < 4; ++c) {
    series_[c] = plot_->addGraph(plot_->xAxis, c == CurveA ? plot_->yAxis : plot_->yAxis2);
    series_[c]->setPen(QPen(kCurveColors[c], 1));
    series_[c]->setName(QString(QChar(u"AVSF"[c])));
  }
  zeroLine_ = plot_->addGraph(plot_->xAxis, plot_->yAxis);
  zeroLine_->setPen(QPen(Qt::black, 1));
  zeroLine_->setName(QStringLiteral("Ось X"));
  rubberBand_ = new QRubberBand(QRubberBand::Rectangle, plot_);
  plot_->installEventFilter(this);
  connect(plot_, &QCustomPlot::beforeReplot, this, &SignalChart::fitAxisTitles);
}

QString SignalChart::axisTitle(const QCPAxis* axis) const {
  const int i = axis == leftAxis() ? 0 : axis == rightAxis() ? 1 : 2;
  return titles_[i];
}

void SignalChart::setAxisTitle(QCPAxis* axis, const QString& title) {
  titles_[axis == leftAxis() ? 0 : axis == rightAxis() ? 1 : 2] = title;
  fitAxisTitles();
}

// A title longer than its axis ends in "..." rather than being cut at both ends. The room is the
// plot's height (or width) less the margins of the last layout.
void SignalChart::fitAxisTitles() {
  const QRect view = plot_->viewport();
  const QMargins m = plot_->axisRect()->margins();
  const int height = view.height() - m.top() - m.bottom();
  const int width = view.width() - m.left() - m.right();
  const std::array<QCPAxis*, 3> axes = {leftAxis(), rightAxis(), timeAxis()};
  for (int i = 0; i < 3; ++i) {
    const QFontMetrics metrics(axes[i]->labelFont());
    const int room = std::max(i < 2 ? height : width, 0);
    const QString fitted = metrics.horizontalAdvance(titles_[i]) <= room
                               ? titles_[i]
                               : metrics.elidedText(titles_[i], Qt::ElideRight, room);
    if (axes[i]->label() != fitted) axes[i]->setLabel(fitted);
  }
}

// Shows the stored vertical limits and the chosen time span before any impact is drawn.
void SignalChart::showStoredLimits() {
  setUpperEnd(leftAxis(), stored_.leftMinimum, stored_.leftMaximum);
  setLowerEnd(leftAxis(), stored_.leftMinimum, stored_.leftMaximum);
  setUpperEnd(rightAxis(), stored_.rightMinimum, stored_.rightMaximum);
  setLowerEnd(rightAxis(), stored_.rightMinimum, stored_.rightMaximum);
  timeAxis()->setRange(0.0, chartSampleCount(bottomAxisMode()) * 0.064);
  Chart1Zoom();
}

BottomAxisMode SignalChart::bottomAxisMode() const {
  return controls_.bottom32 && controls_.bottom32->isChecked()   ? BottomAxisMode::Ms32
         : controls_.bottom20 && controls_.bottom20->isChecked() ? BottomAxisMode::Ms20
                                                                 : BottomAxisMode::Auto;
}

QCPAxis* SignalChart::leftAxis() const { return plot_->yAxis; }
QCPAxis* SignalChart::rightAxis() const { return plot_->yAxis2; }
QCPAxis* SignalChart::timeAxis() const { return plot_->xAxis; }

void SignalChart::setReducedView(bool reduced) {
  reducedView_ = reduced;
  if (reduced) series_[CurveS]->setValueAxis(leftAxis());
}

bool SignalChart::checked(int curve) const { return controls_.boxes[curve] && controls_.boxes[curve]->isChecked(); }

bool SignalChart::onLeft(int curve) const { return series_[curve]->valueAxis() == leftAxis(); }

void SignalChart::resetMouseState() {
  dragMode_ = DragNone;
  doubleClickMark_ = false;
  scrollMark_ = false;
  leftPressed_ = rightPressed_ = false;
}

void SignalChart::GrahpicShow(std::uint32_t index) {
  for (QCPGraph* s : series_) s->data()->clear();
  const Language language = currentLanguage();
  if (reducedView_) {
    for (int c : {CurveA, CurveV})
      if (controls_.boxes[c]) controls_.boxes[c]->setChecked(false);
  }
  const CurveChecks checks{checked(CurveA), checked(CurveV), checked(CurveS), checked(CurveF)};
  const AxisPlan plan = planAxes(checks, reducedView_, language);
  for (int c = 0; c < 4; ++c)
    if (plan.onLeft[c]) series_[c]->setValueAxis(*plan.onLeft[c] ? leftAxis() : rightAxis());
  setAxisTitle(leftAxis(), plan.left.text);
  leftAxis()->setLabelColor(QColor::fromRgb(plan.left.color));
  leftAxis()->setVisible(true);
  setAxisTitle(rightAxis(), plan.right.text);
  rightAxis()->setLabelColor(QColor::fromRgb(plan.right.color));
  rightAxis()->setVisible(plan.rightVisible);
  setAxisTitle(timeAxis(), timeAxisTitle(language));
  set_.selectImpact(index);
  OneGrahpicShow();
}

void SignalChart::GrahpicRefresh() {
  if (!set_.isEmpty()) GrahpicShow(set_.currentIndex());
}

void SignalChart::OneGrahpicShow() {
  const int n = chartSampleCount(bottomAxisMode());
  if (codeView_) series_[CurveF]->setValueAxis(leftAxis());
  const SignalArrays<float> s = chartSignals(set_.currentView(), codeView_);
  std::array<QVector<double>, 4> y;
  QVector<double> t(n);
  for (int i = 0; i < n; ++i) {
    t[i] = s.time[i];
    y[CurveA].append(s.acceleration[i]);
    y[CurveV].append(s.velocity[i]);
    y[CurveS].append(s.displacement[i]);
    y[CurveF].append(codeView_ ? double(s.force[i]) : double(s.force[i] / 1000.0f));
  }
  for (int c = 0; c < 4; ++c) {
    if (checked(c)) series_[c]->setData(t, y[c], true);
    else series_[c]->data()->clear();
  }
  if (timeAxisAuto_) timeAxis()->setRange(0.0, n * 0.064);
  zeroLine_->setData({0.0, timeAxis()->range().upper}, {0.0, 0.0}, true);

  if (codeView_) {
    leftAxis()->setRange(-32768, 32768);
  } else {
    SetOptimalTopMarginToLeftAxis();
    SetOptimalBottomMarginToLeftAxis();
  }
  SetOptimalTopMarginToRightAxis();
  SetOptimalBottomMarginToRightAxis();
  Chart1Zoom();
}

double SignalChart::smallestOnAxis(const QCPAxis* axis) const {
  double smallest = std::numeric_limits<double>::infinity();
  for (int g = 0; g < plot_->graphCount(); ++g) {
    const QCPGraph* graph = plot_->graph(g);
    if (graph->valueAxis() != axis || graph->data()->isEmpty()) continue;
    bool found = false;
    const QCPRange r = graph->getValueRange(found);
    if (found) smallest = std::min(smallest, r.lower);
  }
  return std::isfinite(smallest) ? smallest : 0.0;
}

AxisRange SignalChart::leftRange() const {
  return verticalAxisRange(controls_.leftAuto->isChecked(), controls_.leftPlus->isChecked(), smallestOnAxis(leftAxis()),
                           stored_.leftMinimum, stored_.leftMaximum);
}

AxisRange SignalChart::rightRange() const {
  return verticalAxisRange(controls_.rightAuto->isChecked(), controls_.rightPlus->isChecked(),
                           smallestOnAxis(rightAxis()), stored_.rightMinimum, stored_.rightMaximum);
}


void SignalChart::SetOptimalTopMarginToLeftAxis() {
  const AxisRange r = leftRange();
  setUpperEnd(leftAxis(), r.lower, r.upper);
}

void SignalChart::SetOptimalBottomMarginToLeftAxis() {
  const AxisRange r = leftRange();
  setLowerEnd(leftAxis(), r.lower, r.upper);
}

void SignalChart::SetOptimalTopMarginToRightAxis() {
  const AxisRange r = rightRange();
  setUpperEnd(rightAxis(), r.lower, r.upper);
}

void SignalChart::SetOptimalBottomMarginToRightAxis() {
  const AxisRange r = rightRange();
  setLowerEnd(rightAxis(), r.lower, r.upper);
}

// The smallest and the largest time of the curves drawn (the zero line included).
std::optional<AxisRange> SignalChart::timeSpan() const {
  double smallest = std::numeric_limits<double>::infinity(), largest = -smallest;
  for (int g = 0; g < plot_->graphCount(); ++g) {
    bool found = false;
    const QCPRange r = plot_->graph(g)->getKeyRange(found);
    if (!found) continue;
    smallest = std::min(smallest, r.lower);
    largest = std::max(largest, r.upper);
  }
  if (!std::isfinite(smallest)) return std::nullopt;
  return AxisRange{smallest, largest};
}

void SignalChart::SetOptimalLeftMarginToBottomAxis() {
  if (const auto span = timeSpan()) setLowerEnd(timeAxis(), span->lower, span->upper);
}

void SignalChart::SetOptimalRightMarginToBottomAxis() {
  if (const auto span = timeSpan()) setUpperEnd(timeAxis(), span->lower, span->upper);
}

void SignalChart::Chart1Zoom() {
  // An axis without span (all values on one side of a limit of 0) could draw nothing: it is shown
  // with a small span around that value; the stored limits stay as they are.
  for (QCPAxis* axis : {leftAxis(), rightAxis()}) {
    const AxisRange shown = drawableRange({axis->range().lower, axis->range().upper});
    if (shown.lower != axis->range().lower || shown.upper != axis->range().upper) axis->setRange(shown.lower, shown.upper);
  }
  tickerOf(leftAxis())->setDesiredStep(labelStep(leftAxis()->range().size()));
  tickerOf(rightAxis())->setDesiredStep(labelStep(rightAxis()->range().size()));
  tickerOf(timeAxis())->setDesiredStep(1.0);
  replot();
}

// A chart that has no size yet draws when it gets one.
void SignalChart::replot() {
  if (!plot_->size().isEmpty()) plot_->replot();
}

void SignalChart::Chart1UndoZoom() {
  SetOptimalTopMarginToLeftAxis();
  SetOptimalBottomMarginToLeftAxis();
  SetOptimalLeftMarginToBottomAxis();
  SetOptimalRightMarginToBottomAxis();
  Chart1Zoom();
}

std::array<CurvePoints, 4> SignalChart::drawnCurves() const {
  std::array<CurvePoints, 4> curves;
  for (int c = 0; c < 4; ++c) {
    curves[c].takesPart = checked(c);
    for (auto it = series_[c]->data()->constBegin(); it != series_[c]->data()->constEnd(); ++it) {
      curves[c].x.append(it->key);
      curves[c].y.append(it->value);
    }
  }
  return curves;
}

QPixmap SignalChart::picture() const { return plot_->toPixmap(plot_->width(), plot_->height()); }

bool SignalChart::eventFilter(QObject* watched, QEvent* event) {
  if (watched != plot_) return false;
  const QEvent::Type type = event->type();
  if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonDblClick && type != QEvent::MouseMove &&
      type != QEvent::MouseButtonRelease)
    return false;
  auto* mouse = static_cast<QMouseEvent*>(event);
  switch (type) {
    case QEvent::MouseButtonPress:
      if (mouse->button() == Qt::LeftButton) {
        leftPressed_ = true;
        pressWasDouble_ = false;
        pressPosition_ = mouse->pos();
        Chart1MouseDown(mouse, false);
      } else if (mouse->button() == Qt::RightButton) {
        rightPressed_ = true;
        last_ = mouse->pos();
      }
      return true;
    case QEvent::MouseButtonDblClick:
      if (mouse->button() == Qt::LeftButton) {
        // The second press of a double click is a press as well, then the double-click mark.
        leftPressed_ = true;
        pressWasDouble_ = true;
        pressPosition_ = mouse->pos();
        Chart1MouseDown(mouse, true);
        doubleClickMark_ = true;
      }
      return true;
    case QEvent::MouseMove:
      Chart1MouseMove(mouse);
      return true;
    case QEvent::MouseButtonRelease:
      Chart1MouseUp(mouse);
      return true;
    default:
      return false;
  }
}

void SignalChart::Chart1MouseDown(QMouseEvent* event, bool) {
  last_ = event->pos();
  int reference = -1;
  for (int c = 0; c < 4 && reference < 0; ++c)
    if (checked(c)) reference = c;
  if (reference < 0) {
    dragMode_ = DragNone;
    return;
  }
  leftSeries_ = rightSeries_ = nullptr;
  for (int c : {CurveA, CurveV, CurveS, CurveF})
    if (!leftSeries_ && checked(c) && onLeft(c)) leftSeries_ = series_[c];
  for (int c : {CurveF, CurveS, CurveV})
    if (!rightSeries_ && checked(c) && !onLeft(c)) rightSeries_ = series_[c];

  const double x = timeAxis()->pixelToCoord(event->pos().x());
  const QCPRange time = timeAxis()->range();
  if (x < time.lower) {  // over the left axis
    if (!leftSeries_) return;
    const double y = leftAxis()->pixelToCoord(event->pos().y());
    const QCPRange r = leftAxis()->range();
    dragMode_ = y > r.upper ? DragNone : y > r.center() ? DragLeftMax : y > r.lower ? DragLeftMin : DragNone;
  } else if (x <= time.upper) {
    QCPAxis* axis = series_[reference]->valueAxis();
    if (axis->pixelToCoord(event->pos().y()) >= axis->range().lower) return;  // over the plot
    dragMode_ = x < time.center() ? DragTimeMin : DragTimeMax;
    timeAxisAuto_ = false;
  } else {  // over the right axis
    if (!rightSeries_) return;
    const double y = rightAxis()->pixelToCoord(event->pos().y());
    const QCPRange r = rightAxis()->range();
    dragMode_ = y > r.center() ? DragRightMax : y > r.lower ? DragRightMin : DragNone;
  }
  paintDragLabels();
}

void SignalChart::paintDragLabels() {
  auto color = [this](std::initializer_list<int> modes) {
    return std::find(modes.begin(), modes.end(), dragMode_) != modes.end() ? QColor(Qt::red) : QColor(Qt::black);
  };
  timeAxis()->setTickLabelColor(color({DragTimeMin, DragTimeMax}));
  leftAxis()->setTickLabelColor(color({DragLeftMax, DragLeftMin}));
  rightAxis()->setTickLabelColor(color({DragRightMax, DragRightMin}));
  replot();
}

void SignalChart::Chart1MouseMove(QMouseEvent* event) {
  const QPoint pos = event->pos();
  const int dx = pos.x() - last_.x();
  const int dy = pos.y() - last_.y();
  if (rightPressed_ && (event->buttons() & Qt::RightButton) && (dx || dy)) {
    for (QCPAxis* axis : {timeAxis(), leftAxis(), rightAxis()}) {
      const bool horizontal = axis->orientation() == Qt::Horizontal;
      const double from = axis->pixelToCoord(horizontal ? last_.x() : last_.y());
      const double to = axis->pixelToCoord(horizontal ? pos.x() : pos.y());
      axis->moveRange(from - to);
    }
    Chart1Scroll();
  }
  last_ = pos;
  if (!plot_->window()->isVisible()) return;
  const double width = plot_->width();
  const double height = plot_->height();
  auto stretch = [](QCPAxis* axis, bool upper, double delta) {
    const QCPRange r = axis->range();
    if (upper) axis->setRangeUpper(std::max(r.upper + delta, r.lower + 1e-9));
    else axis->setRangeLower(std::min(r.lower + delta, r.upper - 1e-9));
  };
  switch (dragMode_) {
    case DragTimeMin: stretch(timeAxis(), false, -timeAxis()->range().size() * dx / width); break;
    case DragTimeMax: stretch(timeAxis(), true, -timeAxis()->range().size() * dx / width); break;
    case DragLeftMax: stretch(leftAxis(), true, leftAxis()->range().size() * dy / height); break;
    case DragLeftMin: stretch(leftAxis(), false, leftAxis()->range().size() * dy / height); break;
    case DragRightMax: stretch(rightAxis(), true, rightAxis()->range().size() * dy / height); break;
    case DragRightMin: stretch(rightAxis(), false, rightAxis()->range().size() * dy / height); break;
    default:
      if (leftPressed_ && (event->buttons() & Qt::LeftButton) && plot_->axisRect()->rect().contains(pressPosition_) &&
          (pos - pressPosition_).manhattanLength() > kClickSlack) {
        rubberBand_->setGeometry(QRect(pressPosition_, pos).normalized());
        rubberBand_->show();
      }
      for (QCPAxis* axis : {timeAxis(), leftAxis(), rightAxis()}) axis->setTickLabelColor(Qt::black);
      break;
  }
  replot();
}

void SignalChart::Chart1MouseUp(QMouseEvent* event) {
  if (event->button() == Qt::RightButton) {
    rightPressed_ = false;
    if (event->pos() != last_) return;
    if (scrollMark_) {
      scrollMark_ = false;  // the right button panned the chart
      return;
    }
    emit popupRequested(plot_->mapToGlobal(event->pos() + QPoint(3, 3)));
    return;
  }
  if (event->button() != Qt::LeftButton) return;
  const bool wasPressed = leftPressed_;
  leftPressed_ = false;
  const bool click = wasPressed && !pressWasDouble_ && (event->pos() - pressPosition_).manhattanLength() <= kClickSlack;
  if (rubberBand_->isVisible()) {
    rubberBand_->hide();
    if (!click) zoomTo(rubberBand_->geometry());
  }
  if (click) Chart1Click();

  switch (dragMode_) {
    case DragTimeMin:
    case DragTimeMax:
      if (doubleClickMark_) {
        doubleClickMark_ = false;
        if (dragMode_ == DragTimeMin) SetOptimalLeftMarginToBottomAxis();
        else SetOptimalRightMarginToBottomAxis();
        Chart1Zoom();
      }
      dragMode_ = DragNone;
      break;
    case DragLeftMax:
    case DragLeftMin:
    case DragRightMax:
    case DragRightMin: {
      const bool left = dragMode_ == DragLeftMax || dragMode_ == DragLeftMin;
      if (!(left ? leftSeries_ : rightSeries_)) {
        dragMode_ = DragNone;
        doubleClickMark_ = false;
        break;
      }
      if (doubleClickMark_) {
        doubleClickMark_ = false;
        if (dragMode_ == DragLeftMax) SetOptimalTopMarginToLeftAxis();
        else if (dragMode_ == DragLeftMin) SetOptimalBottomMarginToLeftAxis();
        else if (dragMode_ == DragRightMax) SetOptimalTopMarginToRightAxis();
        else SetOptimalBottomMarginToRightAxis();
        Chart1Zoom();
      } else if (left) {
        stored_.leftMaximum = leftAxis()->range().upper;
        stored_.leftMinimum = leftAxis()->range().lower;
      } else {
        stored_.rightMaximum = rightAxis()->range().upper;
        stored_.rightMinimum = rightAxis()->range().lower;
      }
      dragMode_ = DragNone;
      break;
    }
    default:
      break;  // the double-click mark stays
  }
  paintDragLabels();
}

void SignalChart::Chart1Click() {
  // A plain click undoes the zoom, unless it ended an axis-end drag.
  if (dragMode_ >= DragTimeMin && dragMode_ <= DragRightMin) return;
  if (zoomed_) {
    timeAxis()->setRange(beforeZoom_[0], beforeZoom_[1]);
    leftAxis()->setRange(beforeZoom_[2], beforeZoom_[3]);
    rightAxis()->setRange(beforeZoom_[4], beforeZoom_[5]);
    zoomed_ = false;
  }
  Chart1UndoZoom();
}

void SignalChart::Chart1Scroll() { scrollMark_ = true; }

void SignalChart::zoomTo(const QRect& pixels) {
  if (pixels.width() < 2 || pixels.height() < 2) return;
  if (!zoomed_) {
    beforeZoom_ = {timeAxis()->range().lower, timeAxis()->range().upper, leftAxis()->range().lower,
                   leftAxis()->range().upper, rightAxis()->range().lower, rightAxis()->range().upper};
    zoomed_ = true;
  }
  timeAxis()->setRange(timeAxis()->pixelToCoord(pixels.left()), timeAxis()->pixelToCoord(pixels.right()));
  for (QCPAxis* axis : {leftAxis(), rightAxis()})
    axis->setRange(axis->pixelToCoord(pixels.bottom()), axis->pixelToCoord(pixels.top()));
  Chart1Zoom();
}

}  // namespace grx
