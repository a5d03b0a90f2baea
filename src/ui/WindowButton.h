#pragma once
// A push button of the program's own windows: named, so tests and style sheets find it, and never
// a default button that Enter in a cell or a field would press.
#include <QPushButton>

namespace grx {

inline QPushButton* windowButton(const char* name, QWidget* parent) {
  auto* b = new QPushButton(parent);
  b->setObjectName(QString::fromLatin1(name));
  b->setAutoDefault(false);
  return b;
}

}  // namespace grx
