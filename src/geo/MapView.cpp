#include "MapView.h"

#include "GeoWriters.h"
#include "MapProjection.h"
#include "ui/ModalUi.h"
#include "control/ControlTexts.h"
#include "platform/Messages.h"
#include "platform/NumberFormat.h"
#include "platform/SafeFile.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDir>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QPainterPath>
#include <QToolTip>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>
#include <limits>

namespace grx {
namespace {

constexpr TextPair kNoPositions{"Нет координат для показа на карте", "No positions to show on the map"};
constexpr TextPair kCopy{"Копировать", "Copy"};
constexpr TextPair kSavePng{"Сохранить как PNG...", "Save as PNG..."};
constexpr TextPair kNotEvaluated{"без оценки", "not evaluated"};
constexpr TextPair kModulusLegend{"Дин. модуль, МПа", "Dyn. modulus, MPa"};
constexpr TextPair kNorth{"С", "N"};

// Markers strong enough to stand out on the pale ground; the tables' verdict colours are too pale
// for a dot of a few pixels.
const QColor kPassColour(40, 160, 60);
const QColor kFailColour(215, 40, 40);
const QColor kNoneColour(150, 150, 150);
const QColor kGround(250, 250, 246);
const QColor kHighlight(20, 60, 200);

constexpr int kMarkerRadius = 5;
constexpr int kReach = 8;          // pixels around a point that still hit it
constexpr int kFitMargin = 28;     // pixels kept free around the points when everything is shown
constexpr int kCell = 4;           // pixels of the label grid's cells
constexpr int kScaleSteps = 32;    // colours of the modulus scale
constexpr double kWheelStep = 1.25;  // zoom of one wheel notch

// The modulus scale from low (dark violet) through teal to high (yellow): every step differs in
// lightness, so the order reads in grey and for colour-blind eyes.
QColor scaleColour(double fraction) {
  const QColor stops[3] = {QColor(68, 1, 84), QColor(33, 145, 140), QColor(253, 231, 37)};
  const double f = std::clamp(fraction, 0.0, 1.0) * 2;
  const int i = std::min(int(f), 1);
  const double t = f - i;
  const QColor& a = stops[i];
  const QColor& b = stops[i + 1];
  return QColor(int(a.red() + (b.red() - a.red()) * t), int(a.green() + (b.green() - a.green()) * t),
                int(a.blue() + (b.blue() - a.blue()) * t));
}

QColor verdictMarkerColour(Verdict v) {
  return v == Verdict::Pass ? kPassColour : v == Verdict::Fail ? kFailColour : kNoneColour;
}

// Ctrl+C in any keyboard layout: a layout that types no Latin letter there (Russian: "с") is matched
// by the key's position, as the tables do.
bool isCopyKey(const QKeyEvent* event) {
  if (!(event->modifiers() & Qt::ControlModifier)) return false;
  if (event->key() == Qt::Key_C || event->matches(QKeySequence::Copy)) return true;
  if (event->key() >= Qt::Key_A && event->key() <= Qt::Key_Z) return false;
#ifdef Q_OS_WIN
  return event->nativeVirtualKey() == 0x43;
#else
  return event->nativeScanCode() == 54;
#endif
}

}  // namespace

MapView::MapView(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("MapView"));
  setMouseTracking(false);
  setFocusPolicy(Qt::StrongFocus);
  setAttribute(Qt::WA_OpaquePaintEvent);
  menu_ = new QMenu(this);
  copyAction_ = menu_->addAction(QString(), this, &MapView::copyPicture);
  saveAction_ = menu_->addAction(QString(), this, &MapView::savePicture);
}

void MapView::setDialogs(ModalUi* ui, std::function<QString()> folder) {
  ui_ = ui;
  folder_ = std::move(folder);
}

void MapView::setPoints(std::vector<GeoPoint> points, bool byVerdict) {
  const QRectF oldBounds = bounds_;
  const bool hadPoints = !points_.empty();
  points_ = std::move(points);
  byVerdict_ = byVerdict;
  projection_ = MapProjection(points_);
  plane_ = projectPoints(projection_, points_);
  bounds_ = boundsOf(plane_);
  labels_.clear();
  labels_.reserve(points_.size());
  for (const GeoPoint& p : points_) labels_.push_back(mapLabelText(p));
  labelWidths_.clear();  // measured with the painter's font
  prepareColours();
  setCurrentSeries(currentSeries_);
  if (!hadPoints || fitted_ || bounds_ != oldBounds) fitAll();
  else update();
}

void MapView::setCurrentSeries(std::optional<std::uint32_t> k) {
  currentSeries_ = k;
  current_ = -1;
  if (k) {
    // Points are in table order: a binary search finds the series.
    const auto it = std::lower_bound(points_.begin(), points_.end(), *k,
                                     [](const GeoPoint& p, std::uint32_t series) { return p.series < series; });
    if (it != points_.end() && it->series == *k) current_ = int(it - points_.begin());
  }
  update();
}

void MapView::prepareColours() {
  palette_.clear();
  markers_.clear();
  colourIndex_.assign(points_.size(), 0);
  if (byVerdict_) {
    palette_ = {kPassColour, kFailColour, kNoneColour};
    for (std::size_t i = 0; i < points_.size(); ++i) {
      const Verdict v = points_[i].verdict;
      colourIndex_[i] = v == Verdict::Pass ? 0 : v == Verdict::Fail ? 1 : 2;
    }
    return;
  }
  lowest_ = std::numeric_limits<double>::infinity();
  highest_ = -lowest_;
  for (const GeoPoint& p : points_) {
    if (!std::isfinite(p.dynamic)) continue;
    lowest_ = std::min(lowest_, p.dynamic);
    highest_ = std::max(highest_, p.dynamic);
  }
  for (int s = 0; s < kScaleSteps; ++s) palette_.push_back(scaleColour(double(s) / (kScaleSteps - 1)));
  palette_.push_back(kNoneColour);  // a modulus that is no number
  const double span = highest_ - lowest_;
  for (std::size_t i = 0; i < points_.size(); ++i) {
    const double v = points_[i].dynamic;
    if (!std::isfinite(v)) colourIndex_[i] = kScaleSteps;
    else colourIndex_[i] = std::uint8_t(std::lround(span > 0 ? (v - lowest_) / span * (kScaleSteps - 1) : (kScaleSteps - 1) / 2.0));
  }
}

// One small picture per colour, drawn once: a map of thousands of points then costs one image copy
// a point.
void MapView::prepareMarkers(double pixelRatio) {
  if (markers_.size() == palette_.size() && markerRatio_ == pixelRatio) return;
  markers_.clear();
  markerRatio_ = pixelRatio;
  const int side = 2 * kMarkerRadius + 2;
  for (const QColor& colour : palette_) {
    QImage image(QSize(side, side) * pixelRatio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(pixelRatio);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(40, 40, 40), 1));
    p.setBrush(colour);
    p.drawEllipse(QPointF(side / 2.0, side / 2.0), kMarkerRadius, kMarkerRadius);
    markers_.push_back(std::move(image));
  }
}

void MapView::fitAll() {
  fitted_ = true;
  view_.setSize(size());
  // The points keep clear of the legend above them and the scale bar below.
  const int top = legendRect(QFontMetrics(font())).bottom() + 10;
  const double side = std::min(double(kFitMargin), width() / 8.0);
  const QRectF area(side, top, width() - 2 * side, height() - top - kFitMargin);
  view_.fit(bounds_, area.height() > 20 ? area : QRectF(rect()).adjusted(side, side, -side, -side));
  update();
}

std::optional<GeoArea> MapView::visibleArea() const {
  if (points_.empty()) return std::nullopt;
  return areaOf(projection_, QRectF(view_.toPlane(QPointF(0, 0)), view_.toPlane(QPointF(width(), height()))));
}

void MapView::syncSize() {
  if (view_.size() == QSizeF(size())) return;
  if (fitted_) fitAll();
  else view_.setSize(size());
}

int MapView::pointAt(QPointF pixel) const {
  int best = -1;
  double bestDistance = kReach * kReach;
  for (std::size_t i = 0; i < plane_.size(); ++i) {
    const QPointF d = view_.toScreen(plane_[i]) - pixel;
    const double distance = d.x() * d.x() + d.y() * d.y();
    if (distance <= bestDistance) {
      bestDistance = distance;
      best = int(i);
    }
  }
  return best;
}

QString MapView::message() const { return points_.empty() ? kNoPositions.text() : QString(); }

void MapView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  paintMap(painter);
}

void MapView::paintMap(QPainter& painter) {
  syncSize();
  painter.fillRect(rect(), kGround);
  painter.setFont(font());
  if (points_.empty()) {
    painter.setPen(QColor(90, 90, 90));
    painter.drawText(rect().adjusted(8, 8, -8, -8), Qt::AlignCenter | Qt::TextWordWrap, message());
    return;
  }
  paintPoints(painter);
  paintLabels(painter);
  painter.setRenderHint(QPainter::Antialiasing);
  paintLegend(painter);
  paintScaleBar(painter);
  paintNorthArrow(painter);
}

void MapView::paintPoints(QPainter& painter) {
  const QPaintDevice* device = painter.device();
  prepareMarkers(device ? device->devicePixelRatioF() : 1.0);
  const double half = kMarkerRadius + 1;
  const QRectF sight = QRectF(rect()).adjusted(-half, -half, half, half);
  screen_.resize(plane_.size());
  constexpr double kNone = std::numeric_limits<double>::quiet_NaN();
  for (std::size_t i = 0; i < plane_.size(); ++i) {
    const QPointF at = view_.toScreen(plane_[i]);
    if (!sight.contains(at)) {
      screen_[i] = QPointF(kNone, kNone);
      continue;
    }
    screen_[i] = at;
    painter.drawImage(QPointF(at.x() - half, at.y() - half), markers_[colourIndex_[i]]);
  }
  if (current_ >= 0 && !std::isnan(screen_[current_].x())) {
    const QPointF at = screen_[current_];
    painter.drawImage(QPointF(at.x() - half, at.y() - half), markers_[colourIndex_[current_]]);  // over its neighbours
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(kHighlight, 2.5));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(at, kMarkerRadius + 4, kMarkerRadius + 4);
    painter.restore();
  }
}

bool MapView::claim(const QRectF& rect, bool take) {
  const int left = std::max(int(rect.left()) / kCell, 0);
  const int right = std::min(int(rect.right()) / kCell, gridColumns_ - 1);
  const int top = std::max(int(rect.top()) / kCell, 0);
  const int bottom = std::min(int(rect.bottom()) / kCell, gridRows_ - 1);
  if (!take) {
    for (int r = top; r <= bottom; ++r)
      for (int c = left; c <= right; ++c)
        if (occupied_[std::size_t(r) * gridColumns_ + c]) return false;
    return true;
  }
  for (int r = top; r <= bottom; ++r)
    for (int c = left; c <= right; ++c) occupied_[std::size_t(r) * gridColumns_ + c] = 1;
  return true;
}

// A label goes right of its point, or left of it, where no other label, point or legend is; a
// label that finds no room is left out (zooming in makes room). The current series is labelled
// first.
void MapView::paintLabels(QPainter& painter) {
  const QFontMetrics metrics = painter.fontMetrics();
  if (labelWidths_.size() != labels_.size()) {
    labelWidths_.clear();
    labelWidths_.reserve(labels_.size());
    for (const QString& label : labels_) labelWidths_.push_back(metrics.horizontalAdvance(label));
  }
  gridColumns_ = width() / kCell + 1;
  gridRows_ = height() / kCell + 1;
  occupied_.assign(std::size_t(gridColumns_) * gridRows_, 0);
  const QRectF inside(rect());
  claim(legendRect(metrics), true);
  for (const QPointF& at : screen_)
    if (!std::isnan(at.x()) && inside.contains(at))
      claim(QRectF(at.x() - kMarkerRadius + 2, at.y() - kMarkerRadius + 2, 2 * kMarkerRadius - 4, 2 * kMarkerRadius - 4), true);

  const int height = metrics.height();
  const int ascent = metrics.ascent();
  const QColor halo(255, 255, 255, 200);
  painter.setPen(QColor(20, 20, 20));
  auto place = [&](std::size_t i) {
    const QPointF at = screen_[i];
    if (std::isnan(at.x())) return;
    const double w = labelWidths_[i] + 4;
    // A cell and more away from the point, so that its own marker never blocks it.
    const QRectF right(at.x() + kMarkerRadius + 3, at.y() - height / 2.0, w, height);
    const QRectF left(at.x() - kMarkerRadius - 3 - w, right.top(), w, height);
    for (const QRectF& box : {right, left}) {
      if (!inside.contains(box) || !claim(box, false)) continue;
      claim(box, true);
      painter.fillRect(box, halo);
      painter.drawText(QPointF(box.left() + 2, box.top() + ascent), labels_[i]);
      return;
    }
  };
  if (current_ >= 0) place(std::size_t(current_));
  for (std::size_t i = 0; i < screen_.size(); ++i)
    if (int(i) != current_) place(i);
}

QRect MapView::legendRect(const QFontMetrics& metrics) const {
  const int line = metrics.height();
  if (byVerdict_) {
    int width = 0;
    for (const QString& text : {kVerdictPass.text(), kVerdictFail.text(), kNotEvaluated.text()})
      width = std::max(width, metrics.horizontalAdvance(text));
    return QRect(6, 6, width + 2 * kMarkerRadius + 16, 3 * line + 8);
  }
  const int width = std::max(metrics.horizontalAdvance(kModulusLegend.text()), 110);
  return QRect(6, 6, width + 12, 2 * line + 18);
}

void MapView::paintLegend(QPainter& painter) {
  const QFontMetrics metrics = painter.fontMetrics();
  const QRect box = legendRect(metrics);
  const int line = metrics.height();
  painter.setPen(QColor(160, 160, 160));
  painter.setBrush(QColor(255, 255, 255, 225));
  painter.drawRect(QRectF(box).adjusted(0.5, 0.5, -0.5, -0.5));
  painter.setPen(QColor(20, 20, 20));
  if (byVerdict_) {
    const Verdict verdicts[3] = {Verdict::Pass, Verdict::Fail, Verdict::None};
    const QString texts[3] = {kVerdictPass.text(), kVerdictFail.text(), kNotEvaluated.text()};
    for (int i = 0; i < 3; ++i) {
      const int top = box.top() + 4 + i * line;
      painter.setPen(QColor(40, 40, 40));
      painter.setBrush(verdictMarkerColour(verdicts[i]));
      painter.drawEllipse(QPointF(box.left() + 6 + kMarkerRadius, top + line / 2.0), kMarkerRadius, kMarkerRadius);
      painter.drawText(QPointF(box.left() + 2 * kMarkerRadius + 12, top + metrics.ascent()), texts[i]);
    }
    return;
  }
  painter.drawText(QPointF(box.left() + 6, box.top() + 3 + metrics.ascent()), kModulusLegend.text());
  const QRectF bar(box.left() + 6, box.top() + 4 + line, box.width() - 12, 10);
  QLinearGradient gradient(bar.topLeft(), bar.topRight());
  for (int s = 0; s <= 4; ++s) gradient.setColorAt(s / 4.0, scaleColour(s / 4.0));
  painter.fillRect(bar, gradient);
  const double baseline = bar.bottom() + 3 + metrics.ascent();
  const QString low = std::isfinite(lowest_) ? formatFloat(lowest_, u"0.0") : QStringLiteral("-");
  const QString high = std::isfinite(highest_) ? formatFloat(highest_, u"0.0") : QStringLiteral("-");
  painter.drawText(QPointF(bar.left(), baseline), low);
  painter.drawText(QPointF(bar.right() - metrics.horizontalAdvance(high), baseline), high);
}

void MapView::paintScaleBar(QPainter& painter) {
  const double longest = std::clamp(width() / 4.0, 40.0, 160.0);
  const double metres = scaleBarMetres(longest / view_.scale());
  const double length = metres * view_.scale();
  if (!(length > 1)) return;
  const QFontMetrics metrics = painter.fontMetrics();
  const QString text = scaleBarText(metres, currentLanguage());
  const double left = 10;
  const double bottom = height() - 8;
  const QRectF back(left - 4, bottom - 8 - metrics.height(), std::max(length, double(metrics.horizontalAdvance(text))) + 8,
                    metrics.height() + 12);
  painter.fillRect(back, QColor(255, 255, 255, 200));
  painter.setPen(QPen(QColor(20, 20, 20), 2));
  painter.drawLine(QPointF(left, bottom), QPointF(left + length, bottom));
  painter.drawLine(QPointF(left, bottom - 5), QPointF(left, bottom));
  painter.drawLine(QPointF(left + length, bottom - 5), QPointF(left + length, bottom));
  painter.drawText(QPointF(left, bottom - 6 - metrics.descent()), text);
}

void MapView::paintNorthArrow(QPainter& painter) {
  const QFontMetrics metrics = painter.fontMetrics();
  const double x = width() - 16;
  const double top = 8 + metrics.height();
  QPainterPath arrow;
  arrow.moveTo(x, top);
  arrow.lineTo(x + 7, top + 20);
  arrow.lineTo(x, top + 15);
  arrow.lineTo(x - 7, top + 20);
  arrow.closeSubpath();
  painter.setPen(QPen(QColor(20, 20, 20), 1));
  painter.setBrush(QColor(20, 20, 20));
  painter.drawPath(arrow);
  const QString north = kNorth.text();
  painter.drawText(QPointF(x - metrics.horizontalAdvance(north) / 2.0, top - 3 - metrics.descent()), north);
}

QImage MapView::picture() {
  const double ratio = devicePixelRatioF();
  QImage image(size() * ratio, QImage::Format_ARGB32_Premultiplied);
  image.setDevicePixelRatio(ratio);
  QPainter painter(&image);
  paintMap(painter);
  return image;
}

void MapView::copyPicture() { QApplication::clipboard()->setImage(picture()); }

void MapView::savePicture() {
  if (!ui_) return;
  ModalUi::FileDialog dialog;
  dialog.title = kSaveAsTitle.text();
  dialog.fileName = (folder_ ? folder_() : QString()) + QStringLiteral("map.png");
  dialog.filters = {QStringLiteral("PNG (*.png)")};
  dialog.defaultSuffix = QStringLiteral("png");
  dialog.save = true;
  const std::optional<QString> chosen = ui_->fileName(this, dialog);
  if (!chosen) return;
  QString path = *chosen;
  if (!path.endsWith(QStringLiteral(".png"), Qt::CaseInsensitive)) path += QStringLiteral(".png");
  const QImage image = picture();
  if (writeFileSafely(path, [&image](QIODevice& device) { return image.save(&device, "PNG"); }) != SafeWriteResult::Ok)
    ui_->message(this, {kAppTitle.text(), cannotCreateFileText(QDir::toNativeSeparators(path), currentLanguage()),
                        ModalUi::Icon::Warning, ModalUi::Ok, ModalUi::Ok});
}

bool MapView::event(QEvent* event) {
  if (event->type() == QEvent::ToolTip) {
    const auto* help = static_cast<QHelpEvent*>(event);
    const int i = pointAt(help->pos());
    if (i >= 0) QToolTip::showText(help->globalPos(), geoPointDescription(points_[std::size_t(i)], currentLanguage()), this);
    else QToolTip::hideText();
    return true;
  }
  // Ctrl+C belongs to the map while it has the focus, whatever the window's shortcuts.
  if (event->type() == QEvent::ShortcutOverride && isCopyKey(static_cast<QKeyEvent*>(event))) {
    event->accept();
    return true;
  }
  return QWidget::event(event);
}

void MapView::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  syncSize();
}

void MapView::wheelEvent(QWheelEvent* event) {
  const int notches = event->angleDelta().y();
  if (notches == 0 || points_.empty()) return;
  syncSize();
  view_.zoomAbout(event->position(), std::pow(kWheelStep, notches / 120.0));
  fitted_ = false;
  update();
  event->accept();
  emit viewChanged();
}

void MapView::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
  pressed_ = true;
  dragging_ = false;
  pressPos_ = lastPos_ = event->position();
}

void MapView::mouseMoveEvent(QMouseEvent* event) {
  if (!pressed_ || !(event->buttons() & Qt::LeftButton)) return;
  const QPointF at = event->position();
  if (!dragging_ && (at - pressPos_).manhattanLength() < QApplication::startDragDistance()) return;
  if (!dragging_) setCursor(Qt::ClosedHandCursor);
  dragging_ = true;
  view_.panBy(at - lastPos_);
  lastPos_ = at;
  fitted_ = false;
  update();
}

void MapView::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || !pressed_) return QWidget::mouseReleaseEvent(event);
  pressed_ = false;
  if (dragging_) {
    dragging_ = false;
    unsetCursor();
    emit viewChanged();
    return;
  }
  const int i = pointAt(event->position());
  if (i >= 0) emit seriesClicked(points_[std::size_t(i)].series);
}

void MapView::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && pointAt(event->position()) < 0) {
    fitAll();
    emit viewChanged();
  }
}

void MapView::keyPressEvent(QKeyEvent* event) {
  if (isCopyKey(event)) {
    copyPicture();
    event->accept();
    return;
  }
  QWidget::keyPressEvent(event);
}

void MapView::contextMenuEvent(QContextMenuEvent* event) {
  copyAction_->setText(kCopy.text());
  saveAction_->setText(kSavePng.text());
  menu_->popup(event->globalPos());
}

}  // namespace grx
