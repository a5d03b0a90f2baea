#include "ArchiveImpact.h"

#include "data/ImpactRecord.h"
#include "data/TextForms.h"
#include "geo/GeoPoints.h"

#include <QCryptographicHash>

#include <cstdlib>

namespace grx {

QString recordHash(const std::uint8_t* record) {
  const QByteArrayView bytes(reinterpret_cast<const char*>(record), kRecordSize);
  return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex());
}

qint64 seriesKeyOf(const QString& hash) { return hash.left(15).toLongLong(nullptr, 16); }

QString foldedName(const QString& text) { return text.toCaseFolded(); }

ArchiveImpact archiveImpactOf(const std::uint8_t* record) {
  const ImpactRecordView r(record);
  ArchiveImpact a;
  a.hash = recordHash(record);
  a.takenAt = QString::asprintf("%04d-%02d-%02d %02d:%02d:%02d", 2000 + r.year(), r.month(), r.day(), r.hours(),
                                r.minutes(), r.seconds());
  a.seriesNumber = int(r.seriesNumber());
  a.impactNumber = int(r.impactNumber());
  // A name field the operator never set (length 0 or out of range) is an empty name, never none:
  // a null text would reach the database as NULL and refuse the whole import.
  a.material = nameText(r.soilNameField());
  a.object = nameText(r.objectNameField());
  if (a.material.isNull()) a.material = QLatin1String("");
  if (a.object.isNull()) a.object = QLatin1String("");
  a.namesFolded = foldedName(a.material) + u'\n' + foldedName(a.object);
  a.dynamicModulus = r.dynamicModulus();
  a.staticModulus = r.staticModulus();
  a.latitude = coordinateDegrees(r.latitude(), CoordinateKind::Latitude);
  a.longitude = coordinateDegrees(r.longitude(), CoordinateKind::Longitude);
  return a;
}

}  // namespace grx
