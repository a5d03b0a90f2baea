#include "Icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace grx {
namespace {

const QColor kInk(40, 48, 64);
const QColor kBlue(44, 110, 200);
const QColor kGreen(40, 150, 70);
const QColor kRed(200, 50, 40);
const QColor kPaper(250, 250, 245);
const QColor kYellow(236, 190, 70);

void sheet(QPainter& p, const QRectF& r) {
  p.setPen(QPen(kInk, 1));
  p.setBrush(kPaper);
  p.drawRect(r);
}

void grid(QPainter& p, const QRectF& r, int rows, int columns) {
  sheet(p, r);
  for (int i = 1; i < rows; ++i) p.drawLine(QPointF(r.left(), r.top() + i * r.height() / rows), QPointF(r.right(), r.top() + i * r.height() / rows));
  for (int i = 1; i < columns; ++i) p.drawLine(QPointF(r.left() + i * r.width() / columns, r.top()), QPointF(r.left() + i * r.width() / columns, r.bottom()));
}

void curve(QPainter& p, const QRectF& r, const QColor& color) {
  QPainterPath path(QPointF(r.left(), r.center().y()));
  path.cubicTo(QPointF(r.left() + r.width() * 0.3, r.bottom() + 2), QPointF(r.left() + r.width() * 0.6, r.top() - 2),
               QPointF(r.right(), r.center().y()));
  p.setPen(QPen(color, 1.6));
  p.setBrush(Qt::NoBrush);
  p.drawPath(path);
}

void letter(QPainter& p, const QRectF& r, const QString& text, const QColor& color, int size = 10) {
  QFont f = p.font();
  f.setPixelSize(size);
  f.setBold(true);
  p.setFont(f);
  p.setPen(color);
  p.drawText(r, Qt::AlignCenter, text);
}

void stripes(QPainter& p, std::initializer_list<QColor> colors) {
  const int h = 12 / int(colors.size());
  int y = 2;
  for (const QColor& c : colors) {
    p.fillRect(QRect(1, y, 14, h), c);
    y += h;
  }
  p.setPen(QPen(kInk, 1));
  p.setBrush(Qt::NoBrush);
  p.drawRect(QRectF(0.5, 1.5, 14.5, 12.5));
}

void draw(QPainter& p, IconId id) {
  switch (id) {
    case IconId::Open:
      p.setPen(QPen(kInk, 1));
      p.setBrush(kYellow);
      p.drawPolygon(QPolygonF({QPointF(1.5, 4.5), QPointF(6.5, 4.5), QPointF(8, 6), QPointF(14.5, 6), QPointF(14.5, 13.5), QPointF(1.5, 13.5)}));
      break;
    case IconId::Save:
      p.setPen(QPen(kInk, 1));
      p.setBrush(kBlue);
      p.drawRect(QRectF(1.5, 1.5, 13, 13));
      p.setBrush(kPaper);
      p.drawRect(QRectF(4.5, 1.5, 7, 5));
      p.drawRect(QRectF(3.5, 9.5, 9, 5));
      break;
    case IconId::Print:
      sheet(p, QRectF(4.5, 1.5, 7, 5));
      p.setBrush(QColor(150, 150, 160));
      p.drawRect(QRectF(1.5, 6.5, 13, 6));
      sheet(p, QRectF(4.5, 10.5, 7, 4));
      break;
    case IconId::Exit:
      p.setPen(QPen(kInk, 1));
      p.setBrush(QColor(170, 120, 70));
      p.drawRect(QRectF(2.5, 1.5, 7, 13));
      p.setPen(QPen(kRed, 2));
      p.drawLine(QPointF(8, 8), QPointF(15, 8));
      p.drawLine(QPointF(12, 5), QPointF(15, 8));
      p.drawLine(QPointF(12, 11), QPointF(15, 8));
      break;
    case IconId::CopyTable:
      grid(p, QRectF(0.5, 0.5, 10, 10), 3, 3);
      grid(p, QRectF(5.5, 5.5, 10, 10), 3, 3);
      break;
    case IconId::CopySelection:
      grid(p, QRectF(1.5, 1.5, 13, 13), 3, 3);
      p.fillRect(QRectF(6, 6, 4, 4), kBlue);
      break;
    case IconId::CopyChart:
      sheet(p, QRectF(1.5, 1.5, 13, 13));
      curve(p, QRectF(3, 4, 10, 8), kRed);
      break;
    case IconId::CopyData:
      sheet(p, QRectF(1.5, 1.5, 13, 13));
      letter(p, QRectF(1, 1, 14, 14), QStringLiteral("01"), kInk, 7);
      break;
    case IconId::Delete:
      p.setPen(QPen(kRed, 2.4));
      p.drawLine(QPointF(3, 3), QPointF(13, 13));
      p.drawLine(QPointF(13, 3), QPointF(3, 13));
      break;
    case IconId::ReadTester:
      p.setPen(QPen(kInk, 1));
      p.setBrush(QColor(90, 100, 110));
      p.drawRoundedRect(QRectF(1.5, 1.5, 8, 13), 2, 2);
      p.fillRect(QRectF(3, 3, 5, 4), QColor(170, 220, 170));
      p.setPen(QPen(kGreen, 2));
      p.drawLine(QPointF(10, 8), QPointF(15, 8));
      p.drawLine(QPointF(12.5, 5.5), QPointF(15, 8));
      p.drawLine(QPointF(12.5, 10.5), QPointF(15, 8));
      break;
    case IconId::Materials:
      for (int i = 0; i < 3; ++i) p.fillRect(QRectF(2, 3 + 4 * i, 12, 3), QColor(150 + 30 * i, 110 + 20 * i, 60 + 10 * i));
      break;
    case IconId::Objects:
      p.setPen(QPen(kInk, 1));
      p.setBrush(QColor(190, 190, 200));
      p.drawRect(QRectF(3.5, 3.5, 9, 11));
      for (int y = 5; y < 13; y += 3) p.fillRect(QRectF(5, y, 2, 2), kBlue), p.fillRect(QRectF(9, y, 2, 2), kBlue);
      break;
    case IconId::Screenshot:
      p.setPen(QPen(kInk, 1));
      p.setBrush(QColor(30, 40, 30));
      p.drawRect(QRectF(1.5, 3.5, 13, 8));
      p.fillRect(QRectF(3, 5, 6, 1), QColor(140, 230, 140));
      p.fillRect(QRectF(3, 7, 9, 1), QColor(140, 230, 140));
      p.drawLine(QPointF(5, 14.5), QPointF(11, 14.5));
      break;
    case IconId::Axis:
      p.setPen(QPen(kInk, 1.2));
      p.drawLine(QPointF(3, 1), QPointF(3, 13));
      p.drawLine(QPointF(3, 13), QPointF(15, 13));
      curve(p, QRectF(4, 3, 11, 8), kBlue);
      break;
    case IconId::TimeAxis:
      p.setPen(QPen(kInk, 1));
      p.setBrush(kPaper);
      p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
      p.drawLine(QPointF(8, 8), QPointF(8, 4));
      p.drawLine(QPointF(8, 8), QPointF(11, 9));
      break;
    case IconId::Help:
      p.setPen(Qt::NoPen);
      p.setBrush(kBlue);
      p.drawEllipse(QRectF(1, 1, 14, 14));
      letter(p, QRectF(1, 1, 14, 14), QStringLiteral("?"), Qt::white, 11);
      break;
    case IconId::About:
      p.setPen(Qt::NoPen);
      p.setBrush(kGreen);
      p.drawEllipse(QRectF(1, 1, 14, 14));
      letter(p, QRectF(1, 1, 14, 14), QStringLiteral("i"), Qt::white, 11);
      break;
    case IconId::FlagRussian:
      stripes(p, {Qt::white, QColor(0, 57, 166), QColor(213, 43, 30)});
      break;
    case IconId::FlagEnglish:
      stripes(p, {QColor(1, 33, 105)});
      p.setPen(QPen(Qt::white, 3));
      p.drawLine(QPointF(8, 2), QPointF(8, 14));
      p.drawLine(QPointF(1, 8), QPointF(15, 8));
      p.setPen(QPen(QColor(200, 16, 46), 1.4));
      p.drawLine(QPointF(8, 2), QPointF(8, 14));
      p.drawLine(QPointF(1, 8), QPointF(15, 8));
      break;
    case IconId::Wave:
      curve(p, QRectF(1, 3, 7, 10), kBlue);
      curve(p, QRectF(8, 3, 7, 10), kBlue);
      break;
    case IconId::Csv:
      grid(p, QRectF(1.5, 1.5, 13, 13), 4, 2);
      break;
    case IconId::Control:
      sheet(p, QRectF(1.5, 1.5, 13, 13));
      p.setPen(QPen(kRed, 1.2));
      p.drawLine(QPointF(2, 10), QPointF(14, 10));
      p.setPen(Qt::NoPen);
      for (const QPointF c : {QPointF(4.5, 6), QPointF(8, 4.5), QPointF(11.5, 7)}) p.setBrush(kGreen), p.drawEllipse(c, 1.6, 1.6);
      p.setBrush(kRed);
      p.drawEllipse(QPointF(8, 12.2), 1.6, 1.6);
      break;
  }
}

}  // namespace

QIcon programIcon(IconId id) {
  QPixmap pixmap(16, 16);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  draw(painter, id);
  painter.end();
  return QIcon(pixmap);
}

}  // namespace grx
