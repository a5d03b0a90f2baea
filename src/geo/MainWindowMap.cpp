#include "MainWindowMap.h"

#include "GeoPoints.h"
#include "MapView.h"
#include "control/ControlEvaluation.h"
#include "data/MeasurementSet.h"
#include "platform/Messages.h"
#include "views/StringGridView.h"
#include "views/TableText.h"

#include <QTabWidget>

namespace grx {
namespace {

constexpr TextPair kTabChart{"График", "Chart"};
constexpr TextPair kTabMap{"Карта", "Map"};
constexpr TextPair kNoPositionsWritten{"Ни у одной серии нет координат. Файл не записан.",
                                       "No series has a position. No file was written."};

struct GeoExport {
  GeoFormat format;
  const char* extension;  // with the dot
  const char* filter;
};

constexpr GeoExport kGeoExports[] = {
    {GeoFormat::GeoJson, ".geojson", "GeoJSON (*.geojson)"},
    {GeoFormat::Kml, ".kml", "KML (*.kml)"},
    {GeoFormat::Gpx, ".gpx", "GPX (*.gpx)"},
    {GeoFormat::Csv, ".csv", "CSV (*.csv)"},
};

const GeoExport& geoExport(GeoFormat format) {
  for (const GeoExport& e : kGeoExports)
    if (e.format == format) return e;
  return kGeoExports[0];
}

}  // namespace

MainWindowMap::MainWindowMap(Environment environment, QWidget* pane, QWidget* chart, QObject* parent)
    : QObject(parent), env_(std::move(environment)) {
  tabs_ = new QTabWidget(pane);
  tabs_->setObjectName(QStringLiteral("TabsChartMap"));
  tabs_->setDocumentMode(true);
  map_ = new MapView;
  map_->setDialogs(env_.ui, env_.exportFolder);
  tabs_->addTab(chart, QString());
  tabs_->addTab(map_, QString());
  // A point clicked on the map is a click on its row of the series table; the row the table makes
  // current (by a click, a key or the program) is the map's highlighted point.
  connect(map_, &MapView::seriesClicked, this, [this](std::uint32_t k) { env_.selectSeries(k); });
  connect(env_.seriesTable, &StringGridView::gridClicked, this, [this] { map_->setCurrentSeries(currentSeries()); });
}

std::optional<std::uint32_t> MainWindowMap::currentSeries() const {
  const int row = env_.seriesTable->currentRow();
  if (env_.set->isEmpty() || row < kSeriesTableHeaderRows) return std::nullopt;
  return std::uint32_t(row - kSeriesTableHeaderRows);
}

void MainWindowMap::applyCaptions() {
  tabs_->setTabText(0, kTabChart.text());
  tabs_->setTabText(1, kTabMap.text());
  map_->update();
}

void MainWindowMap::refresh(const ControlResult* result) {
  map_->setPoints(seriesPositions(*env_.set, result).points, result != nullptr);
  map_->setCurrentSeries(currentSeries());
}

void MainWindowMap::exportPositions(GeoFormat format) {
  const MeasurementSet& set = *env_.set;
  if (set.isEmpty()) return env_.noData();
  const ControlSetup& setup = *env_.setup;
  const ControlResult control = evaluateControl(set, setup);
  const GeoPoints positions = seriesPositions(set, setup.requirements.isEmpty() ? nullptr : &control);
  if (positions.points.empty()) {
    env_.ui->message(env_.window, {kAppTitle.text(), kNoPositionsWritten.text(), ModalUi::Icon::Information, ModalUi::Ok, ModalUi::Ok});
    return;
  }
  const GeoExport& kind = geoExport(format);
  const QString extension = QString::fromLatin1(kind.extension);
  ModalUi::FileDialog dialog;
  dialog.fileName = env_.exportFolder() + QStringLiteral("positions") + extension;
  dialog.filters = {QString::fromLatin1(kind.filter)};
  dialog.defaultSuffix = extension.mid(1);
  const bool written = env_.saveFile(
      dialog,
      [&](const QString& chosen) {
        return ExportNameDecision{chosen.endsWith(extension, Qt::CaseInsensitive) ? chosen : chosen + extension, false};
      },
      [&](const QString& name) { return writeGeoFile(name, format, positions.points, currentLanguage()); });
  const QString missing = withoutPositionText(positions, currentLanguage());
  if (written && !missing.isEmpty())
    env_.ui->message(env_.window, {kAppTitle.text(), missing, ModalUi::Icon::Information, ModalUi::Ok, ModalUi::Ok});
}

}  // namespace grx
