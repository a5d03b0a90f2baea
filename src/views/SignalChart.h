#pragma once
// The signal chart of the main window: the acceleration, velocity, displacement and force of one
// impact against time on QCustomPlot, with the axis assignment by check box, automatic or stored
// vertical limits, the time-axis choice, dragging of axis ends, rectangle zoom with undo, panning
// with the right button and the chart's pop-up menu.
#include "ChartRules.h"
#include "data/MeasurementSet.h"

#include <QObject>
#include <QPoint>

#include <array>
#include <cstdint>
#include <functional>
#include <optional>

class QAction;
class QCheckBox;
class QCPAxis;
class QCPGraph;
class QCustomPlot;
class QMouseEvent;
class QRubberBand;

namespace grx {

// The controls of the main window that steer the chart.
struct ChartControls {
  std::array<QCheckBox*, 4> boxes{};  // a(t), v(t), s(t), F(t)
  QAction* leftPlus = nullptr;
  QAction* leftAuto = nullptr;
  QAction* rightPlus = nullptr;
  QAction* rightAuto = nullptr;
  QAction* bottom20 = nullptr;
  QAction* bottom32 = nullptr;
  QAction* bottomAuto = nullptr;
};

class SignalChart : public QObject {
  Q_OBJECT
 public:
  // Drag modes: which axis end the left button is dragging.
  enum DragMode { DragNone = 0, DragTimeMin, DragTimeMax, DragLeftMax, DragLeftMin, DragRightMax, DragRightMin };

  SignalChart(QCustomPlot* plot, MeasurementSet& set, AxisLimits& storedLimits, ChartControls controls,
              QObject* parent = nullptr);

  QCustomPlot* plot() const { return plot_; }
  QCPGraph* series(int curve) const { return series_[curve]; }  // Series1..Series4
  QCPGraph* zeroLine() const { return zeroLine_; }             // Series16
  QCPAxis* leftAxis() const;
  QCPAxis* rightAxis() const;
  QCPAxis* timeAxis() const;

  void setCodeView(bool on) { codeView_ = on; }
  // The reduced view puts the displacement on the left axis for the whole run.
  void setReducedView(bool reduced);

  // The stored limits and the chosen time span, before any impact is drawn.
  void showStoredLimits();
  // The whole title of an axis (the axis shows it shortened when it does not fit).
  QString axisTitle(const QCPAxis* axis) const;

  void GrahpicShow(std::uint32_t index);
  void GrahpicRefresh();
  void OneGrahpicShow();
  void SetOptimalTopMarginToLeftAxis();
  void SetOptimalBottomMarginToLeftAxis();
  void SetOptimalTopMarginToRightAxis();
  void SetOptimalBottomMarginToRightAxis();
  void SetOptimalLeftMarginToBottomAxis();
  void SetOptimalRightMarginToBottomAxis();
  void Chart1Zoom();
  void Chart1UndoZoom();
  // Clears the mouse state and the scroll mark (start-up).
  void resetMouseState();

  int dragMode() const { return dragMode_; }
  bool doubleClickMark() const { return doubleClickMark_; }
  bool scrollMark() const { return scrollMark_; }
  bool zoomed() const { return zoomed_; }

  // The curves as drawn, for the chart-data copy.
  std::array<CurvePoints, 4> drawnCurves() const;
  // The chart at its present size on white.
  QPixmap picture() const;

 signals:
  // A plain right click asks for the chart's pop-up menu at this screen position.
  void popupRequested(const QPoint& globalPosition);

 private:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void Chart1MouseDown(QMouseEvent* event, bool doubleClick);
  void Chart1MouseMove(QMouseEvent* event);
  void Chart1MouseUp(QMouseEvent* event);
  void Chart1Click();
  void Chart1Scroll();
  void zoomTo(const QRect& pixels);
  bool checked(int curve) const;
  bool onLeft(int curve) const;
  double smallestOnAxis(const QCPAxis* axis) const;
  AxisRange leftRange() const;
  AxisRange rightRange() const;
  std::optional<AxisRange> timeSpan() const;
  void setTimeRange(double lower, double upper);
  void paintDragLabels();
  void setAxisTitle(QCPAxis* axis, const QString& title);
  void fitAxisTitles();
  void replot();
  BottomAxisMode bottomAxisMode() const;

  QCustomPlot* plot_;
  MeasurementSet& set_;
  AxisLimits& stored_;
  ChartControls controls_;
  std::array<QCPGraph*, 4> series_{};
  QCPGraph* zeroLine_ = nullptr;
  QRubberBand* rubberBand_ = nullptr;
  std::array<QString, 3> titles_;  // left, right, time

  bool codeView_ = false;
  bool reducedView_ = false;
  bool timeAxisAuto_ = true;
  int dragMode_ = DragNone;
  bool doubleClickMark_ = false;
  bool scrollMark_ = false;
  QPoint last_;
  QPoint pressPosition_;
  bool leftPressed_ = false;
  bool pressWasDouble_ = false;
  bool rightPressed_ = false;
  bool zoomed_ = false;
  std::array<double, 6> beforeZoom_{};  // time, left and right ranges before the first zoom
  QCPGraph* leftSeries_ = nullptr;
  QCPGraph* rightSeries_ = nullptr;
};

}  // namespace grx
