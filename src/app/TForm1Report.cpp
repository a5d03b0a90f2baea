// The main window's printed report, printer setup and About box, and the acceptance protocol the
// compaction control asks for.
#include "TForm1.h"

#include "MainActions.h"
#include "TAboutBox.h"
#include "control/ControlTexts.h"
#include "control/MainWindowControl.h"
#include "data/ProjectFile.h"
#include "report/ReportVariables.h"
#include "report/AcceptanceProtocol.h"
#include "report/ReportPreview.h"
#include "report/SeriesReport.h"
#include "views/StringGridView.h"

#include <QAction>
#include <QFileInfo>

namespace grx {

void TForm1::execDialog(QDialog& dialog) { dialog.exec(); }

void TForm1::connectReportActions() {
  connect(Actions->APrint, &QAction::triggered, this, &TForm1::APrintExecute);
  connect(Actions->APrinter, &QAction::triggered, this, &TForm1::APrinterExecute);
  connect(Actions->AAbout, &QAction::triggered, this, &TForm1::AAboutExecute);
}

void TForm1::APrintExecute() {
  const TextGrid& table = StringGrid1->grid();
  // Nothing listed, nothing printed: no message, no preview.
  if (seriesReportIsEmpty(table)) return;
  // Prepared afresh every time, from the table as it stands and in the current language.
  ReportPreview preview(prepareSeriesReport(table, currentLanguage()), ui(),
                        proposedFolder(lastReadPath(), dataFolder()), this);
  runDialog(preview);
}

void TForm1::showAcceptanceProtocol() {
  if (set_->isEmpty()) return showNoData();
  const ControlSetup& setup = ControlPart->setup();
  const ControlResult result = evaluateControl(*set_, setup);
  // The window keeps its requirements in one file, written at every change.
  const DocumentIdentity identity{measurementSource_, QDate::currentDate(),
                                  QFileInfo(controlSetupPath(env_.homes.config)).fileName(), false};
  ReportPreview preview(prepareAcceptanceProtocol(*set_, setup, result, identity, currentLanguage()), ui(),
                        proposedFolder(lastReadPath(), dataFolder()), this);
  preview.setDocumentName(kProtocolTitle);
  runDialog(preview);
}

void TForm1::APrinterExecute() { ui().printerSetup(this, reportPrinter(), false); }

void TForm1::AAboutExecute() {
  TAboutBox box(programAboutInfo(), this);
  runDialog(box);
}

}  // namespace grx
