#pragma once
// The evaluation of a measurement set against a lab's requirements. A test point is a series; its
// values are the means over the impacts the evaluation keeps (the seating impacts at the start of
// the series are left out), computed afresh in double precision: the series table's means stay as
// they are. A test lot is the series with the same object and material (and date, when the lots
// are split by date), in table order.
// Nothing is passed that could not be judged: a point is decided only when every value its
// requirement applies to is a number over every impact kept, and a lot passes only when all of
// its points are decided and its rule is met. A lot whose decided points break the rule fails
// whatever the rest; otherwise what is missing leaves it undecided, with the reason.
#include "ImpactChecks.h"
#include "Requirements.h"
#include "data/MeasurementSet.h"

#include <QDate>
#include <QString>

#include <cstdint>
#include <limits>
#include <vector>

namespace grx {

// Pass and Fail only for what could be judged; Undecided says why it could not (the reason); None
// where no requirement exists at all (nothing is evaluated, nothing coloured).
enum class Verdict { None, Pass, Fail, Undecided };

enum class Reason {
  None,
  NoRequirement,      // no requirement matches the object and material
  NoImpacts,          // a point: no impact after the seating impacts
  NonFiniteModulus,   // a point: a required modulus of one kept impact is no number (`impact` says which)
  SvNotComputable,    // a point: s/v is required but cannot be computed (the velocity minima sum to 0)
  NoCalibration,      // a point: its requirement's calibration cannot give a dynamic modulus
  TooFewPoints,       // a lot under the statistical rule: fewer decided points than required
  Incomplete,         // a lot: some of its points are not decided (and the decided ones break no rule)
};

inline constexpr double kNoValue = std::numeric_limits<double>::quiet_NaN();

struct FlagCounts {
  int duration = 0;
  int nonFinite = 0;
  int svAbove = 0;
  int total() const { return duration + nonFinite + svAbove; }
};

struct PointResult {
  std::uint32_t series = 0;  // k: row 2 + k of the series table
  QString label;             // as the series table shows it: "41/3"
  QString object;            // the names of the series' first impact
  QString material;
  QDate date;                // of the first impact (invalid when the record's date is)
  int timeOfDay = 0;         // seconds after midnight of the first impact
  std::uint32_t impacts = 0;  // kept for the evaluation
  double dynamic = kNoValue;  // MPa, mean over the kept impacts; not finite when none is kept
  double statics = kNoValue;  // MPa
  double sv = kNoValue;       // ms: |sum of displacements / sum of velocity minima| of the kept impacts
  FlagCounts flags;           // over the kept impacts
  int requirement = -1;       // index into the setup's requirements; -1: none matches
  int lot = -1;               // index into the lots
  Verdict verdict = Verdict::None;
  Reason reason = Reason::None;
  int impact = 0;             // NonFiniteModulus: the impact's place in the series, from 1
  // The reference test's value estimated from the dynamic modulus by the point's calibration (its
  // requirement's, else the one matching its names), with its lower prediction bound.
  int calibration = -1;                  // index into the setup's calibrations; -1: none
  double reference = kNoValue;
  double referenceLower = kNoValue;
  bool outsideCalibration = false;       // the dynamic modulus lies beyond the calibrated range
  bool decided() const { return verdict == Verdict::Pass || verdict == Verdict::Fail; }
};

struct LotResult {
  int number = 0;               // from 1, in the order of the lots ("Lot 3")
  QString object;
  QString material;
  QDate date;                   // only when the lots are split by date
  std::vector<int> points;      // indices into the points, in table order
  int requirement = -1;
  int n = 0;                    // points decided (without a requirement: with a finite dynamic modulus)
  double mean = kNoValue;
  double sd = kNoValue;         // sample standard deviation (n - 1); not finite for n < 2
  double cv = kNoValue;         // sd / mean
  double min = kNoValue;
  double max = kNoValue;
  int below = 0;                // points whose dynamic modulus is below the required one
  double belowShare = kNoValue; // below / n
  double characteristic = kNoValue;  // mean - k * sd
  Verdict verdict = Verdict::None;
  Reason reason = Reason::None;
  std::vector<int> undecided;   // the points not decided, indices into the points
};

struct ControlResult {
  std::vector<PointResult> points;  // one per series, in table order
  std::vector<LotResult> lots;      // in the order of their first point
  bool anyLotFails() const;
  bool anyLotUndecided() const;     // Undecided, or None (no requirement at all)
};

ControlResult evaluateControl(const MeasurementSet& set, const ControlSetup& setup);

// The verdict of a point whose required values are finite: Pass when every one is met (equal
// passes), Fail otherwise.
Verdict pointVerdict(const PointResult& point, const Requirement& requirement);

}  // namespace grx
