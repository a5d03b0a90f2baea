#pragma once
// The chart of a calibration: its pairs (the tester's dynamic modulus across, the reference value
// up), the fitted curve and its one-sided lower prediction bound over the calibrated range.
#include "Calibration.h"

#include <qcustomplot.h>

namespace grx {

class CalibrationPlot : public QCustomPlot {
  Q_OBJECT
 public:
  explicit CalibrationPlot(QWidget* parent = nullptr);

  // Draws the calibration with the texts of the current language; the curves only when it was fitted.
  void showCalibration(const Calibration& calibration, const FitOutcome& outcome);
  // The chart at its present size on white.
  QPixmap picture() { return toPixmap(width(), height()); }

  QCPGraph* pairsGraph() const { return pairs_; }
  QCPGraph* fitGraph() const { return fit_; }
  QCPGraph* boundGraph() const { return bound_; }

 private:
  QCPGraph* pairs_ = nullptr;
  QCPGraph* fit_ = nullptr;
  QCPGraph* bound_ = nullptr;
};

}  // namespace grx
