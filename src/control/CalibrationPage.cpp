#include "CalibrationPage.h"

#include "CalibrationFile.h"
#include "CalibrationPairsModel.h"
#include "CalibrationPlot.h"
#include "config/Settings.h"
#include "data/ProjectFile.h"
#include "platform/AppPaths.h"
#include "platform/Messages.h"
#include "platform/NumberFormat.h"
#include "ui/ModalUi.h"
#include "ui/WindowButton.h"

#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QClipboard>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>

#include <cmath>

namespace grx {
namespace {

constexpr TextPair kListGroup{"Калибровки", "Calibrations"};
constexpr TextPair kFieldsGroup{"Калибровка", "Calibration"};
constexpr TextPair kPairsGroup{"Пары пробного участка", "Pairs of the trial section"};
constexpr TextPair kAdd{"Добавить", "Add"};
constexpr TextPair kRemove{"Удалить", "Remove"};
constexpr TextPair kImport{"Импорт...", "Import..."};
constexpr TextPair kExport{"Экспорт...", "Export..."};
constexpr TextPair kImportTitle{"Импорт калибровок", "Import calibrations"};
constexpr TextPair kExportTitle{"Экспорт калибровок", "Export calibrations"};
constexpr TextPair kImportHint{"Калибровки файла добавляются; калибровка с тем же названием заменяется",
                               "The file's calibrations are added; one of the same name is replaced"};
constexpr TextPair kFromSeries{"Из выделенных серий", "From the selected series"};
constexpr TextPair kFromSeriesHint{"Динамические модули серий, выделенных в главном окне, — с текущей строки вниз",
                                   "The dynamic moduli of the series selected in the main window, from the current row down"};
constexpr TextPair kRemovePairs{"Удалить пары", "Remove pairs"};
constexpr TextPair kPasteHint{"Ctrl+V вставляет два столбца из таблицы: динамический модуль и эталонное значение",
                              "Ctrl+V pastes two columns from a spreadsheet: the dynamic modulus and the reference value"};
// The labels of the fields, in the order of the form.
constexpr TextPair kFieldLabels[] = {
    {"Название", "Name"},         {"Объект", "Object"},         {"Материал", "Material"},
    {"Эталон", "Reference"},      {"Обозначение, ед.", "Symbol, unit"}, {"Модель", "Model"},
    {"Вероятность", "Confidence"}, {"Дата", "Date"},             {"Примечание", "Comment"},
};
constexpr TextPair kQuantities[] = {
    {"Ev2 — статический модуль, повторное нагружение", "Ev2: static plate-load modulus, second loading"},
    {"Ev1 — статический модуль, первичное нагружение", "Ev1: static plate-load modulus, first loading"},
    {"Коэффициент уплотнения", "Compaction coefficient"},
    {"Плотность сухого грунта", "Dry density"},
    {"Другая величина", "Another quantity"},
};
constexpr TextPair kModels[] = {{"линейная: y = a + b·x", "linear: y = a + b·x"}, {"степенная: y = a·x^b", "power: y = a·x^b"}};
constexpr TextPair kConfidenceHint{"Односторонняя нижняя граница прогноза: столько точек, прошедших по прибору, пройдут и эталонное испытание",
                                   "Of the one-sided lower prediction bound: the share of points passing on the tester that pass the reference test"};
constexpr TextPair kNoDate{"—", "—"};
constexpr TextPair kNewName{"Калибровка %1", "Calibration %1"};
constexpr TextPair kNameTaken{"Калибровка «%1» уже есть. Прежнее название оставлено.",
                              "A calibration \"%1\" exists already. The previous name is kept."};
constexpr TextPair kNameEmpty{"Калибровке нужно название. Прежнее название оставлено.",
                              "A calibration needs a name. The previous name is kept."};
constexpr TextPair kNoSymbol{"Другой величине нужно обозначение. Прежнее значение оставлено.",
                             "Another quantity needs its symbol. The previous value is kept."};
constexpr TextPair kNoCalibrations{"Калибровок нет: добавьте или импортируйте.", "No calibrations: add or import one."};
constexpr TextPair kNotFitted{"Не рассчитана: %1.", "Not fitted: %1."};
// %1 n, %2 the equation, %3 R², %4 s, %5 the confidence, %6 and %7 the range of the dynamic modulus.
constexpr TextPair kStatistics{"n = %1;  %2;  R² = %3;  s = %4\nвероятность %5 %;  Evd от %6 до %7 МПа",
                               "n = %1;  %2;  R² = %3;  s = %4\nconfidence %5 %;  Evd from %6 to %7 MPa"};
constexpr TextPair kLogarithms{" (в логарифмах)", " (of the logarithms)"};
constexpr TextPair kNoSeries{"В главном окне не выделено ни одной серии.", "No series is selected in the main window."};
constexpr TextPair kSeriesWithoutModulus{"У выделенной серии %1 нет динамического модуля: ничего не заполнено.",
                                         "Selected series %1 has no dynamic modulus: nothing is filled."};
constexpr TextPair kDynamicHeading{"Evd, МПа", "Evd, MPa"};

QPushButton* button(const char* name, QWidget* parent) { return windowButton(name, parent); }

template <class Widget>
Widget* named(const char* name, QWidget* parent) {
  auto* w = new Widget(parent);
  w->setObjectName(QString::fromLatin1(name));
  return w;
}

QString quantityText(const Calibration& c) {
  const QString unit = referenceUnit(c, currentLanguage());
  return referenceName(c, currentLanguage()) + (unit.isEmpty() ? QString() : QStringLiteral(", ") + unit);
}

// Ctrl+V in any keyboard layout: a layout that types no Latin letter there (Russian: "м") is
// matched by the key itself, as the tables' Ctrl+C is.
bool isPasteKey(const QKeyEvent* event) {
  if (event->matches(QKeySequence::Paste)) return true;
  if (!(event->modifiers() & Qt::ControlModifier) || (event->key() >= Qt::Key_A && event->key() <= Qt::Key_Z)) return false;
#ifdef Q_OS_WIN
  return event->nativeVirtualKey() == 0x56;  // VK 'V'
#else
  return event->nativeScanCode() == 55;  // the V key's XKB key code (evdev 47 + 8)
#endif
}

// The pairs table passes Ctrl+V on to the page.
class PairsTable : public QTableView {
 public:
  std::function<void()> paste;
  using QTableView::QTableView;

 protected:
  void keyPressEvent(QKeyEvent* event) override {
    if (isPasteKey(event) && paste) return paste();
    QTableView::keyPressEvent(event);
  }
};

}  // namespace

CalibrationPage::CalibrationPage(Environment environment, QWidget* parent) : QWidget(parent), env_(std::move(environment)) {
  setObjectName(QStringLiteral("pageCalibration"));
  auto* top = new QWidget(this);
  auto* topLayout = new QHBoxLayout(top);
  topLayout->setContentsMargins(0, 0, 0, 0);
  topLayout->addWidget(createListPart(), 0);
  topLayout->addWidget(createFieldsPart(), 1);
  auto* bottom = new QSplitter(Qt::Horizontal, this);
  bottom->setChildrenCollapsible(false);
  bottom->addWidget(createPairsPart());
  bottom->addWidget(createChartPart());
  bottom->setStretchFactor(0, 0);
  bottom->setStretchFactor(1, 1);
  auto* splitter = new QSplitter(Qt::Vertical, this);
  splitter->setChildrenCollapsible(false);
  splitter->addWidget(top);
  splitter->addWidget(bottom);
  splitter->setStretchFactor(0, 0);
  splitter->setStretchFactor(1, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(splitter);
}

QWidget* CalibrationPage::createListPart() {
  groupList_ = new QGroupBox(this);
  listCalibrations = named<QListWidget>("listCalibrations", groupList_);
  listCalibrations->setMinimumWidth(120);
  btnAddCalibration = button("btnAddCalibration", groupList_);
  btnRemoveCalibration = button("btnRemoveCalibration", groupList_);
  btnImportCalibrations = button("btnImportCalibrations", groupList_);
  btnExportCalibrations = button("btnExportCalibrations", groupList_);
  auto* layout = new QGridLayout(groupList_);
  layout->addWidget(listCalibrations, 0, 0, 1, 2);
  layout->addWidget(btnAddCalibration, 1, 0);
  layout->addWidget(btnRemoveCalibration, 1, 1);
  layout->addWidget(btnImportCalibrations, 2, 0);
  layout->addWidget(btnExportCalibrations, 2, 1);
  connect(listCalibrations, &QListWidget::currentRowChanged, this, [this] { showCurrent(); });
  connect(btnAddCalibration, &QPushButton::clicked, this, &CalibrationPage::btnAddCalibrationClick);
  connect(btnRemoveCalibration, &QPushButton::clicked, this, &CalibrationPage::btnRemoveCalibrationClick);
  connect(btnImportCalibrations, &QPushButton::clicked, this, &CalibrationPage::btnImportCalibrationsClick);
  connect(btnExportCalibrations, &QPushButton::clicked, this, &CalibrationPage::btnExportCalibrationsClick);
  return groupList_;
}

QWidget* CalibrationPage::createFieldsPart() {
  groupFields_ = new QGroupBox(this);
  editName = named<QLineEdit>("editName", groupFields_);
  editObject = named<QLineEdit>("editObject", groupFields_);
  editMaterial = named<QLineEdit>("editMaterial", groupFields_);
  comboQuantity = named<QComboBox>("comboQuantity", groupFields_);
  for (int i = 0; i < 5; ++i) comboQuantity->addItem(QString());
  editQuantityName = named<QLineEdit>("editQuantityName", groupFields_);
  editUnit = named<QLineEdit>("editUnit", groupFields_);
  editUnit->setMaximumWidth(70);
  comboModel = named<QComboBox>("comboModel", groupFields_);
  comboModel->addItems({QString(), QString()});
  spinConfidence = named<QSpinBox>("spinConfidence", groupFields_);
  spinConfidence->setRange(int(std::lround(kMinConfidence * 100)), int(std::lround(kMaxConfidence * 100)));
  spinConfidence->setSuffix(QStringLiteral(" %"));
  spinConfidence->setKeyboardTracking(false);
  dateCalibration = named<QDateEdit>("dateCalibration", groupFields_);
  dateCalibration->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
  dateCalibration->setCalendarPopup(true);
  dateCalibration->setKeyboardTracking(false);
  dateCalibration->setMinimumDate(QDate(2000, 1, 1));  // shown as "—": no date
  editComment = named<QLineEdit>("editComment", groupFields_);

  auto* quantity = new QHBoxLayout;
  quantity->addWidget(editQuantityName, 1);
  quantity->addWidget(editUnit);
  auto* layout = new QGridLayout(groupFields_);
  // Two columns of label and field, so the form stays low over the pairs and the chart.
  const std::pair<QWidget*, QLayout*> fields[] = {{editName, nullptr}, {editObject, nullptr},  {editMaterial, nullptr},
                                                  {comboQuantity, nullptr}, {nullptr, quantity}, {comboModel, nullptr},
                                                  {spinConfidence, nullptr}, {dateCalibration, nullptr}, {editComment, nullptr}};
  const int places[][2] = {{0, 0}, {1, 0}, {2, 0}, {0, 2}, {1, 2}, {2, 2}, {3, 0}, {3, 2}, {4, 0}};
  for (int i = 0; i < 9; ++i) {
    fieldLabels_[i] = new QLabel(groupFields_);
    layout->addWidget(fieldLabels_[i], places[i][0], places[i][1]);
    const int span = i == 8 ? 3 : 1;
    if (fields[i].first) layout->addWidget(fields[i].first, places[i][0], places[i][1] + 1, 1, span);
    else layout->addLayout(fields[i].second, places[i][0], places[i][1] + 1);
  }
  layout->setColumnStretch(1, 1);
  layout->setColumnStretch(3, 2);

  connect(editName, &QLineEdit::editingFinished, this, &CalibrationPage::nameChanged);
  for (QLineEdit* e : {editObject, editMaterial, editQuantityName, editUnit, editComment})
    connect(e, &QLineEdit::editingFinished, this, &CalibrationPage::fieldsChanged);
  for (QComboBox* c : {comboQuantity, comboModel}) connect(c, &QComboBox::currentIndexChanged, this, &CalibrationPage::fieldsChanged);
  connect(spinConfidence, &QSpinBox::valueChanged, this, &CalibrationPage::fieldsChanged);
  connect(dateCalibration, &QDateEdit::dateChanged, this, &CalibrationPage::fieldsChanged);
  return groupFields_;
}

QWidget* CalibrationPage::createPairsPart() {
  groupPairs_ = new QGroupBox(this);
  pairs_ = new CalibrationPairsModel(this);
  auto* table = new PairsTable(groupPairs_);
  table->paste = [this, table] {
    const QModelIndex at = table->currentIndex();
    pairs_->paste(at.isValid() ? at.row() : -1, at.isValid() ? at.column() : 0, QGuiApplication::clipboard()->text());
  };
  tablePairs = table;
  tablePairs->setObjectName(QStringLiteral("tablePairs"));
  tablePairs->setModel(pairs_);
  tablePairs->setSelectionMode(QAbstractItemView::ExtendedSelection);
  tablePairs->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                              QAbstractItemView::AnyKeyPressed | QAbstractItemView::SelectedClicked);
  tablePairs->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
  tablePairs->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
  tablePairs->setMinimumWidth(200);
  btnFromSeries = button("btnFromSeries", groupPairs_);
  btnFromSeries->setEnabled(bool(env_.selectedDynamic));
  btnRemovePairs = button("btnRemovePairs", groupPairs_);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(btnFromSeries);
  buttons->addWidget(btnRemovePairs);
  auto* layout = new QVBoxLayout(groupPairs_);
  layout->addWidget(tablePairs, 1);
  layout->addLayout(buttons);

  // A change of the pairs goes to the window first: it may leave a requirement underived.
  pairs_->setCheck([this](const QList<CalibrationPair>& pairs) {
    if (current() < 0) return kNoCalibrations.text();  // the table is disabled then
    QList<Calibration> list = *env_.calibrations;
    list[current()].pairs = pairs;
    return env_.take(list, {});
  });
  // A refusal is shown once the editor has closed, never from inside its commit.
  connect(pairs_, &CalibrationPairsModel::refused, this, &CalibrationPage::refuse, Qt::QueuedConnection);
  connect(pairs_, &CalibrationPairsModel::edited, this, &CalibrationPage::showFit);
  connect(btnFromSeries, &QPushButton::clicked, this, &CalibrationPage::btnFromSeriesClick);
  connect(btnRemovePairs, &QPushButton::clicked, this, &CalibrationPage::btnRemovePairsClick);
  return groupPairs_;
}

QWidget* CalibrationPage::createChartPart() {
  auto* part = new QWidget(this);
  ChartCalibration = new CalibrationPlot(part);
  ChartCalibration->setObjectName(QStringLiteral("ChartCalibration"));
  ChartCalibration->setMinimumSize(200, 120);
  labelStatistics = named<QLabel>("labelStatistics", part);
  labelStatistics->setWordWrap(true);
  labelStatistics->setTextInteractionFlags(Qt::TextSelectableByMouse);
  labelWarnings = named<QLabel>("labelWarnings", part);
  labelWarnings->setWordWrap(true);
  labelWarnings->setStyleSheet(QStringLiteral("color: #a05000"));
  auto* layout = new QVBoxLayout(part);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(ChartCalibration, 1);
  layout->addWidget(labelStatistics);
  layout->addWidget(labelWarnings);
  return part;
}

void CalibrationPage::setCaptions() {
  groupList_->setTitle(kListGroup.text());
  groupFields_->setTitle(kFieldsGroup.text());
  groupPairs_->setTitle(kPairsGroup.text());
  btnAddCalibration->setText(kAdd.text());
  btnRemoveCalibration->setText(kRemove.text());
  btnImportCalibrations->setText(kImport.text());
  btnImportCalibrations->setToolTip(kImportHint.text());
  btnExportCalibrations->setText(kExport.text());
  btnFromSeries->setText(kFromSeries.text());
  btnFromSeries->setToolTip(kFromSeriesHint.text());
  btnRemovePairs->setText(kRemovePairs.text());
  tablePairs->setToolTip(kPasteHint.text());
  for (int i = 0; i < 9; ++i) fieldLabels_[i]->setText(kFieldLabels[i].text());
  for (int i = 0; i < 5; ++i) comboQuantity->setItemText(i, kQuantities[i].text());
  for (int i = 0; i < 2; ++i) comboModel->setItemText(i, kModels[i].text());
  spinConfidence->setToolTip(kConfidenceHint.text());
  dateCalibration->setSpecialValueText(kNoDate.text());
  // Only texts: this runs after every evaluation, also while a pair's cell is being taken.
  if (const int at = current(); at >= 0) {
    const Calibration& c = (*env_.calibrations)[at];
    if (c.quantity != ReferenceQuantity::Other) {
      editQuantityName->setText(referenceName(c, currentLanguage()));
      editUnit->setText(referenceUnit(c, currentLanguage()));
    }
    pairs_->setHeadings(kDynamicHeading.text(), quantityText(c));
  }
  showFit();
}

int CalibrationPage::current() const {
  const int row = listCalibrations->currentRow();
  return row >= 0 && row < env_.calibrations->size() ? row : -1;
}

void CalibrationPage::fill() {
  const int keep = listCalibrations->currentRow();
  filling_ = true;
  listCalibrations->clear();
  for (const Calibration& c : *env_.calibrations) listCalibrations->addItem(c.name);
  listCalibrations->setCurrentRow(std::min(keep < 0 ? 0 : keep, int(env_.calibrations->size()) - 1));
  filling_ = false;
  showCurrent();
}

void CalibrationPage::showCurrent() {
  const int at = current();
  const Calibration c = at >= 0 ? (*env_.calibrations)[at] : Calibration{};
  filling_ = true;
  for (QWidget* w : std::initializer_list<QWidget*>{groupFields_, groupPairs_, btnRemoveCalibration}) w->setEnabled(at >= 0);
  editName->setText(c.name);
  editObject->setText(c.object);
  editMaterial->setText(c.material);
  comboQuantity->setCurrentIndex(int(c.quantity));
  const bool other = c.quantity == ReferenceQuantity::Other;
  editQuantityName->setText(other ? c.quantityName : referenceName(c, currentLanguage()));
  editUnit->setText(other ? c.unit : referenceUnit(c, currentLanguage()));
  editQuantityName->setEnabled(other);
  editUnit->setEnabled(other);
  comboModel->setCurrentIndex(c.model == CalibrationModel::Power ? 1 : 0);
  spinConfidence->setValue(int(std::lround(c.confidence * 100)));
  dateCalibration->setDate(c.date.isValid() ? c.date : dateCalibration->minimumDate());
  editComment->setText(c.comment);
  pairs_->setHeadings(kDynamicHeading.text(), quantityText(c));
  pairs_->setPairs(c.pairs);
  filling_ = false;
  showFit();
}

void CalibrationPage::showFit() {
  const int at = current();
  if (at < 0) {
    ChartCalibration->showCalibration({}, {FitProblem::TooFewPairs, {}});
    labelStatistics->setText(kNoCalibrations.text());
    labelWarnings->clear();
    return;
  }
  const Calibration& c = (*env_.calibrations)[at];
  const FitOutcome outcome = fitCalibration(c);
  ChartCalibration->showCalibration(c, outcome);
  if (!outcome.ok()) {
    // What is wrong instead of numbers that would mean nothing.
    labelStatistics->setText(kNotFitted.text().arg(fitProblemText(outcome.problem, currentLanguage())));
    labelWarnings->clear();
    return;
  }
  const CalibrationFit& f = outcome.fit;
  const auto text = [](double v, const char* picture) { return formatFloat(v, QString::fromLatin1(picture)); };
  labelStatistics->setText(kStatistics.text().arg(QString::number(f.n), fitEquation(c, f, currentLanguage()), text(f.r2, "0.00"),
                                                  text(f.s, f.model == CalibrationModel::Power ? "0.000" : "0.00") +
                                                      (f.model == CalibrationModel::Power ? kLogarithms.text() : QString()),
                                                  QString::number(std::lround(f.confidence * 100)), text(f.xMin, "0.0"), text(f.xMax, "0.0")));
  labelWarnings->setText(fitWarnings(f, currentLanguage()).join(u'\n'));
}

bool CalibrationPage::take(const QList<Calibration>& list, const std::pair<QString, QString>& renamed) {
  const QString refused = env_.take(list, renamed);
  if (refused.isEmpty()) return true;
  refuse(refused);
  showCurrent();
  return false;
}

void CalibrationPage::refuse(const QString& text) {
  env_.ui->message(this, {kAppTitle.text(), text, ModalUi::Icon::Warning, ModalUi::Ok, ModalUi::Ok});
}

void CalibrationPage::fieldsChanged() {
  const int at = current();
  if (filling_ || at < 0) return;
  QList<Calibration> list = *env_.calibrations;
  Calibration& c = list[at];
  const auto name = [](const QLineEdit* e) { return e->text().trimmed().isEmpty() ? QStringLiteral("*") : e->text().trimmed(); };
  c.object = name(editObject);
  c.material = name(editMaterial);
  c.quantity = ReferenceQuantity(comboQuantity->currentIndex());
  const bool other = c.quantity == ReferenceQuantity::Other;
  c.quantityName = other ? editQuantityName->text().trimmed() : QString();
  c.unit = other ? editUnit->text().trimmed() : QString();
  c.model = comboModel->currentIndex() == 1 ? CalibrationModel::Power : CalibrationModel::Linear;
  c.confidence = spinConfidence->value() / 100.0;
  c.date = dateCalibration->date() == dateCalibration->minimumDate() ? QDate() : dateCalibration->date();
  c.comment = editComment->text().trimmed();
  if (c == (*env_.calibrations)[at]) return;
  if (other && c.quantityName.isEmpty()) {  // a quantity of no name could not be read back
    refuse(kNoSymbol.text());
    return showCurrent();
  }
  take(list);
  showCurrent();
}

void CalibrationPage::nameChanged() {
  const int at = current();
  if (filling_ || at < 0) return;
  const QString old = (*env_.calibrations)[at].name, name = editName->text().trimmed();
  if (name == old) return;
  QString refused;
  if (name.isEmpty()) refused = kNameEmpty.text();
  else if (calibrationIndex(*env_.calibrations, name) >= 0) refused = kNameTaken.text().arg(name);
  if (!refused.isEmpty()) {
    editName->setText(old);
    return refuse(refused);
  }
  QList<Calibration> list = *env_.calibrations;
  list[at].name = name;
  if (take(list, {old, name})) listCalibrations->item(at)->setText(name);
}

void CalibrationPage::btnAddCalibrationClick() {
  Calibration c;
  for (int n = int(env_.calibrations->size()) + 1; c.name.isEmpty() || calibrationIndex(*env_.calibrations, c.name) >= 0; ++n)
    c.name = kNewName.text().arg(n);
  c.date = QDate::currentDate();
  QList<Calibration> list = *env_.calibrations;
  list.append(c);
  if (!take(list)) return;
  listCalibrations->addItem(c.name);
  listCalibrations->setCurrentRow(int(list.size()) - 1);
  editName->setFocus();
  editName->selectAll();
}

void CalibrationPage::btnRemoveCalibrationClick() {
  const int at = current();
  if (at < 0) return;
  QList<Calibration> list = *env_.calibrations;
  list.removeAt(at);
  if (take(list)) fill();  // refused while a requirement is given through it
}

void CalibrationPage::btnImportCalibrationsClick() {
  ModalUi::FileDialog dialog;
  dialog.title = kImportTitle.text();
  dialog.fileName = proposedFolder(readLastReadPath(*env_.config), env_.dataFolder);
  dialog.filters = {QStringLiteral("JSON (*.json)"), allFilesFilter()};
  dialog.defaultSuffix = QStringLiteral(".json");
  const std::optional<QString> chosen = env_.ui->fileName(this, dialog);
  if (!chosen) return;
  writeLastReadPath(*env_.config, folderWithSeparator(QDir::toNativeSeparators(*chosen)));
  QList<Calibration> read;
  const SetupReadResult result = readCalibrations(*chosen, read);
  if (result.status != SetupReadResult::Ok) {
    SetupProblem problem = result.problem;
    if (result.status == SetupReadResult::Missing) problem.kind = SetupProblem::Kind::Unreadable;
    return refuse(setupNotLoadedText(QFileInfo(*chosen).fileName(), problem, currentLanguage()));
  }
  if (take(mergedCalibrations(*env_.calibrations, read))) fill();
}

void CalibrationPage::btnExportCalibrationsClick() {
  ModalUi::FileDialog dialog;
  dialog.title = kExportTitle.text();
  dialog.fileName = proposedFolder(readLastReadPath(*env_.config), env_.dataFolder) + QStringLiteral("calibrations.json");
  dialog.filters = {QStringLiteral("JSON (*.json)"), allFilesFilter()};
  dialog.defaultSuffix = QStringLiteral(".json");
  dialog.save = true;
  dialog.confirmOverwrite = true;
  const std::optional<QString> chosen = env_.ui->fileName(this, dialog);
  if (!chosen) return;
  writeLastReadPath(*env_.config, folderWithSeparator(QDir::toNativeSeparators(*chosen)));
  if (!writeCalibrations(*chosen, *env_.calibrations)) refuse(cannotCreateFileText(QDir::toNativeSeparators(*chosen), currentLanguage()));
}

void CalibrationPage::btnFromSeriesClick() {
  if (current() < 0 || !env_.selectedDynamic) return;
  const QList<double> values = env_.selectedDynamic();
  if (values.isEmpty()) return refuse(kNoSeries.text());
  for (int i = 0; i < values.size(); ++i)
    if (!std::isfinite(values[i]) || values[i] <= 0) return refuse(kSeriesWithoutModulus.text().arg(i + 1));
  const QModelIndex at = tablePairs->currentIndex();
  pairs_->fillDynamic(at.isValid() ? at.row() : -1, values);
}

void CalibrationPage::btnRemovePairsClick() {
  QList<int> rows;
  for (const QModelIndex& i : tablePairs->selectionModel()->selectedIndexes()) rows.append(i.row());
  pairs_->removeRows(rows);
}

QWidget* CalibrationChoiceDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex&) const {
  auto* combo = new QComboBox(parent);
  combo->setObjectName(QStringLiteral("comboCalibration"));
  combo->addItem(QString());
  for (const Calibration& c : *calibrations_) combo->addItem(c.name);
  // A choice counts at once, as a typed cell counts at Return.
  connect(combo, &QComboBox::activated, this, [this, combo] {
    emit const_cast<CalibrationChoiceDelegate*>(this)->commitData(combo);
    emit const_cast<CalibrationChoiceDelegate*>(this)->closeEditor(combo);
  });
  return combo;
}

void CalibrationChoiceDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
  auto* combo = static_cast<QComboBox*>(editor);
  combo->setCurrentIndex(std::max(0, combo->findText(index.data(Qt::EditRole).toString())));
}

void CalibrationChoiceDelegate::setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const {
  model->setData(index, static_cast<QComboBox*>(editor)->currentText(), Qt::EditRole);
}

}  // namespace grx
