// Site calibrations in the point table, with pairs on a line (s = 0):
// every lower bound is the line's value, worked out by hand.
#include "ControlSets.h"
#include "control/ControlTables.h"

#include <gtest/gtest.h>

namespace grx {
namespace {

// The points 50, 60 (sand), 30 (clay) and 70 MPa (sand, beyond 20..60): the two last columns.
TEST(CalibrationReport, PointTableEstimatesAndLowerBounds) {
  const auto set = test::twoLotSet();
  const struct {
    Language language;
    bool clay;
    QStringList cells;  // the headings, then per point its estimate and lower bound
  } cases[] = {
      {Language::Russian, false, {"Ev2 оценка, МПа", "Ev2 нижн. граница, МПа", "110,0", "110,0", "130,0", "130,0", "", "",
                                  "150,0", "150,0 (вне калибровки)"}},
      {Language::English, false, {"Ev2 est., MPa", "Ev2 lower, MPa", "110,0", "110,0", "130,0", "130,0", "", "", "150,0",
                                  "150,0 (outside the calibration)"}},
      {Language::English, true, {"Reference est.", "Reference lower", "Ev2 110,0 MPa", "Ev2 110,0 MPa", "Ev2 130,0 MPa",
                                 "Ev2 130,0 MPa", "Kcom 0,940", "Kcom 0,940", "Ev2 150,0 MPa",
                                 "Ev2 150,0 MPa (outside the calibration)"}},
  };
  for (const auto& c : cases) {
    ControlSetup setup;
    setup.calibrations = {test::sandCalibration()};
    if (c.clay) setup.calibrations.append(test::clayCalibration());
    const TextGrid grid = pointTableText(*set, evaluateControl(*set, setup), setup, c.language);
    QStringList cells;
    for (int r = 0; r < grid.rowCount(); ++r) cells << grid.cell(r, 10) << grid.cell(r, 11);
    EXPECT_EQ(grid.columnCount(), 12);
    EXPECT_EQ(cells.join(u'|').toStdString(), c.cells.join(u'|').toStdString());
  }
}

}  // namespace
}  // namespace grx
