#pragma once
// The map's plane: transverse Mercator in the UTM zone of the middle of the points, in metres
// (easting, northing), so distances and the scale bar are true and both axes share one scale.
#include <QPointF>
#include <QRectF>

#include <vector>

namespace grx {

struct GeoPoint;

class MapProjection {
 public:
  // The zone of the middle of the points' bounding box; zone 31 north for no points.
  explicit MapProjection(const std::vector<GeoPoint>& points);
  MapProjection(double centreLatitude, double centreLongitude);

  int zone() const { return zone_; }  // 1..60
  bool north() const { return north_; }
  double centralMeridian() const { return lon0_; }

  // Easting and northing in metres (UTM false easting 500 km; northing negative south of the
  // equator: one plane for the whole set, whatever the hemisphere).
  QPointF toMetres(double latitude, double longitude) const;
  QPointF toMetres(const GeoPoint& point) const;
  // Back from the plane: x = longitude, y = latitude, in degrees.
  QPointF toDegrees(QPointF metres) const;

 private:
  int zone_ = 31;
  bool north_ = true;
  double lon0_ = 3;
};

// An area in decimal degrees.
struct GeoArea {
  double south = 0, north = 0, west = 0, east = 0;
};
// The degrees a rectangle of the plane covers: its corners and the middles of its sides, so that
// the plane's slightly curved meridians and parallels stay inside.
GeoArea areaOf(const MapProjection& projection, const QRectF& plane);

// Every point on the plane, in the points' order.
std::vector<QPointF> projectPoints(const MapProjection& projection, const std::vector<GeoPoint>& points);
// The smallest rectangle holding every point (an empty one at the origin for no points).
QRectF boundsOf(const std::vector<QPointF>& plane);

}  // namespace grx
