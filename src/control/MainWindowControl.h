#pragma once
// The compaction control's part in the main window: the requirements it keeps for the run (read
// from their file at start), the verdict colours of the series table and the flags of the impacts
// table, and the control window with its way back to the series table. The main window creates
// it, hands it what it needs and calls `refresh` after every change of the measurements, the
// requirements or the language.
#include "ControlEvaluation.h"
#include "Requirements.h"

#include <QObject>
#include <QPointer>

#include <cstdint>
#include <functional>

class QWidget;

namespace grx {

class IniFile;
class MeasurementSet;
class ModalUi;
class StringGridView;
class TfrmControl;

class MainWindowControl : public QObject {
  Q_OBJECT
 public:
  struct Environment {
    QWidget* window = nullptr;  // the main window: the control window's owner, its messages' parent
    ModalUi* ui = nullptr;
    const IniFile* config = nullptr;     // GRX1.ini
    QString dataFolder;                  // proposed by the file dialogs while no folder was chosen
    QString setupPath;                   // the requirements file
    const MeasurementSet* set = nullptr;  // the shown measurements
    StringGridView* seriesTable = nullptr;
    StringGridView* impactsTable = nullptr;
    std::function<void(std::uint32_t series)> selectSeries;  // series k's row becomes current, as a click
    std::function<void()> acceptanceProtocol;                // none: the window's button is disabled
  };

  MainWindowControl(Environment environment, QObject* parent);

  // Reads the requirements file. A missing file means no requirements yet; a refused one is said
  // once and kept as it is for the whole run.
  void readSetupAtStart();
  // Edit > Compaction control: opens the control window, or brings the open one to the front.
  void showWindow();
  // Evaluates the measurements against the requirements; the tables' colours, the control window
  // and `evaluated` follow.
  void refresh();
  // Marks the impacts of series k that carry a quality flag in the impacts table (the flags in
  // words as the column's tool tip), and selects the series' lot in the control window.
  void markImpactFlags(std::uint32_t k);
  // The dynamic moduli of the series selected in the series table, in table order, as the control
  // evaluation computes them (a calibration's pairs take them).
  QList<double> selectedDynamic() const;
  // The acceptance protocol of the shown measurements, as the control window's button asks for it.
  void showProtocol() const;

  const ControlSetup& setup() const { return setup_; }
  TfrmControl* window() const;  // the open window, if any

 signals:
  // After each evaluation: its result, or none when no requirement is set (nothing is judged).
  void evaluated(const ControlResult* result);

 private:
  Environment env_;
  ControlSetup setup_;
  SetupProblem setupRefused_;  // why the requirements file was not loaded at start; None when it was
  QPointer<TfrmControl> window_;
};

}  // namespace grx
