#pragma once
// The compaction control window: the lab's requirements (editable), the evaluation settings, the
// test lots with their statistics and verdicts, and the control chart of the selected lot; on a
// page of their own the site calibrations a requirement may be given through. It
// holds controls and handlers only: the main window keeps the requirements for the run and hands
// in every evaluation; the rules, the file and the tables of texts live in the window-free code.
// Every accepted change is kept at once in the requirements file, unless that file was refused at
// start: then it stays as it is, and the changes last for the run.
#include "ControlEvaluation.h"
#include "Requirements.h"

#include <QWidget>

#include <cstdint>
#include <functional>

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QSpinBox;
class QTabWidget;
class QTableView;

namespace grx {

class CalibrationPage;
class ControlPlot;
class IniFile;
class ModalUi;
class RequirementsModel;
class StringGridView;

class TfrmControl : public QWidget {
  Q_OBJECT
 public:
  struct Environment {
    ModalUi* ui = nullptr;
    const IniFile* config = nullptr;  // GRX1.ini (LastReadPath of the file dialogs)
    QString dataFolder;               // proposed while no folder was chosen
    QString setupPath;                // the requirements file
    ControlSetup* setup = nullptr;    // the main window's, for the whole run
    std::function<void()> setupChanged;                  // the main window evaluates again
    std::function<void(std::uint32_t series)> selectSeries;  // a series row becomes current
    std::function<void()> acceptanceProtocol;            // none: its button is disabled
    SetupProblem setupRefused;  // why the requirements file was not loaded at start; None: it was
    // The dynamic moduli of the series selected in the main window; none: the calibration page's
    // button for them is disabled.
    std::function<QList<double>()> selectedDynamic;
  };

  // A window of its own over `mainWindow`, freed when it closes.
  TfrmControl(Environment environment, QWidget* mainWindow);
  ~TfrmControl() override;

  // Fills the controls from the requirements, sets the captions and places the window.
  void FormCreate();
  // A new evaluation (the measurements, the requirements or the language changed).
  void showResult(const ControlResult& result);
  // The lot of series k becomes the current lot (the main window's series table moved to it).
  void selectLotOfSeries(std::uint32_t k);

  QTabWidget* tabsControl = nullptr;  // requirements and lots; calibration
  CalibrationPage* pageCalibration = nullptr;
  QTableView* tableRequirements = nullptr;
  QLabel* labelDerivation = nullptr;  // how the current row's dynamic modulus was derived
  QPushButton* btnAddRequirement = nullptr;
  QPushButton* btnRemoveRequirement = nullptr;
  QPushButton* btnUndoRemoval = nullptr;
  QPushButton* btnImport = nullptr;
  QPushButton* btnExport = nullptr;
  QSpinBox* spinSeating = nullptr;
  QComboBox* comboLotRule = nullptr;
  QDoubleSpinBox* spinK = nullptr;
  QSpinBox* spinMinPoints = nullptr;
  QCheckBox* checkSplitByDate = nullptr;
  QDoubleSpinBox* spinDurationMin = nullptr;
  QDoubleSpinBox* spinDurationMax = nullptr;
  StringGridView* StringGridLots = nullptr;
  QPushButton* btnCopyLots = nullptr;
  ControlPlot* ChartLot = nullptr;
  QPushButton* btnCopyChart = nullptr;
  QPushButton* btnProtocol = nullptr;
  QPushButton* btnClose = nullptr;

  void btnAddRequirementClick();
  void btnRemoveRequirementClick();
  void btnUndoRemovalClick();
  void btnImportClick();
  void btnExportClick();
  void SettingsChange();
  void StringGridLotsClick();
  void ChartLotPointClick(int point);
  void btnCopyLotsClick();
  void btnCopyChartClick();
  void btnProtocolClick();

 private:
  void createControls();
  QWidget* createRequirementsPart();
  QWidget* createSettingsPart();
  void setCaptions();
  void fillSettings();
  void requirementsEdited();
  // Remove acts on selected rows only, Undo while there is a removal to take back.
  void updateRequirementButtons();
  // Writes the requirements file and has the main window evaluate again.
  void keepAndEvaluate();
  // Puts new calibrations in force when every requirement given through one is still derived;
  // otherwise returns why not.
  QString takeCalibrations(const QList<Calibration>& calibrations, const std::pair<QString, QString>& renamed);
  void showDerivation();
  int selectedLot() const;
  void showLotChart();

  Environment env_;
  QWidget* mainWindow_;
  RequirementsModel* requirements_ = nullptr;
  ControlResult result_;
  int lot_ = 0;  // the lot the chart shows
  bool filling_ = false;
  QGroupBox* groupRequirements_ = nullptr;
  QLabel* labelRefused_ = nullptr;  // shown while the requirements file is kept as it was refused
  QGroupBox* groupSettings_ = nullptr;
  QGroupBox* groupLots_ = nullptr;
  QLabel* settingLabels_[6] = {};
};

}  // namespace grx
