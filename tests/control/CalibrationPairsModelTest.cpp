// What the calibration pairs table takes from a spreadsheet's clipboard text and what it refuses.
#include "control/CalibrationPairsModel.h"

#include <gtest/gtest.h>

namespace grx {
namespace {

TEST(CalibrationPairsModel, PastedTextIsTakenWholeOrRefusedWhole) {
  struct Case {
    const char* text;
    int row, column;  // where the paste starts
    QList<CalibrationPair> pairs;  // the complete pairs afterwards
    int refusals;
  };
  const Case cases[] = {
      {"40,5\t88\n45\t101.5\n", 1, 0, {{30, 70}, {40.5, 88}, {45, 101.5}}, 0},
      {"Evd, MPa\tEv2, MPa\r\n40\t88\r\n\r\n", 5, 1, {{30, 70}, {35, 82}, {40, 88}}, 0},  // two columns start left
      {"72\n84\n", 0, 1, {{30, 72}, {35, 84}}, 0},                                          // one column where it is put
      {"40\t88\n45\t1O1\n", 2, 0, {{30, 70}, {35, 82}}, 1},
      {"40\t88\t7\n", 2, 0, {{30, 70}, {35, 82}}, 1},
      {"40\t88\n45\n", 2, 0, {{30, 70}, {35, 82}}, 1},  // a line short of its reference value
      {"0\t0\n", 2, 0, {{30, 70}, {35, 82}}, 1},        // zeros are no heading, and no pair
      {"\n\n", 0, 0, {{30, 70}, {35, 82}}, 0},
  };
  for (const Case& c : cases) {
    CalibrationPairsModel model;
    model.setPairs({{30, 70}, {35, 82}});
    int refusals = 0;
    QObject::connect(&model, &CalibrationPairsModel::refused, [&] { ++refusals; });
    EXPECT_EQ(model.paste(c.row, c.column, QString::fromUtf8(c.text)), c.refusals == 0) << c.text;
    EXPECT_EQ(model.pairs(), c.pairs) << c.text;
    EXPECT_EQ(refusals, c.refusals) << c.text;
  }
}

TEST(CalibrationPairsModel, AChangeTheCheckRefusesIsNotTaken) {
  CalibrationPairsModel model;
  model.setPairs({{30, 70}});
  QList<CalibrationPair> asked;
  model.setCheck([&](const QList<CalibrationPair>& pairs) {
    asked = pairs;
    return pairs.size() > 1 ? QStringLiteral("no") : QString();
  });
  EXPECT_FALSE(model.setData(model.index(1, 0), "40", Qt::EditRole) && model.setData(model.index(1, 1), "90", Qt::EditRole));
  EXPECT_EQ(asked, QList<CalibrationPair>({{30, 70}, {40, 90}}));
  EXPECT_EQ(model.pairs(), QList<CalibrationPair>({{30, 70}}));
  EXPECT_EQ(model.rowCount(), 3);  // the half-typed pair stays to be finished
  EXPECT_TRUE(model.setData(model.index(0, 1), "", Qt::EditRole));
  EXPECT_EQ(model.pairs(), QList<CalibrationPair>());
}

}  // namespace
}  // namespace grx
