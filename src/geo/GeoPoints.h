#pragma once
// Where the tests were made: the satellite position of every series in decimal degrees, with the
// series table's values beside it, for the map and the GIS files.
#include "control/ControlEvaluation.h"
#include "data/MeasurementSet.h"
#include "data/TextForms.h"

#include <QDateTime>
#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

namespace grx {

// Decimal degrees of a coordinate word: degrees + (minutes + fraction / 65536) / 60, with the sign
// of the word. None for 0 (nothing recorded) or degrees above 90 (latitude) or 180 (longitude), the
// words the series table shows as "-".
std::optional<double> coordinateDegrees(std::int32_t word, CoordinateKind kind);

// One series with a position. The values are those of the series table (the first impact's date,
// time, names and position; the series' mean moduli and s/v ratio), not rounded here.
struct GeoPoint {
  std::uint32_t series = 0;   // k: row 2 + k of the series table
  QString label;              // "12/4", as in the series table
  QDateTime time;             // of the first impact (the tester's clock, held as UTC); invalid when the record's date is
  std::uint32_t impacts = 0;  // impacts in the series
  double dynamic = 0;         // MPa
  double statics = 0;         // MPa
  double sv = 0;              // ms
  QString material;
  QString object;
  Verdict verdict = Verdict::None;  // of the compaction control, None without a requirement
  double latitude = 0;              // decimal degrees, north positive
  double longitude = 0;             // decimal degrees, east positive
};

struct GeoPoints {
  std::vector<GeoPoint> points;         // the series with a position, in table order
  std::vector<QString> withoutPosition;  // labels of the series without one, in table order
};

// The positions of every series of the set; `control` gives the verdicts (null: none).
GeoPoints seriesPositions(const MeasurementSet& set, const ControlResult* control = nullptr);

// "3 series have no position: 12/4, 17/2, 40/1" (English) or its Russian form; empty when every
// series has one.
QString withoutPositionText(const GeoPoints& points, Language language);

}  // namespace grx
