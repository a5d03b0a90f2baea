#include "TForm1.h"

#include "HelpLauncher.h"
#include "LinkLamp.h"
#include "MainActions.h"
#include "MenuTexts.h"
#include "QtTexts.h"
#include "archive/MainWindowArchive.h"
#include "control/MainWindowControl.h"
#include "control/Requirements.h"
#include "device/LinkRequests.h"
#include "device/LinkState.h"
#include "export/ImpactExport.h"
#include "geo/MainWindowMap.h"
#include "geo/MapView.h"
#include "platform/AppPaths.h"
#include "platform/Messages.h"
#include "views/SignalChart.h"
#include "views/StringGridView.h"
#include "views/TableText.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QFont>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QProgressBar>
#include <QScreen>
#include <QShortcut>
#include <QSplitter>
#include <QStatusBar>
#include <QWindow>

#include <qcustomplot.h>

namespace grx {
namespace {

constexpr int kSplitterWidth = 4;
constexpr int kStatusPanel1Width = 140;
constexpr int kStatusPanel2Width = 20;
constexpr int kStatusPanel3Width = 50;
constexpr QSize kMinimumOuterSize(394, 320);  // frame included
constexpr TextPair kSaveChanges{"Сохранить изменения?", "Save changes?"};
constexpr TextPair kReadNotShown{"Считанные данные не показаны: оставлены прежние измерения",
                                 "The read was not shown: the measurements shown were kept"};
constexpr TextPair kHelpNotOpened{"Не удалось запустить программу просмотра справки или браузер.\nРуководство пользователя: ",
                                  "No help viewer or web browser could be started.\nThe user manual is here: "};

QCheckBox* curveBox(const char* name, const char* caption, const QColor& color, QWidget* parent) {
  auto* box = new QCheckBox(QString::fromLatin1(caption), parent);
  box->setObjectName(QString::fromLatin1(name));
  QPalette pal = box->palette();
  pal.setColor(QPalette::WindowText, color);
  box->setPalette(pal);
  box->setChecked(true);
  return box;
}

// A window given no homes for its files keeps them beside the program.
TForm1::Environment withFileHomes(TForm1::Environment env) {
  if (env.homes.config.isEmpty()) env.homes.config = env.programFolder;
  if (env.homes.data.isEmpty()) env.homes.data = env.programFolder;
  return env;
}

// The impacts table as it stands before any data: four columns, the labels of column 0.
TextGrid designImpactsGrid() {
  TextGrid grid(kImpactsTableRows, 4);
  writeImpactsTableLabels(grid, currentLanguage());
  return grid;
}

}  // namespace

TForm1::TForm1(Environment environment, QWidget* parent)
    : QMainWindow(parent),
      env_(withFileHomes(std::move(environment))),
      ini_(configFilePath(env_.homes.config)),
      set_(std::make_unique<MeasurementSet>()),
      staging_(std::make_unique<MeasurementSet>()) {
  setObjectName(QStringLiteral("Form1"));
  setCurrentLanguage(Language::Russian);  // until the start-up chooses
  // The tables' Times New Roman; where it is missing, its metric twin keeps the texts' widths.
  QFont::insertSubstitution(QStringLiteral("Times New Roman"), QStringLiteral("Liberation Serif"));
  setMinimumSize(kMinimumOuterSize);
  setAcceptDrops(true);
  Actions = new MainActions(this);
  createControls();
  connectActions();
}

TForm1::~TForm1() = default;

void TForm1::createControls() {
  Splitter1 = new QSplitter(Qt::Horizontal, this);
  Splitter1->setObjectName(QStringLiteral("Splitter1"));
  Splitter1->setHandleWidth(kSplitterWidth);
  Splitter1->setOpaqueResize(true);
  Splitter1->setChildrenCollapsible(false);
  setCentralWidget(Splitter1);

  StringGrid1 = new StringGridView(kSeriesTableHeaderRows, 0, true, Splitter1);
  StringGrid1->setObjectName(QStringLiteral("StringGrid1"));
  StringGrid1->setGrid(seriesTableText(*set_, currentLanguage()));
  StringGrid1->setContextMenuPolicy(Qt::CustomContextMenu);

  PanelRight = new QWidget(Splitter1);
  PanelRight->setObjectName(QStringLiteral("PanelRight"));
  PanelRight->installEventFilter(this);
  StringGrid2 = new StringGridView(1, 1, false, PanelRight);
  StringGrid2->setObjectName(QStringLiteral("StringGrid2"));
  StringGrid2->setGrid(designImpactsGrid());
  StringGrid2->setContextMenuPolicy(Qt::CustomContextMenu);
  StringGrid2->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  StringGrid2->setHorizontalBarWhenCrowded(true);

  CheckBoxAccel = curveBox("CheckBoxAccel", "a(t)", Qt::black, PanelRight);
  CheckBoxVelocity = curveBox("CheckBoxVelocity", "v(t)", QColor(0, 128, 0), PanelRight);
  CheckBoxDisplacement = curveBox("CheckBoxDisplacement", "s(t)", Qt::red, PanelRight);
  CheckBoxForce = curveBox("CheckBoxForce", "F(t)", QColor(0, 0, 128), PanelRight);

  createChart();

  Splitter1->setStretchFactor(0, 0);
  Splitter1->setStretchFactor(1, 1);

  QStatusBar* bar = statusBar();
  bar->setObjectName(QStringLiteral("StatusBar1"));
  bar->setSizeGripEnabled(false);
  const int widths[4] = {0, kStatusPanel1Width, kStatusPanel2Width, kStatusPanel3Width};
  for (int i = 0; i < 4; ++i) {
    StatusPanel[i] = new QLabel(bar);
    StatusPanel[i]->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
    StatusPanel[i]->setFrameShape(QFrame::Panel);
    StatusPanel[i]->setFrameShadow(QFrame::Sunken);
    if (i == 0) {
      bar->addWidget(StatusPanel[i], 1);
    } else {
      StatusPanel[i]->setFixedWidth(widths[i]);
      bar->addPermanentWidget(StatusPanel[i]);
    }
  }
  StatusPanel[1]->setText(QStringLiteral("Попытка соединения..."));
  StatusPanel[1]->installEventFilter(this);
  StatusPanel[2]->installEventFilter(this);
  ProgressBar1 = new QProgressBar(bar);
  ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
  ProgressBar1->setRange(0, 100);
  ProgressBar1->setTextVisible(false);
  ProgressBar1->hide();
  ShapeLink = new LinkLamp(bar);
  ShapeLink->setObjectName(QStringLiteral("ShapeLink"));
  createFeatureParts();

  help_ = std::make_unique<HelpLauncher>();
  auto* f1 = new QShortcut(QKeySequence(Qt::Key_F1), this);
  connect(f1, &QShortcut::activated, this, &TForm1::FormHelp);
}

void TForm1::connectActions() {
  MainActions* a = Actions;
  connect(a->AExit, &QAction::triggered, this, &TForm1::AExitExecute);
  connect(a->ALangRus, &QAction::triggered, this, &TForm1::ALangRusExecute);
  connect(a->ALangEng, &QAction::triggered, this, &TForm1::ALangEngExecute);
  connect(a->AChmHelp, &QAction::triggered, this, &TForm1::AChmHelpExecute);
  connect(a->AGaugeRead, &QAction::triggered, this, &TForm1::AGaugeReadExecute);
  connect(a->ASave, &QAction::triggered, this, &TForm1::ASaveExecute);
  connect(a->AOpen, &QAction::triggered, this, &TForm1::AOpenExecute);
  connect(a->ADelImpact, &QAction::triggered, this, &TForm1::ADelImpactExecute);
  connect(a->ADelSeries, &QAction::triggered, this, &TForm1::ADelSeriesExecute);
  connect(a->ACopyTable1, &QAction::triggered, this, &TForm1::ACopyTable1Execute);
  connect(a->ACopyBlockTable1, &QAction::triggered, this, &TForm1::ACopyBlockTable1Execute);
  connect(a->ACopyTable2, &QAction::triggered, this, &TForm1::ACopyTable2Execute);
  connect(a->ACopyBlockTable2, &QAction::triggered, this, &TForm1::ACopyBlockTable2Execute);
  connectReportActions();

  connect(StringGrid1, &StringGridView::gridClicked, this, &TForm1::StringGrid1Click);
  connect(StringGrid2, &StringGridView::gridClicked, this, &TForm1::StringGrid2Click);
  connect(StringGrid1, &StringGridView::copyShortcut, this,
          [this](bool single) { single ? ACopyTable1Execute() : ACopyBlockTable1Execute(); });
  connect(StringGrid2, &StringGridView::copyShortcut, this,
          [this](bool single) { single ? ACopyTable2Execute() : ACopyBlockTable2Execute(); });
  connect(StringGrid1, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& p) { Actions->PopupMenuTable1->popup(StringGrid1->viewport()->mapToGlobal(p)); });
  connect(StringGrid2, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& p) { Actions->PopupMenuTable2->popup(StringGrid2->viewport()->mapToGlobal(p)); });
  connect(Splitter1, &QSplitter::splitterMoved, this, [this](int position) {
    const int client = Splitter1->width();
    if (client > 0) table1Width_ = position * 1000 / client;
    FormResize();
  });
  connectChartActions();
  connectExportActions();
  connectTesterActions();
  connectFeatureActions();
}

void TForm1::createFeatureParts() {
  const auto selectSeries = [this](std::uint32_t k) { selectSeriesRow(k); };
  const auto noData = [this] { showNoData(); };
  ControlPart = new MainWindowControl({.window = this, .ui = env_.ui, .config = &ini_, .dataFolder = dataFolder(),
                                       .setupPath = controlSetupPath(env_.homes.config), .set = set_.get(),
                                       .seriesTable = StringGrid1, .impactsTable = StringGrid2, .selectSeries = selectSeries,
                                       .acceptanceProtocol = [this] { showAcceptanceProtocol(); }},
                                      this);
  MapPart = new MainWindowMap({.window = this, .ui = env_.ui, .set = set_.get(), .setup = &ControlPart->setup(),
                               .seriesTable = StringGrid1,
                               .exportFolder = [this] { return exportFolder(ini_, dataFolder()); },
                               .saveFile = [this](ModalUi::FileDialog dialog, const auto& decide,
                                                  const auto& write) { return saveThroughDialog(std::move(dialog), decide, write); },
                               .noData = noData, .selectSeries = selectSeries},
                              PanelRight, Chart1, this);
  TabsChartMap = MapPart->tabs();
  MapView1 = MapPart->view();
  ArchivePart = new MainWindowArchive({.window = this, .ui = env_.ui, .config = &ini_, .dataFolder = dataFolder(),
                                       .set = set_.get(), .staging = staging_.get(), .map = MapView1, .status = StatusPanel[0],
                                       .setSource = [this] { return setSource_; }, .noData = noData,
                                       .takeOver = [this](const QString& display) { return takeOverArchiveSelection(display); }},
                                      this);
}

void TForm1::connectFeatureActions() {
  MainActions* a = Actions;
  connect(a->ACompactionControl, &QAction::triggered, ControlPart, &MainWindowControl::showWindow);
  connect(ControlPart, &MainWindowControl::evaluated, MapPart, &MainWindowMap::refresh);
  connect(a->AExportGeoJson, &QAction::triggered, this, [this] { MapPart->exportPositions(GeoFormat::GeoJson); });
  connect(a->AExportKml, &QAction::triggered, this, [this] { MapPart->exportPositions(GeoFormat::Kml); });
  connect(a->AExportGpx, &QAction::triggered, this, [this] { MapPart->exportPositions(GeoFormat::Gpx); });
  connect(a->AExportGeoCsv, &QAction::triggered, this, [this] { MapPart->exportPositions(GeoFormat::Csv); });
  a->AArchiveKeep->setChecked(ArchivePart->keepReads());
  connect(a->AArchive, &QAction::triggered, ArchivePart, &MainWindowArchive::showWindow);
  connect(a->AArchiveAdd, &QAction::triggered, this, [this] { ArchivePart->add(true); });
  connect(a->AArchiveKeep, &QAction::triggered, this, [this](bool keep) { ArchivePart->setKeepReads(keep); });
}

void TForm1::FormCreate() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  const QSize screenSize = screen ? screen->geometry().size() : QSize(1024, 768);
  const StartupSettings s = readStartupSettings(ini_, screenSize);

  if (s.language) {
    switchLanguage(*s.language);
  } else {
    bool failed = false;
    env_.ui->chooseLanguage([this](Language l) { switchLanguage(l); }, &failed);
    if (failed) ALangRusExecute();
  }
  applyStartupSettings(s);
  ControlPart->readSetupAtStart();  // after the language: a damaged file is reported in the user's language
  writeUses(ini_, s.uses + 1);
  chart_->resetMouseState();
  FormResize();
  MenuFill();
  AStringGridSelectCancel(StringGrid2);
}

void TForm1::applyStartupSettings(const StartupSettings& s) {
  // Width and Height are the whole window's; the frame is taken off once it is known.
  outerSize_ = s.geometry.size();
  resize(outerSize_ - frameExtra());
  move(s.geometry.topLeft());
  table1Width_ = s.table1Width;
  if (s.maximized) setWindowState(windowState() | Qt::WindowMaximized);

  reducedView_ = s.reducedView;
  if (reducedView_) {
    Actions->hideForReducedView();
    for (QCheckBox* box : {CheckBoxAccel, CheckBoxVelocity}) {
      box->setChecked(false);
      box->hide();
      box->setFixedWidth(0);
    }
  }
  // After the view: a key may check a box the reduced view hid; the chart ignores hidden boxes.
  CheckBoxAccel->setChecked(s.curves.accel);
  CheckBoxVelocity->setChecked(s.curves.velocity);
  CheckBoxDisplacement->setChecked(s.curves.displacement);
  CheckBoxForce->setChecked(s.curves.force);
  codeView_ = s.codeView;
  chart_->setCodeView(codeView_);
  chart_->setReducedView(reducedView_);
  Actions->ALeftAxisPlus->setChecked(s.leftAxisPlus);
  Actions->ALeftAxisAuto->setChecked(s.leftAxisAuto);
  Actions->ARightAxisPlus->setChecked(s.rightAxisPlus);
  Actions->ARightAxisAuto->setChecked(s.rightAxisAuto);
  Actions->ABottomAxis20->setChecked(s.bottomAxis == BottomAxisMode::Ms20);
  Actions->ABottomAxis32->setChecked(s.bottomAxis == BottomAxisMode::Ms32);
  Actions->ABottomAxisAuto->setChecked(s.bottomAxis == BottomAxisMode::Auto);
  limits_ = s.limits;
  chart_->showStoredLimits();
}

QSize TForm1::frameExtra() const {
  const QMargins m = windowHandle() ? windowHandle()->frameMargins() : QMargins();
  return {m.left() + m.right(), m.top() + m.bottom()};
}

// The window manager tells the frame's size only once the window is shown: the minimum size and
// the size from the configuration are then made the whole window's.
void TForm1::fitFrame() {
  if (frameFitted_ || !isVisible()) return;
  const QSize extra = frameExtra();
  if (extra.isNull()) return;
  frameFitted_ = true;
  setMinimumSize(kMinimumOuterSize - extra);
  if (!isMaximized() && !outerSize_.isEmpty()) resize(outerSize_ - extra);
}

void TForm1::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  fitFrame();
}

void TForm1::moveEvent(QMoveEvent* event) {
  QMainWindow::moveEvent(event);
  fitFrame();
}

void TForm1::switchLanguage(Language language) {
  setCurrentLanguage(language);
  Actions->ALangRus->setChecked(language == Language::Russian);
  Actions->ALangEng->setChecked(language == Language::English);
  writeLanguage(ini_, language);
  applyQtTexts(language);
  MenuFill();
  ControlPart->refresh();
  ArchivePart->applyCaptions();
  Actions->menuLanguage()->setIcon((language == Language::Russian ? Actions->ALangRus : Actions->ALangEng)->icon());
}

void TForm1::ALangRusExecute() { switchLanguage(Language::Russian); }
void TForm1::ALangEngExecute() { switchLanguage(Language::English); }

void TForm1::MenuFill() {
  const Language language = currentLanguage();
  Actions->applyCaptions(language);
  MapPart->applyCaptions();
  FormResize();
  for (QCheckBox* box : {CheckBoxAccel, CheckBoxVelocity, CheckBoxDisplacement, CheckBoxForce})
    box->setToolTip(menuText(box->objectName().toLatin1().constData(), language));
  if (!set_->isEmpty() && drawImpact) drawImpact(set_->currentIndex());
}

void TForm1::FormResize() {
  if (inLayout_) return;
  inLayout_ = true;
  layOutStatusBar();
  const int client = Splitter1->width();
  int tableWidth = client * table1Width_ / 1000;
  if (client - 40 < tableWidth) tableWidth = client - 40;
  Splitter1->setSizes({std::max(tableWidth, 0), std::max(client - tableWidth - kSplitterWidth, 0)});
  layOutRightPane();
  LayOutTables();
  inLayout_ = false;
}

void TForm1::layOutStatusBar() {
  const QRect p1 = StatusPanel[1]->geometry();
  ProgressBar1->setGeometry(p1.adjusted(1, 2, -1, -2));
  ProgressBar1->raise();
  const QRect p2 = StatusPanel[2]->geometry();
  ShapeLink->move(p2.center() - QPoint(ShapeLink->width() / 2, ShapeLink->height() / 2));
  ShapeLink->raise();
}

void TForm1::layOutRightPane() {
  const int paneWidth = PanelRight->width();
  const int paneHeight = PanelRight->height();
  StringGrid2->setGeometry(0, 0, paneWidth, StringGrid2->fullHeight());
  QCheckBox* previous = nullptr;
  for (QCheckBox* box : {CheckBoxAccel, CheckBoxVelocity, CheckBoxDisplacement, CheckBoxForce}) {
    const int width = box->isHidden() ? 0 : box->sizeHint().width() + 8;
    const int height = box->sizeHint().height();
    if (!previous) {
      box->setGeometry(8, StringGrid2->geometry().bottom() + 1 + 5, width, height);
    } else {
      const QRect prev = previous->geometry();
      const int left = prev.left() + prev.width();
      if (paneWidth >= left + width) box->setGeometry(left, prev.top(), width, height);
      else box->setGeometry(CheckBoxAccel->x(), prev.top() + prev.height(), width, height);
    }
    previous = box;
  }
  const QRect force = CheckBoxForce->geometry();
  const int chartTop = force.top() + force.height() + 10;
  TabsChartMap->setGeometry(0, chartTop, paneWidth, std::max(paneHeight - chartTop, 0));
}

void TForm1::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  fitFrame();
  FormResize();
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (watched == PanelRight && type == QEvent::Resize && !inLayout_) {
    layOutRightPane();
    LayOutTables();
  } else if ((watched == StatusPanel[1] || watched == StatusPanel[2]) && (type == QEvent::Resize || type == QEvent::Move)) {
    layOutStatusBar();
  }
  return QMainWindow::eventFilter(watched, event);
}

void TForm1::closeEvent(QCloseEvent* event) {
  // Closing waits for the device worker (while the window keeps handling its messages); the menu's
  // Exit does not. A close the user takes back keeps everything running.
  if (!settleUnsavedChanges()) {
    event->ignore();
    return;
  }
  if (env_.stopWorker) env_.stopWorker();
  event->accept();
  endProgram();
}

void TForm1::AExitExecute() {
  if (settleUnsavedChanges()) endProgram();
}

bool TForm1::settleUnsavedChanges() {
  if (!set_->hasUnsavedData()) return true;
  const int answer = ui().message(this, {kAppTitle.text(), kSaveChanges.text(), ModalUi::Icon::Question,
                                         ModalUi::Save | ModalUi::Discard | ModalUi::Cancel, ModalUi::Save});
  // A save that was cancelled or failed keeps the window, and the measurements with it.
  return answer == ModalUi::Discard || (answer == ModalUi::Save && saveMeasurements());
}

void TForm1::endProgram() {
  ExitState state;
  state.maximized = isMaximized();
  state.geometry = QRect(pos(), frameGeometry().size());
  state.table1Width = table1Width_;
  state.curves = {CheckBoxAccel->isChecked(), CheckBoxVelocity->isChecked(), CheckBoxDisplacement->isChecked(),
                  CheckBoxForce->isChecked()};
  state.limits = limits_;
  writeExitSettings(ini_, state);
  help_->release();
  if (env_.exitProcess) env_.exitProcess(0);
}

void TForm1::AGaugeReadExecute() {
  // Only from idle; otherwise nothing happens (and nothing is asked).
  if (!env_.link || env_.link->state() != lsIdle || !settleUnsavedChanges()) return;
  readMayReplace_ = set_->revision();
  AGaugeRead(*env_.link);
}

void TForm1::takeOverMeasurements(MeasurementSet& staging) {
  // The read may come long after it was asked for (or by itself, when the tester is found): work
  // done meanwhile is not dropped without the question. Kept, the read stays on the tester.
  if (set_->hasUnsavedData() && set_->revision() != readMayReplace_ && !settleUnsavedChanges()) {
    StatusPanel[0]->setText(kReadNotShown.text());
    return;
  }
  set_->swap(staging);
  set_->setModified(true);  // a read lives only here until it is saved
  setSource_ = QString();
  // The worker showed the tester's version text in panel 0 when the read began.
  measurementSource_ = {MeasurementSource::Kind::Tester, StatusPanel[0]->text(), QDateTime::currentDateTime()};
  RebuildTables();
  if (Actions->AArchiveKeep->isChecked() && !set_->isEmpty()) ArchivePart->add(false);
}

// The manual's contents page in the current language; empty when no manual is installed.
QString TForm1::manualPage() const {
  const QString folder = manualFolder(env_.programFolder);
  if (folder.isEmpty()) return {};
  return folder + (currentLanguage() == Language::Russian ? QStringLiteral("/ru/index.html") : QStringLiteral("/en/index.html"));
}

// Without the HTML help (every desktop but Windows) the manual opens in the desktop's browser.
void TForm1::AChmHelpExecute() {
  const QString manual = manualPage();
  if (help_->canShowHtmlHelp() || manual.isEmpty()) {
    if (!help_->showHtmlHelpContents(reinterpret_cast<void*>(winId())))
      showHelpNotOpened(manual.isEmpty() ? QFileInfo(HelpLauncher::htmlHelpFile()).absoluteFilePath() : manual);
  } else if (!HelpLauncher::openContextHelp(manual)) {
    showHelpNotOpened(manual);
  }
}

void TForm1::FormHelp() {
  const QString helpFile = helpFilePath(env_.programFolder);
  const QString manual = manualPage();
  if (!HelpLauncher::openContextHelp(QFileInfo::exists(helpFile) || manual.isEmpty() ? helpFile : manual))
    showHelpNotOpened(manual.isEmpty() ? helpFile : manual);
}

// No viewer and no browser could be started (on Linux xdg-open comes with xdg-utils): the user
// is told where the manual is, to open it some other way.
void TForm1::showHelpNotOpened(const QString& file) {
  ui().message(this, {kAppTitle.text(), kHelpNotOpened.text() + QDir::toNativeSeparators(file), ModalUi::Icon::Information,
                      ModalUi::Ok, ModalUi::Ok});
}

}  // namespace grx
