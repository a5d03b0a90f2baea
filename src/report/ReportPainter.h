#pragma once
// The one painting path of the prepared pages: the preview, the printer, the PDF and the PNG pages
// all paint here, so what is shown is what is printed.
#include "ReportLayout.h"

#include <QImage>
#include <QPointF>

class QPainter;

namespace grx {

// Paints one page. dotsPerMm is the scale of the painter's device; origin is where the page's top
// left corner goes, in device dots. The text at index `highlight` (if any) is marked, as the
// preview's find does.
void paintReportPage(QPainter& painter, const ReportPage& page, double dotsPerMm, QPointF origin = {},
                     int highlight = -1);

// One page as a picture at dpi dots per inch, white behind the page.
QImage renderReportPage(const PreparedReport& report, int pageIndex, double dpi, int highlight = -1);

// Writes the pages as a PDF file; false when the file cannot be written.
bool writeReportPdf(const PreparedReport& report, const QString& path, const QString& title = {});

// The file of page n (1-based) of a PNG export: "-n" before the extension ("report.png" ->
// "report-2.png").
QString pngPagePath(const QString& path, int page);
// Writes every page as a PNG file named by pngPagePath; false at the first file that cannot be
// written. After a write, the pages of an earlier and longer report of that name are removed
// (removeEarlierPngPages) and named in `removed`.
bool writeReportPngPages(const PreparedReport& report, const QString& path, double dpi = 150,
                         QStringList* written = nullptr, QStringList* removed = nullptr);
// Removes the files that pngPagePath names for pages after pageCount, when they begin with the PNG
// signature: a one-page report must not sit beside pages 2 to 22 of the one it replaced. Anything
// else (another name, a file that is not a picture, a folder) stays. The names removed, by page.
QStringList removeEarlierPngPages(const QString& path, int pageCount);

}  // namespace grx
