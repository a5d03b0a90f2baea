// Site calibrations in the point table and the acceptance protocol, with pairs on a line (s = 0):
// every lower bound is the line's value, worked out by hand.
#include "ControlSets.h"
#include "control/ControlTables.h"
#include "report/AcceptanceProtocol.h"

#include <gtest/gtest.h>

namespace grx {
namespace {

// The points 50, 60 (sand), 30 (clay) and 70 MPa (sand, beyond 20..60): the two last columns.
TEST(CalibrationReport, PointTableEstimatesAndLowerBounds) {
  const auto set = test::twoLotSet();
  // A quantity of the lab's own, named as no cell may start: to about three digits, never a formula.
  Calibration own = test::sandCalibration();
  own.quantity = ReferenceQuantity::Other;
  own.quantityName = "=K";
  const struct {
    Language language;
    QList<Calibration> calibrations;
    QStringList cells;  // the headings, then per point its estimate and lower bound
  } cases[] = {
      {Language::Russian, {test::sandCalibration()},
       {"Ev2 оценка, МПа", "Ev2 нижн. граница, МПа", "110,0", "110,0", "130,0", "130,0", "", "", "150,0",
        "150,0 (вне калибровки)"}},
      {Language::English, {test::sandCalibration()},
       {"Ev2 est., MPa", "Ev2 lower, MPa", "110,0", "110,0", "130,0", "130,0", "", "", "150,0",
        "150,0 (outside the calibration)"}},
      {Language::English, {own},
       {"'=K est.", "'=K lower", "110", "110", "130", "130", "", "", "150", "150 (outside the calibration)"}},
      {Language::English, {test::sandCalibration(), test::clayCalibration()},
       {"Reference est.", "Reference lower", "Ev2 110,0 MPa", "Ev2 110,0 MPa", "Ev2 130,0 MPa", "Ev2 130,0 MPa",
        "Kcom 0,940", "Kcom 0,940", "Ev2 150,0 MPa", "Ev2 150,0 MPa (outside the calibration)"}},
  };
  for (const auto& c : cases) {
    ControlSetup setup;
    setup.calibrations = c.calibrations;
    const TextGrid grid = pointTableText(*set, evaluateControl(*set, setup), setup, c.language);
    QStringList cells;
    for (int r = 0; r < grid.rowCount(); ++r) cells << grid.cell(r, 10) << grid.cell(r, 11);
    EXPECT_EQ(grid.columnCount(), 12);
    EXPECT_EQ(cells.join(u'|').toStdString(), c.cells.join(u'|').toStdString());
  }
}

// A requirement of Ev2 ≥ 100 MPa through Ev2 = 10 + 2·Evd becomes Evd ≥ 45 MPa; the protocol gives its
// derivation and the calibration's section with its chart, in either language.
TEST(CalibrationReport, ProtocolSectionInEitherLanguage) {
  const auto set = test::twoLotSet();
  ControlSetup setup;
  setup.calibrations = {test::sandCalibration()};
  Requirement sand;
  sand.material = "Песок";
  sand.calibration = setup.calibrations[0].name;
  sand.minReference = 100;
  setup.requirements = {sand};
  ASSERT_EQ(deriveCalibratedRequirements(setup).kind, SetupProblem::Kind::None);
  EXPECT_DOUBLE_EQ(setup.requirements[0].minDynamic, 45);
  const ControlResult result = evaluateControl(*set, setup);
  const std::pair<Language, const char*> cases[] = {
      {Language::Russian, "Задано по калибровке|* Песок 45,0 - -|Калибровки|Калибровка «Песок 05.2026»: объект *, "
                          "материал Песок|Эталонный показатель: Ev2, МПа|Модель: линейная, y = a + b·x|Уравнение: |Число "
                          "пар n: 5|Коэффициент детерминации R²: 1,00|Остаточное стандартное отклонение s: 0,0 "
                          "МПа|Вероятность нижней границы: 90 % (односторонняя, t = 1,638)|Диапазон "
                          "калибровки: Evd 20,0–60,0 МПа|Дата: 14.05.2026|Комментарий: km 12|Предупреждения: "},
      {Language::English, "Given by calibration|* Песок 45,0 - -|Calibrations|Calibration \"Песок 05.2026\": object *, "
                          "material Песок|Reference quantity: Ev2, MPa|Model: linear, y = a + b·x|Equation: |Pairs n: "
                          "5|Coefficient of determination R²: 1,00|Residual standard error s: 0,0 MPa|Confidence of the "
                          "lower bound: 90 % (one-sided, t = 1,638)|Calibrated range: Evd 20,0–60,0 MPa|Date: "
                          "05.14.2026|Comment: km 12|Warnings: "}};
  for (const auto& [language, needles] : cases) {
    const PreparedReport r = prepareAcceptanceProtocol(*set, setup, result, {}, language);
    QString text;
    int dots = 0, red = 0;
    for (const ReportPage& page : r.pages) {
      for (const PlacedText& t : page.texts) text += t.lines.join(u' ') + u' ';
      for (const PlacedDrawing& d : page.drawings)
        if (d.drawing.marks.size() == 6) {  // the calibration's: its 5 pairs and the legend's dot
          dots += int(std::count_if(d.drawing.marks.begin(), d.drawing.marks.end(),
                                    [](const DrawnMark& m) { return m.shape == MarkShape::Dot; }));
          red += int(std::count_if(d.drawing.lines.begin(), d.drawing.lines.end(),
                                   [](const DrawnLine& l) { return l.color == QColor(200, 0, 0) && l.dashed; }));
        }
    }
    qsizetype at = 0;
    for (const QString& needle : QString::fromUtf8(needles).split(u'|')) {
      const qsizetype found = text.indexOf(needle, at);
      EXPECT_GE(found, 0) << needle.toStdString() << " in " << text.toStdString();
      at = std::max(at, found);
    }
    EXPECT_EQ(dots, 6);
    EXPECT_EQ(red, 2);  // the requirement across and down to 45 MPa, and its legend's sample
  }
}

}  // namespace
}  // namespace grx
