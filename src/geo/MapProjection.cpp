#include "MapProjection.h"

#include "GeoPoints.h"

#include <GeographicLib/TransverseMercator.hpp>
#include <GeographicLib/UTMUPS.hpp>

#include <algorithm>
#include <cmath>

namespace grx {
namespace {

constexpr double kFalseEasting = 500000.0;

int utmZone(double latitude, double longitude) {
  // GeographicLib's standard zone knows the Norwegian and Svalbard exceptions; near the poles it
  // answers with the polar stereographic "zone" 0, where the map keeps the longitude's UTM zone.
  int zone = 0;
  try {
    zone = GeographicLib::UTMUPS::StandardZone(latitude, longitude);
  } catch (const std::exception&) {
    zone = 0;
  }
  if (zone < 1 || zone > 60) zone = int(std::floor((longitude + 180.0) / 6.0)) % 60 + 1;
  return std::clamp(zone, 1, 60);
}

}  // namespace

MapProjection::MapProjection(double centreLatitude, double centreLongitude) {
  zone_ = utmZone(centreLatitude, centreLongitude);
  north_ = centreLatitude >= 0;
  lon0_ = 6.0 * zone_ - 183.0;
}

MapProjection::MapProjection(const std::vector<GeoPoint>& points) {
  if (points.empty()) {
    *this = MapProjection(0.0, 3.0);
    return;
  }
  double south = 90, north = -90, west = 180, east = -180;
  for (const GeoPoint& p : points) {
    south = std::min(south, p.latitude);
    north = std::max(north, p.latitude);
    west = std::min(west, p.longitude);
    east = std::max(east, p.longitude);
  }
  *this = MapProjection((south + north) / 2, (west + east) / 2);
}

QPointF MapProjection::toMetres(double latitude, double longitude) const {
  double x = 0, y = 0;
  GeographicLib::TransverseMercator::UTM().Forward(lon0_, latitude, longitude, x, y);
  return {x + kFalseEasting, y};
}

QPointF MapProjection::toMetres(const GeoPoint& point) const { return toMetres(point.latitude, point.longitude); }

QPointF MapProjection::toDegrees(QPointF metres) const {
  double latitude = 0, longitude = 0;
  GeographicLib::TransverseMercator::UTM().Reverse(lon0_, metres.x() - kFalseEasting, metres.y(), latitude, longitude);
  return {longitude, latitude};
}

GeoArea areaOf(const MapProjection& projection, const QRectF& plane) {
  GeoArea area{90, -90, 180, -180};
  const QRectF r = plane.normalized();
  for (const double x : {r.left(), r.center().x(), r.right()})
    for (const double y : {r.top(), r.center().y(), r.bottom()}) {
      const QPointF d = projection.toDegrees({x, y});
      area.south = std::min(area.south, d.y());
      area.north = std::max(area.north, d.y());
      area.west = std::min(area.west, d.x());
      area.east = std::max(area.east, d.x());
    }
  return area;
}

std::vector<QPointF> projectPoints(const MapProjection& projection, const std::vector<GeoPoint>& points) {
  std::vector<QPointF> plane;
  plane.reserve(points.size());
  for (const GeoPoint& p : points) plane.push_back(projection.toMetres(p));
  return plane;
}

QRectF boundsOf(const std::vector<QPointF>& plane) {
  if (plane.empty()) return {};
  double left = plane.front().x(), right = left, bottom = plane.front().y(), top = bottom;
  for (const QPointF& p : plane) {
    left = std::min(left, p.x());
    right = std::max(right, p.x());
    bottom = std::min(bottom, p.y());
    top = std::max(top, p.y());
  }
  return QRectF(QPointF(left, bottom), QPointF(right, top));
}

}  // namespace grx
