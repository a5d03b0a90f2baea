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
// the tables. Exit 0 when every lot passes, 1 when a lot fails, 3 when none fails but some lot
// could not be judged (one line on `err` says which and why; also when no requirement is set at
// all), 2 with one line on `err` for bad arguments, an unreadable or damaged file, a set without
// series ("No Data") and a file that cannot be written.
#include "control/ControlEvaluation.h"

#include <QByteArray>
#include <QStringList>

class QTextStream;

namespace grx {

// configFolder: where the window program's GRX1.ini lives; empty: as the program finds it.
int runCliControl(const QStringList& argsAfterTheWordControl, QTextStream& out, QTextStream& err,
                  const QString& configFolder = {});

// {"lots": [...], "points": [...]}, one object a line, the keys in this order:
//   lot: "lot" (its number, as the protocol's "Lot N"), "object", "material", ["date" yyyy-MM-dd when
//     lots are split by date,] "points" (all its points), "n" (the points decided), "mean", "sd",
//     "cv" (in percent), "min", "max", "below", "characteristic", "required", "verdict", "reason",
//     "undecided" (the labels of its points not decided);
//   point: "series" (the label the series table shows, "41/3"), "date", "time" of its first impact,
//     "latitude", "longitude" (decimal degrees), "object", "material", "lot", "impacts" (kept),
//     "dyn", "stat", "sv", "flags": {"duration", "nonfinite", "sv"}, "verdict", "reason", "impact"
//     (the impact whose modulus is no number); with calibrations in the requirements also
//     "calibration" (its name), "reference", "referenceLower" (the reference test estimated and its
//     lower prediction bound) and "outsideCalibration" (the dynamic modulus beyond the calibrated range).
// Numbers unrounded, null when not finite or not given; verdicts "pass", "fail", "undecided" or null
// (no requirement at all); reasons "no_requirement", "no_impacts", "non_finite_modulus",
// "sv_not_computable", "no_calibration", "too_few_points", "incomplete" or null.
QByteArray controlJson(const MeasurementSet& set, const ControlResult& result, const ControlSetup& setup);

}  // namespace grx
