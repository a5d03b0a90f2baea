// Data bands of their own row sources with their headers, and a picture cell: where the layout
// puts them, and that the text export leaves the picture out.
#include "report/ReportExport.h"

#include <gtest/gtest.h>

namespace grx {
namespace {

ReportBand bandOf(BandKind kind, const char* text, double height, int source = 0, bool reprint = false) {
  ReportCell cell;
  cell.widthMm = 50;
  cell.heightMm = height;
  cell.text = QString::fromLatin1(text);
  ReportBand band{QString(), kind, height, false, {cell}};
  band.source = source;
  band.reprint = reprint;
  return band;
}

ReportRowSource recordsOf(int count) { return {nullptr, [count](int n) { return n >= count; }}; }

TEST(ReportSections, HeadersGoWithTheFirstRowAndReprintedOnesRepeatOnEveryFurtherPage) {
  ReportTemplate t;
  t.pageHeightMm = 60;
  ReportBand picture = bandOf(BandKind::MasterData, "caption", 20, 3);
  picture.cells.append(picture.cells[0]);
  picture.cells[1].topMm = 5;
  picture.cells[1].heightMm = 15;
  picture.cells[1].drawing = QStringLiteral("chart");
  t.bands = {bandOf(BandKind::DataHeader, "A heading", 10), bandOf(BandKind::MasterData, "a[n]", 10, 0),
             bandOf(BandKind::DataHeader, "B heading", 10), bandOf(BandKind::DataHeader, "B columns", 10, 0, true),
             bandOf(BandKind::MasterData, "b[n]", 10, 1),   bandOf(BandKind::DataHeader, "C heading", 10),
             bandOf(BandKind::MasterData, "c[n]", 10, 2),   picture};
  QStringList asked;
  ReportSources sources;
  sources.rows = {recordsOf(2), recordsOf(6), recordsOf(0), recordsOf(1)};
  sources.variables = [](const QString& name, int n) { return name == u"n" ? QString::number(n) : QString(); };
  sources.drawings = [&](const QString& name, int n, QSizeF size) {
    asked << QStringLiteral("%1 %2 %3x%4").arg(name).arg(n).arg(size.width()).arg(size.height());
    ReportDrawing d;
    d.texts.append({QRectF(0, 0, 20, 5), QStringLiteral("inside"), {}, HAlign::Left, Qt::black});
    return d;
  };
  const PreparedReport r = layOutReport(t, sources);
  QList<QStringList> pages;
  for (const ReportPage& p : r.pages) {
    pages.append(QStringList());
    for (const PlacedText& text : p.texts) pages.last().append(text.text());
  }
  // A section without records prints no heading; the picture band goes whole to a page of its own.
  EXPECT_EQ(pages, (QList<QStringList>{{"A heading", "a0", "a1", "B heading", "B columns", "b0"},
                                       {"B columns", "b1", "b2", "b3", "b4", "b5"},
                                       {"caption"}}));
  EXPECT_EQ(asked, QStringList{"chart 0 50x15"});
  ASSERT_EQ(r.pages[2].drawings.size(), 1);
  EXPECT_EQ(r.pages[2].drawings[0].rect, QRectF(0, 5, 50, 15));
  EXPECT_EQ(r.pages[2].bands[0].drawingCount, 1);
  EXPECT_EQ(reportPlainText(r).count(QStringLiteral("inside")), 0);
}

}  // namespace
}  // namespace grx
