#pragma once
// The positions of the series as files for GIS programs and web maps: GeoJSON (RFC 7946), KML 2.2,
// GPX 1.1 and a CSV table. One point per series that has a position.
#include "GeoPoints.h"
#include "platform/SafeFile.h"
#include "platform/TextPair.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace grx {

enum class GeoFormat { GeoJson, Kml, Gpx, Csv };

// The format of a file name's extension (.geojson, .kml, .gpx, .csv; any case); none otherwise.
std::optional<GeoFormat> geoFormatOfPath(const QString& path);

// A FeatureCollection of Points, [longitude, latitude] with 7 decimals, the properties "series",
// "date", "impacts", "dyn_modulus_mpa", "stat_modulus_mpa", "sv_ms", "material", "object",
// "verdict" in this order; the moduli and s/v rounded as the series table shows them (1, 1 and 3
// decimals); a value that is not finite, an invalid date and no verdict are null.
QByteArray geoJson(const std::vector<GeoPoint>& points);
// One Placemark per series, its description in the language, styled by its verdict.
QByteArray geoKml(const std::vector<GeoPoint>& points, Language language);
// One waypoint per series: name, time, desc.
QByteArray geoGpx(const std::vector<GeoPoint>& points, Language language);
// UTF-8, comma separated, RFC 4180 quoting, CR LF: the GeoJSON keys, then latitude and longitude.
// The names are on one line and never start a formula (platform/TextCells.h).
QByteArray geoCsv(const std::vector<GeoPoint>& points);

// The values of a series as lines "name: value" in the language, as the KML and GPX descriptions
// hold them (and the map's tooltip shows them).
QString geoPointDescription(const GeoPoint& point, Language language);

QByteArray geoFile(GeoFormat format, const std::vector<GeoPoint>& points, Language language);
// Written whole through the safe write, or not at all.
SafeWriteResult writeGeoFile(const QString& path, GeoFormat format, const std::vector<GeoPoint>& points, Language language);

}  // namespace grx
