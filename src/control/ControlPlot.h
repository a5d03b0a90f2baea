#pragma once
// The control chart of one lot: its points' dynamic moduli in the order they were measured (a
// failing point in red), the required value, the lot's mean and its characteristic value as lines.
// A click on a point tells which point it was.
#include "ControlChartData.h"

#include <qcustomplot.h>

namespace grx {

class ControlPlot : public QCustomPlot {
  Q_OBJECT
 public:
  explicit ControlPlot(QWidget* parent = nullptr);

  // Draws the chart with the texts of the current language; title names the lot.
  void showLot(const ControlChartData& data, const QString& title);
  const ControlChartData& shown() const { return data_; }
  // The pixel position of a shown point (index into shown().points), as last drawn.
  QPoint pointPixel(int shownIndex) const;
  // The chart at its present size on white.
  QPixmap picture();

 signals:
  // A left click on (or within a few pixels of) a point: its index into the result's points.
  void pointClicked(int point);

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  void setLine(QCPGraph* line, double value, int count);

  ControlChartData data_;
  QCPTextElement* title_ = nullptr;
  QSharedPointer<QCPAxisTickerText> ticker_;
  QCPGraph* path_ = nullptr;      // the points joined in time order
  QCPGraph* passing_ = nullptr;
  QCPGraph* failing_ = nullptr;
  QCPGraph* required_ = nullptr;
  QCPGraph* mean_ = nullptr;
  QCPGraph* characteristic_ = nullptr;
  QPoint pressedAt_;
};

}  // namespace grx
