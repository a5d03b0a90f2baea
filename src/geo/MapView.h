#pragma once
// The map of the test points: every series with a position, on the plane of MapProjection (metres,
// one scale for both axes, north up), coloured by its compaction verdict or, without requirements,
// by its mean dynamic modulus; a scale bar, a north arrow and a legend. The wheel zooms about the
// cursor, a drag pans, a double click on empty ground shows every point again; a click on a point
// reports its series. Ctrl+C and the context menu copy the picture or save it as PNG.
#include "GeoPoints.h"
#include "MapProjection.h"
#include "MapViewport.h"

#include <QImage>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

class QAction;
class QMenu;

namespace grx {

class ModalUi;

class MapView : public QWidget {
  Q_OBJECT
 public:
  explicit MapView(QWidget* parent = nullptr);

  // The series with a position, in table order. byVerdict: coloured by their verdicts (there are
  // requirements), else by a colour scale of the dynamic modulus. The view stays where the user
  // put it while the points stay where they are (a language switch, a new verdict); other points
  // are shown whole.
  void setPoints(std::vector<GeoPoint> points, bool byVerdict);
  const std::vector<GeoPoint>& points() const { return points_; }
  // The series table's current series, drawn highlighted; none: no highlight.
  void setCurrentSeries(std::optional<std::uint32_t> k);
  int currentPoint() const { return current_; }  // index into points(), -1: none
  // What the map says in place of points: empty while it has points to show.
  QString message() const;
  // The save dialog and its messages, and the folder it proposes.
  void setDialogs(ModalUi* ui, std::function<QString()> folder);

  // Every point in sight.
  void fitAll();
  // The degrees the map shows now; none without points.
  std::optional<GeoArea> visibleArea() const;
  const MapViewport& viewport() const { return view_; }
  // Where point i (of points()) is on the widget.
  QPointF pointPixel(std::size_t i) const { return view_.toScreen(plane_[i]); }
  // The point within reach of the pixel (the nearest one), or -1.
  int pointAt(QPointF pixel) const;

  // The whole map at the widget's size, for the screen, the clipboard and the PNG file.
  void paintMap(QPainter& painter);
  QImage picture();
  void copyPicture();
  void savePicture();

 signals:
  void seriesClicked(std::uint32_t k);
  // The user zoomed, panned or showed every point again.
  void viewChanged();

 protected:
  bool event(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  void syncSize();
  void prepareColours();
  void prepareMarkers(double pixelRatio);
  void paintPoints(QPainter& painter);
  void paintLabels(QPainter& painter);
  void paintScaleBar(QPainter& painter);
  void paintNorthArrow(QPainter& painter);
  QRect legendRect(const QFontMetrics& metrics) const;
  void paintLegend(QPainter& painter);
  // The cells of the label grid that the rectangle covers are free (and are taken when `take`).
  bool claim(const QRectF& rect, bool take);

  std::vector<GeoPoint> points_;
  MapProjection projection_{0.0, 3.0};
  std::vector<QPointF> plane_;
  QRectF bounds_;
  std::vector<QString> labels_;
  std::vector<int> labelWidths_;
  std::vector<std::uint8_t> colourIndex_;  // into palette_
  std::vector<QColor> palette_;
  std::vector<QImage> markers_;  // one per palette colour
  double markerRatio_ = 0;
  bool byVerdict_ = false;
  double lowest_ = 0;
  double highest_ = 0;
  std::optional<std::uint32_t> currentSeries_;
  int current_ = -1;  // index into points_

  MapViewport view_;
  bool fitted_ = true;  // follows the widget's size until the user zooms or pans
  bool pressed_ = false;
  bool dragging_ = false;
  QPointF pressPos_;
  QPointF lastPos_;

  // Reused from one paint to the next: the points' pixels (NaN: out of sight) and the label grid.
  std::vector<QPointF> screen_;
  std::vector<std::uint8_t> occupied_;
  int gridColumns_ = 0;
  int gridRows_ = 0;

  ModalUi* ui_ = nullptr;
  std::function<QString()> folder_;
  QMenu* menu_ = nullptr;
  QAction* copyAction_ = nullptr;
  QAction* saveAction_ = nullptr;
};

}  // namespace grx
