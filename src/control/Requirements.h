#pragma once
// What a lab requires of a compacted layer, per object and material, and how it evaluates a test
// lot. Kept as a small JSON file beside the configuration, and imported or exported as such a file
// so a lab can share its requirements:
//   {"requirements": [{"object": "*", "material": "Песок", "minDynamic": 80, "minStatic": null,
//                      "maxSv": null}, ...],
//    "settings": {"seatingImpacts": 0, "lotRule": "each", "k": 1.28, "minPoints": 4,
//                 "splitLotsByDate": false, "durationMinMs": 16, "durationMaxMs": 19},
//    "version": 2,
//    "calibrations": [{"name": "Sand 05.2026", "object": "*", "material": "Песок", "quantity": "Ev2",
//                      "quantityName": "", "unit": "", "model": "linear", "confidence": 0.9,
//                      "date": "2026-05-14", "comment": "", "pairs": [[38.5, 92.0], ...]}]}
// A requirement may instead be given in a calibration's reference quantity:
//   {"object": "*", "material": "Песок", "calibration": "Sand 05.2026", "minReference": 100, ...}
// and its required dynamic modulus is then derived from the calibration. A file without "version"
// (the first form, without calibrations) reads as before.
#include "Calibration.h"
#include "platform/TextPair.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

namespace grx {

// "*" in a name matches any name.
inline constexpr char16_t kAnyName[] = u"*";

struct Requirement {
  QString object = QString::fromUtf16(kAnyName);
  QString material = QString::fromUtf16(kAnyName);
  double minDynamic = 0;              // MPa; a point passes at or above it (derived when calibrated)
  std::optional<double> minStatic;    // MPa
  std::optional<double> maxSv;        // ms; also the limit of the impacts' s/v flag
  QString calibration;                // given in this calibration's reference quantity; empty: not
  std::optional<double> minReference; // the required reference value (with a calibration)
  friend bool operator==(const Requirement&, const Requirement&) = default;
};

enum class LotRule {
  EachPoint,   // the lot passes when every point passes
  Statistical  // the lot passes when mean - k * s reaches the requirement (with enough points)
};

struct EvaluationSettings {
  int seatingImpacts = 0;  // left out at the start of every series (seating drops)
  LotRule lotRule = LotRule::EachPoint;
  double k = 1.28;         // the statistical constant of the lower characteristic value
  int minPoints = 4;       // fewer points under the statistical rule: "too few points"
  bool splitLotsByDate = false;
  double durationMinMs = 16;  // the window of a sound impact's duration
  double durationMaxMs = 19;
  friend bool operator==(const EvaluationSettings&, const EvaluationSettings&) = default;
};

struct ControlSetup {
  QList<Requirement> requirements;
  EvaluationSettings settings;
  QList<Calibration> calibrations;
  friend bool operator==(const ControlSetup&, const ControlSetup&) = default;
};

// The requirement for a point of this object and material, the most specific first: object and
// material, then object, then material, then "*" for both. None when nothing matches.
const Requirement* matchingRequirement(const ControlSetup& setup, const QString& object, const QString& material);

// The file beside GRX1.ini in the folder where the program keeps its configuration.
QString controlSetupPath(const QString& configFolder);

// Why a requirements file is not taken: the first fault found, with the entry it lies in.
struct SetupProblem {
  enum class Kind {
    None,
    Unreadable,    // not a regular file, not opened, or over 1 MiB
    NotJson,       // no JSON object; `other`: the byte of the fault, 0 when the JSON itself is sound
    UnknownKey,    // `key` is no key of this program
    NotList,       // `key` must be a list
    NotObject,     // `key` (empty: the requirement itself) must be an object
    NotText,       // the name `key` must be text
    NotNumber,     // `key` must be a finite number
    NotAboveZero,  // a required modulus at or below zero would let every point pass
    Negative,      // an s/v limit below zero
    Duplicate,     // the names of requirement `other` again
    OutOfRange,    // the setting `key` is outside its range
    // Calibrations and the requirements given through them:
    Excludes,            // `key` together with "calibration": one way of requiring at a time
    NeedsCalibration,    // minReference without "calibration"
    Empty,               // the text `key` must not be empty
    UnknownCalibration,  // the requirement names a calibration (`key`) the file does not hold
    Unusable,            // the named calibration (`key`) cannot be fitted: `other` is its FitProblem
    Unreachable,         // no dynamic modulus in the calibration's range reaches minReference
                         // (`value`) with the bound: the range is `low` to `high`
  };
  Kind kind = Kind::None;
  int entry = kTopLevel;  // the requirement counted from 1, or one of these
  int other = 0;
  QString key;
  QString object, material;  // the requirement's names once they were read; none before
  bool named = false;
  bool inCalibrations = false;  // `entry` counts the calibrations, and `object` holds the name
  double value = 0, low = 0, high = 0;
  static constexpr int kTopLevel = 0;
  static constexpr int kSettings = -1;
  friend bool operator==(const SetupProblem&, const SetupProblem&) = default;
};

struct SetupReadResult {
  enum Status { Ok, Missing, Refused };
  Status status = Ok;
  SetupProblem problem;  // why, when Refused
};

// Derives the required dynamic modulus of every requirement given in a calibration's reference
// quantity, in place. The first requirement that cannot be derived (its calibration missing, not
// fitted, or not reaching the value within its range) is returned; None when all were. A
// requirement that cannot be derived gets a modulus that is no number: it judges no point.
SetupProblem deriveCalibratedRequirements(ControlSetup& setup);
// The same for one requirement (`entry`: its place from 1, for the problem's text).
SetupProblem deriveCalibratedRequirement(Requirement& r, int entry, const QList<Calibration>& calibrations);
// How a calibrated requirement became a dynamic one: "Ev2 ≥ 100 MPa ⇒ Evd ≥ 41,3 MPa, calibration
// "Sand 05.2026", n = 14, R² = 0,86"; empty for a requirement not given by a calibration.
QString derivationText(const Requirement& r, const ControlSetup& setup, Language language);

// Reads a setup file; `setup` is changed only when Ok. Only a regular file of at most 1 MiB is
// read. Refused: not JSON of this shape, a key this program does not know, a name that is no text,
// a required modulus that is no number above zero, an s/v limit below zero, two requirements of the
// same object and material, or settings out of their ranges (seating 0..15, k 0..10, minimum points
// 2..1000, durations 0 < min < max <= 32.768). Calibrations: a name that is empty or taken, an
// unknown quantity or model, a confidence outside 0.80..0.99, a date not yyyy-MM-dd, pairs that are
// not [dynamic, reference] numbers. A requirement with "calibration" needs minReference above 0 and
// no minDynamic; it is derived on reading (see deriveCalibratedRequirements).
SetupReadResult readControlSetup(const QString& path, ControlSetup& setup);
SetupReadResult parseControlSetup(const QByteArray& json, ControlSetup& setup);
// The problem in one line without the file's name, e.g.
// requirement 3 (object "*", material "Песок"): minDynamic must be above 0
QString setupProblemText(const SetupProblem& problem, Language language);
// The line that refuses the file FILE: "FILE: " and the problem, or the program's words for a file
// that cannot be read.
QString setupRefusalLine(const QString& fileName, const SetupProblem& problem, Language language);
// The same as a window says it: "FILE is not loaded: " and the problem.
QString setupNotLoadedText(const QString& fileName, const SetupProblem& problem, Language language);
QByteArray controlSetupJson(const ControlSetup& setup);
// Written whole or not at all; false when it could not be written.
bool writeControlSetup(const QString& path, const ControlSetup& setup);

}  // namespace grx
