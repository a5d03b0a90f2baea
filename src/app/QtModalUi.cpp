#include "ui/ModalUi.h"

#include "TfrmLanguage.h"

#include <QAbstractButton>
#include <QColorDialog>
#include <QFileDialog>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QScreen>

namespace grx {
namespace {

QMessageBox::Icon toQt(ModalUi::Icon icon) {
  switch (icon) {
    case ModalUi::Icon::Information: return QMessageBox::Information;
    case ModalUi::Icon::Warning: return QMessageBox::Warning;
    case ModalUi::Icon::Error: return QMessageBox::Critical;
    case ModalUi::Icon::Question: return QMessageBox::Question;
    case ModalUi::Icon::None: break;
  }
  return QMessageBox::NoIcon;
}

struct ButtonPair {
  ModalUi::Button ours;
  QMessageBox::StandardButton qt;
};
constexpr ButtonPair kButtons[] = {
    {ModalUi::Ok, QMessageBox::Ok},         {ModalUi::Cancel, QMessageBox::Cancel}, {ModalUi::Abort, QMessageBox::Abort},
    {ModalUi::Retry, QMessageBox::Retry},   {ModalUi::Ignore, QMessageBox::Ignore}, {ModalUi::Yes, QMessageBox::Yes},
    {ModalUi::No, QMessageBox::No},         {ModalUi::Save, QMessageBox::Save},     {ModalUi::Discard, QMessageBox::Discard},
};

}  // namespace

int QtModalUi::message(QWidget* parent, const Message& m) {
  QMessageBox box(toQt(m.icon), m.title, m.text, QMessageBox::NoButton, parent);
  for (const ButtonPair& b : kButtons) {
    if (m.buttons & b.ours) box.addButton(b.qt);
    if (m.defaultButton == b.ours) box.setDefaultButton(b.qt);
  }
  // Qt's Russian "Discard" reads "Reject"; beside "Save" the user expects "Don't save".
  if (QAbstractButton* discard = box.button(QMessageBox::Discard); discard && currentLanguage() == Language::Russian)
    discard->setText(QStringLiteral("Не сохранять"));
  const int result = box.exec();
  for (const ButtonPair& b : kButtons)
    if (result == b.qt) return b.ours;
  return m.buttons & Cancel ? Cancel : Ok;
}

std::optional<QString> QtModalUi::fileName(QWidget* parent, const FileDialog& d) {
  QFileDialog dialog(parent, d.title);
  // The program's own dialog, so a change of filter can rename the proposed file at once.
  dialog.setOption(QFileDialog::DontUseNativeDialog, true);
  dialog.setAcceptMode(d.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(d.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  dialog.setOption(QFileDialog::DontConfirmOverwrite, !d.confirmOverwrite);
  dialog.setNameFilters(d.filters);
  dialog.setDefaultSuffix(d.defaultSuffix.startsWith(u'.') ? d.defaultSuffix.mid(1) : d.defaultSuffix);
  const QFileInfo proposed(d.fileName);
  dialog.setDirectory(proposed.absolutePath());
  dialog.selectFile(proposed.fileName());
  if (d.filterChanged) {
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog, &d](const QString& filter) {
      QString name = dialog.selectedFiles().value(0);
      QString suffix = dialog.defaultSuffix();
      d.filterChanged(int(d.filters.indexOf(filter)) + 1, name, suffix);
      dialog.setDefaultSuffix(suffix.startsWith(u'.') ? suffix.mid(1) : suffix);
      dialog.selectFile(QFileInfo(name).fileName());
    });
  }
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return dialog.selectedFiles().front();
}

std::optional<QColor> QtModalUi::color(QWidget* parent, const QColor& initial) {
  const QColor c = QColorDialog::getColor(initial, parent);
  if (!c.isValid()) return std::nullopt;
  return c;
}

bool QtModalUi::chooseLanguage(const std::function<void(Language)>& choose, bool* failed) {
  if (failed) *failed = false;
  TfrmLanguage dialog(choose);
  if (QScreen* screen = QGuiApplication::primaryScreen()) {
    dialog.adjustSize();
    dialog.move(screen->geometry().center() - dialog.rect().center());
  }
  return dialog.exec() == QDialog::Accepted;
}

bool QtModalUi::printerSetup(QWidget* parent, QPrinter& printer, bool pageOnly) {
  if (pageOnly) {
    QPageSetupDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
  }
  QPrintDialog dialog(&printer, parent);
  dialog.setOption(QAbstractPrintDialog::PrintToFile, false);
  return dialog.exec() == QDialog::Accepted;
}

}  // namespace grx
