#pragma once
// The language question of the first start: "Русский" or "English". Picking one applies it at once
// and closes the dialog; closing it without a choice leaves Russian for this run and writes nothing.
#include "platform/TextPair.h"

#include <QDialog>

#include <functional>

class QRadioButton;

namespace grx {

class TfrmLanguage : public QDialog {
  Q_OBJECT
 public:
  explicit TfrmLanguage(std::function<void(Language)> choose, QWidget* parent = nullptr);

  QRadioButton* RadioButton1 = nullptr;  // Русский
  QRadioButton* RadioButton2 = nullptr;  // English

 private:
  void pick(Language language);

  std::function<void(Language)> choose_;
};

}  // namespace grx
