#include "TAboutBox.h"

#include "Icons.h"
#include "platform/Messages.h"
#include "ui/WindowPlacement.h"

#include <QApplication>
#include <QDesktopServices>
#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>

namespace grx {
namespace {

QLabel* label(QWidget* parent, const QString& text, int x, int y, int w, int h) {
  auto* l = new QLabel(text, parent);
  l->setGeometry(x, y, w, h);
  return l;
}

void makeLink(QLabel* l, const QString& hint) {
  QFont f = l->font();
  f.setUnderline(true);
  l->setFont(f);
  QPalette p = l->palette();
  p.setColor(QPalette::WindowText, Qt::blue);
  l->setPalette(p);
  l->setCursor(Qt::PointingHandCursor);
  if (!hint.isEmpty()) l->setToolTip(hint);
}

}  // namespace

TAboutBox::TAboutBox(const AboutInfo& info, QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("AboutBox"));
  setWindowTitle(kAboutDesignCaption.text(Language::Russian));
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);
  setFixedSize(312, 259);
  keepInScreen(*this);

  Panel1 = new QFrame(this);
  Panel1->setFrameShape(QFrame::StyledPanel);
  Panel1->setFrameShadow(QFrame::Sunken);
  Panel1->setGeometry(8, 8, 297, 201);

  ProgramIcon = label(Panel1, {}, 8, 8, 74, 45);
  ProgramIcon->setAlignment(Qt::AlignCenter);
  const QIcon icon = qApp->windowIcon().isNull() ? programIcon(IconId::About) : qApp->windowIcon();
  ProgramIcon->setPixmap(icon.pixmap(40, 40));
  ProgramIcon->setCursor(Qt::PointingHandCursor);
  ProgramIcon->installEventFilter(this);

  // Design-time texts, kept where the version information has no entry.
  ProductName = label(Panel1, QStringLiteral("Product Name"), 90, 20, 200, 22);
  QFont big = ProductName->font();
  big.setBold(true);
  big.setPointSizeF(big.pointSizeF() * 1.3);
  ProductName->setFont(big);
  Version = label(Panel1, QStringLiteral("Version"), 8, 58, 281, 18);
  txtCopyright = label(Panel1, QStringLiteral("Copyright"), 8, 78, 281, 30);
  txtCopyright->setWordWrap(true);
  txtCopyright->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  LabelFax = label(Panel1, QStringLiteral("Phone/Fax:"), 8, 110, 124, 16);
  Comments = label(Panel1, {}, 134, 110, 158, 16);
  LabelMulti = label(Panel1, QStringLiteral("(multi-line)"), 134, 126, 158, 16);
  LabelSite = label(Panel1, QStringLiteral("Site:"), 8, 146, 124, 16);
  LabelWWW = label(Panel1, {}, 134, 146, 158, 16);
  LabelInfo = label(Panel1, QStringLiteral("General questions:"), 8, 164, 124, 16);
  LabelEMail = label(Panel1, {}, 134, 164, 158, 16);
  LabelTech = label(Panel1, QStringLiteral("Technical Support:"), 8, 182, 124, 16);
  Label2 = label(Panel1, {}, 134, 182, 158, 16);
  for (QLabel* l : {LabelWWW, LabelEMail, Label2}) l->installEventFilter(this);

  OKButton = new QPushButton(QStringLiteral("OK"), this);
  OKButton->setGeometry(118, 220, 75, 27);
  OKButton->setDefault(true);
  connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);

  openUrl = [](const QUrl& url) { QDesktopServices::openUrl(url); };

  // Without version information every control keeps its design-time text.
  if (info.fileVersion.isEmpty()) return;
  const Language lang = currentLanguage();
  ProductName->setText(kAppTitle.text(lang));
  LabelFax->setText(kAboutPhoneLabel.text(lang));
  LabelMulti->setText(kAboutMultiLine.text(lang));
  LabelSite->setText(kAboutSiteLabel.text(lang));
  LabelInfo->setText(kAboutGeneralLabel.text(lang));
  LabelTech->setText(kAboutSupportLabel.text(lang));
  if (!info.internalName.isEmpty()) setWindowTitle(aboutCaption(info, lang));
  Version->setText(aboutVersionLine(info, lang));
  txtCopyright->setText(aboutCopyright(info, lang));
  txtCopyright->setVisible(!txtCopyright->text().isEmpty());

  Comments->setText(info.phone);
  LabelWWW->setText(info.www);
  LabelEMail->setText(info.email);
  Label2->setText(info.supportEmail);
  makeLink(LabelWWW, {});
  makeLink(LabelEMail, kAboutWriteLetter.text(lang));
  makeLink(Label2, kAboutWriteLetter.text(lang));
  ProgramIcon->setToolTip(info.www);
  // A contact the build has no text for is not shown at all.
  for (QLabel* l : {LabelFax, Comments, LabelMulti}) l->setVisible(!info.phone.isEmpty());
  for (QLabel* l : {LabelSite, LabelWWW}) l->setVisible(!info.www.isEmpty());
  for (QLabel* l : {LabelInfo, LabelEMail}) l->setVisible(!info.email.isEmpty());
  for (QLabel* l : {LabelTech, Label2}) l->setVisible(!info.supportEmail.isEmpty());
  if (info.www.isEmpty()) ProgramIcon->setCursor(Qt::ArrowCursor);
}

void TAboutBox::LabelWWWClick() {
  const QString address = LabelWWW->text();
  if (address.isEmpty()) return;
  openUrl(QUrl::fromUserInput(address));
}

void TAboutBox::LabelEMailClick(QLabel* l) {
  if (l->text().isEmpty()) return;
  openUrl(QUrl(QStringLiteral("mailto:") + l->text() + QStringLiteral("?Subject=") + kAppTitle.text()));
}

bool TAboutBox::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonRelease && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
    if (watched == LabelWWW || watched == ProgramIcon) LabelWWWClick();
    else if (watched == LabelEMail || watched == Label2) LabelEMailClick(static_cast<QLabel*>(watched));
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace grx
