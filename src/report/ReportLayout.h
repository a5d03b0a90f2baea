#pragma once
// The layout of a template into pages. It needs fonts (QtGui) but no window, printer or display:
// text is measured at a fixed reference resolution without hinting, so the pages come out the same
// for the preview, the printer, the PDF and the exports, which all only read these pages.
#include "ReportDrawing.h"
#include "ReportTemplate.h"

#include <QLineF>
#include <QRectF>
#include <QStringList>

#include <functional>

namespace grx {

// One cell as laid out: its rectangle on the page and its text broken into lines, all in mm.
struct PlacedText {
  QRectF rect;
  QStringList lines;
  double lineHeightMm = 0;
  ReportFont font;
  HAlign hAlign = HAlign::Center;
  VAlign vAlign = VAlign::Center;
  bool frame = false;
  int column = 0;  // the cell's index within its band

  QString text() const { return lines.join(u'\n'); }
};

// One picture cell as laid out: its rectangle on the page; the drawing is in mm from its top left.
struct PlacedDrawing {
  QRectF rect;
  ReportDrawing drawing;
};

// One printed band: which texts (and pictures) of the page belong to it.
struct PlacedBand {
  BandKind kind = BandKind::MasterData;
  double topMm = 0;
  double heightMm = 0;
  int firstText = 0;
  int textCount = 0;
  int record = -1;  // the row source's record number for data bands
  int firstDrawing = 0;
  int drawingCount = 0;
};

struct ReportPage {
  QVector<PlacedBand> bands;
  QVector<PlacedText> texts;
  QVector<QLineF> lines;  // frame lines
  QVector<PlacedDrawing> drawings;
};

struct PreparedReport {
  double pageWidthMm = 210;
  double pageHeightMm = 297;
  double leftMarginMm = 0;
  double rightMarginMm = 0;
  double topMarginMm = 0;
  double bottomMarginMm = 0;
  QVector<ReportPage> pages;

  int recordCount() const;
};

// The row source of the data band. The engine moves to the first record (calling `first`), then
// asks `eof` with the current record number before every record and advances the number itself.
struct ReportRowSource {
  std::function<void()> first;
  std::function<bool(int recordNumber)> eof;
};

// The value of a variable, asked with the name between the brackets and the current record number
// (-1 outside the data band). A name the program does not know gets the empty text.
using ReportVariables = std::function<QString(const QString& name, int recordNumber)>;

// The picture of a cell whose `drawing` names it, for the record (-1 outside a data band), to fit
// sizeMm.
using ReportDrawings = std::function<ReportDrawing(const QString& name, int recordNumber, QSizeF sizeMm)>;

// What the program supplies to a layout: the variables, the row source of each data band (by the
// band's `source`) and the pictures.
struct ReportSources {
  ReportVariables variables;
  QVector<ReportRowSource> rows;
  ReportDrawings drawings;
};

// Lays the template out: the title on the first page, the page header at the top of every page,
// then the data bands in template order, each once per record of its row source (with its data
// headers before the first record), grown to its tallest cell and moved whole to the next page when
// it does not fit above the footer, the footer with "[PAGE#]" and "[TOTALPAGES#]" at the foot of
// every page.
PreparedReport layOutReport(const ReportTemplate& report, const ReportSources& sources);
// A report of one data band driven by `rows`.
PreparedReport layOutReport(const ReportTemplate& report, const ReportVariables& variables,
                            const ReportRowSource& rows);

// Replaces every [name] in text with its value; "[PAGE#]" is the page number and "[TOTALPAGES#]"
// the number of pages.
QString expandVariables(const QString& text, const ReportVariables& variables, int recordNumber, int page,
                        int pageCount = 0);

// Breaks text into the lines that fit widthMm in font: at line feeds, then between words, and
// within a word only when the word alone is too wide.
QStringList wrapText(const QString& text, const ReportFont& font, double widthMm);
// Height of one line of font in mm.
double lineHeightMm(const ReportFont& font);
// Width of text on one line in font, in mm.
double textWidthMm(const QString& text, const ReportFont& font);

// The widths of a table's columns (each the texts of one column, its first headingRows the
// headings) that fill widthMm: every column as wide as its widest word, so that no word is broken;
// then as wide as its longest line of data where that fits, headings broken into lines first; what
// is left shared by how much more each column's lines would need. When the words alone are wider
// than widthMm, the columns shrink in proportion and the widest words break.
QVector<double> tableColumnWidths(const QVector<QStringList>& columns, int headingRows, const ReportFont& font,
                                  double widthMm);

// The space between a cell's frame and its text, in mm.
inline constexpr double kCellPaddingXMm = 0.5;
inline constexpr double kCellPaddingYMm = 0.3;

}  // namespace grx
