#include "ReportTemplate.h"

namespace grx {

const ReportBand* ReportTemplate::band(BandKind kind) const {
  for (const ReportBand& b : bands)
    if (b.kind == kind) return &b;
  return nullptr;
}

namespace {

// 19 px and 13 px in the template's designer, at its 96 pixels per inch.
constexpr double kTitlePoints = 14;
constexpr double kTablePoints = 10;

ReportCell textCell(const char* name, double left, double width, double height, const char* text,
                    double points, bool framed) {
  ReportCell c;
  c.name = QString::fromLatin1(name);
  c.leftMm = left;
  c.widthMm = width;
  c.heightMm = height;
  c.text = QString::fromUtf8(text);
  c.font.pointSize = points;
  c.frame = framed;
  c.stretch = framed;
  return c;
}

}  // namespace

ReportTemplate frxReport1() {
  ReportTemplate t;
  t.name = QStringLiteral("frxReport1");
  t.pageWidthMm = 210;
  t.pageHeightMm = 297;
  t.leftMarginMm = 20;
  t.rightMarginMm = 5;
  t.topMarginMm = 5;
  t.bottomMarginMm = 10;
  const double width = t.printableWidthMm();

  ReportBand title{QStringLiteral("ReportTitle1"), BandKind::ReportTitle, 20, false, {}};
  title.cells.append(textCell("Memo1", 0, width, 20, "[Заголовок]", kTitlePoints, false));

  // Left edge and width of each column, its header text and its data text.
  struct Column {
    double left;
    double width;
    const char* header;
    const char* data;
  };
  static constexpr Column kColumns[] = {
      {0, 15, "№", "[№№]"},
      {15, 17, "[Дата0]", "[Дата]"},
      {32, 18, "[Время0]", "[Время]"},
      {50, 17, "[ДинМодуль0]", "[ДинМодуль]"},
      {67, 17, "[СтатМодуль0]", "[СтатМодуль]"},
      {84, 13, "[SW0]", "[SW]"},
      {97, 30, "[Материал0]", "[Материал]"},
      {127, 30, "[Объект0]", "[Объект]"},
      {157, 28, "[Координаты0]", "[Координаты]"},
  };
  ReportBand header{QStringLiteral("PageHeader1"), BandKind::PageHeader, 5, true, {}};
  ReportBand data{QStringLiteral("MasterData1"), BandKind::MasterData, 5, true, {}};
  int n = 2;
  for (const Column& c : kColumns) {
    header.cells.append(textCell(QByteArray("Memo" + QByteArray::number(n++)).constData(), c.left, c.width, 5,
                                 c.header, kTablePoints, true));
    data.cells.append(textCell(QByteArray("Memo" + QByteArray::number(n++)).constData(), c.left, c.width, 5,
                               c.data, kTablePoints, true));
  }

  ReportBand footer{QStringLiteral("PageFooter1"), BandKind::PageFooter, 10, false, {}};
  footer.cells.append(textCell("Memo20", 0, width, 10, "- [PAGE#] -", kTablePoints, false));

  t.bands = {title, header, data, footer};
  return t;
}

}  // namespace grx
