#include "report/ReportExport.h"
#include "report/ReportOds.h"
#include "report/StoredZip.h"
#include "report/ReportPainter.h"
#include "report/SeriesReport.h"
#include "SeriesTables.h"
#include "support/FileBytes.h"

#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <functional>

namespace grx {
namespace {

using test::seriesLabel;
using test::seriesTableOf;

// Output of a helper program (pdftotext, unzip); empty when it cannot run.
QString runTool(const QString& program, const QStringList& args) {
  QProcess p;
  p.start(program, args);
  if (!p.waitForFinished(20000) || p.exitCode() != 0) return {};
  return QString::fromUtf8(p.readAllStandardOutput());
}

// True when every needle occurs in text, each after the one before.
::testing::AssertionResult inOrder(const QString& text, const QStringList& needles) {
  qsizetype at = 0;
  for (const QString& n : needles) {
    const qsizetype found = text.indexOf(n, at);
    if (found < 0) return ::testing::AssertionFailure() << "missing or out of order: " << n.toStdString();
    at = found + n.size();
  }
  return ::testing::AssertionSuccess();
}

QStringList labels(int n) {
  QStringList out;
  for (int k = 0; k < n; ++k) out.append(seriesLabel(k));
  return out;
}

class ReportOutput : public ::testing::Test {
 protected:
  QString path(const char* name) const { return dir_.filePath(QString::fromLatin1(name)); }
  QTemporaryDir dir_;
};

TEST_F(ReportOutput, PdfTextHoldsEverySeriesLabelInOrderOnThreePages) {
  const PreparedReport r = prepareSeriesReport(seriesTableOf(70), Language::Russian);
  ASSERT_TRUE(writeReportPdf(r, path("r.pdf"), QStringLiteral("Отчет")));
  const QString text = runTool(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path("r.pdf"), QStringLiteral("-")});
  ASSERT_FALSE(text.isEmpty());
  EXPECT_EQ(text.count(u'\f'), 3);  // pdftotext ends every page with a form feed
  EXPECT_TRUE(inOrder(text, labels(70)));
  // pdftotext finds no blank in the narrow gaps of "- 1 -": compare without blanks.
  const QString packed = QString(text).remove(u' ');
  EXPECT_TRUE(inOrder(packed, {QStringLiteral("Измеренныезначениямодуляупругости"), QStringLiteral("-1-"),
                               QStringLiteral("Грунт"), QStringLiteral("-2-"), QStringLiteral("Грунт"),
                               QStringLiteral("-3-")}));
  EXPECT_EQ(text.count(QStringLiteral("Измеренные значения")), 1);
  EXPECT_EQ(text.count(QStringLiteral("55°47'59,4\" N")), 70);
}

TEST_F(ReportOutput, PdfToAFolderThatDoesNotExistFails) {
  const PreparedReport r = prepareSeriesReport(seriesTableOf(2), Language::English);
  EXPECT_FALSE(writeReportPdf(r, path("no/such/folder/r.pdf")));
}

TEST_F(ReportOutput, XlsxHoldsTheCells) {
  const PreparedReport r = prepareSeriesReport(seriesTableOf(3), Language::English);
  ASSERT_TRUE(writeReportXlsx(r, path("r.xlsx")));
  const QString strings = runTool(QStringLiteral("unzip"), {QStringLiteral("-p"), path("r.xlsx"), QStringLiteral("xl/sharedStrings.xml")});
  const QString sheet = runTool(QStringLiteral("unzip"), {QStringLiteral("-p"), path("r.xlsx"), QStringLiteral("xl/worksheets/sheet1.xml")});
  ASSERT_FALSE(strings.isEmpty());
  EXPECT_TRUE(inOrder(strings, {QStringLiteral("Measured elastic modulus values"), QStringLiteral("№"), QStringLiteral("Date"),
                                QStringLiteral("101/7"), QStringLiteral("05.12.2026"), QStringLiteral("Глина"),
                                QStringLiteral("55°47'59,4\" N\n37°37'34,5\" E"), QStringLiteral("102/7"),
                                QStringLiteral("103/7"), QStringLiteral("- 1 -")}));
  // The title is merged across the nine columns; the data rows are rows 3 to 5.
  EXPECT_TRUE(sheet.contains(QStringLiteral("<mergeCell ref=\"A1:I1\"/>")));
  EXPECT_TRUE(sheet.contains(QStringLiteral("<c r=\"A3\"")));
  EXPECT_TRUE(sheet.contains(QStringLiteral("<c r=\"I5\"")));
  EXPECT_FALSE(sheet.contains(QStringLiteral("<c r=\"J")));
}

TEST_F(ReportOutput, XlsxKeepsThePageBreaks) {
  const PreparedReport r = prepareSeriesReport(seriesTableOf(70), Language::English);
  ASSERT_TRUE(writeReportXlsx(r, path("r.xlsx")));
  const QString sheet = runTool(QStringLiteral("unzip"), {QStringLiteral("-p"), path("r.xlsx"), QStringLiteral("xl/worksheets/sheet1.xml")});
  EXPECT_TRUE(sheet.contains(QStringLiteral("<rowBreaks count=\"2\"")));
}

// The rows of an OpenDocument spreadsheet's content.xml, a line each: cells parted by "|", a cell's
// paragraphs by ";", "[n]" before a cell merged across n columns.
std::string odsRows(const QString& xml) {
  QXmlStreamReader r(xml);
  QStringList rows;
  int cells = 0, paragraphs = 0;
  while (!r.atEnd() && r.readNext() != QXmlStreamReader::Invalid) {
    if (!r.isStartElement()) continue;
    if (r.name() == u"table-row") {
      rows.append(QString());
      cells = 0;
    } else if (r.name() == u"table-cell") {
      const QString span = r.attributes().value(QStringLiteral("table:number-columns-spanned")).toString();
      rows.last() += (cells++ ? "|" : "") + (span.isEmpty() ? QString() : u'[' + span + u']');
      paragraphs = 0;
    } else if (r.name() == u"p") {
      rows.last() += (paragraphs++ ? ";" : "") + r.readElementText();
    }
  }
  return r.hasError() ? r.errorString().toStdString() : rows.join(u'\n').toStdString();
}

// A zip whose first entry is the stored mimetype, holding the cells and columns of the spreadsheet.
TEST_F(ReportOutput, OdsHoldsTheCellsOfTheSpreadsheetExport) {
  ASSERT_TRUE(exportReport(prepareSeriesReport(seriesTableOf(1), Language::English), ReportFormat::Ods, path("r.ods"), {}));
  EXPECT_EQ(test::readFileBytes(path("r.ods")).mid(30, 54), "mimetypeapplication/vnd.oasis.opendocument.spreadsheet");
  EXPECT_TRUE(runTool(QStringLiteral("unzip"), {QStringLiteral("-t"), path("r.ods")}).contains(QStringLiteral("No errors detected")));
  EXPECT_EQ(zipCrc32("123456789"), 0xCBF43926u);  // the check value of CRC-32
  const QString content = runTool(QStringLiteral("unzip"), {QStringLiteral("-p"), path("r.ods"), QStringLiteral("content.xml")});
  EXPECT_EQ(odsRows(content),
            "[9]Measured elastic modulus values\n"
            "№|Date|Time|Din.;modulus,;MPa|Static;modulus,;MPa|s/v, ms|Soil|Object|GLONASS/GPS;coordinates\n"
            "101/7|05.12.2026|08:00:00|36,3|65,5|5,760|Глина|Объект 1|55°47'59,4\" N;37°37'34,5\" E\n"
            "[9]- 1 -");
  EXPECT_TRUE(inOrder(content, {"\"15.00mm", "\"17.00mm", "\"18.00mm", "\"17.00mm", "\"17.00mm", "\"13.00mm", "\"30.00mm",
                                "\"30.00mm", "\"28.00mm"}));
  // Three pages: a page break before the second and the third.
  ASSERT_TRUE(writeReportOds(prepareSeriesReport(seriesTableOf(70), Language::English), path("p.ods")));
  EXPECT_EQ(runTool(QStringLiteral("unzip"), {QStringLiteral("-p"), path("p.ods"), QStringLiteral("content.xml")})
                .count(QStringLiteral("table:style-name=\"rb1\"")), 2);
}

TEST_F(ReportOutput, PlainTextIsAColumnTable) {
  const PreparedReport r = prepareSeriesReport(seriesTableOf(2), Language::English);
  const QString expected = QStringLiteral(
      "Measured elastic modulus values\r\n"
      "№     Date       Time     Din.     Static   s/v, ms Soil  Object   GLONASS/GPS\r\n"
      "                          modulus, modulus,                        coordinates\r\n"
      "                          MPa      MPa\r\n"
      "101/7 05.12.2026 08:00:00 36,3     65,5     5,760   Глина Объект 1 55°47'59,4\" N\r\n"
      "                                                                   37°37'34,5\" E\r\n"
      "102/7 05.12.2026 08:01:00 36,3     65,5     5,760   Глина Объект 1 55°47'59,4\" N\r\n"
      "                                                                   37°37'34,5\" E\r\n"
      "- 1 -\r\n");
  EXPECT_EQ(reportPlainText(r), expected);
  ASSERT_TRUE(writeReportText(r, path("r.txt")));
  EXPECT_EQ(test::readFileBytes(path("r.txt")), expected.toUtf8());
}

TEST_F(ReportOutput, RtfEscapesAndFramesTheTable) {
  const PreparedReport r = prepareSeriesReport(seriesTableOf(1), Language::Russian);
  const QByteArray rtf = reportRtf(r);
  EXPECT_TRUE(rtf.startsWith("{\\rtf1\\ansi\\ansicpg1251"));
  EXPECT_TRUE(rtf.endsWith("}\r\n"));
  // "Глина" as Unicode escapes, the two coordinate lines with a line break, the last cell edge at
  // 185 mm (10488 twips) from the margin, and the page number as a plain paragraph.
  EXPECT_TRUE(rtf.contains("\\u1043?\\u1083?\\u1080?\\u1085?\\u1072?\\cell"));
  EXPECT_TRUE(rtf.contains("55\\u176?47'59,4\" N\\line 37\\u176?37'34,5\" E\\cell"));
  EXPECT_TRUE(rtf.contains("\\cellx10488"));
  EXPECT_TRUE(rtf.contains("\\clbrdrt\\brdrs"));
  EXPECT_TRUE(rtf.contains("- 1 -\\par"));
  EXPECT_EQ(rtf.count("\\row"), 2);
  EXPECT_EQ(rtf.count("\\page"), 0);
}

TEST_F(ReportOutput, OdtAndHtmlHoldTheTexts) {
  const PreparedReport r = prepareSeriesReport(seriesTableOf(3), Language::English);
  ASSERT_TRUE(writeReportOdt(r, path("r.odt"), QStringLiteral("Report")));
  ASSERT_TRUE(writeReportHtml(r, path("r.html"), QStringLiteral("Report")));
  const QString content = runTool(QStringLiteral("unzip"), {QStringLiteral("-p"), path("r.odt"), QStringLiteral("content.xml")});
  EXPECT_TRUE(inOrder(content, {QStringLiteral("Measured elastic modulus values"), QStringLiteral("101/7"),
                                QStringLiteral("102/7"), QStringLiteral("103/7"), QStringLiteral("- 1 -")}));
  const QString html = QString::fromUtf8(test::readFileBytes(path("r.html")));
  EXPECT_TRUE(inOrder(html, {QStringLiteral("Measured elastic modulus values"), QStringLiteral("<table"),
                             QStringLiteral("101/7"), QStringLiteral("103/7"), QStringLiteral("</table>"),
                             QStringLiteral("- 1 -")}));
}

// A name from the tester may hold any character: each format carries it in its own escaping, and
// the HTML title (the project's name) too.
TEST_F(ReportOutput, MarkupCharactersInANameAreEscapedInEveryFormat) {
  const QString name = QStringLiteral("A{b}c\\d<e&f\"g");
  TextGrid table = seriesTableOf(1);
  table.cell(2, 6) = name;
  const PreparedReport r = prepareSeriesReport(table, Language::English);
  const auto zipped = [&](const char* file, const char* member) { return runTool("unzip", {"-p", path(file), member}); };
  const struct {
    ReportFormat format;
    const char* file;
    std::function<QString()> text;
    QStringList expected;
  } cases[] = {
      {ReportFormat::Text, "r.txt", [&] { return QString::fromUtf8(test::readFileBytes(path("r.txt"))); }, {"A{b}c\\d<e&f\"g"}},
      {ReportFormat::Pdf, "r.pdf", [&] { return runTool("pdftotext", {path("r.pdf"), "-"}); }, {"A{b}c\\d<e&f\"g"}},
      {ReportFormat::Rtf, "r.rtf", [&] { return QString::fromUtf8(test::readFileBytes(path("r.rtf"))); }, {"A\\{b\\}c\\\\d<e&f\"g\\cell"}},
      {ReportFormat::Html, "r.html", [&] { return QString::fromUtf8(test::readFileBytes(path("r.html"))); },
       {"<title>A{b}c\\d&lt;e&amp;f&quot;g</title>", ">A{b}c\\d&lt;e&amp;f&quot;g<"}},
      {ReportFormat::Odt, "r.odt", [&] { return zipped("r.odt", "content.xml"); }, {">A{b}c\\d&lt;e&amp;f&quot;g<"}},
      {ReportFormat::Ods, "r.ods", [&] { return zipped("r.ods", "content.xml"); }, {">A{b}c\\d&lt;e&amp;f&quot;g<"}},
      {ReportFormat::Xlsx, "r.xlsx", [&] { return zipped("r.xlsx", "xl/sharedStrings.xml"); }, {">A{b}c\\d&lt;e&amp;f\"g<"}},
  };
  for (const auto& c : cases) {
    ASSERT_TRUE(exportReport(r, c.format, path(c.file), name)) << c.file;
    const QString text = c.text();
    for (const QString& e : c.expected) EXPECT_TRUE(text.contains(e)) << c.file << ": " << e.toStdString();
  }
}

TEST_F(ReportOutput, PngWritesOneFilePerPage) {
  EXPECT_EQ(pngPagePath(QStringLiteral("/t/report.png"), 2), QStringLiteral("/t/report-2.png"));
  EXPECT_EQ(pngPagePath(QStringLiteral("/t/a.b.png"), 1), QStringLiteral("/t/a.b-1.png"));
  EXPECT_EQ(pngPagePath(QStringLiteral("/t/report"), 3), QStringLiteral("/t/report-3"));
  const PreparedReport r = prepareSeriesReport(seriesTableOf(70), Language::English);
  QStringList written;
  ASSERT_TRUE(writeReportPngPages(r, path("p.png"), 50, &written));
  EXPECT_EQ(written, (QStringList{path("p-1.png"), path("p-2.png"), path("p-3.png")}));
  const QImage page(path("p-2.png"));
  EXPECT_EQ(page.size(), QSize(413, 585));  // A4 at 50 dpi
  // The frame of the first header cell, 20 mm from the left and 5 mm from the top, is black.
  EXPECT_LT(qGray(page.pixel(39, 20)), 128);
  EXPECT_EQ(page.pixel(5, 5), qRgb(255, 255, 255));
}

TEST_F(ReportOutput, FormatsByExtension) {
  EXPECT_EQ(reportFormatOfPath(QStringLiteral("a.PDF")), ReportFormat::Pdf);
  EXPECT_EQ(reportFormatOfPath(QStringLiteral("a.xlsx")), ReportFormat::Xlsx);
  EXPECT_EQ(reportFormatOfPath(QStringLiteral("a.Ods")), ReportFormat::Ods);
  EXPECT_EQ(reportFormatOfPath(QStringLiteral("a.htm")), ReportFormat::Html);
  EXPECT_EQ(reportFormatOfPath(QStringLiteral("x/a.txt")), ReportFormat::Text);
  EXPECT_EQ(reportFormatOfPath(QStringLiteral("a.doc")), std::nullopt);
  EXPECT_EQ(reportFormatOfPath(QStringLiteral("pdf")), std::nullopt);
}

}  // namespace
}  // namespace grx
