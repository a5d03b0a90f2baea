// The main window's exports of the selected impact (CSV and WAV files) and the calibration lists of
// the Edit menu. The file contents, names and rules live in export/; here are the dialogs and
// messages around them.
#include "TForm1.h"

#include "MainActions.h"
#include "data/ProjectFile.h"
#include "export/CalibrationText.h"
#include "export/ImpactExport.h"
#include "platform/Messages.h"
#include "views/StringGridView.h"

#include <QAction>
#include <QDir>

namespace grx {

void TForm1::connectExportActions() {
  MainActions* a = Actions;
  connect(a->ACopyAtoCsv, &QAction::triggered, this, &TForm1::ACopyAtoCsvExecute);
  connect(a->ACopyVtoCsv, &QAction::triggered, this, &TForm1::ACopyVtoCsvExecute);
  connect(a->ACopyStoCsv, &QAction::triggered, this, &TForm1::ACopyStoCsvExecute);
  connect(a->ACopyFtoCsv, &QAction::triggered, this, &TForm1::ACopyFtoCsvExecute);
  connect(a->ACopyAllToCsv, &QAction::triggered, this, &TForm1::ACopyAllToCsvExecute);
  connect(a->ACopyAtoWav, &QAction::triggered, this, &TForm1::ACopyAtoWavExecute);
  connect(a->ACopyVtoWav, &QAction::triggered, this, &TForm1::ACopyVtoWavExecute);
  connect(a->ACopyStoWav, &QAction::triggered, this, &TForm1::ACopyStoWavExecute);
  connect(a->ACopyFtoWav, &QAction::triggered, this, &TForm1::ACopyFtoWavExecute);
  connect(a->ACopyAllToWav, &QAction::triggered, this, &TForm1::ACopyAllToWavExecute);
  connect(a->itmCopyCalibrDataF, &QAction::triggered, this, &TForm1::itmCopyCalibrDataFClick);
  connect(a->itmCopyCalibrDataS, &QAction::triggered, this, &TForm1::itmCopyCalibrDataSClick);
}

void TForm1::ACopyAtoCsvExecute() { saveImpactFile(false, ExportSignal::Acceleration); }
void TForm1::ACopyVtoCsvExecute() { saveImpactFile(false, ExportSignal::Velocity); }
void TForm1::ACopyStoCsvExecute() { saveImpactFile(false, ExportSignal::Displacement); }
void TForm1::ACopyFtoCsvExecute() { saveImpactFile(false, ExportSignal::Force); }
void TForm1::ACopyAllToCsvExecute() { saveImpactFile(false, std::nullopt); }
void TForm1::ACopyAtoWavExecute() { saveImpactFile(true, ExportSignal::Acceleration); }
void TForm1::ACopyVtoWavExecute() { saveImpactFile(true, ExportSignal::Velocity); }
void TForm1::ACopyStoWavExecute() { saveImpactFile(true, ExportSignal::Displacement); }
void TForm1::ACopyFtoWavExecute() { saveImpactFile(true, ExportSignal::Force); }

// Selects the impact the tables point at into the current impact record; none (after saying so)
// when the set is empty.
std::optional<std::uint32_t> TForm1::selectImpactForExport() {
  if (set_->isEmpty()) {
    showNoData();
    return std::nullopt;
  }
  const std::uint32_t i = selectedImpact(*set_, StringGrid1->currentRow(), StringGrid2->currentColumn());
  set_->selectImpact(i);
  return i;
}

void TForm1::saveImpactFile(bool wav, std::optional<ExportSignal> signal) {
  if (!selectImpactForExport()) return;
  const ImpactRecordView record = set_->currentView();
  const ExportFormat format = wav ? ExportFormat::Wav : ExportFormat::Csv;
  const QString extension = exportExtension(format);
  const QString prefix = signal ? exportPrefix(*signal) : QString::fromLatin1(kAllSignalsPrefix);
  ModalUi::FileDialog dialog;  // SaveDialogCsv, SaveDialogWav
  dialog.fileName = exportFolder(ini_, dataFolder()) + exportFileName(prefix, record, extension);
  dialog.filters = wav ? wavDialogFilters() : csvDialogFilters();
  saveThroughDialog(
      dialog, [&](const QString& chosen) { return exportSaveName(chosen, extension); },
      [&](const QString& name) { return writeExportFile(name, exportFileBytes(format, signal, record, reducedView_)); });
}

bool TForm1::saveThroughDialog(ModalUi::FileDialog dialog, const std::function<ExportNameDecision(const QString&)>& decide,
                               const std::function<SafeWriteResult(const QString&)>& write) {
  dialog.title = kSaveAsTitle.text();
  dialog.save = true;
  dialog.confirmOverwrite = true;
  for (;;) {
    const std::optional<QString> chosen = ui().fileName(this, dialog);
    if (!chosen) return false;
    writeLastReadPath(ini_, folderWithSeparator(QDir::toNativeSeparators(*chosen)));
    const ExportNameDecision decision = decide(*chosen);
    dialog.fileName = decision.fileName;
    if (decision.askAgain) continue;

    const SafeWriteResult result = write(decision.fileName);
    if (result == SafeWriteResult::Ok) return true;
    const QString text = cannotCreateFileText(QDir::toNativeSeparators(decision.fileName), currentLanguage());
    if (result == SafeWriteResult::CannotCreate) {
      const int answer = ui().message(this, {kAppTitle.text(), text, ModalUi::Icon::Warning,
                                             ModalUi::Abort | ModalUi::Retry | ModalUi::Ignore, ModalUi::Retry});
      if (answer == ModalUi::Retry) continue;
    } else {
      ui().message(this, {kAppTitle.text(), text, ModalUi::Icon::Warning, ModalUi::Ok, ModalUi::Ok});
    }
    return false;
  }
}

// Every signal of the view into the export folder, without a dialog, replacing files of the same
// names. The first failure is reported and ends the command; the files written before it stay.
void TForm1::ACopyAllToWavExecute() {
  if (!selectImpactForExport()) return;
  const AllSignalsWavResult result =
      writeAllSignalsWav(set_->currentView(), reducedView_, exportFolder(ini_, dataFolder()));
  if (result.result != ExportWriteResult::Ok)
    ui().message(this, {kAppTitle.text(), cannotCreateFileText(QDir::toNativeSeparators(result.failedFile), currentLanguage()),
                        ModalUi::Icon::Warning, ModalUi::Ok, ModalUi::Ok});
}

void TForm1::itmCopyCalibrDataFClick() { putOnClipboard(calibrationText(*set_, CalibrationValue::Force)); }
void TForm1::itmCopyCalibrDataSClick() { putOnClipboard(calibrationText(*set_, CalibrationValue::Displacement)); }

}  // namespace grx
