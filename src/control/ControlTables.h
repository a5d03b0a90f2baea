#pragma once
// The compaction control's results as tables of texts in the current language: the lot table (the
// window, its copy, the protocol and grx1-cli's text form) and the point table (one row per series,
// in table order). Row 0 holds the headings. Numbers in the program's pictures with "," as the
// decimal separator; a value that is not finite shows "-".
#include "ControlEvaluation.h"
#include "platform/TextPair.h"
#include "views/TextGrid.h"

namespace grx {

// Object, material, [date when lots are split by date,] n, mean, s, CV %, min, max, below,
// below %, characteristic value, required, verdict.
TextGrid lotTableText(const ControlResult& result, const ControlSetup& setup, Language language);

// Series label, date, time, object, material, dynamic, static, s/v, flags, verdict.
TextGrid pointTableText(const MeasurementSet& set, const ControlResult& result, Language language);

// The columns that hold the tester's names (object, material), which the text outputs guard.
constexpr int kLotNameColumns[] = {0, 1};
constexpr int kPointNameColumns[] = {3, 4};

// The flags of a point as a short text ("duration 2, NaN 1, s/v 1"); empty when it has none.
QString flagsText(const FlagCounts& flags, Language language);

// A value in the picture, or "-" when it is not finite.
QString controlNumber(double value, QStringView picture);

}  // namespace grx
