#pragma once
// The export formats of a prepared report. Each reads the pages as laid out (whole pages with
// their headers and footers, page breaks kept) and writes one file.
#include "ReportLayout.h"
#include "platform/TextPair.h"

#include <optional>

namespace grx {

enum class ReportFormat { Pdf, Png, Xlsx, Ods, Odt, Html, Text, Rtf };

// The format named by the file's extension (case ignored), or none.
std::optional<ReportFormat> reportFormatOfPath(const QString& path);
// The extension of a format, without the dot.
QString reportFormatSuffix(ReportFormat format);

// Whether the report's file may be written at path (for PNG its first page stands for all): asked
// before the work, so a read-only target or a FIFO is refused at once without opening it.
bool mayWriteReport(ReportFormat format, const QString& path);

// Writes the report in the format; false when the file cannot be written. PNG writes one file per
// page (see pngPagePath) and removes the further pages of an earlier report of that name, whose
// names go to `removedPages`.
bool exportReport(const PreparedReport& report, ReportFormat format, const QString& path, const QString& title,
                  QStringList* removedPages = nullptr);
// One line on the removed pages of an earlier report ("removed 21 pages of an earlier report: r-2.png
// ... r-22.png"); empty when none were removed.
QString removedPagesText(const QStringList& removedPages, Language language);

// Spreadsheet: one row per band, the cells in the columns of the page, frames as cell borders,
// a page break before every page after the first, A4 with the template's margins.
bool writeReportXlsx(const PreparedReport& report, const QString& path);
// OpenDocument text and HTML through the rich-text document: per page the title, a framed table of
// the header and data rows with the columns' fixed widths, and the footer line.
bool writeReportOdt(const PreparedReport& report, const QString& path, const QString& title);
bool writeReportHtml(const PreparedReport& report, const QString& path, const QString& title);
// Plain text, UTF-8 with CR LF: no borders, columns padded to their widest text and parted by a
// blank, empty lines dropped, a form feed between pages.
QString reportPlainText(const PreparedReport& report);
bool writeReportText(const PreparedReport& report, const QString& path);
// Rich text of our own: tables with framed cells, the title and the page footer as plain
// paragraphs, a page break between pages.
QByteArray reportRtf(const PreparedReport& report);
bool writeReportRtf(const PreparedReport& report, const QString& path);

}  // namespace grx
