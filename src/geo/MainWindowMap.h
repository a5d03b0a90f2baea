#pragma once
// The map's part in the main window: the chart and map tabs below the impacts table, the map
// following the measurements, the verdicts and the series table's current row, and the File menu's
// export of the positions as a GIS file. The main window creates it, lays out its tabs and hands
// it what it needs.
#include "GeoWriters.h"
#include "export/ImpactExport.h"
#include "platform/SafeFile.h"
#include "ui/ModalUi.h"

#include <QObject>

#include <cstdint>
#include <functional>

class QTabWidget;
class QWidget;

namespace grx {

struct ControlResult;
struct ControlSetup;
class MapView;
class MeasurementSet;
class StringGridView;

class MainWindowMap : public QObject {
  Q_OBJECT
 public:
  // The main window's save dialog: asked again while the chosen name needs another answer
  // (`decide`) or the user retries a failed write (`write`); true when the file was written.
  using SaveFile = std::function<bool(ModalUi::FileDialog dialog, const std::function<ExportNameDecision(const QString&)>& decide,
                                      const std::function<SafeWriteResult(const QString&)>& write)>;

  struct Environment {
    QWidget* window = nullptr;  // the main window, the messages' parent
    ModalUi* ui = nullptr;
    const MeasurementSet* set = nullptr;   // the shown measurements
    const ControlSetup* setup = nullptr;   // the requirements in force
    StringGridView* seriesTable = nullptr;
    std::function<QString()> exportFolder;  // with a trailing separator
    SaveFile saveFile;
    std::function<void()> noData;                            // says there are no measurements
    std::function<void(std::uint32_t series)> selectSeries;  // series k's row becomes current, as a click
  };

  // The tabs, on `pane`: the chart stays the first and default tab, the map is the second.
  MainWindowMap(Environment environment, QWidget* pane, QWidget* chart, QObject* parent);

  QTabWidget* tabs() const { return tabs_; }
  MapView* view() const { return map_; }

  // The tabs' captions in the current language.
  void applyCaptions();
  // The map follows the measurements and the verdicts (none: no requirements).
  void refresh(const ControlResult* result);
  // The positions go out with the verdicts of the requirements in force, as the series table's
  // colours show them; the series without a position are named after the file was written.
  void exportPositions(GeoFormat format);

 private:
  std::optional<std::uint32_t> currentSeries() const;

  Environment env_;
  QTabWidget* tabs_ = nullptr;
  MapView* map_ = nullptr;
};

}  // namespace grx
