#pragma once
// What a lab requires of a compacted layer, per object and material, and how it evaluates a test
// lot. Kept as a small JSON file beside the configuration, and imported or exported as such a file
// so a lab can share its requirements:
//   {"requirements": [{"object": "*", "material": "Песок", "minDynamic": 80, "minStatic": null,
//                      "maxSv": null}, ...],
//    "settings": {"seatingImpacts": 0, "lotRule": "each", "k": 1.28, "minPoints": 4,
//                 "splitLotsByDate": false, "durationMinMs": 16, "durationMaxMs": 19}}
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
  double minDynamic = 0;              // MPa; a point passes at or above it
  std::optional<double> minStatic;    // MPa
  std::optional<double> maxSv;        // ms; also the limit of the impacts' s/v flag
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
  friend bool operator==(const ControlSetup&, const ControlSetup&) = default;
};

// The requirement for a point of this object and material, the most specific first: object and
// material, then object, then material, then "*" for both. None when nothing matches.
const Requirement* matchingRequirement(const ControlSetup& setup, const QString& object, const QString& material);

// The file beside GRX1.ini in the folder where the program keeps its configuration.
QString controlSetupPath(const QString& configFolder);

enum class SetupReadResult { Ok, Missing, Damaged };
// Reads a setup file; `setup` is changed only when Ok. Only a regular file of at most 1 MiB is
// read. Damaged: not JSON of this shape, a required value that is no finite number, or settings
// out of their ranges (seating 0..15, k 0..10, minimum points 2..1000, durations 0 < min < max <= 32.8).
SetupReadResult readControlSetup(const QString& path, ControlSetup& setup);
SetupReadResult parseControlSetup(const QByteArray& json, ControlSetup& setup);
QByteArray controlSetupJson(const ControlSetup& setup);
// Written whole or not at all; false when it could not be written.
bool writeControlSetup(const QString& path, const ControlSetup& setup);

}  // namespace grx
