#include "TfrmControl.h"

#include "CalibrationPage.h"
#include "ControlChartData.h"
#include "ControlColors.h"
#include "ControlPlot.h"
#include "ControlTables.h"
#include "ControlTexts.h"
#include "RequirementsModel.h"
#include "ui/ModalUi.h"
#include "ui/WindowPlacement.h"
#include "config/Settings.h"
#include "data/ProjectFile.h"
#include "export/ClipboardText.h"
#include "platform/AppPaths.h"
#include "platform/Messages.h"
#include "views/ColumnWidths.h"
#include "views/StringGridView.h"
#include "ui/WindowButton.h"
#include "views/DecimalComma.h"

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QShortcut>
#include <QSpinBox>
#include <QSplitter>
#include <QStyledItemDelegate>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

namespace grx {
namespace {

// Where the lot table shows its verdict column: after the number and the names.
constexpr int kLotVerdictPlace = 3;
constexpr TextPair kRequirementsGroup{"Требования", "Requirements"};
constexpr TextPair kSettingsGroup{"Оценка", "Evaluation"};
constexpr TextPair kLotsGroup{"Партии", "Test lots"};
constexpr TextPair kRequirementsPage{"Требования и партии", "Requirements and lots"};
constexpr TextPair kCalibrationPage{"Калибровка", "Calibration"};
constexpr TextPair kCalibrationsNotChanged{"Калибровки не изменены: %1", "The calibrations are not changed: %1"};
constexpr TextPair kAdd{"Добавить", "Add"};
constexpr TextPair kRemove{"Удалить", "Remove"};
constexpr TextPair kUndoRemoval{"Отменить", "Undo"};
constexpr TextPair kRemoveHint{"Удалить выделенные строки", "Remove the selected rows"};
constexpr TextPair kUndoRemovalHint{"Вернуть строки, удалённые последними (Ctrl+Z)", "Put back the rows removed last (Ctrl+Z)"};
// %1 the file's name, %2 why it was not loaded.
constexpr TextPair kKeptAsRefused{"Файл %1 не загружен (%2): он остаётся как есть, а изменения здесь действуют до "
                                  "закрытия программы.",
                                  "%1 was not loaded (%2): the file is left as it is, and changes here last until the "
                                  "program closes."};
constexpr TextPair kImport{"Импорт...", "Import..."};
constexpr TextPair kExport{"Экспорт...", "Export..."};
constexpr TextPair kImportTitle{"Импорт требований", "Import requirements"};
constexpr TextPair kExportTitle{"Экспорт требований", "Export requirements"};
constexpr TextPair kCopyTable{"Копировать таблицу", "Copy table"};
constexpr TextPair kCopyChart{"Копировать график", "Copy chart"};
constexpr TextPair kClose{"Закрыть", "Close"};
constexpr TextPair kNoLots{"Нет партий", "No lots"};
// The labels of the settings, in the order of the form.
constexpr TextPair kSettingLabels[] = {
    {"Пригрузочные удары", "Seating impacts"},  {"Правило партии", "Lot rule"},
    {"Коэффициент k", "Factor k"},             {"Мин. число точек", "Minimum points"},
    {"Длительность удара, мс", "Impact duration, ms"}, {"", ""},
};
constexpr TextPair kSeatingHint{"Столько первых ударов каждой серии не учитываются",
                                "So many first impacts of every series are left out"};
constexpr TextPair kSplitByDate{"Делить партии по датам", "Split lots by date"};
constexpr TextPair kDurationHint{"Удары вне этого окна отмечаются в признаках точки",
                                 "Impacts outside this window are counted in the point's flags"};

// Paints a cell's own colour under the selection, which the lot table tints rather than covers.
class TintedSelectionDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    const QVariant background = index.data(Qt::BackgroundRole);
    if (background.isValid()) painter->fillRect(option.rect, background.value<QColor>());
    QStyledItemDelegate::paint(painter, option, index);
  }
};

QStringList jsonFilters() { return {QStringLiteral("JSON (*.json)"), allFilesFilter()}; }

QPushButton* button(const char* name, QWidget* parent) { return windowButton(name, parent); }

template <class Spin>
Spin* spin(const char* name, QWidget* parent) {
  auto* s = new Spin(parent);
  s->setObjectName(QString::fromLatin1(name));
  s->setKeyboardTracking(false);  // a value counts when it is complete, not at every digit
  s->setLocale(decimalCommaLocale());
  return s;
}

}  // namespace

TfrmControl::TfrmControl(Environment environment, QWidget* mainWindow)
    : QWidget(mainWindow, Qt::Window), env_(std::move(environment)), mainWindow_(mainWindow) {
  setObjectName(QStringLiteral("frmControl"));
  setAttribute(Qt::WA_DeleteOnClose);
  createControls();
}

TfrmControl::~TfrmControl() = default;

void TfrmControl::createControls() {
  auto* top = new QWidget(this);
  auto* topLayout = new QHBoxLayout(top);
  topLayout->setContentsMargins(0, 0, 0, 0);
  topLayout->addWidget(createRequirementsPart(), 1);
  topLayout->addWidget(createSettingsPart(), 0);

  groupLots_ = new QGroupBox(this);
  StringGridLots = new StringGridView(1, 0, true, groupLots_);
  StringGridLots->setObjectName(QStringLiteral("StringGridLots"));
  StringGridLots->setSelectionMode(QAbstractItemView::SingleSelection);
  StringGridLots->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  // The selected lot is tinted, so its verdict's colour still shows.
  QPalette lotsPalette = StringGridLots->palette();
  lotsPalette.setColor(QPalette::Highlight, QColor(0, 90, 200, 70));
  lotsPalette.setColor(QPalette::HighlightedText, lotsPalette.color(QPalette::Text));
  StringGridLots->setPalette(lotsPalette);
  StringGridLots->setItemDelegate(new TintedSelectionDelegate(StringGridLots));
  btnCopyLots = button("btnCopyLots", groupLots_);
  auto* lotsLayout = new QVBoxLayout(groupLots_);
  lotsLayout->addWidget(StringGridLots, 1);
  auto* lotsButtons = new QHBoxLayout;
  lotsButtons->addStretch(1);
  lotsButtons->addWidget(btnCopyLots);
  lotsLayout->addLayout(lotsButtons);

  auto* chartPart = new QWidget(this);
  ChartLot = new ControlPlot(chartPart);
  ChartLot->setObjectName(QStringLiteral("ChartLot"));
  ChartLot->setMinimumHeight(120);
  btnCopyChart = button("btnCopyChart", chartPart);
  auto* chartLayout = new QVBoxLayout(chartPart);
  chartLayout->setContentsMargins(0, 0, 0, 0);
  chartLayout->addWidget(ChartLot, 1);
  auto* chartButtons = new QHBoxLayout;
  chartButtons->addStretch(1);
  chartButtons->addWidget(btnCopyChart);
  chartLayout->addLayout(chartButtons);

  auto* splitter = new QSplitter(Qt::Vertical, this);
  splitter->setChildrenCollapsible(false);
  splitter->addWidget(top);
  splitter->addWidget(groupLots_);
  splitter->addWidget(chartPart);
  splitter->setStretchFactor(0, 0);
  splitter->setStretchFactor(1, 1);
  splitter->setStretchFactor(2, 1);
  splitter->setSizes({200, 210, 290});

  // The acceptance protocol stands apart from the window's own commands, at the bottom left.
  btnProtocol = button("btnProtocol", this);
  btnClose = button("btnClose", this);
  auto* bottom = new QHBoxLayout;
  bottom->addWidget(btnProtocol);
  bottom->addStretch(1);
  bottom->addWidget(btnClose);

  // The calibrations on a page of their own: the requirements and lots keep the window's room.
  pageCalibration = new CalibrationPage({env_.ui, env_.config, env_.dataFolder, &env_.setup->calibrations,
                                         [this](const auto& list, const auto& renamed) { return takeCalibrations(list, renamed); },
                                         env_.selectedDynamic},
                                        this);
  tabsControl = new QTabWidget(this);
  tabsControl->setObjectName(QStringLiteral("tabsControl"));
  tabsControl->setDocumentMode(true);
  // Each page scrolls in a window made smaller than it needs.
  for (QWidget* page : {static_cast<QWidget*>(splitter), static_cast<QWidget*>(pageCalibration)}) {
    auto* scroll = new QScrollArea(tabsControl);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setWidget(page);
    tabsControl->addTab(scroll, QString());
  }
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(tabsControl, 1);
  layout->addLayout(bottom);

  connect(StringGridLots, &StringGridView::gridClicked, this, &TfrmControl::StringGridLotsClick);
  connect(StringGridLots, &StringGridView::copyShortcut, this, [this](bool) { btnCopyLotsClick(); });
  connect(btnCopyLots, &QPushButton::clicked, this, &TfrmControl::btnCopyLotsClick);
  connect(ChartLot, &ControlPlot::pointClicked, this, &TfrmControl::ChartLotPointClick);
  connect(btnCopyChart, &QPushButton::clicked, this, &TfrmControl::btnCopyChartClick);
  connect(btnProtocol, &QPushButton::clicked, this, &TfrmControl::btnProtocolClick);
  connect(btnClose, &QPushButton::clicked, this, &QWidget::close);
}

QWidget* TfrmControl::createRequirementsPart() {
  groupRequirements_ = new QGroupBox(this);
  requirements_ = new RequirementsModel(this);
  tableRequirements = new QTableView(groupRequirements_);
  tableRequirements->setObjectName(QStringLiteral("tableRequirements"));
  tableRequirements->setModel(requirements_);
  tableRequirements->setSelectionMode(QAbstractItemView::ExtendedSelection);
  tableRequirements->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                                     QAbstractItemView::AnyKeyPressed | QAbstractItemView::SelectedClicked);
  tableRequirements->verticalHeader()->setDefaultSectionSize(kGridRowHeight + 4);
  QHeaderView* header = tableRequirements->horizontalHeader();
  header->setDefaultAlignment(Qt::Alignment(Qt::AlignCenter | Qt::TextWordWrap));
  header->setMinimumHeight(2 * fontMetrics().height() + 8);
  header->setSectionResizeMode(RequirementsModel::ObjectColumn, QHeaderView::Stretch);
  header->setSectionResizeMode(RequirementsModel::MaterialColumn, QHeaderView::Stretch);
  for (int c = RequirementsModel::DynamicColumn; c < RequirementsModel::ColumnCount; ++c) {
    header->setSectionResizeMode(c, QHeaderView::Fixed);
    header->resizeSection(c, c >= RequirementsModel::CalibrationColumn ? 110 : 88);
  }
  tableRequirements->setItemDelegateForColumn(RequirementsModel::CalibrationColumn,
                                              new CalibrationChoiceDelegate(&env_.setup->calibrations, tableRequirements));
  labelDerivation = new QLabel(groupRequirements_);
  labelDerivation->setObjectName(QStringLiteral("labelDerivation"));
  labelDerivation->setWordWrap(true);
  btnAddRequirement = button("btnAddRequirement", groupRequirements_);
  btnRemoveRequirement = button("btnRemoveRequirement", groupRequirements_);
  btnUndoRemoval = button("btnUndoRemoval", groupRequirements_);
  btnImport = button("btnImport", groupRequirements_);
  btnExport = button("btnExport", groupRequirements_);
  auto* buttons = new QHBoxLayout;
  for (QPushButton* b : {btnAddRequirement, btnRemoveRequirement, btnUndoRemoval}) buttons->addWidget(b);
  buttons->addStretch(1);
  for (QPushButton* b : {btnImport, btnExport}) buttons->addWidget(b);
  labelRefused_ = new QLabel(groupRequirements_);
  labelRefused_->setObjectName(QStringLiteral("labelRefused"));
  labelRefused_->setWordWrap(true);
  labelRefused_->setStyleSheet(QStringLiteral("color: #a00000"));
  labelRefused_->setVisible(env_.setupRefused.kind != SetupProblem::Kind::None);
  auto* layout = new QVBoxLayout(groupRequirements_);
  layout->addWidget(labelRefused_);
  layout->addWidget(tableRequirements, 1);
  layout->addWidget(labelDerivation);
  layout->addLayout(buttons);
  // Ctrl+Z takes a removal back; an open cell editor keeps the keys for its own text.
  auto* undo = new QShortcut(QKeySequence::Undo, this);
  connect(undo, &QShortcut::activated, this, &TfrmControl::btnUndoRemovalClick);

  // A refusal is shown once the editor has closed, never from inside its commit.
  connect(requirements_, &RequirementsModel::refused, this,
          [this](const QString& text) {
            env_.ui->message(this, {kAppTitle.text(), text, ModalUi::Icon::Warning, ModalUi::Ok, ModalUi::Ok});
          },
          Qt::QueuedConnection);
  connect(requirements_, &RequirementsModel::edited, this, &TfrmControl::requirementsEdited);
  connect(btnAddRequirement, &QPushButton::clicked, this, &TfrmControl::btnAddRequirementClick);
  connect(btnRemoveRequirement, &QPushButton::clicked, this, &TfrmControl::btnRemoveRequirementClick);
  connect(btnUndoRemoval, &QPushButton::clicked, this, &TfrmControl::btnUndoRemovalClick);
  connect(tableRequirements->selectionModel(), &QItemSelectionModel::selectionChanged, this,
          &TfrmControl::updateRequirementButtons);
  connect(tableRequirements->selectionModel(), &QItemSelectionModel::currentChanged, this, &TfrmControl::showDerivation);
  connect(btnImport, &QPushButton::clicked, this, &TfrmControl::btnImportClick);
  connect(btnExport, &QPushButton::clicked, this, &TfrmControl::btnExportClick);
  return groupRequirements_;
}

QWidget* TfrmControl::createSettingsPart() {
  groupSettings_ = new QGroupBox(this);
  spinSeating = spin<QSpinBox>("spinSeating", groupSettings_);
  spinSeating->setRange(0, 15);
  comboLotRule = new QComboBox(groupSettings_);
  comboLotRule->setObjectName(QStringLiteral("comboLotRule"));
  comboLotRule->addItems({QString(), QString()});
  spinK = spin<QDoubleSpinBox>("spinK", groupSettings_);
  spinK->setRange(0, 10);
  spinK->setDecimals(3);
  spinK->setSingleStep(0.01);
  spinMinPoints = spin<QSpinBox>("spinMinPoints", groupSettings_);
  spinMinPoints->setRange(2, 1000);
  checkSplitByDate = new QCheckBox(groupSettings_);
  checkSplitByDate->setObjectName(QStringLiteral("checkSplitByDate"));
  spinDurationMin = spin<QDoubleSpinBox>("spinDurationMin", groupSettings_);
  spinDurationMax = spin<QDoubleSpinBox>("spinDurationMax", groupSettings_);
  for (QDoubleSpinBox* s : {spinDurationMin, spinDurationMax}) {
    s->setDecimals(3);
    s->setSingleStep(0.5);
    s->setRange(0.001, 32.768);
  }
  auto* duration = new QHBoxLayout;
  duration->addWidget(spinDurationMin);
  duration->addWidget(new QLabel(QStringLiteral("–"), groupSettings_));
  duration->addWidget(spinDurationMax);

  auto* form = new QFormLayout(groupSettings_);
  QWidget* fields[] = {spinSeating, comboLotRule, spinK, spinMinPoints, nullptr, checkSplitByDate};
  for (int i = 0; i < 6; ++i) {
    settingLabels_[i] = new QLabel(groupSettings_);
    if (i == 4) form->addRow(settingLabels_[i], duration);
    else form->addRow(settingLabels_[i], fields[i]);
  }

  for (QSpinBox* s : {spinSeating, spinMinPoints}) connect(s, &QSpinBox::valueChanged, this, &TfrmControl::SettingsChange);
  for (QDoubleSpinBox* s : {spinK, spinDurationMin, spinDurationMax})
    connect(s, &QDoubleSpinBox::valueChanged, this, &TfrmControl::SettingsChange);
  connect(comboLotRule, &QComboBox::currentIndexChanged, this, &TfrmControl::SettingsChange);
  connect(checkSplitByDate, &QCheckBox::toggled, this, &TfrmControl::SettingsChange);
  return groupSettings_;
}

void TfrmControl::setCaptions() {
  setWindowTitle(kControlTitle.text());
  tabsControl->setTabText(0, kRequirementsPage.text());
  tabsControl->setTabText(1, kCalibrationPage.text());
  pageCalibration->setCaptions();
  groupRequirements_->setTitle(kRequirementsGroup.text());
  groupSettings_->setTitle(kSettingsGroup.text());
  groupLots_->setTitle(kLotsGroup.text());
  btnAddRequirement->setText(kAdd.text());
  btnRemoveRequirement->setText(kRemove.text());
  btnRemoveRequirement->setToolTip(kRemoveHint.text());
  btnUndoRemoval->setText(kUndoRemoval.text());
  btnUndoRemoval->setToolTip(kUndoRemovalHint.text());
  if (env_.setupRefused.kind != SetupProblem::Kind::None) {
    const QString file = QFileInfo(env_.setupPath).fileName();
    labelRefused_->setText(kKeptAsRefused.text().arg(file, setupProblemText(env_.setupRefused, currentLanguage())));
  }
  btnImport->setText(kImport.text());
  btnExport->setText(kExport.text());
  btnCopyLots->setText(kCopyTable.text());
  btnCopyChart->setText(kCopyChart.text());
  btnProtocol->setText(kProtocolTitle.text());
  btnClose->setText(kClose.text());
  for (int i = 0; i < 6; ++i) settingLabels_[i]->setText(kSettingLabels[i].text());
  comboLotRule->setItemText(0, kRuleEachPoint.text());
  comboLotRule->setItemText(1, kRuleStatistical.text());
  checkSplitByDate->setText(kSplitByDate.text());
  spinSeating->setToolTip(kSeatingHint.text());
  spinDurationMin->setToolTip(kDurationHint.text());
  spinDurationMax->setToolTip(kDurationHint.text());
  requirements_->retranslate();
  showDerivation();
}

void TfrmControl::FormCreate() {
  requirements_->setCalibrations(env_.setup->calibrations);
  requirements_->setRequirements(env_.setup->requirements);
  pageCalibration->fill();
  updateRequirementButtons();
  fillSettings();
  setCaptions();
  btnProtocol->setEnabled(bool(env_.acceptanceProtocol));
  // As large as the work needs where the screen has room, over the middle of the main window.
  const QScreen* screen = mainWindow_ ? mainWindow_->screen() : QGuiApplication::primaryScreen();
  const QRect room = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
  resize(std::min(1060, room.width() - 40), std::min(720, room.height() - 60));
  QPoint at = (mainWindow_ ? mainWindow_->geometry().center() : room.center()) - QPoint(width() / 2, height() / 2);
  at.setX(std::clamp(at.x(), room.left(), std::max(room.left(), room.right() - width())));
  at.setY(std::clamp(at.y(), room.top(), std::max(room.top(), room.bottom() - height())));
  move(at);
  keepInScreen(*this);  // the margins above are a guess of the frame; the real one counts when shown
}

void TfrmControl::fillSettings() {
  const EvaluationSettings& s = env_.setup->settings;
  filling_ = true;
  spinSeating->setValue(s.seatingImpacts);
  comboLotRule->setCurrentIndex(s.lotRule == LotRule::Statistical ? 1 : 0);
  spinK->setValue(s.k);
  spinMinPoints->setValue(s.minPoints);
  checkSplitByDate->setChecked(s.splitLotsByDate);
  // The window keeps its lower end below its upper one.
  spinDurationMin->setMaximum(32.768);
  spinDurationMax->setMinimum(0.001);
  spinDurationMin->setValue(s.durationMinMs);
  spinDurationMax->setValue(s.durationMaxMs);
  spinDurationMin->setMaximum(s.durationMaxMs - 0.001);
  spinDurationMax->setMinimum(s.durationMinMs + 0.001);
  const bool statistical = s.lotRule == LotRule::Statistical;
  spinK->setEnabled(statistical);
  spinMinPoints->setEnabled(statistical);
  filling_ = false;
}

void TfrmControl::SettingsChange() {
  if (filling_) return;
  EvaluationSettings& s = env_.setup->settings;
  s.seatingImpacts = spinSeating->value();
  s.lotRule = comboLotRule->currentIndex() == 1 ? LotRule::Statistical : LotRule::EachPoint;
  s.k = spinK->value();
  s.minPoints = spinMinPoints->value();
  s.splitLotsByDate = checkSplitByDate->isChecked();
  s.durationMinMs = spinDurationMin->value();
  s.durationMaxMs = spinDurationMax->value();
  fillSettings();
  keepAndEvaluate();
}

void TfrmControl::requirementsEdited() {
  env_.setup->requirements = requirements_->requirementsInForce();
  updateRequirementButtons();
  keepAndEvaluate();
}

QString TfrmControl::takeCalibrations(const QList<Calibration>& calibrations, const std::pair<QString, QString>& renamed) {
  if (const SetupProblem problem = requirements_->setCalibrations(calibrations, renamed); problem.kind != SetupProblem::Kind::None)
    return kCalibrationsNotChanged.text().arg(setupProblemText(problem, currentLanguage()));
  env_.setup->calibrations = calibrations;
  env_.setup->requirements = requirements_->requirementsInForce();
  keepAndEvaluate();
  return {};
}

void TfrmControl::showDerivation() {
  const QModelIndex at = tableRequirements->currentIndex();
  const QList<Requirement>& rows = requirements_->requirements();
  const bool derived = at.isValid() && at.row() < rows.size() && rows[at.row()].minReference;
  labelDerivation->setText(derived ? derivationText(rows[at.row()], *env_.setup, currentLanguage()) : QString());
  labelDerivation->setVisible(derived);
}

void TfrmControl::updateRequirementButtons() {
  btnRemoveRequirement->setEnabled(tableRequirements->selectionModel()->hasSelection());
  btnUndoRemoval->setEnabled(requirements_->canUndoRemoval());
}

void TfrmControl::keepAndEvaluate() {
  if (env_.setupRefused.kind == SetupProblem::Kind::None && !writeControlSetup(env_.setupPath, *env_.setup)) {
    // The change stays in force for this run; the file keeps what it had.
    env_.ui->message(this, {kAppTitle.text(), cannotCreateFileText(QDir::toNativeSeparators(env_.setupPath), currentLanguage()),
                            ModalUi::Icon::Warning, ModalUi::Ok, ModalUi::Ok});
  }
  if (env_.setupChanged) env_.setupChanged();
}

void TfrmControl::btnAddRequirementClick() {
  // A new requirement starts from the names of the lot in view, so a lab fills in its values only.
  Requirement r;
  if (lot_ >= 0 && std::size_t(lot_) < result_.lots.size()) {
    r.object = result_.lots[std::size_t(lot_)].object;
    r.material = result_.lots[std::size_t(lot_)].material;
  }
  const QModelIndex current = tableRequirements->currentIndex();
  const int row = requirements_->addRequirement(r, current.isValid() ? current.row() + 1 : -1);
  const QModelIndex value = requirements_->index(row, RequirementsModel::DynamicColumn);
  tableRequirements->setCurrentIndex(value);
  tableRequirements->setFocus();
  tableRequirements->edit(value);
}

void TfrmControl::btnRemoveRequirementClick() {
  // Only what the user selected: the current cell alone is no choice of a row.
  QList<int> rows;
  for (const QModelIndex& i : tableRequirements->selectionModel()->selectedIndexes()) rows.append(i.row());
  requirements_->removeRequirements(rows);
}

void TfrmControl::btnUndoRemovalClick() { requirements_->undoRemoval(); }

void TfrmControl::btnImportClick() {
  ModalUi::FileDialog dialog;
  dialog.title = kImportTitle.text();
  dialog.fileName = proposedFolder(readLastReadPath(*env_.config), env_.dataFolder);
  dialog.filters = jsonFilters();
  dialog.defaultSuffix = QStringLiteral(".json");
  const std::optional<QString> chosen = env_.ui->fileName(this, dialog);
  if (!chosen) return;
  writeLastReadPath(*env_.config, folderWithSeparator(QDir::toNativeSeparators(*chosen)));
  ControlSetup read;
  const SetupReadResult result = readControlSetup(*chosen, read);
  if (result.status != SetupReadResult::Ok) {
    SetupProblem problem = result.problem;
    if (result.status == SetupReadResult::Missing) problem.kind = SetupProblem::Kind::Unreadable;
    env_.ui->message(this, {kAppTitle.text(), setupNotLoadedText(QFileInfo(*chosen).fileName(), problem, currentLanguage()),
                            ModalUi::Icon::Warning, ModalUi::Ok, ModalUi::Ok});
    return;
  }
  *env_.setup = read;
  requirements_->setRequirements({});  // the rows there now need not derive from the file's calibrations
  requirements_->setCalibrations(read.calibrations);
  requirements_->setRequirements(read.requirements);
  pageCalibration->fill();
  updateRequirementButtons();
  fillSettings();
  keepAndEvaluate();
}

void TfrmControl::btnExportClick() {
  ModalUi::FileDialog dialog;
  dialog.title = kExportTitle.text();
  dialog.fileName = proposedFolder(readLastReadPath(*env_.config), env_.dataFolder) +
                    QFileInfo(env_.setupPath).fileName();
  dialog.filters = jsonFilters();
  dialog.defaultSuffix = QStringLiteral(".json");
  dialog.save = true;
  dialog.confirmOverwrite = true;
  const std::optional<QString> chosen = env_.ui->fileName(this, dialog);
  if (!chosen) return;
  writeLastReadPath(*env_.config, folderWithSeparator(QDir::toNativeSeparators(*chosen)));
  if (!writeControlSetup(*chosen, *env_.setup))
    env_.ui->message(this, {kAppTitle.text(), cannotCreateFileText(QDir::toNativeSeparators(*chosen), currentLanguage()),
                            ModalUi::Icon::Warning, ModalUi::Ok, ModalUi::Ok});
}

void TfrmControl::showResult(const ControlResult& result) {
  result_ = result;
  setCaptions();
  TextGrid grid = lotTableText(result_, *env_.setup, currentLanguage());
  QVector<QColor> colors(grid.rowCount());
  QStringList tips(grid.rowCount());
  for (std::size_t i = 0; i < result_.lots.size(); ++i) {
    colors[int(i) + 1] = verdictColor(result_.lots[i].verdict);
    tips[int(i) + 1] = lotReasonText(result_.lots[i], result_, currentLanguage());
  }
  const int columns = grid.columnCount();
  StringGridLots->setGrid(std::move(grid));
  StringGridLots->setRowColors(colors);  // the whole row, so the verdict shows wherever the table is scrolled
  StringGridLots->setRowToolTips(tips);
  // The verdict beside the lot's names, where the window's default size shows it; copies and the
  // protocol keep it last.
  QHeaderView* header = StringGridLots->horizontalHeader();
  if (header->visualIndex(columns - 1) != kLotVerdictPlace) header->moveSection(header->visualIndex(columns - 1), kLotVerdictPlace);
  const QFontMetrics metrics(StringGridLots->font());
  for (int c = 0; c < columns; ++c) {
    int width = 0;
    for (int r = 0; r < StringGridLots->gridRowCount(); ++r)
      width = std::max(width, metrics.horizontalAdvance(StringGridLots->grid().cell(r, c)));
    StringGridLots->setColumnWidth(c, width + 10);
  }
  if (lot_ < 0 || std::size_t(lot_) >= result_.lots.size()) lot_ = 0;
  StringGridLots->blockSignals(true);
  StringGridLots->setCurrentRow(lot_ + 1);
  StringGridLots->blockSignals(false);
  showLotChart();
}

void TfrmControl::selectLotOfSeries(std::uint32_t k) {
  for (std::size_t i = 0; i < result_.points.size(); ++i)
    if (result_.points[i].series == k && result_.points[i].lot >= 0 && result_.points[i].lot != lot_) {
      lot_ = result_.points[i].lot;
      StringGridLots->blockSignals(true);
      StringGridLots->setCurrentRow(lot_ + 1);
      StringGridLots->blockSignals(false);
      showLotChart();
      return;
    }
}

void TfrmControl::StringGridLotsClick() {
  const int row = StringGridLots->currentRow();
  if (row < 1) return;
  lot_ = row - 1;
  showLotChart();
}

void TfrmControl::showLotChart() {
  QString title = kNoLots.text();
  if (std::size_t(lot_) < result_.lots.size()) {
    const LotResult& lot = result_.lots[std::size_t(lot_)];
    title = kLotCaption.text().arg(QString::number(lot.number), lot.object, lot.material);
    if (lot.date.isValid())
      title += QStringLiteral(", ") +
               lot.date.toString(currentLanguage() == Language::Russian ? QStringLiteral("dd.MM.yyyy") : QStringLiteral("MM.dd.yyyy"));
    if (lot.verdict != Verdict::None) title += QStringLiteral(": ") + lotVerdictText(lot, result_, currentLanguage());
  }
  ChartLot->showLot(controlChartData(result_, *env_.setup, lot_), title);
}

void TfrmControl::ChartLotPointClick(int point) {
  if (point >= 0 && std::size_t(point) < result_.points.size() && env_.selectSeries)
    env_.selectSeries(result_.points[std::size_t(point)].series);
}

void TfrmControl::btnCopyLotsClick() { QGuiApplication::clipboard()->setText(tableCopyText(StringGridLots->grid())); }

void TfrmControl::btnCopyChartClick() { QGuiApplication::clipboard()->setPixmap(ChartLot->picture()); }

void TfrmControl::btnProtocolClick() {
  if (env_.acceptanceProtocol) env_.acceptanceProtocol();
}

}  // namespace grx
