#include "MainWindowControl.h"

#include "ControlColors.h"
#include "ControlTables.h"
#include "TfrmControl.h"
#include "data/MeasurementSet.h"
#include "data/TextForms.h"
#include "platform/Messages.h"
#include "ui/ModalUi.h"
#include "ui/WindowPlacement.h"
#include "views/StringGridView.h"
#include "views/TableText.h"

#include <QFileInfo>

namespace grx {

TfrmControl* MainWindowControl::window() const { return window_; }

MainWindowControl::MainWindowControl(Environment environment, QObject* parent)
    : QObject(parent), env_(std::move(environment)) {}

void MainWindowControl::readSetupAtStart() {
  // A lab's file with one slip is not replaced by what is typed meanwhile.
  const SetupReadResult read = readControlSetup(env_.setupPath, setup_);
  if (read.status != SetupReadResult::Refused) return;
  setupRefused_ = read.problem;
  env_.ui->message(env_.window,
                   {kAppTitle.text(), setupNotLoadedText(QFileInfo(env_.setupPath).fileName(), read.problem, currentLanguage()),
                    ModalUi::Icon::Warning, ModalUi::Ok, ModalUi::Ok});
}

void MainWindowControl::showWindow() {
  if (window_) return bringToFront(*window_);
  TfrmControl::Environment env{env_.ui,          env_.config, env_.dataFolder,
                               env_.setupPath,   &setup_,     [this] { refresh(); },
                               env_.selectSeries, env_.acceptanceProtocol, setupRefused_,
                               [this] { return selectedDynamic(); }};
  window_ = new TfrmControl(std::move(env), env_.window);
  window_->FormCreate();
  refresh();
  window_->show();
}

QList<double> MainWindowControl::selectedDynamic() const {
  // The points' own values: the mean over the impacts the evaluation keeps, seating drops left out.
  const CellRange rows = env_.seriesTable->selection();
  QList<double> values;
  if (rows.isEmpty()) return values;
  const ControlResult result = evaluateControl(*env_.set, setup_);
  for (int row = rows.top; row <= rows.bottom; ++row) {
    const int k = row - kSeriesTableHeaderRows;
    if (k >= 0 && std::size_t(k) < result.points.size()) values.append(result.points[std::size_t(k)].dynamic);
  }
  return values;
}

void MainWindowControl::showProtocol() const {
  if (env_.acceptanceProtocol) env_.acceptanceProtocol();
}

void MainWindowControl::refresh() {
  StringGridView* series = env_.seriesTable;
  // With no requirements and no window there is nothing to show: the tables keep their own colours.
  if (setup_.requirements.isEmpty() && !window_) {
    series->setRowColors({});
    series->setRowToolTips({});
    env_.impactsTable->setColumnMarks({}, {});
    emit evaluated(nullptr);
    return;
  }
  const ControlResult result = evaluateControl(*env_.set, setup_);
  QVector<QColor> colors(series->gridRowCount());
  QStringList tips(series->gridRowCount());
  for (const PointResult& p : result.points) {
    const int row = kSeriesTableHeaderRows + int(p.series);
    if (row >= colors.size()) continue;
    colors[row] = verdictColor(p.verdict);
    tips[row] = pointReasonText(p, currentLanguage());  // why a point could not be judged
  }
  series->setRowColors(std::move(colors));
  series->setRowToolTips(std::move(tips));
  if (const int row = series->currentRow(); row >= kSeriesTableHeaderRows) markImpactFlags(std::uint32_t(row - kSeriesTableHeaderRows));
  emit evaluated(setup_.requirements.isEmpty() ? nullptr : &result);
  if (window_) window_->showResult(result);
}

void MainWindowControl::markImpactFlags(std::uint32_t k) {
  if (setup_.requirements.isEmpty() && !window_) return;
  const MeasurementSet& set = *env_.set;
  if (k >= set.seriesCount()) return;
  // The impacts table shows the run of the series' first impact, one column after the labels each.
  const SeriesRun run = set.seriesRun(set.seriesStart(k));
  const ImpactRecordView head = set.view(run.first);
  const Requirement* r = matchingRequirement(setup_, nameText(head.objectNameField()), nameText(head.soilNameField()));
  const double maxSv = r && r->maxSv ? *r->maxSv : -1;
  StringGridView* impacts = env_.impactsTable;
  QVector<QColor> colors(impacts->gridColumnCount());
  QStringList tips(impacts->gridColumnCount());
  for (std::uint32_t j = 0; j < run.length && int(j) + 1 < colors.size(); ++j) {
    tips[int(j) + 1] = impactFlagsText(set.view(run.first + j), setup_.settings, maxSv, currentLanguage());
    if (!tips[int(j) + 1].isEmpty()) colors[int(j) + 1] = verdictColor(Verdict::Undecided);
  }
  impacts->setColumnMarks(std::move(colors), std::move(tips));
  if (window_) window_->selectLotOfSeries(k);
}

}  // namespace grx
