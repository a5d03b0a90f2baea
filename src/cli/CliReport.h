#pragma once
// grx1-cli report FILE.grx -o OUT [--lang ru|en]: the printed report of a project file, laid out as
// the window program lays it out, in the format of OUT's extension (.pdf, .png, .xlsx, .ods, .odt,
// .html, .txt, .rtf; .png writes OUT-1.png, OUT-2.png ... one per page). Exit 0 when written; 2 with
// one line on `err` for bad arguments, an unknown extension, a damaged file, a set without series
// ("No Data", nothing written) and a file that cannot be written.
#include <QStringList>

class QTextStream;

namespace grx {

int runCliReport(const QStringList& argsAfterTheWordReport, QTextStream& out, QTextStream& err);

// The whole program for the report and control commands (argv[1]): a report needs fonts, so they
// run on a GUI application on the offscreen platform unless another one is asked for.
int cliReportMain(int argc, char* argv[]);

}  // namespace grx
