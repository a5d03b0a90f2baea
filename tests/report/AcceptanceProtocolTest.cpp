// The acceptance protocol of two lots: its PDF text lists the requirement, every lot and every
// point, and the chart of the failing lot marks its point.
#include "ControlSets.h"
#include "control/ControlEvaluation.h"
#include "report/AcceptanceProtocol.h"
#include "report/ReportPainter.h"

#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace grx {
namespace {

TEST(AcceptanceProtocol, PdfTextListsTheRequirementEveryLotAndEveryPoint) {
  const auto set = test::twoLotSet();
  ControlSetup setup;
  setup.requirements = {Requirement{}};
  setup.requirements[0].minDynamic = 40;
  const ControlResult result = evaluateControl(*set, setup);
  const PreparedReport r = prepareAcceptanceProtocol(*set, setup, result, Language::Russian);
  QTemporaryDir dir;
  ASSERT_TRUE(writeReportPdf(r, dir.filePath(QStringLiteral("p.pdf"))));
  QProcess pdftotext;
  pdftotext.start(QStringLiteral("pdftotext"),
                  {QStringLiteral("-layout"), dir.filePath(QStringLiteral("p.pdf")), QStringLiteral("-")});
  ASSERT_TRUE(pdftotext.waitForFinished(20000));
  const QString text = QString::fromUtf8(pdftotext.readAllStandardOutput()).simplified();
  // Each needle after the one before: title, requirement row, lot rows, point rows, charts.
  const char* needles[] = {"Протокол приёмки",
                           "Требования",
                           "Оценка партии: каждая точка.",
                           "* * 40,0 - -",
                           "Партии",
                           "Дорога Песок 3 60,0 10,0 16,7 50,0 70,0 0 0 47,2 40,0 соответствует",
                           "Парк Глина 1 30,0 - - 30,0 30,0 1 100 - 40,0 не соответствует",
                           "Точки испытаний",
                           "1/1 02.06.2026 10:01:00 Дорога Песок 50,0 100,0 4,000 длит. 1 из 1 соответствует",
                           "2/1",
                           "3/1 02.06.2026 10:03:00 Парк Глина 30,0 100,0 4,000 длит. 1 из 1 не соответствует",
                           "4/1",
                           "Контрольные карты",
                           "Партия 1: Дорога / Песок — соответствует",
                           "Партия 2: Парк / Глина — не соответствует",
                           "требование 40,0"};
  qsizetype at = 0;
  for (const char* needle : needles) {
    const qsizetype found = text.indexOf(QString::fromUtf8(needle), at);
    EXPECT_GE(found, 0) << needle << " in " << text.toStdString();
    at = std::max(at, found);
  }
  // The failing lot's chart: its point and the legend's sample are crosses; the other has none.
  QList<int> crosses;
  for (const ReportPage& page : r.pages)
    for (const PlacedDrawing& d : page.drawings)
      crosses.append(int(std::count_if(d.drawing.marks.begin(), d.drawing.marks.end(),
                                       [](const DrawnMark& m) { return m.shape == MarkShape::Cross; })));
  EXPECT_EQ(crosses, (QList<int>{0, 2}));
}

}  // namespace
}  // namespace grx
