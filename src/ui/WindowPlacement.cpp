#include "WindowPlacement.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>

#include <algorithm>

namespace grx {
namespace {

QMargins frameOf(const QWidget& window) {
  if (const QWindow* own = window.windowHandle(); own && !own->frameMargins().isNull()) return own->frameMargins();
  const QWidget* parent = window.parentWidget() ? window.parentWidget()->window() : nullptr;
  if (const QWindow* theirs = parent ? parent->windowHandle() : nullptr) return theirs->frameMargins();
  return {};
}

class ShowFilter final : public QObject {
 public:
  using QObject::QObject;
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Show && watched->isWidgetType()) fitIntoScreen(*static_cast<QWidget*>(watched));
    return false;
  }
};

}  // namespace

void fitIntoScreen(QWidget& window) {
  QWidget& top = *window.window();
  const QScreen* screen = top.screen() ? top.screen() : QGuiApplication::primaryScreen();
  if (!screen || top.isMaximized() || top.isFullScreen()) return;
  const QRect area = screen->availableGeometry();
  const QMargins frame = frameOf(top);
  const QSize room(area.width() - frame.left() - frame.right(), area.height() - frame.top() - frame.bottom());
  // A fixed-size dialog is shrunk too: a cut window is better than one whose buttons cannot be reached.
  const QSize size = top.size().boundedTo(room).expandedTo(QSize(1, 1));
  if (size != top.size()) {
    top.setMinimumSize(top.minimumSize().boundedTo(size));
    top.resize(size);
  }
  // A window's position is its frame's top left corner.
  const QSize outer = size.grownBy(frame);
  const int left = std::clamp(top.x(), area.left(), std::max(area.left(), area.right() + 1 - outer.width()));
  const int upper = std::clamp(top.y(), area.top(), std::max(area.top(), area.bottom() + 1 - outer.height()));
  if (QPoint(left, upper) != top.pos()) top.move(left, upper);
}

void keepInScreen(QWidget& window) {
  window.installEventFilter(new ShowFilter(&window));
  fitIntoScreen(window);
}

void bringToFront(QWidget& window) {
  window.showNormal();
  window.raise();
  window.activateWindow();
}

}  // namespace grx
