#pragma once
// The searchable columns the archive keeps beside an impact's record bytes.
#include <QByteArray>
#include <QString>

#include <cstdint>
#include <optional>

namespace grx {

struct ArchiveImpact {
  QString hash;      // SHA-256 of the 2196 record bytes, 64 lowercase hex digits
  QString takenAt;   // the tester's time stamp as "YYYY-MM-DD hh:mm:ss" (sorts as text)
  int seriesNumber = 0;
  int impactNumber = 0;
  QString material;  // the name fields as text
  QString object;
  QString namesFolded;  // both names case-folded, for the search by a part of a name
  double dynamicModulus = 0;
  double staticModulus = 0;
  std::optional<double> latitude;  // decimal degrees, none without a position
  std::optional<double> longitude;
};

// The columns of one record (kRecordSize bytes).
ArchiveImpact archiveImpactOf(const std::uint8_t* record);
QString recordHash(const std::uint8_t* record);
// The key of a series: the first 60 bits of its first impact's hash.
qint64 seriesKeyOf(const QString& hash);

// The text a search for part of a name compares: case-folded, so "грунт" finds "Грунт".
QString foldedName(const QString& text);

}  // namespace grx
