// The main window's chart: creation, the redraw entry points, the axis-mode and time-axis actions
// and the chart copies. The drawing and the mouse live in views/SignalChart.
#include "TForm1.h"

#include "MainActions.h"
#include "platform/Messages.h"
#include "views/SignalChart.h"

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>

#include <qcustomplot.h>

namespace grx {

void TForm1::createChart() {
  Chart1 = new QCustomPlot(PanelRight);
  Chart1->setObjectName(QStringLiteral("Chart1"));
  ChartControls controls;
  controls.boxes = {CheckBoxAccel, CheckBoxVelocity, CheckBoxDisplacement, CheckBoxForce};
  controls.leftPlus = Actions->ALeftAxisPlus;
  controls.leftAuto = Actions->ALeftAxisAuto;
  controls.rightPlus = Actions->ARightAxisPlus;
  controls.rightAuto = Actions->ARightAxisAuto;
  controls.bottom20 = Actions->ABottomAxis20;
  controls.bottom32 = Actions->ABottomAxis32;
  controls.bottomAuto = Actions->ABottomAxisAuto;
  chart_ = new SignalChart(Chart1, *set_, limits_, controls, this);
  drawImpact = [this](std::uint32_t i) { chart_->GrahpicShow(i); };
  connect(chart_, &SignalChart::popupRequested, this, [this](const QPoint& at) { Actions->PopupMenuChart->popup(at); });
}

void TForm1::connectChartActions() {
  MainActions* a = Actions;
  for (QCheckBox* box : {CheckBoxAccel, CheckBoxVelocity, CheckBoxDisplacement, CheckBoxForce})
    connect(box, &QCheckBox::clicked, this, &TForm1::CheckBoxAccelClick);
  connect(a->ALeftAxisPlus, &QAction::triggered, this, &TForm1::ALeftAxisPlusExecute);
  connect(a->ALeftAxisAuto, &QAction::triggered, this, &TForm1::ALeftAxisAutoExecute);
  connect(a->ARightAxisPlus, &QAction::triggered, this, &TForm1::ARightAxisPlusExecute);
  connect(a->ARightAxisAuto, &QAction::triggered, this, &TForm1::ARightAxisAutoExecute);
  connect(a->ABottomAxis20, &QAction::triggered, this, [this] { ABottomAxisExecute(BottomAxisMode::Ms20); });
  connect(a->ABottomAxis32, &QAction::triggered, this, [this] { ABottomAxisExecute(BottomAxisMode::Ms32); });
  connect(a->ABottomAxisAuto, &QAction::triggered, this, [this] { ABottomAxisExecute(BottomAxisMode::Auto); });
  connect(a->ACopyGraph, &QAction::triggered, this, &TForm1::ACopyGraphExecute);
  connect(a->ACopyGraphData, &QAction::triggered, this, &TForm1::ACopyGraphDataExecute);
}

void TForm1::GrahpicShow(std::uint32_t index) {
  if (drawImpact) drawImpact(index);
}

void TForm1::GrahpicRefresh() {
  if (!set_->isEmpty()) GrahpicShow(set_->currentIndex());
}

void TForm1::CheckBoxAccelClick() { GrahpicShow(set_->currentIndex()); }

// The checkable action has already changed its state when it runs; the key follows it.

void TForm1::ALeftAxisPlusExecute() {
  writeAxisModeKey(ini_, "LeftAxisPlus", Actions->ALeftAxisPlus->isChecked());
  GrahpicRefresh();
}

void TForm1::ALeftAxisAutoExecute() {
  writeAxisModeKey(ini_, "LeftAxisAuto", Actions->ALeftAxisAuto->isChecked());
  GrahpicRefresh();
}

void TForm1::ARightAxisPlusExecute() {
  writeAxisModeKey(ini_, "RightAxisPlus", Actions->ARightAxisPlus->isChecked());
  GrahpicRefresh();
}

void TForm1::ARightAxisAutoExecute() {
  writeAxisModeKey(ini_, "RightAxisAuto", Actions->ARightAxisAuto->isChecked());
  GrahpicRefresh();
}

void TForm1::ABottomAxisExecute(BottomAxisMode mode) {
  Actions->ABottomAxis20->setChecked(mode == BottomAxisMode::Ms20);
  Actions->ABottomAxis32->setChecked(mode == BottomAxisMode::Ms32);
  Actions->ABottomAxisAuto->setChecked(mode == BottomAxisMode::Auto);
  writeBottomAxis(ini_, mode);
  GrahpicRefresh();
}

void TForm1::ACopyGraphExecute() { QGuiApplication::clipboard()->setPixmap(chart_->picture()); }

void TForm1::ACopyGraphDataExecute() {
  const QString text = chartDataText(chart_->drawnCurves(), currentLanguage());
  if (!text.isEmpty()) QGuiApplication::clipboard()->setText(text);
}

}  // namespace grx
