#pragma once
// The compaction control's results as tables of texts in the current language: the lot table (the
// window, its copy, the protocol and grx1-cli's text form) and the point table (one row per series,
// in table order). Row 0 holds the headings. Numbers in the program's pictures with "," as the
// decimal separator; a value that is not finite shows "-".
#include "ControlEvaluation.h"
#include "platform/TextPair.h"
#include "views/TextGrid.h"

namespace grx {

// The lot's number (as the protocol's charts name it), object, material, [date when lots are split
// by date,] n, mean, s, CV %, min, max, below, below %, characteristic value, required, verdict.
TextGrid lotTableText(const ControlResult& result, const ControlSetup& setup, Language language);

// Series label, date, time, object, material, dynamic, static, s/v, flags, verdict. When some point
// has a calibration, two columns follow: the reference value it estimates and its lower prediction
// bound. When every such point's calibration measures the same quantity the headings name it ("Ev2
// est., MPa") and the cells hold numbers; otherwise the headings are general and each cell names its
// quantity ("Ev2 112,0 MPa"). A point beyond its calibrated range says so in its lower bound's cell;
// a point without a calibration leaves both empty. Without a setup: never those columns.
TextGrid pointTableText(const MeasurementSet& set, const ControlResult& result, Language language);
TextGrid pointTableText(const MeasurementSet& set, const ControlResult& result, const ControlSetup& setup,
                        Language language);

// The columns that hold the tester's names (object, material), which the text outputs guard.
constexpr int kLotNameColumns[] = {1, 2};
constexpr int kPointNameColumns[] = {3, 4};

// A reference value in the picture of its calibration's quantity: moduli "0.0", compaction and dry
// density "0.000", a quantity of the lab's own to about three digits; "-" when it is not finite.
QString referenceNumber(const Calibration& calibration, double value);
// The quantity's name, single-line and never the start of a formula: a lab's file may name it.
QString referenceNameText(const Calibration& calibration, Language language);

// The flags of a point as a short text over its kept impacts ("duration 2 of 5, NaN 1 of 5");
// empty when it has none.
QString flagsText(const FlagCounts& flags, std::uint32_t impacts, Language language);

// Why a point or a lot could not be judged ("non-finite modulus in impact 3", "incomplete: 12/4,
// 17/2 not decided"); empty when it was judged.
QString pointReasonText(const PointResult& point, Language language);
QString lotReasonText(const LotResult& lot, const ControlResult& result, Language language);
// The verdict with its reason in brackets: "undecided (too few points)".
QString pointVerdictText(const PointResult& point, Language language);
QString lotVerdictText(const LotResult& lot, const ControlResult& result, Language language);

// An impact's quality flags in words, for the tool tip of its column in the impacts table:
// "duration 21,3 ms outside 16,0–19,0 ms; non-finite modulus; s/v 0,712 ms above 0,500 ms".
// maxSv: the requirement's limit, negative for none. Empty when the impact has no flag.
QString impactFlagsText(const ImpactRecordView& record, const EvaluationSettings& settings, double maxSv,
                        Language language);

// A value in the picture, or "-" when it is not finite.
QString controlNumber(double value, QStringView picture);

}  // namespace grx
