#pragma once
// What the map shows of its plane: the point of the plane at the middle of the widget and the
// scale in pixels per metre, one scale for both axes and north up. Zoom, pan and "fit all" are
// computed here without any window; the map view only paints and hands the mouse in.
#include "GeoPoints.h"
#include "platform/TextPair.h"

#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QString>

namespace grx {

class MapViewport {
 public:
  // From a whole continent down to a few centimetres per pixel: far enough to see any set, near
  // enough to part points a tester measured half a metre apart.
  static constexpr double kMinScale = 1e-5;  // pixels per metre
  static constexpr double kMaxScale = 200;

  QSizeF size() const { return size_; }
  // A new widget size keeps the point at the middle and the scale.
  void setSize(QSizeF size) { size_ = size; }
  QPointF centre() const { return centre_; }
  double scale() const { return scale_; }
  void setView(QPointF centre, double scale);

  // Plane metres (easting, northing) to widget pixels (y downwards) and back.
  QPointF toScreen(QPointF metres) const;
  QPointF toPlane(QPointF pixel) const;

  // Every point of `bounds` (plane metres) inside `area` (widget pixels: the widget less what the
  // legend and the scale bar cover). A single position (or several at one spot) is shown at the
  // area's middle, 100 m across its smaller side.
  void fit(const QRectF& bounds, const QRectF& area);
  // Zooms by `factor` (above 1: nearer) so that the plane point under `pixel` stays under it.
  void zoomAbout(QPointF pixel, double factor);
  // Moves the picture by a mouse drag of `delta` pixels.
  void panBy(QPointF delta);

 private:
  QSizeF size_{1, 1};
  QPointF centre_;
  double scale_ = 1;
};

// The scale bar's length: the longest round length (1, 2 or 5 times a power of ten metres) that
// is at most `maxMetres` long.
double scaleBarMetres(double maxMetres);
// "50 м", "200 m", "2 km", "0,5 m": kilometres from 1000 m on.
QString scaleBarText(double metres, Language language);

// The text beside a point on the map: the series label and its mean dynamic modulus, "12/4: 45,3".
QString mapLabelText(const GeoPoint& point);

}  // namespace grx
