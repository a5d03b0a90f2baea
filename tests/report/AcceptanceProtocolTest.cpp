// The acceptance protocol of two lots: its PDF text lists heading, requirement, signature lines, every lot and every
// point, and the chart of the failing lot marks its point.
#include "ControlSets.h"
#include "control/ControlEvaluation.h"
#include "report/AcceptanceProtocol.h"
#include "report/ReportExport.h"
#include "report/ReportPainter.h"

#include <QProcess>
#include <QStandardPaths>
#include <QUrl>
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
  const PreparedReport r = prepareAcceptanceProtocol(
      *set, setup, result, {{MeasurementSource::Kind::File, "s.grx", {}}, QDate(2026, 6, 3), "GRX1-control.json"}, Language::Russian);
  QTemporaryDir dir;
  ASSERT_TRUE(writeReportPdf(r, dir.filePath(QStringLiteral("p.pdf"))));
  QProcess pdftotext;
  pdftotext.start(QStringLiteral("pdftotext"),
                  {QStringLiteral("-layout"), dir.filePath(QStringLiteral("p.pdf")), QStringLiteral("-")});
  ASSERT_TRUE(pdftotext.waitForFinished(20000));
  const QString text = QString::fromUtf8(pdftotext.readAllStandardOutput()).simplified();
  // Each needle after the one before: title, requirement row, lot rows, point rows, charts.
  const char* needles[] = {"Протокол приёмки",
                           "Измерения файл проекта s.grx Дата выдачи 03.06.2026 Оценка партии каждая точка не ниже "
                           "требования Коэффициент k 1,28 Наименьшее число точек в партии 4 Первых ударов серии не "
                           "учитывается 0 Длительность удара 16,0–19,0 мс Партии по объекту и материалу Требования файл GRX1-control.json",
                           "Требования Объект Материал",
                           "* * 40,0 - -",
                           "Партии",
                           "1 Дорога Песок 3 60,0 10,0 16,7 50,0 70,0 0 0 47,2 40,0 соответствует",
                           "2 Парк Глина 1 30,0 - - 30,0 30,0 1 100 - 40,0 не соответствует",
                           "Точки испытаний",
                           "1/1 02.06.2026 10:01:00 Дорога Песок 50,0 100,0 4,000 длит. 1 из 1 соответствует",
                           "2/1",
                           "3/1 02.06.2026 10:03:00 Парк Глина 30,0 100,0 4,000 длит. 1 из 1 не соответствует",
                           "4/1",
                           "Контрольные карты",
                           "Партия 1: Дорога / Песок — соответствует",
                           "Партия 2: Парк / Глина — не соответствует МПа 45 40 35 30 25 3 требование 40,0",
                           "страница 1 из 2 Выполнил: ___", "подпись дата Проверил: ___", "Ф. И. О. должность подпись дата страница 2 из 2"};
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

QString output(const QString& program, const QStringList& args) {
  QProcess p;
  p.start(program, args);
  return p.waitForFinished(120000) ? QString::fromUtf8(p.readAllStandardOutput()) : QString();
}

// A band of several cells, or of one framed cell, is a table row of the HTML form ("cell|cell"); in
// the PDF a cell holds the words whose middle lies in it (pdftotext -tsv: words are level 5, in pt).
QStringList pdfRows(const PreparedReport& r, const QString& pdf) {
  QStringList rows;
  QList<QStringList> words;
  for (const QString& line : output("pdftotext", {"-tsv", pdf, "-"}).split(u'\n')) words << line.split(u'\t');
  for (int p = 0; p < r.pages.size(); ++p)
    for (const PlacedBand& b : r.pages[p].bands) {
      if (b.textCount < 2 && (b.textCount == 0 || !r.pages[p].texts[b.firstText].frame)) continue;
      QStringList row;
      for (int i = 0; i < b.textCount; ++i) {
        QStringList cell;
        for (const QStringList& f : words)
          if (f.size() == 12 && f[0] == u"5" && f[1].toInt() == p + 1 && r.pages[p].texts[b.firstText + i].rect.contains(
                  QPointF(f[6].toDouble() + f[8].toDouble() / 2, f[7].toDouble() + f[9].toDouble() / 2) * 25.4 / 72))
            cell << f[11];
        row << cell.join(u' ');
      }
      rows << row.join(u'|');
    }
  return rows;
}

// Headless Chromium opens the HTML form in a frame of a page of ours that lists every cell's rendered text.
QStringList browserRows(const QString& chromium, const QTemporaryDir& dir) {
  QFile list(dir.filePath("list.html"));
  EXPECT_TRUE(list.open(QIODevice::WriteOnly) && list.write(R"(<html><body><pre id="out"></pre><iframe src="p.html" onload="var rows = [];
    this.contentDocument.querySelectorAll('tr').forEach(function (tr) { rows.push(Array.from(tr.cells, function (c) {
      return c.innerText.replace(/\s+/g, ' ').trim(); }).join('|')); });
    document.getElementById('out').textContent = rows.join('\n');"></iframe></body></html>)") > 0);
  list.close();
  const QString dom = output(chromium, {"--headless", "--no-sandbox", "--disable-gpu", "--allow-file-access-from-files",
                                        "--user-data-dir=" + dir.filePath("profile"), "--dump-dom",
                                        QUrl::fromLocalFile(list.fileName()).toString()});
  const qsizetype start = dom.indexOf("<pre id=\"out\">") + 14;
  return dom.mid(start, dom.indexOf("</pre>") - start).replace("&lt;", "<").replace("&gt;", ">").replace("&amp;", "&").split(u'\n');
}

// In either language the heading names the sources, every page ends with its number and every text
// fits its cell, a table's text broken only at a blank (its lines joined by blanks are a text of the
// table); the HTML form in a browser has, row by row, the texts pdftotext finds in the PDF's cells.
// With calibrations too: the reference columns, the derivation of a requirement given in Ev2 and
// the sections of the calibrations, one of them without a unit.
TEST(AcceptanceProtocol, HeadingPagesAndCellsInEitherLanguageAndTheHtmlFormInABrowser) {
  const auto set = test::twoLotSet();
  ControlSetup plain;
  plain.requirements = {Requirement{"Дорога", "*", 40, 90, 5, {}, {}}, Requirement{}};
  plain.settings.splitLotsByDate = true;
  ControlSetup calibrated = plain;
  calibrated.calibrations = {test::sandCalibration(), test::clayCalibration()};
  calibrated.requirements[0].minDynamic = 0;
  calibrated.requirements[0].calibration = calibrated.calibrations[0].name;
  calibrated.requirements[0].minReference = 100;
  EXPECT_EQ(deriveCalibratedRequirements(calibrated).kind, SetupProblem::Kind::None);
  const std::tuple<Language, DocumentIdentity, QString, QString, const ControlSetup*> cases[] = {{Language::Russian, {{MeasurementSource::Kind::Archive, "/srv/a<&>.sqlite", {}}, {}, "x.json"},
                "архив /srv/a<&>.sqlite|файл x.json", "страница %1 из %2", &plain},
               {Language::English, {{MeasurementSource::Kind::Tester, " GRX-1  v2.05 ", QDateTime(QDate(2026, 6, 2), QTime(14, 3))}, {}, "", true},
                "read from the tester (GRX-1 v2.05), 06.02.2026 14:03|given on the command line", "page %1 of %2", &plain},
               {Language::Russian, {{}, {}, "x.json"}, "-|файл x.json", "страница %1 из %2", &calibrated},
               {Language::English, {{}, {}, "x.json"}, "-|file x.json", "page %1 of %2", &calibrated}};
  std::vector<PreparedReport> reports;
  for (const auto& [language, identity, heading, footer, setupOf] : cases) {
    const ControlSetup& setup = *setupOf;
    const ControlResult result = evaluateControl(*set, setup);
    const ProtocolTables tables = protocolTables(*set, setup, result, language);
    QStringList texts;
    for (const TextGrid* g : {&tables.requirements, &tables.lots, &tables.points})
      for (int i = 0; i < g->rowCount() * g->columnCount(); ++i) texts << g->cell(i / g->columnCount(), i % g->columnCount());
    const PreparedReport& r = reports.emplace_back(prepareAcceptanceProtocol(*set, setup, result, identity, language));
    EXPECT_EQ(r.pages[0].texts[2].text() + u'|' + r.pages[0].texts[18].text(), heading);  // after the title, a name
    for (int p = 0; p < r.pages.size(); ++p) {
      EXPECT_EQ(r.pages[p].texts.last().text(), footer.arg(p + 1).arg(r.pages.size()));
      for (const PlacedText& t : r.pages[p].texts) {
        EXPECT_TRUE(!t.frame || texts.contains(t.lines.join(u' '))) << t.lines.join(u'|').toStdString();
        for (const QString& line : t.lines) EXPECT_LE(textWidthMm(line, t.font), t.rect.width() - 2 * kCellPaddingXMm);
      }
    }
  }
  const QString chromium = QStandardPaths::findExecutable("chromium");
  if (chromium.isEmpty()) GTEST_SKIP() << "chromium is not installed (bash tools/deps.sh installs it): no browser check";
  for (const PreparedReport& r : reports) {
    QTemporaryDir dir;
    ASSERT_TRUE(writeReportPdf(r, dir.filePath("p.pdf")) && writeReportHtml(r, dir.filePath("p.html"), "p"));
    const QStringList pdf = pdfRows(r, dir.filePath("p.pdf"));
    EXPECT_EQ(browserRows(chromium, dir).join(u'\n').toStdString(), pdf.join(u'\n').toStdString());
    // 9 heading lines, 3 rows of requirements, 3 of lots, 5 of points, 4 to sign on.
    EXPECT_TRUE(pdf.size() == 24 && (pdf.contains("Дорога|*|40,0|90,0|5,000") || &r > &reports[1])) << pdf.size();
  }
}

}  // namespace
}  // namespace grx
