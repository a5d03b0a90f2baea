// The main window's project-file commands: save, open, and opening the file named on the command
// line, and the archive's selection taken over as an open. The file format and the name rules live
// in data/ProjectFile.
#include "TForm1.h"

#include "LinkLamp.h"
#include "data/ProjectFile.h"
#include "device/LinkState.h"
#include "device/LinkTexts.h"
#include "platform/AppPaths.h"
#include "platform/Messages.h"

#include <QDateTime>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QFileInfo>
#include <QLabel>

namespace grx {
namespace {

constexpr TextPair kOpenTitle{"Открыть файл...", "Open file..."};
constexpr TextPair kFilePrefix{"Файл ", "File "};

QStringList projectFilters() { return {QStringLiteral("DataFile (*.grx)"), allFilesFilter()}; }

}  // namespace

QString TForm1::lastReadPath() const { return readLastReadPath(ini_); }

void TForm1::SaveDialog1TypeChange(int filterIndex, QString& fileName, QString& defaultSuffix) {
  if (filterIndex == 1) {
    defaultSuffix = QStringLiteral(".grx");
  } else if (filterIndex == 2) {
    defaultSuffix = QStringLiteral(".mtgrx");
    fileName = nameForNameListFilter(fileName);
  }
}

void TForm1::ASaveExecute() { saveMeasurements(); }

bool TForm1::saveMeasurements() {
  if (set_->isEmpty()) {
    showNoData();
    return false;
  }
  QString name = proposedFolder(lastReadPath(), dataFolder()) +
                 QDateTime::currentDateTime().toString(QStringLiteral("yyMMdd.hhmm")) + QStringLiteral(".grx");
  for (;;) {
    ModalUi::FileDialog dialog;
    dialog.title = kSaveAsTitle.text();
    dialog.fileName = name;
    dialog.filters = projectFilters();
    dialog.defaultSuffix = QStringLiteral(".grx");
    dialog.save = true;
    dialog.confirmOverwrite = true;
    dialog.filterChanged = &TForm1::SaveDialog1TypeChange;
    const std::optional<QString> chosen = ui().fileName(this, dialog);
    if (!chosen) return false;
    writeLastReadPath(ini_, folderWithSeparator(QDir::toNativeSeparators(*chosen)));
    const SaveNameDecision decision = projectSaveName(*chosen);
    name = decision.fileName;
    if (decision.askAgain) continue;

    const ProjectWriteResult result = writeProjectFile(*set_, name);
    if (result == ProjectWriteResult::Ok) {
      set_->setModified(false);
      return true;
    }
    const QString text = cannotCreateFileText(QDir::toNativeSeparators(name), currentLanguage());
    if (result == ProjectWriteResult::CannotCreate) {
      const int answer = ui().message(this, {kAppTitle.text(), text, ModalUi::Icon::Warning,
                                             ModalUi::Abort | ModalUi::Retry | ModalUi::Ignore, ModalUi::Retry});
      if (answer == ModalUi::Retry) continue;
    } else if (result == ProjectWriteResult::WriteIncomplete) {
      ui().message(this, {kAppTitle.text(), text, ModalUi::Icon::Warning, ModalUi::Ok, ModalUi::Ok});
    }
    return false;
  }
}

void TForm1::AOpenExecute() { openProject(nullptr); }

void TForm1::OpenFromCommandLine(const QStringList& arguments) {
  const QString name = arguments.join(u' ');
  openProject(&name);
}

void TForm1::dragEnterEvent(QDragEnterEvent* event) {
  const QList<QUrl> urls = event->mimeData()->urls();
  if (urls.size() == 1 && urls[0].isLocalFile()) event->acceptProposedAction();
}

void TForm1::dropEvent(QDropEvent* event) {
  const QList<QUrl> urls = event->mimeData()->urls();
  if (urls.size() != 1 || !urls[0].isLocalFile()) return;
  event->acceptProposedAction();
  const QString name = QDir::toNativeSeparators(urls[0].toLocalFile());
  openProject(&name);
}

void TForm1::openProject(const QString* givenName) {
  // The measurements shown go only with the user's word (asked before the dialog, as the File menu
  // of any desktop program does).
  if (!settleUnsavedChanges()) return;
  ModalUi::FileDialog dialog;
  dialog.title = kOpenTitle.text();
  dialog.filters = projectFilters();
  dialog.defaultSuffix = QStringLiteral(".grx");
  dialog.filterChanged = &TForm1::SaveDialog1TypeChange;
  QString name;
  if (givenName) {
    name = *givenName;
  } else {
    dialog.fileName = proposedFolder(lastReadPath(), dataFolder()) + QStringLiteral("File");
    const std::optional<QString> chosen = ui().fileName(this, dialog);
    if (!chosen) return;
    name = *chosen;
  }
  for (;;) {
    writeLastReadPath(ini_, folderWithSeparator(QDir::toNativeSeparators(name)));
    const ProjectReadResult result = openProjectFile(name, *set_, *staging_);
    if (result == ProjectReadResult::CannotOpen) {
      // A name that cannot be opened brings the dialog back with that name.
      dialog.fileName = name;
      const std::optional<QString> chosen = ui().fileName(this, dialog);
      if (!chosen) return;
      name = *chosen;
      continue;
    }
    const QString shortName = QFileInfo(name).fileName();
    if (result == ProjectReadResult::Damaged) {
      ui().message(this, {kAppTitle.text(), kFileDamaged.text() + QStringLiteral(": ") + shortName,
                          ModalUi::Icon::Warning, ModalUi::Ok, ModalUi::Ok});
      return;
    }
    setSource_ = QFileInfo(name).absoluteFilePath();
    measurementSource_ = {MeasurementSource::Kind::File, shortName, {}};
    RebuildTables();
    if (env_.link) env_.link->setState(lsIdle);  // also ends a running search for the tester
    StatusPanel[0]->setText(kFilePrefix.text() + u'"' + shortName + u'"');
    StatusPanel[1]->setText(linktext::kDataReaded.text() + QStringLiteral(" (") + QString::number(set_->count()) + u')');
    ShapeLink->setFillColor(ShapeLink->neutralColor());
    return;
  }
}

bool TForm1::takeOverArchiveSelection(const QString& display) {
  if (!settleUnsavedChanges()) return false;
  set_->swap(*staging_);
  set_->setModified(false);  // the archive keeps every impact of it
  setSource_ = QString();
  measurementSource_ = {MeasurementSource::Kind::Archive, display, {}};
  RebuildTables();
  if (env_.link) env_.link->setState(lsIdle);  // also ends a running search for the tester
  StatusPanel[1]->setText(linktext::kDataReaded.text() + QStringLiteral(" (") + QString::number(set_->count()) + u')');
  ShapeLink->setFillColor(ShapeLink->neutralColor());
  return true;
}

}  // namespace grx
