#pragma once
// A report template as plain data: the page, its margins and the bands from top to bottom, each
// band holding cells placed in millimetres. Cell texts may hold bracketed variables ("[Дата]")
// that the layout asks the program for. The layout (ReportLayout.h) turns a template into pages.
#include <QString>
#include <QVector>

namespace grx {

// A DataHeader belongs to the data band that follows it in the template: it is printed with that
// band's first record (never alone at the foot of a page), and again at the top of every further
// page the records go on to when it is reprinted.
enum class BandKind { ReportTitle, PageHeader, MasterData, PageFooter, DataHeader };
enum class HAlign { Left, Center, Right };
enum class VAlign { Top, Center, Bottom };

struct ReportFont {
  QString family = QStringLiteral("Times New Roman");
  double pointSize = 10;
  bool bold = false;
};

struct ReportCell {
  QString name;
  double leftMm = 0;
  double topMm = 0;
  double widthMm = 0;
  double heightMm = 0;
  QString text;            // fixed text and [variables]
  ReportFont font;
  bool frame = false;      // a line on all four sides
  bool stretch = false;    // grows to the height of its band
  HAlign hAlign = HAlign::Center;
  VAlign vAlign = VAlign::Center;
  QString drawing;         // not empty: the cell is a picture of that name (ReportDrawings), no text
};

struct ReportBand {
  QString name;
  BandKind kind = BandKind::MasterData;
  double heightMm = 0;
  bool stretch = false;    // grows to its tallest cell
  QVector<ReportCell> cells;
  int source = 0;          // MasterData: which of the report's row sources drives it
  bool reprint = false;    // DataHeader: again at the top of each page its records go on to
};

struct ReportTemplate {
  QString name;
  double pageWidthMm = 210;
  double pageHeightMm = 297;
  double leftMarginMm = 0;
  double rightMarginMm = 0;
  double topMarginMm = 0;
  double bottomMarginMm = 0;
  QVector<ReportBand> bands;

  double printableWidthMm() const { return pageWidthMm - leftMarginMm - rightMarginMm; }
  // The first band of that kind, or null.
  const ReportBand* band(BandKind kind) const;
};

// The template of the measured-moduli report: A4 portrait, a title on the first page, the framed
// column header on every page, one framed data row per series and the page number at the foot.
ReportTemplate frxReport1();

}  // namespace grx
