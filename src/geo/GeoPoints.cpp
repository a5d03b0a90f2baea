#include "GeoPoints.h"

#include <QStringList>

namespace grx {

std::optional<double> coordinateDegrees(std::int32_t word, CoordinateKind kind) {
  if (word == 0) return std::nullopt;
  const std::uint32_t m = word < 0 ? std::uint32_t(-std::int64_t(word)) : std::uint32_t(word);
  const std::uint32_t high = m >> 16;
  const std::uint32_t degrees = high / 100;
  const std::uint32_t minutes = high % 100;
  if (degrees > (kind == CoordinateKind::Latitude ? 90u : 180u)) return std::nullopt;
  const double value = degrees + (minutes + (m & 0xFFFF) / 65536.0) / 60.0;
  return word < 0 ? -value : value;
}

namespace {

QDateTime recordTime(const ImpactRecordView& r) {
  const QDate date(2000 + r.year(), r.month(), r.day());
  const QTime time(r.hours(), r.minutes(), r.seconds());
  if (!date.isValid() || !time.isValid()) return {};
  // The tester's own clock time: kept as UTC only so that no time zone rule of this computer moves it.
  return QDateTime(date, time, Qt::UTC);
}

}  // namespace

GeoPoints seriesPositions(const MeasurementSet& set, const ControlResult* control) {
  GeoPoints out;
  const std::uint32_t series = set.seriesCount();
  out.points.reserve(series);
  for (std::uint32_t k = 0; k < series; ++k) {
    const ImpactRecordView first = set.view(set.seriesStart(k));
    const SeriesSummary s = set.seriesSummary(k);
    QString label = QString::number(s.seriesNumber) + u'/' + QString::number(s.runLength);
    const auto latitude = coordinateDegrees(first.latitude(), CoordinateKind::Latitude);
    const auto longitude = coordinateDegrees(first.longitude(), CoordinateKind::Longitude);
    if (!latitude || !longitude) {
      out.withoutPosition.push_back(std::move(label));
      continue;
    }
    GeoPoint p;
    p.series = k;
    p.label = std::move(label);
    p.time = recordTime(first);
    p.impacts = set.seriesLength(k);
    p.dynamic = s.meanDynamicModulus;
    p.statics = s.meanStaticModulus;
    p.sv = s.svRatio;
    p.material = nameText(first.soilNameField());
    p.object = nameText(first.objectNameField());
    if (control && k < control->points.size()) p.verdict = control->points[k].verdict;
    p.latitude = *latitude;
    p.longitude = *longitude;
    out.points.push_back(std::move(p));
  }
  return out;
}

QString withoutPositionText(const GeoPoints& points, Language language) {
  if (points.withoutPosition.empty()) return {};
  QStringList labels;
  for (const QString& label : points.withoutPosition) labels << label;
  const QString n = QString::number(points.withoutPosition.size());
  const QString list = labels.join(QStringLiteral(", "));
  if (language == Language::Russian) return QStringLiteral("Серий без координат: ") + n + QStringLiteral(" (") + list + u')';
  return n + QLatin1String(points.withoutPosition.size() == 1 ? " series has no position: " : " series have no position: ") +
         list;
}

}  // namespace grx
