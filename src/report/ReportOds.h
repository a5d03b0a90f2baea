#pragma once
// OpenDocument spreadsheet export of a prepared report, with the cells of the spreadsheet export:
// one row per band at the band's height, each text in the columns of the page (merged where it
// spans several), frames as cell borders, a page break before every page after the first, and
// the template's paper and margins as the sheet's page.
#include "ReportLayout.h"

#include <QByteArray>
#include <QString>

namespace grx {

// The .ods file's bytes: a stored zip holding mimetype, manifest, meta, styles and content.
QByteArray reportOds(const PreparedReport& report);
// Writes the file whole or not at all; false when it cannot be written.
bool writeReportOds(const PreparedReport& report, const QString& path);

}  // namespace grx
