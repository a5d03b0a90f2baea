#include "MapViewport.h"

#include "platform/NumberFormat.h"

#include <algorithm>
#include <cmath>

namespace grx {

void MapViewport::setView(QPointF centre, double scale) {
  centre_ = centre;
  scale_ = std::clamp(scale, kMinScale, kMaxScale);
}

QPointF MapViewport::toScreen(QPointF metres) const {
  return {size_.width() / 2 + (metres.x() - centre_.x()) * scale_, size_.height() / 2 - (metres.y() - centre_.y()) * scale_};
}

QPointF MapViewport::toPlane(QPointF pixel) const {
  return {centre_.x() + (pixel.x() - size_.width() / 2) / scale_, centre_.y() - (pixel.y() - size_.height() / 2) / scale_};
}

void MapViewport::fit(const QRectF& bounds, const QRectF& area) {
  const double width = std::max(area.width(), 1.0);
  const double height = std::max(area.height(), 1.0);
  constexpr double kSpotAcross = 100;  // metres
  double scale = std::min(width, height) / kSpotAcross;
  if (bounds.width() > 0 || bounds.height() > 0) {
    scale = std::min(bounds.width() > 0 ? width / bounds.width() : kMaxScale,
                     bounds.height() > 0 ? height / bounds.height() : kMaxScale);
  }
  setView(bounds.center(), scale);
  // The middle of the points goes to the middle of the area.
  centre_ += QPointF((size_.width() / 2 - area.center().x()) / scale_, (area.center().y() - size_.height() / 2) / scale_);
}

void MapViewport::zoomAbout(QPointF pixel, double factor) {
  const QPointF held = toPlane(pixel);
  scale_ = std::clamp(scale_ * factor, kMinScale, kMaxScale);
  // The point under the cursor goes back under it at the new scale.
  centre_ = {held.x() - (pixel.x() - size_.width() / 2) / scale_, held.y() + (pixel.y() - size_.height() / 2) / scale_};
}

void MapViewport::panBy(QPointF delta) { centre_ += QPointF(-delta.x() / scale_, delta.y() / scale_); }

double scaleBarMetres(double maxMetres) {
  if (!(maxMetres > 0)) return 0;
  const double power = std::pow(10.0, std::floor(std::log10(maxMetres)));
  for (const double step : {5.0, 2.0, 1.0})
    if (step * power <= maxMetres * (1 + 1e-9)) return step * power;
  return power;
}

QString scaleBarText(double metres, Language language) {
  const bool ru = language == Language::Russian;
  const bool km = metres >= 1000;
  const double value = km ? metres / 1000 : metres;
  QString number;
  if (value >= 1) {
    number = QString::number(std::llround(value));
  } else {
    // One decimal for 0,5 m, two for 0,05 m: the bar's lengths have one significant digit.
    const int decimals = std::clamp(int(std::ceil(-std::log10(value) - 1e-9)), 1, 6);
    number = formatFloat(value, QString(QStringLiteral("0.") + QString(decimals, u'0')));
  }
  return number + u' ' + (km ? (ru ? QStringLiteral("км") : QStringLiteral("km")) : (ru ? QStringLiteral("м") : QStringLiteral("m")));
}

QString mapLabelText(const GeoPoint& point) { return point.label + QStringLiteral(": ") + formatFloat(point.dynamic, u"0.0"); }

}  // namespace grx
