#pragma once
// grx1-cli calibrate PAIRS.csv [--model linear|power] [--confidence 0.9] [--require VALUE]
//   [--format text|json] [--lang ru|en]
// The fit of a site calibration: PAIRS.csv holds two columns, the tester's dynamic modulus and the
// reference test's value at the same place, one pair a line; a first line of text (a header) is
// skipped; the columns are parted by ";", a tab or ",", and with ";" or a tab a decimal comma is
// taken as well as a point. Text: one "key: value" line each (model, equation, n, a, b, R², s,
// confidence, t, range of the dynamic modulus, the warnings, and with --require the derived
// required dynamic modulus). JSON: {"model", "n", "a", "b", "r2", "s", "seA", "seB", "confidence",
// "t", "xMin", "xMax", "warnings": [...], "required", "requiredDynamic"} in this order, numbers
// unrounded, null where not given. Exit 0; 2 with one line on `err` for bad arguments, a file that
// cannot be read, a line that is not two numbers, pairs that cannot be fitted, and a required value
// that no dynamic modulus in the calibrated range reaches.
#include <QStringList>

class QTextStream;

namespace grx {

int runCliCalibrate(const QStringList& argsAfterTheWordCalibrate, QTextStream& out, QTextStream& err);

}  // namespace grx
