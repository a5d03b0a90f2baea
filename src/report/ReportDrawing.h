#pragma once
// A picture in a report cell, drawn as lines, marks and short texts in mm from the cell's top
// left corner. The program draws it when the layout asks (ReportDrawings); the painting path paints
// it on every page it paints, while the table-shaped and text exports leave pictures out.
#include "ReportTemplate.h"

#include <QColor>
#include <QPolygonF>
#include <QRectF>
#include <QVector>

namespace grx {

struct DrawnLine {
  QPolygonF points;  // a polyline
  QColor color = Qt::black;
  double widthMm = 0.25;
  bool dashed = false;
};

enum class MarkShape { Dot, Cross };

struct DrawnMark {
  QPointF at;
  MarkShape shape = MarkShape::Dot;
  QColor color = Qt::black;
  double sizeMm = 1.2;
};

struct DrawnText {
  QRectF rect;  // one line, centred vertically in the rectangle
  QString text;
  ReportFont font;
  HAlign hAlign = HAlign::Left;
  QColor color = Qt::black;
};

struct ReportDrawing {
  QVector<DrawnLine> lines;
  QVector<DrawnMark> marks;
  QVector<DrawnText> texts;
};

}  // namespace grx
