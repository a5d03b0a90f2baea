// The main window's part in the compaction control: the requirements it keeps for the run, the
// colours of the series rows, the control window and its way back to the series table.
#include "TForm1.h"

#include "control/ControlColors.h"
#include "control/ControlEvaluation.h"
#include "control/ControlTables.h"
#include "data/TextForms.h"
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
  // With no requirements and no window there is nothing to show: the tables keep their own colours.
  if (controlSetup_.requirements.isEmpty() && !controlWindow_) {
    StringGrid1->setRowColors({});
    StringGrid1->setRowToolTips({});
    StringGrid2->setColumnMarks({}, {});
    refreshMap(nullptr);
    return;
  }
  const ControlResult result = evaluateControl(*set_, controlSetup_);
  QVector<QColor> colors(StringGrid1->gridRowCount());
  QStringList tips(StringGrid1->gridRowCount());
  for (const PointResult& p : result.points) {
    const int row = kSeriesTableHeaderRows + int(p.series);
    if (row >= colors.size()) continue;
    colors[row] = verdictColor(p.verdict);
    tips[row] = pointReasonText(p, currentLanguage());  // why a point could not be judged
  }
  StringGrid1->setRowColors(std::move(colors));
  StringGrid1->setRowToolTips(std::move(tips));
  if (const int row = StringGrid1->currentRow(); row >= kSeriesTableHeaderRows) markImpactFlags(std::uint32_t(row - kSeriesTableHeaderRows));
  refreshMap(controlSetup_.requirements.isEmpty() ? nullptr : &result);
  if (controlWindow_) controlWindow_->showResult(result);
}

void TForm1::markImpactFlags(std::uint32_t k) {
  if (controlSetup_.requirements.isEmpty() && !controlWindow_) return;
  if (k >= set_->seriesCount()) return;
  // The impacts table shows the run of the series' first impact, one column after the labels each.
  const SeriesRun run = set_->seriesRun(set_->seriesStart(k));
  const ImpactRecordView head = set_->view(run.first);
  const Requirement* r = matchingRequirement(controlSetup_, nameText(head.objectNameField()), nameText(head.soilNameField()));
  const double maxSv = r && r->maxSv ? *r->maxSv : -1;
  QVector<QColor> colors(StringGrid2->gridColumnCount());
  QStringList tips(StringGrid2->gridColumnCount());
  for (std::uint32_t j = 0; j < run.length && int(j) + 1 < colors.size(); ++j) {
    tips[int(j) + 1] = impactFlagsText(set_->view(run.first + j), controlSetup_.settings, maxSv, currentLanguage());
    if (!tips[int(j) + 1].isEmpty()) colors[int(j) + 1] = verdictColor(Verdict::Undecided);
  }
  StringGrid2->setColumnMarks(std::move(colors), std::move(tips));
  if (controlWindow_) controlWindow_->selectLotOfSeries(k);
}

void TForm1::selectSeriesRow(std::uint32_t k) {
  if (k >= set_->seriesCount()) return;
  const int row = kSeriesTableHeaderRows + int(k);
  if (StringGrid1->currentRow() == row) StringGrid1Click();  // a click on the current row fills again
  else StringGrid1->setCurrentRow(row);                       // another row: the change is the click
  StringGrid1->scrollTo(StringGrid1->model()->index(int(k), 0));
}

}  // namespace grx
