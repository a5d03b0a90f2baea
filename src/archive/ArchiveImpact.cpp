#include "ArchiveImpact.h"

#include "data/ImpactRecord.h"
#include "data/TextForms.h"

#include <QCryptographicHash>

#include <cstdlib>

namespace grx {

QString recordHash(const std::uint8_t* record) {
  const QByteArrayView bytes(reinterpret_cast<const char*>(record), kRecordSize);
  return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex());
}

qint64 seriesKeyOf(const QString& hash) { return hash.left(15).toLongLong(nullptr, 16); }

std::optional<double> decimalDegrees(std::int32_t word, int limitDegrees) {
  if (word == 0) return std::nullopt;
  const std::uint32_t m = word < 0 ? std::uint32_t(-std::int64_t(word)) : std::uint32_t(word);
  const std::uint32_t degrees = (m >> 16) / 100;
  const std::uint32_t minutes = (m >> 16) % 100;
  if (degrees > std::uint32_t(limitDegrees)) return std::nullopt;
  const double value = degrees + (minutes + (m & 0xFFFF) / 65536.0) / 60.0;
  return word < 0 ? -value : value;
}

QString foldedName(const QString& text) { return text.toCaseFolded(); }

ArchiveImpact archiveImpactOf(const std::uint8_t* record) {
  const ImpactRecordView r(record);
  ArchiveImpact a;
  a.hash = recordHash(record);
  a.takenAt = QString::asprintf("%04d-%02d-%02d %02d:%02d:%02d", 2000 + r.year(), r.month(), r.day(), r.hours(),
                                r.minutes(), r.seconds());
  a.seriesNumber = int(r.seriesNumber());
  a.impactNumber = int(r.impactNumber());
  a.material = nameText(r.soilNameField());
  a.object = nameText(r.objectNameField());
  a.namesFolded = foldedName(a.material) + u'\n' + foldedName(a.object);
  a.dynamicModulus = r.dynamicModulus();
  a.staticModulus = r.staticModulus();
  a.latitude = decimalDegrees(r.latitude(), 90);
  a.longitude = decimalDegrees(r.longitude(), 180);
  return a;
}

}  // namespace grx
