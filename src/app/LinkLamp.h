#pragma once
// The small circle in the status bar whose fill colour tells the state of the link to the tester:
// lime while an exchange runs, red after a link error, black when no tester is found, the panel's
// own colour when the last exchange finished.
#include <QColor>
#include <QWidget>

namespace grx {

class LinkLamp : public QWidget {
  Q_OBJECT
 public:
  explicit LinkLamp(QWidget* parent = nullptr);

  QColor fillColor() const { return fill_; }
  void setFillColor(const QColor& color);
  // The neutral colour: the panel's own (button face).
  QColor neutralColor() const;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QColor fill_;
};

}  // namespace grx
