#pragma once
// The About box: the program's name, version and build date, the legal notice and the maker's
// contacts, with links that open in the desktop's handlers. Its texts come from AboutTexts in the
// language current when it is created.
#include "app/AboutTexts.h"

#include <QDialog>
#include <QUrl>

#include <functional>

class QFrame;
class QLabel;
class QPushButton;

namespace grx {

class TAboutBox : public QDialog {
  Q_OBJECT
 public:
  explicit TAboutBox(const AboutInfo& info, QWidget* parent = nullptr);

  QFrame* Panel1 = nullptr;
  QLabel* ProgramIcon = nullptr;
  QLabel* ProductName = nullptr;
  QLabel* Version = nullptr;
  QLabel* txtCopyright = nullptr;
  QLabel* LabelFax = nullptr;
  QLabel* Comments = nullptr;
  QLabel* LabelMulti = nullptr;
  QLabel* LabelSite = nullptr;
  QLabel* LabelWWW = nullptr;
  QLabel* LabelInfo = nullptr;
  QLabel* LabelEMail = nullptr;
  QLabel* LabelTech = nullptr;
  QLabel* Label2 = nullptr;
  QPushButton* OKButton = nullptr;

  // Opens a link; the desktop's handler by default (tests record the address instead). A failure
  // is ignored.
  std::function<void(const QUrl&)> openUrl;

  void LabelWWWClick();
  void LabelEMailClick(QLabel* label);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace grx
