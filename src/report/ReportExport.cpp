#include "ReportExport.h"

#include "ColumnGrid.h"
#include "ReportOds.h"
#include "ReportPainter.h"
#include "ZipCheck.h"
#include "platform/SafeFile.h"
#include "platform/SilencedStderr.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentWriter>
#include <QTextTable>

#include <xlsxwriter.h>

#include <algorithm>
#include <cmath>
#include <map>

namespace grx {
namespace {

bool isTableBand(const ReportPage& page, const PlacedBand& band) {
  return band.textCount > 1 || (band.textCount == 1 && page.texts[band.firstText].frame);
}

// ---------------------------------------------------------------------------------------------
// XLSX

constexpr double kPointsPerMm = 72 / 25.4;

double excelColumnWidth(double mm) { return std::max(0.5, (mm * 96 / 25.4 - 5) / 7); }

class XlsxFormats {
 public:
  explicit XlsxFormats(lxw_workbook* book) : book_(book) {}
  lxw_format* get(const PlacedText& t) {
    const auto key = std::make_tuple(t.font.pointSize, t.font.bold, t.frame, int(t.hAlign));
    auto it = formats_.find(key);
    if (it != formats_.end()) return it->second;
    lxw_format* f = workbook_add_format(book_);
    const QByteArray family = t.font.family.toUtf8();
    format_set_font_name(f, family.constData());
    format_set_font_size(f, t.font.pointSize);
    if (t.font.bold) format_set_bold(f);
    format_set_align(f, t.hAlign == HAlign::Left    ? LXW_ALIGN_LEFT
                        : t.hAlign == HAlign::Right ? LXW_ALIGN_RIGHT
                                                    : LXW_ALIGN_CENTER);
    format_set_align(f, LXW_ALIGN_VERTICAL_CENTER);
    format_set_text_wrap(f);
    if (t.frame) format_set_border(f, LXW_BORDER_THIN);
    formats_.emplace(key, f);
    return f;
  }

 private:
  lxw_workbook* book_;
  std::map<std::tuple<double, bool, bool, int>, lxw_format*> formats_;
};

// ---------------------------------------------------------------------------------------------
// Rich-text document (ODT, HTML)

constexpr double kPixelsPerMm = 96 / 25.4;

QTextCharFormat charFormat(const ReportFont& f) {
  QTextCharFormat c;
  c.setFontFamilies({f.family});
  c.setFontPointSize(f.pointSize);
  c.setFontWeight(f.bold ? QFont::Bold : QFont::Normal);
  return c;
}

Qt::Alignment alignment(HAlign a) {
  return a == HAlign::Left ? Qt::AlignLeft : a == HAlign::Right ? Qt::AlignRight : Qt::AlignHCenter;
}

QString softLines(const PlacedText& t) { return t.lines.join(QChar::LineSeparator); }

void buildDocument(QTextDocument& doc, const PreparedReport& report, const QString& title) {
  doc.setMetaInformation(QTextDocument::DocumentTitle, title);
  const ColumnGrid grid(report);
  QTextCursor cursor(&doc);
  bool firstBlock = true;
  for (int p = 0; p < report.pages.size(); ++p) {
    const ReportPage& page = report.pages[p];
    bool pageStart = p > 0;
    for (int b = 0; b < page.bands.size();) {
      const PlacedBand& band = page.bands[b];
      if (band.textCount == 0) {  // a band of pictures only
        ++b;
        continue;
      }
      if (!isTableBand(page, band)) {
        const PlacedText& t = page.texts[band.firstText];
        QTextBlockFormat block;
        block.setAlignment(alignment(t.hAlign));
        if (pageStart) block.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
        if (firstBlock) cursor.setBlockFormat(block);
        else cursor.insertBlock(block);
        cursor.insertText(softLines(t), charFormat(t.font));
        firstBlock = false;
        pageStart = false;
        ++b;
        continue;
      }
      // A run of framed bands becomes one table.
      int end = b;
      while (end < page.bands.size() && isTableBand(page, page.bands[end])) ++end;
      const PlacedText& first = page.texts[band.firstText];
      const PlacedText& last = page.texts[band.firstText + band.textCount - 1];
      const int c0 = grid.columnAt(first.rect.left(), false);
      const int c1 = grid.columnAt(last.rect.right(), true);
      // Framed as on the page: a table of unframed texts (a heading's lines, lines to sign on) has no lines.
      bool framed = false;
      for (int r = b; r < end; ++r)
        for (int i = 0; i < page.bands[r].textCount; ++i) framed |= page.texts[page.bands[r].firstText + i].frame;
      QTextTableFormat format;
      format.setBorder(framed ? 1 : 0);
      format.setBorderCollapse(true);
      format.setBorderStyle(framed ? QTextFrameFormat::BorderStyle_Solid : QTextFrameFormat::BorderStyle_None);
      format.setCellPadding(2);
      format.setCellSpacing(0);
      format.setAlignment(Qt::AlignLeft);
      QVector<QTextLength> widths;
      for (int c = c0; c <= c1; ++c) widths.append(QTextLength(QTextLength::FixedLength, grid.widthMm(c) * kPixelsPerMm));
      format.setColumnWidthConstraints(widths);
      if (pageStart) format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
      if (firstBlock) firstBlock = false;
      QTextTable* table = cursor.insertTable(end - b, c1 - c0 + 1, format);
      for (int r = 0; r < end - b; ++r) {
        const PlacedBand& row = page.bands[b + r];
        for (int i = 0; i < row.textCount; ++i) {
          const PlacedText& t = page.texts[row.firstText + i];
          const int left = grid.columnAt(t.rect.left(), false) - c0;
          const int right = grid.columnAt(t.rect.right(), true) - c0;
          if (right > left) table->mergeCells(r, left, 1, right - left + 1);
          QTextCursor cell = table->cellAt(r, left).firstCursorPosition();
          QTextBlockFormat block;
          block.setAlignment(alignment(t.hAlign));
          cell.setBlockFormat(block);
          cell.insertText(softLines(t), charFormat(t.font));
        }
      }
      cursor.movePosition(QTextCursor::End);
      pageStart = false;
      b = end;
    }
  }
}

bool writeDocument(const PreparedReport& report, const QString& path, const QString& title, const QByteArray& format) {
  QTextDocument doc;
  // The HTML writer puts the title into <title> as it stands, so a name with "<" or "&" would
  // break the page: it gets the title escaped.
  buildDocument(doc, report, format == "html" ? title.toHtmlEscaped() : title);
  // Written to memory first: the OpenDocument writer closes its device when done, which a file
  // that is yet to be committed must not be.
  QByteArray bytes;
  QBuffer buffer(&bytes);
  QTextDocumentWriter writer(&buffer, format);
  return writer.write(&doc) && writeFileSafely(path, bytes) == SafeWriteResult::Ok;
}

// ---------------------------------------------------------------------------------------------
// RTF

constexpr double kTwipsPerMm = 1440 / 25.4;

int twips(double mm) { return int(std::lround(mm * kTwipsPerMm)); }

void appendRtfText(QByteArray& out, const QString& text) {
  for (const QChar ch : text) {
    const char16_t c = ch.unicode();
    if (c == u'\\' || c == u'{' || c == u'}') {
      out += '\\';
      out += char(c);
    } else if (c == u'\n' || c == QChar::LineSeparator) {
      out += "\\line ";
    } else if (c >= 0x20 && c < 0x80) {
      out += char(c);
    } else {
      // Unicode with a question mark for readers that do not know \u.
      out += "\\u" + QByteArray::number(int(qint16(c))) + '?';
    }
  }
}

}  // namespace

std::optional<ReportFormat> reportFormatOfPath(const QString& path) {
  const QString s = QFileInfo(path).suffix().toLower();
  if (s == u"pdf") return ReportFormat::Pdf;
  if (s == u"png") return ReportFormat::Png;
  if (s == u"xlsx") return ReportFormat::Xlsx;
  if (s == u"ods") return ReportFormat::Ods;
  if (s == u"odt") return ReportFormat::Odt;
  if (s == u"html" || s == u"htm") return ReportFormat::Html;
  if (s == u"txt") return ReportFormat::Text;
  if (s == u"rtf") return ReportFormat::Rtf;
  return std::nullopt;
}

QString reportFormatSuffix(ReportFormat format) {
  switch (format) {
    case ReportFormat::Pdf: return QStringLiteral("pdf");
    case ReportFormat::Png: return QStringLiteral("png");
    case ReportFormat::Xlsx: return QStringLiteral("xlsx");
    case ReportFormat::Ods: return QStringLiteral("ods");
    case ReportFormat::Odt: return QStringLiteral("odt");
    case ReportFormat::Html: return QStringLiteral("html");
    case ReportFormat::Text: return QStringLiteral("txt");
    case ReportFormat::Rtf: return QStringLiteral("rtf");
  }
  return {};
}

bool mayWriteReport(ReportFormat format, const QString& path) {
  return mayReplaceFile(format == ReportFormat::Png ? pngPagePath(path, 1) : path);
}

bool exportReport(const PreparedReport& report, ReportFormat format, const QString& path, const QString& title,
                  QStringList* removedPages) {
  switch (format) {
    case ReportFormat::Pdf: return writeReportPdf(report, path, title);
    case ReportFormat::Png: return writeReportPngPages(report, path, 150, nullptr, removedPages);
    case ReportFormat::Xlsx: return writeReportXlsx(report, path);
    case ReportFormat::Ods: return writeReportOds(report, path);
    case ReportFormat::Odt: return writeReportOdt(report, path, title);
    case ReportFormat::Html: return writeReportHtml(report, path, title);
    case ReportFormat::Text: return writeReportText(report, path);
    case ReportFormat::Rtf: return writeReportRtf(report, path);
  }
  return false;
}

QString removedPagesText(const QStringList& removedPages, Language language) {
  const qsizetype n = removedPages.size();
  if (n == 0) return {};
  const QString names = n == 1   ? removedPages[0]
                        : n == 2 ? removedPages[0] + QStringLiteral(", ") + removedPages[1]
                                 : removedPages[0] + QStringLiteral(" ... ") + removedPages[n - 1];
  if (n == 1) return TextPair{"удалена 1 страница прежнего отчета: %1", "removed 1 page of an earlier report: %1"}.text(language).arg(names);
  return TextPair{"удалено страниц прежнего отчета: %1 (%2)", "removed %1 pages of an earlier report: %2"}
      .text(language)
      .arg(QString::number(n), names);
}

bool writeReportXlsx(const PreparedReport& report, const QString& path) {
  // The library writes to a file name of its own choosing and says little when it fails: it builds
  // the workbook in a folder of ours, and only a whole workbook goes to the target.
  const QTemporaryDir work;
  if (!work.isValid()) return false;
  const QString built = work.filePath(QStringLiteral("report.xlsx"));
  const QByteArray file = QFile::encodeName(built);
  QByteArray tmpdir = QFile::encodeName(work.path());
  lxw_workbook_options options{};
  options.tmpdir = tmpdir.data();
  const SilencedStderr quiet;  // its "[ERROR]" lines are not the user's
  lxw_workbook* book = workbook_new_opt(file.constData(), &options);
  if (!book) return false;
  lxw_worksheet* sheet = workbook_add_worksheet(book, nullptr);
  worksheet_set_paper(sheet, 9);  // A4
  worksheet_set_margins(sheet, report.leftMarginMm / 25.4, report.rightMarginMm / 25.4, report.topMarginMm / 25.4,
                        report.bottomMarginMm / 25.4);
  const ColumnGrid grid(report);
  for (int c = 0; c < grid.count(); ++c)
    worksheet_set_column(sheet, lxw_col_t(c), lxw_col_t(c), excelColumnWidth(grid.widthMm(c)), nullptr);
  XlsxFormats formats(book);
  std::vector<lxw_row_t> breaks;
  lxw_row_t row = 0;
  for (int p = 0; p < report.pages.size(); ++p) {
    const ReportPage& page = report.pages[p];
    if (p > 0 && breaks.size() < 1023) breaks.push_back(row);
    for (const PlacedBand& band : page.bands) {
      worksheet_set_row(sheet, row, tableRowHeightMm(page, band) * kPointsPerMm, nullptr);
      for (int i = 0; i < band.textCount; ++i) {
        const PlacedText& t = page.texts[band.firstText + i];
        const QByteArray text = t.text().toUtf8();
        const auto left = lxw_col_t(grid.columnAt(t.rect.left(), false));
        const auto right = lxw_col_t(grid.columnAt(t.rect.right(), true));
        if (right > left)
          worksheet_merge_range(sheet, row, left, row, right, text.constData(), formats.get(t));
        else
          worksheet_write_string(sheet, row, left, text.constData(), formats.get(t));
      }
      ++row;
    }
  }
  breaks.push_back(0);
  if (breaks.size() > 1) worksheet_set_h_pagebreaks(sheet, breaks.data());
  if (workbook_close(book) != LXW_NO_ERROR) return false;
  QFile whole(built);
  if (!whole.open(QIODevice::ReadOnly)) return false;
  const QByteArray bytes = whole.readAll();
  // The library does not check the writes of its part files: a part cut by a full disk or a
  // file-size limit still packs into a valid zip, so the workbook is read back before it may
  // replace anything.
  static const QStringList kParts = {"[Content_Types].xml", "xl/workbook.xml", "xl/worksheets/sheet1.xml"};
  if (!zipProblem(bytes, kParts).isEmpty()) return false;
  return writeFileSafely(path, bytes) == SafeWriteResult::Ok;
}

bool writeReportOdt(const PreparedReport& report, const QString& path, const QString& title) {
  return writeDocument(report, path, title, "odf");
}

bool writeReportHtml(const PreparedReport& report, const QString& path, const QString& title) {
  return writeDocument(report, path, title, "html");
}

QString reportPlainText(const PreparedReport& report) {
  // Widths of the table columns (by cell index) in characters: the longest line they hold.
  QVector<int> widths;
  for (const ReportPage& p : report.pages)
    for (const PlacedBand& b : p.bands) {
      if (!isTableBand(p, b)) continue;
      if (widths.size() < b.textCount) widths.resize(b.textCount);
      for (int i = 0; i < b.textCount; ++i)
        for (const QString& line : p.texts[b.firstText + i].lines) widths[i] = std::max<int>(widths[i], line.size());
    }
  QString out;
  auto emitLine = [&out](const QString& line) {
    // Empty lines are dropped. Leading spaces go with the page's left margin, which the text does
    // not have; the spaces that keep a cell's second line in its column stay.
    qsizetype end = line.size();
    while (end > 0 && line[end - 1] == u' ') --end;
    const QString kept = line.left(end);
    if (kept.isEmpty()) return;
    out += kept;
    out += QStringLiteral("\r\n");
  };
  for (int p = 0; p < report.pages.size(); ++p) {
    const ReportPage& page = report.pages[p];
    if (p > 0) out += u'\f';
    for (const PlacedBand& b : page.bands) {
      if (b.textCount == 0) continue;
      if (!isTableBand(page, b)) {
        for (const QString& line : page.texts[b.firstText].lines) emitLine(line);
        continue;
      }
      qsizetype lineCount = 0;
      for (int i = 0; i < b.textCount; ++i) lineCount = std::max(lineCount, page.texts[b.firstText + i].lines.size());
      for (qsizetype k = 0; k < lineCount; ++k) {
        QString line;
        for (int i = 0; i < b.textCount; ++i) {
          const QStringList& lines = page.texts[b.firstText + i].lines;
          if (i > 0) line += u' ';
          line += (k < lines.size() ? lines[k] : QString()).leftJustified(widths[i]);
        }
        emitLine(line);
      }
    }
  }
  return out;
}

bool writeReportText(const PreparedReport& report, const QString& path) {
  return writeFileSafely(path, reportPlainText(report).toUtf8()) == SafeWriteResult::Ok;
}

QByteArray reportRtf(const PreparedReport& report) {
  QByteArray out;
  out += "{\\rtf1\\ansi\\ansicpg1251\\deff0{\\fonttbl{\\f0\\froman\\fcharset204 Times New Roman;}}\r\n";
  out += "\\paperw" + QByteArray::number(twips(report.pageWidthMm)) + "\\paperh" +
         QByteArray::number(twips(report.pageHeightMm)) + "\\margl" + QByteArray::number(twips(report.leftMarginMm)) +
         "\\margr" + QByteArray::number(twips(report.rightMarginMm)) + "\\margt" +
         QByteArray::number(twips(report.topMarginMm)) + "\\margb" + QByteArray::number(twips(report.bottomMarginMm)) +
         "\r\n";
  for (int p = 0; p < report.pages.size(); ++p) {
    const ReportPage& page = report.pages[p];
    if (p > 0) out += "\\page\r\n";
    for (const PlacedBand& b : page.bands) {
      if (b.textCount == 0) continue;
      if (!isTableBand(page, b)) {
        const PlacedText& t = page.texts[b.firstText];
        out += "\\pard\\plain\\f0\\qc\\fs" + QByteArray::number(int(std::lround(t.font.pointSize * 2))) + ' ';
        appendRtfText(out, t.text());
        out += "\\par\r\n";
        continue;
      }
      out += "\\trowd\\trgaph28\\trleft0\\trrh" + QByteArray::number(twips(b.heightMm));
      for (int i = 0; i < b.textCount; ++i) {
        const PlacedText& t = page.texts[b.firstText + i];
        if (t.frame) out += "\\clbrdrt\\brdrs\\brdrw10\\clbrdrl\\brdrs\\brdrw10\\clbrdrb\\brdrs\\brdrw10\\clbrdrr\\brdrs\\brdrw10";
        out += "\\clvertalc\\cellx" + QByteArray::number(twips(t.rect.right() - report.leftMarginMm));
      }
      out += "\r\n";
      for (int i = 0; i < b.textCount; ++i) {
        const PlacedText& t = page.texts[b.firstText + i];
        out += "\\pard\\plain\\intbl\\f0\\qc\\fs" + QByteArray::number(int(std::lround(t.font.pointSize * 2))) + ' ';
        appendRtfText(out, t.text());
        out += "\\cell\r\n";
      }
      out += "\\row\r\n";
    }
  }
  out += "}\r\n";
  return out;
}

bool writeReportRtf(const PreparedReport& report, const QString& path) {
  return writeFileSafely(path, reportRtf(report)) == SafeWriteResult::Ok;
}

}  // namespace grx
