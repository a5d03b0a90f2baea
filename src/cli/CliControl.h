#pragma once
// grx1-cli control FILE.grx [--requirements FILE.json] [--require-dyn MPA] [--require-stat MPA]
//   [--max-sv MS] [--seating N] [--rule each|stat] [--k K] [--format text|csv|json] [-o OUT] [--lang ru|en]
// The compaction control of a project file: the lot table and the verdict of every test point.
// Requirements come from --requirements, else from the window program's requirements file beside
// GRX1.ini when there is one; --require-dyn, --require-stat and --max-sv replace them with one
// requirement for every object and material (a value not given is not required; the dynamic
// modulus then 0). --seating, --rule and --k replace the evaluation settings.
// Forms: text (default) = the window's copy text of the lot table, an empty line, the point table;
// csv = the same cells parted by ";" (a cell holding ";", a quote or a line break in quotes), CR LF;
// json = {"lots": [...], "points": [...]} with unrounded numbers (see controlJson).
// Without -o the form goes to `out`. With -o, --format decides the form when given; otherwise the
// extension: .json and .csv those forms, a report's extension (.pdf .png .xlsx .ods .odt .html .txt
// .rtf) the acceptance protocol, so "-o x.txt" is the protocol's text and "--format text -o x.txt"
// the tables. Exit 0 when no lot fails, 1 when a lot fails, 2 with one line on `err` for bad
// arguments, an unreadable or damaged file, a set without series ("No Data") and a file that cannot
// be written.
#include "control/ControlEvaluation.h"

#include <QByteArray>
#include <QStringList>

class QTextStream;

namespace grx {

// configFolder: where the window program's GRX1.ini lives; empty: as the program finds it.
int runCliControl(const QStringList& argsAfterTheWordControl, QTextStream& out, QTextStream& err,
                  const QString& configFolder = {});

// {"lots": [{"object", "material", ["date" "yyyy-MM-dd" when lots are split by date,] "n", "mean",
// "sd", "cv", "min", "max", "below", "characteristic", "verdict"}], "points": [{"series", "object",
// "material", "dyn", "stat", "sv", "flags": {"duration", "nonfinite", "sv"}, "verdict"}]}: numbers
// unrounded, null when not finite; "below" null for a lot without a requirement; verdicts "pass",
// "fail", "too_few" or null; "series" the series index k (0-based), one point per series.
QByteArray controlJson(const ControlResult& result, const ControlSetup& setup);

}  // namespace grx
