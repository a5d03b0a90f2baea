#include "report/ReportLayout.h"
#include "report/SeriesReport.h"
#include "SeriesTables.h"

#include <gtest/gtest.h>

namespace grx {
namespace {

using test::seriesLabel;
using test::seriesTableOf;

QStringList bandTexts(const ReportPage& page, const PlacedBand& band) {
  QStringList out;
  for (int i = 0; i < band.textCount; ++i) out.append(page.texts[band.firstText + i].text());
  return out;
}

QVector<const PlacedBand*> bandsOf(const ReportPage& page, BandKind kind) {
  QVector<const PlacedBand*> out;
  for (const PlacedBand& b : page.bands)
    if (b.kind == kind) out.append(&b);
  return out;
}

TEST(ReportLayout, TwelveSeriesGiveTwelveDataLinesWithTheTableTexts) {
  const PreparedReport r = prepareSeriesReport(seriesTableOf(12), Language::English);
  ASSERT_EQ(r.pages.size(), 1);
  const auto data = bandsOf(r.pages[0], BandKind::MasterData);
  ASSERT_EQ(data.size(), 12);
  for (int k = 0; k < 12; ++k) {
    EXPECT_EQ(data[k]->record, k);
    const QStringList cells = bandTexts(r.pages[0], *data[k]);
    ASSERT_EQ(cells.size(), 9);
    EXPECT_EQ(cells[0], seriesLabel(k));
    EXPECT_EQ(cells[6], QStringLiteral("Глина"));
  }
  EXPECT_EQ(r.recordCount(), 12);
}

TEST(ReportLayout, ThreePagesRepeatTheHeaderNumberThePagesAndNeverSplitARow) {
  const PreparedReport r = prepareSeriesReport(seriesTableOf(70), Language::English);
  ASSERT_EQ(r.pages.size(), 3);
  int nextRecord = 0;
  for (int p = 0; p < 3; ++p) {
    const ReportPage& page = r.pages[p];
    SCOPED_TRACE(p);
    // The title on the first page only, above the header.
    EXPECT_EQ(bandsOf(page, BandKind::ReportTitle).size(), p == 0 ? 1 : 0);
    const auto headers = bandsOf(page, BandKind::PageHeader);
    ASSERT_EQ(headers.size(), 1);
    EXPECT_EQ(page.bands[p == 0 ? 1 : 0].kind, BandKind::PageHeader);
    EXPECT_DOUBLE_EQ(headers[0]->topMm, p == 0 ? 25.0 : 5.0);
    const QStringList header = bandTexts(page, *headers[0]);
    ASSERT_EQ(header.size(), 9);
    EXPECT_EQ(header[0], QStringLiteral("№"));
    EXPECT_EQ(header[1], QStringLiteral("Date"));
    EXPECT_EQ(header[8], QStringLiteral("GLONASS/GPS\ncoordinates"));
    // Data rows continue where the previous page stopped and end above the footer (297 - 10 - 10).
    const auto data = bandsOf(page, BandKind::MasterData);
    ASSERT_FALSE(data.isEmpty());
    for (const PlacedBand* b : data) {
      EXPECT_EQ(b->record, nextRecord++);
      EXPECT_LE(b->topMm + b->heightMm, 277.0 + 1e-6);
      EXPECT_EQ(bandTexts(page, *b)[0], seriesLabel(b->record));
    }
    const auto footers = bandsOf(page, BandKind::PageFooter);
    ASSERT_EQ(footers.size(), 1);
    EXPECT_DOUBLE_EQ(footers[0]->topMm, 277.0);
    EXPECT_EQ(bandTexts(page, *footers[0]), QStringList{QStringLiteral("- %1 -").arg(p + 1)});
  }
  EXPECT_EQ(nextRecord, 70);
  // A page is broken only when the next row would not fit: the last row of pages 1 and 2 plus
  // the first row of the next page would reach below the footer.
  for (int p = 0; p < 2; ++p) {
    const auto data = bandsOf(r.pages[p], BandKind::MasterData);
    const PlacedBand* last = data.last();
    const double nextHeight = bandsOf(r.pages[p + 1], BandKind::MasterData).first()->heightMm;
    EXPECT_GT(last->topMm + last->heightMm + nextHeight, 277.0);
  }
}

TEST(ReportLayout, CoordinatesCellHoldsTwoLinesAndTheWholeRowGrows) {
  const PreparedReport r = prepareSeriesReport(seriesTableOf(1), Language::Russian);
  const ReportPage& page = r.pages[0];
  const PlacedBand* row = bandsOf(page, BandKind::MasterData).first();
  const PlacedText& coordinates = page.texts[row->firstText + 8];
  EXPECT_EQ(coordinates.lines, (QStringList{QStringLiteral("55°47'59,4\" N"), QStringLiteral("37°37'34,5\" E")}));
  // Two lines of 10 pt Times (Liberation Serif: 11.07 pt a line, 3.905 mm) and the padding.
  EXPECT_NEAR(row->heightMm, 8.41, 0.05);
  for (int i = 0; i < 9; ++i) {
    const PlacedText& t = page.texts[row->firstText + i];
    EXPECT_DOUBLE_EQ(t.rect.height(), row->heightMm) << i;
    EXPECT_DOUBLE_EQ(t.rect.top(), row->topMm) << i;
  }
  // Columns at the template's edges: 20 mm margin + 0, 15, 32 ... 157, widths up to 185 mm.
  EXPECT_DOUBLE_EQ(page.texts[row->firstText + 0].rect.left(), 20.0);
  EXPECT_DOUBLE_EQ(page.texts[row->firstText + 6].rect.left(), 117.0);
  EXPECT_DOUBLE_EQ(page.texts[row->firstText + 8].rect.right(), 205.0);
  // Four frame lines per framed cell: header and data row.
  EXPECT_EQ(page.lines.size(), 2 * 9 * 4);
}

TEST(ReportLayout, TheRowSourceIsDrivenThroughItsCallbacks) {
  ReportTemplate t;
  t.pageHeightMm = 100;
  ReportBand data{QStringLiteral("MasterData1"), BandKind::MasterData, 10, true, {}};
  ReportCell cell;
  cell.widthMm = 50;
  cell.heightMm = 10;
  cell.text = QStringLiteral("[n]/[x]");
  data.cells.append(cell);
  t.bands = {data};
  QStringList calls;
  int count = 0;
  ReportRowSource rows;
  rows.first = [&] { calls.append(QStringLiteral("first")); count = 3; };
  rows.eof = [&](int n) { calls.append(QStringLiteral("eof %1").arg(n)); return n >= count; };
  const ReportVariables vars = [](const QString& name, int n) {
    return name == u"n" ? QString::number(n) : QString();
  };
  const PreparedReport r = layOutReport(t, vars, rows);
  EXPECT_EQ(calls, (QStringList{"first", "eof 0", "eof 1", "eof 2", "eof 3"}));
  ASSERT_EQ(r.pages.size(), 1);
  ASSERT_EQ(r.pages[0].texts.size(), 3);
  EXPECT_EQ(r.pages[0].texts[2].text(), QStringLiteral("2/"));  // an unknown name is empty
}

TEST(ReportLayout, ARowTallerThanAPageIsPrintedOnceAndTheNextGoesOn) {
  ReportTemplate t;
  t.pageHeightMm = 60;
  ReportBand data{QStringLiteral("MasterData1"), BandKind::MasterData, 5, true, {}};
  ReportCell cell;
  cell.widthMm = 50;
  cell.heightMm = 5;
  cell.text = QStringLiteral("[v]");
  data.cells.append(cell);
  t.bands = {data};
  ReportRowSource rows;
  rows.eof = [](int n) { return n >= 2; };
  const PreparedReport r = layOutReport(t, [](const QString&, int n) {
    return n == 0 ? QStringLiteral("a\nb\nc\nd\ne\nf\ng\nh\ni\nj\nk\nl\nm\nn\no\np\nq\nr\ns\nt") : QStringLiteral("x");
  }, rows);
  ASSERT_EQ(r.pages.size(), 2);
  EXPECT_EQ(r.pages[0].texts[0].lines.size(), 20);
  EXPECT_EQ(r.pages[1].texts[0].text(), QStringLiteral("x"));
}

TEST(ReportLayout, TextsWrapAtLineFeedsThenBetweenWordsThenWithinAWord) {
  ReportFont font;  // Times New Roman 10 pt
  struct Case {
    const char* text;
    double width;
    QStringList lines;
  };
  const Case cases[] = {
      {"Глина", 29, {"Глина"}},
      {"Грунтовое основание", 29, {"Грунтовое", "основание"}},
      {"a\nb", 29, {"a", "b"}},
      {"a\r\nb", 29, {"a", "b"}},
      {"", 29, {""}},
      {"GLONASS/GPS координаты", 27, {"GLONASS/GPS", "координаты"}},
      {"WWWWWWWWWW", 11, {"WWW", "WWW", "WWW", "W"}},
  };
  for (const Case& c : cases) EXPECT_EQ(wrapText(QString::fromUtf8(c.text), font, c.width), c.lines) << c.text;
}

TEST(ReportLayout, VariablesAreReplacedInPlace) {
  const ReportVariables vars = [](const QString& name, int) { return name == u"a" ? QStringLiteral("1") : QString(); };
  EXPECT_EQ(expandVariables(QStringLiteral("- [PAGE#] -"), vars, -1, 3), QStringLiteral("- 3 -"));
  EXPECT_EQ(expandVariables(QStringLiteral("[PAGE#] / [TOTALPAGES#]"), vars, -1, 3, 7), QStringLiteral("3 / 7"));
  EXPECT_EQ(expandVariables(QStringLiteral("[a][a]x[b]"), vars, 0, 1), QStringLiteral("11x"));
  EXPECT_EQ(expandVariables(QStringLiteral("№"), vars, 0, 1), QStringLiteral("№"));
  EXPECT_EQ(expandVariables(QStringLiteral("[a"), vars, 0, 1), QStringLiteral("[a"));
}

}  // namespace
}  // namespace grx
