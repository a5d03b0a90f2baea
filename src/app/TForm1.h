#pragma once
// The main window: the series table on the left, the impacts table, the curve check boxes and the
// chart on the right, the status bar below. It holds controls and their handlers; the texts, the
// settings rules and the file formats live in the layers below.
#include "ui/ModalUi.h"
#include "config/Settings.h"
#include "data/MeasurementSet.h"
#include "platform/AppPaths.h"
#include "names/NameLists.h"
#include "platform/IniFile.h"
#include "report/DocumentIdentity.h"

#include <QMainWindow>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

class QCheckBox;
class QDialog;
class QCustomPlot;
class QLabel;
class QProgressBar;
class QSplitter;
class QTabWidget;

namespace grx {

enum class ExportSignal;
struct ExportNameDecision;
enum class SafeWriteResult;
class HelpLauncher;
struct LinkShared;
class LinkLamp;
class MainActions;
class MainWindowArchive;
class MainWindowControl;
class MainWindowMap;
class MapView;
class SignalChart;
class StringGridView;

class TForm1 : public QMainWindow {
  Q_OBJECT
 public:
  // What the application hands the window.
  struct Environment {
    QString programFolder;                  // without a trailing separator
    FileHomes homes;                        // where GRX1.ini and written files go; empty: the program folder
    ModalUi* ui = nullptr;                  // every modal question goes through it
    std::function<void(int)> exitProcess;   // ends the program at once (tests record it instead)
    std::function<void()> stopWorker;       // tells the device worker to stop and waits for it
    LinkShared* link = nullptr;             // the state shared with the device worker, if any
  };

  explicit TForm1(Environment environment, QWidget* parent = nullptr);
  ~TForm1() override;

  // The start-up of the window: configuration, language, geometry, view, captions.
  void FormCreate();

  // Controls (the names the program has always used for them).
  QSplitter* Splitter1 = nullptr;
  StringGridView* StringGrid1 = nullptr;
  QWidget* PanelRight = nullptr;
  StringGridView* StringGrid2 = nullptr;
  QCheckBox* CheckBoxAccel = nullptr;
  QCheckBox* CheckBoxVelocity = nullptr;
  QCheckBox* CheckBoxDisplacement = nullptr;
  QCheckBox* CheckBoxForce = nullptr;
  QTabWidget* TabsChartMap = nullptr;  // the chart and the map, below the impacts table
  QCustomPlot* Chart1 = nullptr;
  MapView* MapView1 = nullptr;
  QLabel* StatusPanel[4] = {};
  QProgressBar* ProgressBar1 = nullptr;
  LinkLamp* ShapeLink = nullptr;
  MainActions* Actions = nullptr;
  // The features' parts in the window: each lives in its feature's folder, the window creates it
  // and hands it what it needs.
  MainWindowControl* ControlPart = nullptr;  // compaction control: requirements, verdict colours, its window
  MainWindowMap* MapPart = nullptr;          // the chart and map tabs, the export of the positions
  MainWindowArchive* ArchivePart = nullptr;  // the measurement archive: keeping reads, its window

  MeasurementSet& measurements() { return *set_; }
  const IniFile& config() const { return ini_; }
  const QString& programFolder() const { return env_.programFolder; }
  // The folder for files the program writes of its own accord (and proposes when none was chosen).
  const QString& dataFolder() const { return env_.homes.data; }
  ModalUi& ui() { return *env_.ui; }

  int table1Width() const { return table1Width_; }
  const AxisLimits& axisLimits() const { return limits_; }
  bool codeView() const { return codeView_; }
  bool reducedView() const { return reducedView_; }

  // Tables
  void RebuildTables();
  void FillImpactsTable(std::uint32_t k);
  void StringGrid1Click();
  void StringGrid2Click();
  void AStringGridSelectCancel(StringGridView* grid);
  void LayOutTables();

  // Window
  void FormResize();
  void MenuFill();
  void ALangRusExecute();
  void ALangEngExecute();
  // The menu's Exit: asks about unsaved measurements, then ends the program at once.
  void AExitExecute();
  void AChmHelpExecute();
  void FormHelp();

  // Project files
  void ASaveExecute();
  void AOpenExecute();
  // Opens the file the command-line arguments name (joined with blanks), without a dialog first.
  void OpenFromCommandLine(const QStringList& arguments);
  // The file dialogs' reaction to another filter: default extension and, for the second filter,
  // the name-list extension.
  static void SaveDialog1TypeChange(int filterIndex, QString& fileName, QString& defaultSuffix);

  // Tester
  void AGaugeReadExecute();
  void AMaterialEditExecute();
  void AObjectEditExecute();
  void AScreenshotExecute();
  // Guard flags: an editor opened from the menu sets its flag, closing it clears it.
  bool MaterialsEditorOpen = false;
  bool ObjectsEditorOpen = false;
  // The flags of the two name lists, for the whole run.
  NameListFlags& nameListFlags(NameList list) { return list == NameList::Materials ? materialFlags_ : objectFlags_; }
  // A completed read from the tester: its set replaces the shown one and the tables follow.
  void takeOverMeasurements(MeasurementSet& staging);

  // Editing
  void ADelImpactExecute();
  void ADelSeriesExecute();

  // Clipboard copies of the tables
  void ACopyTable1Execute();
  void ACopyBlockTable1Execute();
  void ACopyTable2Execute();
  void ACopyBlockTable2Execute();

  // Chart
  SignalChart* chart() const { return chart_; }
  void GrahpicShow(std::uint32_t index);
  void GrahpicRefresh();
  void CheckBoxAccelClick();
  void ALeftAxisPlusExecute();
  void ALeftAxisAutoExecute();
  void ARightAxisPlusExecute();
  void ARightAxisAutoExecute();
  void ABottomAxisExecute(BottomAxisMode mode);
  void ACopyGraphExecute();
  void ACopyGraphDataExecute();

  // Exports of the selected impact and the calibration lists (TForm1Export.cpp)
  void ACopyAtoCsvExecute();
  void ACopyVtoCsvExecute();
  void ACopyStoCsvExecute();
  void ACopyFtoCsvExecute();
  void ACopyAllToCsvExecute();
  void ACopyAtoWavExecute();
  void ACopyVtoWavExecute();
  void ACopyStoWavExecute();
  void ACopyFtoWavExecute();
  void ACopyAllToWavExecute();
  void itmCopyCalibrDataFClick();
  void itmCopyCalibrDataSClick();
  // Report, printer and About box
  void APrintExecute();
  void APrinterExecute();
  void AAboutExecute();
  // Shows a modal window of the program's own (the report preview, the About box) until it is
  // closed; tests look at the window instead.
  std::function<void(QDialog&)> runDialog = &TForm1::execDialog;

  // Draws an impact; the chart by default (tests may watch the calls).
  std::function<void(std::uint32_t impact)> drawImpact;

 protected:
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  // A project file dropped on the window opens as one given on the command line.
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void createControls();
  void createChart();
  void connectChartActions();
  void connectActions();
  void connectReportActions();
  static void execDialog(QDialog& dialog);
  void switchLanguage(Language language);
  void applyStartupSettings(const StartupSettings& s);
  void layOutRightPane();
  void layOutStatusBar();
  QSize frameExtra() const;
  void fitFrame();
  void showNoData();
  // The save command; true when the file was written.
  bool saveMeasurements();
  // Before the program ends or anything replaces the shown set (an open, the archive, a read):
  // measurements not saved since a read or an edit bring the question whether to save them. True
  // when they may go; Cancel, or a save that was cancelled or failed, keeps them.
  bool settleUnsavedChanges();
  // Writes the exit settings and ends the process.
  void endProgram();
  void restoreSeriesRow(int row);
  void openProject(const QString* givenName);
  QString lastReadPath() const;
  QString manualPage() const;
  void showHelpNotOpened(const QString& file);
  void putOnClipboard(const QString& text);
  void connectExportActions();
  // The save-dialog exports: one signal, or every signal of the view when `signal` is empty.
  void saveImpactFile(bool wav, std::optional<ExportSignal> signal);
  std::optional<std::uint32_t> selectImpactForExport();
  // An export's save dialog, asked again while the chosen name needs another answer or the user
  // retries a failed write: `decide` turns the chosen name into the file's name, `write` writes it.
  // True when the file was written.
  bool saveThroughDialog(ModalUi::FileDialog dialog, const std::function<ExportNameDecision(const QString&)>& decide,
                         const std::function<SafeWriteResult(const QString&)>& write);
  void connectTesterActions();
  LinkShared& testerLink();
  // The features' parts and their menu commands.
  void createFeatureParts();
  void connectFeatureActions();
  // Makes series k's row of the series table current, as a click on it would.
  void selectSeriesRow(std::uint32_t k);
  // The acceptance protocol of the measurements in the report preview.
  void showAcceptanceProtocol();
  // The archive's selection, loaded into the staging set, becomes the measurement set as an open of
  // a file would; false when unsaved measurements were kept.
  bool takeOverArchiveSelection(const QString& display);

  Environment env_;
  IniFile ini_;
  std::unique_ptr<MeasurementSet> set_;
  std::unique_ptr<MeasurementSet> staging_;  // a file is read here and swapped in only when good
  std::unique_ptr<HelpLauncher> help_;
  SignalChart* chart_ = nullptr;
  int table1Width_ = 500;
  AxisLimits limits_;
  bool codeView_ = false;
  bool reducedView_ = true;
  bool inLayout_ = false;
  QSize outerSize_;  // Width and Height from the configuration: the whole window, frame included
  bool frameFitted_ = false;
  NameListFlags materialFlags_;
  NameListFlags objectFlags_;
  std::unique_ptr<LinkShared> ownLink_;  // the name blocks when no device link was given (tests)
  QString setSource_;  // the file the shown set came from; empty for a read or the archive
  MeasurementSource measurementSource_;  // what the acceptance protocol names as the set's source
  // The content the user agreed to replace when asking for a read: the read that comes asks no more.
  std::uint64_t readMayReplace_ = 0;
};

}  // namespace grx
