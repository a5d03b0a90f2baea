// The main window's part in the compaction control: the requirements it keeps for the run, the
// colours of the series rows, the control window and its way back to the series table.
#include "TForm1.h"

#include "control/ControlColors.h"
#include "control/ControlEvaluation.h"
#include "control/TfrmControl.h"
#include "platform/Messages.h"
#include "views/StringGridView.h"
#include "views/TableText.h"

#include <QFileInfo>

namespace grx {

void TForm1::readControlSetupAtStart() {
  // A missing file means no requirements yet; a refused one is said once and kept as it is for the
  // whole run, so a lab's file with one slip is not replaced by what is typed meanwhile.
  const QString path = controlSetupPath(env_.homes.config);
  const SetupReadResult read = readControlSetup(path, controlSetup_);
  if (read.status != SetupReadResult::Refused) return;
  controlSetupRefused_ = read.problem;
  ui().message(this, {kAppTitle.text(), setupNotLoadedText(QFileInfo(path).fileName(), read.problem, currentLanguage()),
                      ModalUi::Icon::Warning, ModalUi::Ok, ModalUi::Ok});
}

TfrmControl* TForm1::controlWindow() const { return controlWindow_; }

void TForm1::ACompactionControlExecute() {
  if (controlWindow_) {
    controlWindow_->showNormal();
    controlWindow_->raise();
    controlWindow_->activateWindow();
    return;
  }
  TfrmControl::Environment env{env_.ui,
                               &ini_,
                               dataFolder(),
                               controlSetupPath(env_.homes.config),
                               &controlSetup_,
                               [this] { refreshControl(); },
                               [this](std::uint32_t k) { selectSeriesRow(k); },
                               acceptanceProtocol,
                               controlSetupRefused_};
  controlWindow_ = new TfrmControl(std::move(env), this);
  controlWindow_->FormCreate();
  refreshControl();
  controlWindow_->show();
}

void TForm1::refreshControl() {
  // With no requirements and no window there is nothing to show: the table keeps its own colours.
  if (controlSetup_.requirements.isEmpty() && !controlWindow_) {
    StringGrid1->setRowColors({});
    refreshMap(nullptr);
    return;
  }
  const ControlResult result = evaluateControl(*set_, controlSetup_);
  QVector<QColor> colors(StringGrid1->gridRowCount());
  for (const PointResult& p : result.points) {
    const int row = kSeriesTableHeaderRows + int(p.series);
    if (row < colors.size()) colors[row] = verdictColor(p.verdict);
  }
  StringGrid1->setRowColors(std::move(colors));
  refreshMap(controlSetup_.requirements.isEmpty() ? nullptr : &result);
  if (controlWindow_) controlWindow_->showResult(result);
}

void TForm1::selectSeriesRow(std::uint32_t k) {
  if (k >= set_->seriesCount()) return;
  const int row = kSeriesTableHeaderRows + int(k);
  if (StringGrid1->currentRow() == row) StringGrid1Click();  // a click on the current row fills again
  else StringGrid1->setCurrentRow(row);                       // another row: the change is the click
  StringGrid1->scrollTo(StringGrid1->model()->index(int(k), 0));
}

}  // namespace grx
