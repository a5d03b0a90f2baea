// The main window's part in the map of the test points: the chart and map tabs of the right pane,
// the map following the measurements, the verdicts and the series table's current row, and the File
// menu's export of the positions. The positions, the plane and the files come from geo/.
#include "TForm1.h"

#include "MainActions.h"
#include "MenuTexts.h"
#include "data/ProjectFile.h"
#include "export/ImpactExport.h"
#include "geo/GeoWriters.h"
#include "geo/MapView.h"
#include "platform/Messages.h"
#include "views/StringGridView.h"
#include "views/TableText.h"

#include <QAction>
#include <QDir>
#include <QTabWidget>

#include <qcustomplot.h>

namespace grx {
namespace {

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

void TForm1::createMap() {
  TabsChartMap = new QTabWidget(PanelRight);
  TabsChartMap->setObjectName(QStringLiteral("TabsChartMap"));
  TabsChartMap->setDocumentMode(true);
  MapView1 = new MapView;
  MapView1->setDialogs(env_.ui, [this] { return exportFolder(ini_, dataFolder()); });
  TabsChartMap->addTab(Chart1, QString());  // the chart stays the first and default tab
  TabsChartMap->addTab(MapView1, QString());
}

void TForm1::connectMapActions() {
  MainActions* a = Actions;
  connect(a->AExportGeoJson, &QAction::triggered, this, [this] { AExportPositionsExecute(GeoFormat::GeoJson); });
  connect(a->AExportKml, &QAction::triggered, this, [this] { AExportPositionsExecute(GeoFormat::Kml); });
  connect(a->AExportGpx, &QAction::triggered, this, [this] { AExportPositionsExecute(GeoFormat::Gpx); });
  connect(a->AExportGeoCsv, &QAction::triggered, this, [this] { AExportPositionsExecute(GeoFormat::Csv); });
  // A point clicked on the map is a click on its row of the series table; the row the table makes
  // current (by a click, a key or the program) is the map's highlighted point.
  connect(MapView1, &MapView::seriesClicked, this, &TForm1::selectSeriesRow);
  connect(StringGrid1, &StringGridView::gridClicked, this, [this] {
    const int row = StringGrid1->currentRow();
    MapView1->setCurrentSeries(row >= kSeriesTableHeaderRows ? std::optional(std::uint32_t(row - kSeriesTableHeaderRows))
                                                             : std::nullopt);
  });
}

void TForm1::applyMapCaptions() {
  const Language language = currentLanguage();
  TabsChartMap->setTabText(0, menuText("TabChart", language));
  TabsChartMap->setTabText(1, menuText("TabMap", language));
  MapView1->update();
}

void TForm1::refreshMap(const ControlResult* result) {
  if (!MapView1) return;
  MapView1->setPoints(seriesPositions(*set_, result).points, result != nullptr);
  const int row = StringGrid1->currentRow();
  MapView1->setCurrentSeries(!set_->isEmpty() && row >= kSeriesTableHeaderRows
                                 ? std::optional(std::uint32_t(row - kSeriesTableHeaderRows))
                                 : std::nullopt);
}

// The positions go out with the verdicts of the requirements in force, as the series table's
// colours show them; the series without a position are named after the file was written.
void TForm1::AExportPositionsExecute(GeoFormat format) {
  if (set_->isEmpty()) return showNoData();
  const ControlResult control = evaluateControl(*set_, controlSetup_);
  const GeoPoints positions = seriesPositions(*set_, controlSetup_.requirements.isEmpty() ? nullptr : &control);
  if (positions.points.empty()) {
    ui().message(this, {kAppTitle.text(), kNoPositionsWritten.text(), ModalUi::Icon::Information, ModalUi::Ok, ModalUi::Ok});
    return;
  }
  const GeoExport& kind = geoExport(format);
  const QString extension = QString::fromLatin1(kind.extension);
  ModalUi::FileDialog dialog;
  dialog.fileName = exportFolder(ini_, dataFolder()) + QStringLiteral("positions") + extension;
  dialog.filters = {QString::fromLatin1(kind.filter)};
  dialog.defaultSuffix = extension.mid(1);
  const bool written = saveThroughDialog(
      dialog,
      [&](const QString& chosen) {
        return ExportNameDecision{chosen.endsWith(extension, Qt::CaseInsensitive) ? chosen : chosen + extension, false};
      },
      [&](const QString& name) { return writeGeoFile(name, format, positions.points, currentLanguage()); });
  const QString missing = withoutPositionText(positions, currentLanguage());
  if (written && !missing.isEmpty())
    ui().message(this, {kAppTitle.text(), missing, ModalUi::Icon::Information, ModalUi::Ok, ModalUi::Ok});
}

}  // namespace grx
