#include "TfrmLanguage.h"

#include "ui/WindowPlacement.h"

#include <QRadioButton>
#include <QVBoxLayout>

namespace grx {

TfrmLanguage::TfrmLanguage(std::function<void(Language)> choose, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::MSWindowsFixedSizeDialogHint),
      choose_(std::move(choose)) {
  setObjectName(QStringLiteral("frmLanguage"));
  setWindowTitle(QStringLiteral("Язык (Language)"));
  RadioButton1 = new QRadioButton(QStringLiteral("Русский"), this);
  RadioButton1->setObjectName(QStringLiteral("RadioButton1"));
  RadioButton2 = new QRadioButton(QStringLiteral("English"), this);
  RadioButton2->setObjectName(QStringLiteral("RadioButton2"));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(24, 16, 24, 16);
  layout->addWidget(RadioButton1);
  layout->addWidget(RadioButton2);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  connect(RadioButton1, &QRadioButton::clicked, this, [this] { pick(Language::Russian); });
  connect(RadioButton2, &QRadioButton::clicked, this, [this] { pick(Language::English); });
  keepInScreen(*this);  // placed by whoever opens it; kept inside the screen when shown
}

void TfrmLanguage::pick(Language language) {
  if (choose_) choose_(language);
  accept();
}

}  // namespace grx
