#include "TfrmArchive.h"

#include "ArchiveTexts.h"
#include "DateField.h"
#include "ui/ModalUi.h"
#include "ui/WindowPlacement.h"
#include "platform/Messages.h"
#include "platform/NumberFormat.h"
#include "platform/TextCells.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTableWidget>
#include <QVBoxLayout>

#include <map>

namespace grx {
namespace {

constexpr TextPair kObject{"Объект:", "Object:"};
constexpr TextPair kMaterial{"Материал:", "Material:"};
constexpr TextPair kAny{"(все)", "(all)"};
constexpr TextPair kFrom{"с", "from"};
constexpr TextPair kTo{"по", "to"};
constexpr TextPair kText{"Часть названия:", "Part of a name:"};
constexpr TextPair kMapArea{"Только в области, видимой на карте", "Only within the area the map shows"};
constexpr TextPair kOpen{"Открыть", "Open"};
constexpr TextPair kClose{"Закрыть", "Close"};
constexpr TextPair kSummary{"Серий: %1, ударов: %2", "Series: %1, impacts: %2"};
constexpr TextPair kLocation{"Архив: %1", "Archive: %1"};
constexpr TextPair kReadOnly{" (только чтение)", " (read-only)"};
constexpr TextPair kColumns[] = {
    {"Дата", "Date"},     {"Время", "Time"},          {"Серия", "Series"},
    {"Ударов", "Impacts"}, {"Дин.модуль, МПа", "Din.modulus, MPa"},  {"Стат.модуль, МПа", "Stat.modulus, MPa"},
    {"Материал", "Material"}, {"Объект", "Object"}, {"Добавлено", "Added"},
};

QString dateFormat() {
  return currentLanguage() == Language::Russian ? QStringLiteral("dd.MM.yyyy") : QStringLiteral("MM.dd.yyyy");
}

}  // namespace

TfrmArchive::TfrmArchive(Environment environment, QWidget* mainWindow)
    : QWidget(mainWindow, Qt::Window), env_(std::move(environment)) {
  setObjectName(QStringLiteral("frmArchive"));
  setAttribute(Qt::WA_DeleteOnClose);
  createControls();
}

TfrmArchive::~TfrmArchive() = default;

void TfrmArchive::createControls() {
  auto* filters = new QGridLayout;
  comboObject = new QComboBox(this);
  comboMaterial = new QComboBox(this);
  for (QComboBox* c : {comboObject, comboMaterial}) c->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  checkFrom = new QCheckBox(this);
  checkTo = new QCheckBox(this);
  dateFrom = new DateField(QDate::currentDate().addMonths(-1), this);
  dateTo = new DateField(QDate::currentDate(), this);
  editText = new QLineEdit(this);
  editText->setClearButtonEnabled(true);
  checkMapArea = new QCheckBox(this);
  auto* labelObject = new QLabel(this);
  auto* labelMaterial = new QLabel(this);
  auto* labelText = new QLabel(this);
  labelObject->setObjectName(QStringLiteral("labelObject"));
  labelMaterial->setObjectName(QStringLiteral("labelMaterial"));
  labelText->setObjectName(QStringLiteral("labelText"));
  filters->addWidget(labelObject, 0, 0);
  filters->addWidget(comboObject, 0, 1);
  filters->addWidget(checkFrom, 0, 2);
  filters->addWidget(dateFrom, 0, 3);
  filters->addWidget(labelMaterial, 1, 0);
  filters->addWidget(comboMaterial, 1, 1);
  filters->addWidget(checkTo, 1, 2);
  filters->addWidget(dateTo, 1, 3);
  filters->addWidget(labelText, 2, 0);
  filters->addWidget(editText, 2, 1, 1, 3);
  filters->addWidget(checkMapArea, 3, 1, 1, 3);
  filters->setColumnStretch(1, 1);

  tableSeries = new QTableWidget(0, int(std::size(kColumns)), this);
  tableSeries->setSelectionBehavior(QAbstractItemView::SelectRows);
  tableSeries->setSelectionMode(QAbstractItemView::ExtendedSelection);
  tableSeries->setEditTriggers(QAbstractItemView::NoEditTriggers);
  tableSeries->verticalHeader()->hide();
  tableSeries->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
  // Every column as wide as its texts, the last one too: a narrow window scrolls, it never cuts a text.
  tableSeries->horizontalHeader()->setStretchLastSection(false);
  tableSeries->horizontalHeader()->setResizeContentsPrecision(-1);  // every row's text shows whole

  labelSummary = new QLabel(this);
  labelLocation = new QLabel(this);
  labelLocation->setTextInteractionFlags(Qt::TextSelectableByMouse);  // to be copied into a file manager
  btnOpen = new QPushButton(this);
  btnClose = new QPushButton(this);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(labelSummary, 1);
  buttons->addWidget(btnOpen);
  buttons->addWidget(btnClose);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(filters);
  layout->addWidget(tableSeries, 1);
  layout->addWidget(labelLocation);
  layout->addLayout(buttons);

  for (QComboBox* c : {comboObject, comboMaterial})
    connect(c, &QComboBox::currentIndexChanged, this, &TfrmArchive::FilterChange);
  for (QCheckBox* c : {checkFrom, checkTo, checkMapArea}) connect(c, &QCheckBox::toggled, this, &TfrmArchive::FilterChange);
  for (DateField* d : {dateFrom, dateTo}) connect(d, &DateField::dateChanged, this, &TfrmArchive::FilterChange);
  connect(editText, &QLineEdit::textChanged, this, &TfrmArchive::FilterChange);
  connect(btnOpen, &QPushButton::clicked, this, &TfrmArchive::btnOpenClick);
  connect(btnClose, &QPushButton::clicked, this, &QWidget::close);
  connect(tableSeries, &QTableWidget::cellDoubleClicked, this, &TfrmArchive::btnOpenClick);
}

void TfrmArchive::FormCreate() {
  setCaptions();
  refresh();
  // Wide enough for every column where the screen allows it.
  int columns = 0;
  for (int c = 0; c < tableSeries->columnCount(); ++c) columns += tableSeries->columnWidth(c);
  const int chrome = tableSeries->frameWidth() * 2 + tableSeries->verticalScrollBar()->sizeHint().width() +
                     layout()->contentsMargins().left() + layout()->contentsMargins().right();
  const QSize wanted(std::max(860, columns + chrome), 480);
  resize(screen() ? wanted.boundedTo(screen()->availableGeometry().size()) : wanted);
  keepInScreen(*this);
}

void TfrmArchive::setCaptions() {
  setWindowTitle(kArchiveTitle.text());
  findChild<QLabel*>(QStringLiteral("labelObject"))->setText(kObject.text());
  findChild<QLabel*>(QStringLiteral("labelMaterial"))->setText(kMaterial.text());
  findChild<QLabel*>(QStringLiteral("labelText"))->setText(kText.text());
  checkFrom->setText(kFrom.text());
  checkTo->setText(kTo.text());
  checkMapArea->setText(kMapArea.text());
  // The calendar's month and day names follow the program's language, not the desktop's.
  const QLocale locale(currentLanguage() == Language::Russian ? QLocale::Russian : QLocale::English,
                       currentLanguage() == Language::Russian ? QLocale::Russia : QLocale::UnitedStates);
  for (DateField* d : {dateFrom, dateTo}) d->setDisplayFormat(dateFormat(), locale);
  btnOpen->setText(kOpen.text());
  btnClose->setText(kClose.text());
  labelLocation->setText(kLocation.text().arg(QDir::toNativeSeparators(env_.archive->location().display)) +
                         (env_.archive->writable() ? QString() : kReadOnly.text()));
  QStringList headers;
  for (const TextPair& c : kColumns) headers << c.text();
  tableSeries->setHorizontalHeaderLabels(headers);
  filling_ = true;
  for (QComboBox* c : {comboObject, comboMaterial}) {
    if (c->count() == 0) c->addItem(QString());
    c->setItemText(0, kAny.text());
  }
  filling_ = false;
  fillTable();
}

void TfrmArchive::refresh() {
  fillNames();
  FilterChange();
}

void TfrmArchive::fillNames() {
  filling_ = true;
  for (const bool objects : {true, false}) {
    QComboBox* combo = objects ? comboObject : comboMaterial;
    const QString chosen = combo->currentIndex() > 0 ? combo->currentText() : QString();
    QStringList names;
    env_.archive->distinctNames(objects, names);
    combo->clear();
    combo->addItem(kAny.text());
    combo->addItems(names);
    combo->setCurrentIndex(std::max(0, int(names.indexOf(chosen)) + 1));
  }
  filling_ = false;
}

ArchiveFilter TfrmArchive::filter() const {
  ArchiveFilter f;
  if (comboObject->currentIndex() > 0) f.object = comboObject->currentText();
  if (comboMaterial->currentIndex() > 0) f.material = comboMaterial->currentText();
  if (checkFrom->isChecked()) f.from = dateFrom->date();
  if (checkTo->isChecked()) f.to = dateTo->date();
  f.text = editText->text().trimmed();
  if (checkMapArea->isChecked() && env_.mapArea) f.area = env_.mapArea();
  return f;
}

void TfrmArchive::FilterChange() {
  if (filling_) return;
  dateFrom->setEnabled(checkFrom->isChecked());
  dateTo->setEnabled(checkTo->isChecked());
  // The map shows the measurement set; without a position in it there is no area to search.
  checkMapArea->setEnabled(env_.mapArea && env_.mapArea().has_value());
  // A failing server says so in the summary line; the table then stays empty.
  ArchiveError error = env_.archive->listSeries(filter(), series_);
  if (!error) error = env_.archive->listImports(imports_);
  if (error) {
    series_.clear();
    labelSummary->setText(archiveErrorText(error, env_.archive->location().display, currentLanguage()));
  }
  fillTable();
  if (error) labelSummary->setText(archiveErrorText(error, env_.archive->location().display, currentLanguage()));
}

void TfrmArchive::fillTable() {
  std::map<qint64, const ArchiveImport*> byId;
  for (const ArchiveImport& i : imports_) byId[i.id] = &i;
  tableSeries->setUpdatesEnabled(false);
  tableSeries->clearContents();
  tableSeries->setRowCount(int(series_.size()));
  int impacts = 0;
  for (int row = 0; row < int(series_.size()); ++row) {
    const ArchiveSeries& s = series_[std::size_t(row)];
    impacts += s.impacts;
    const auto it = byId.find(s.importId);
    const QString cells[] = {
        QDate::fromString(s.start.left(10), Qt::ISODate).toString(dateFormat()),
        s.start.mid(11),
        QString::number(s.seriesNumber),
        QString::number(s.impacts),
        formatFloat(s.meanDynamicModulus, u"0.0"),
        formatFloat(s.meanStaticModulus, u"0.0"),
        singleLineText(s.material),
        singleLineText(s.object),
        it == byId.end() ? QString() : importText(*it->second, currentLanguage()),
    };
    for (int c = 0; c < int(std::size(cells)); ++c) {
      auto* item = new QTableWidgetItem(cells[c]);
      if (c >= 2 && c <= 5) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
      tableSeries->setItem(row, c, item);
    }
  }
  tableSeries->resizeColumnsToContents();
  tableSeries->setUpdatesEnabled(true);
  labelSummary->setText(kSummary.text().arg(series_.size()).arg(impacts));
  btnOpen->setEnabled(!series_.empty());
}

void TfrmArchive::btnOpenClick() {
  if (series_.empty()) return;
  QList<qint64> keys;
  for (const QModelIndex& index : tableSeries->selectionModel()->selectedRows())
    if (index.row() < int(series_.size())) keys << series_[std::size_t(index.row())].key;
  if (env_.open) env_.open(filter(), keys);
}

}  // namespace grx
