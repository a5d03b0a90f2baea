#include "LinkLamp.h"

#include <QPainter>

namespace grx {

LinkLamp::LinkLamp(QWidget* parent) : QWidget(parent), fill_(neutralColor()) { setFixedSize(12, 12); }

QColor LinkLamp::neutralColor() const { return palette().color(QPalette::Button); }

void LinkLamp::setFillColor(const QColor& color) {
  if (fill_ == color) return;
  fill_ = color;
  update();
}

void LinkLamp::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(palette().color(QPalette::Dark), 1));
  p.setBrush(fill_);
  p.drawEllipse(QRectF(0.5, 0.5, width() - 1.0, height() - 1.0));
}

}  // namespace grx
