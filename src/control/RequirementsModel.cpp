#include "RequirementsModel.h"

#include "platform/NumberFormat.h"
#include "platform/TextPair.h"

#include <algorithm>
#include <cmath>

namespace grx {
namespace {

constexpr TextPair kHeadings[] = {
    {"Объект", "Object"},
    {"Материал", "Material"},
    {"Треб. дин. модуль, МПа", "Required dyn. modulus, MPa"},
    {"Треб. стат. модуль, МПа", "Required stat. modulus, MPa"},
    {"Макс. s/v, мс", "Max s/v, ms"},
    {"Калибровка", "Calibration"},
    {"Треб. по эталону", "Required reference"},
};
constexpr TextPair kHints[] = {
    {"«*» или пустая ячейка — любой объект", "\"*\" or an empty cell: any object"},
    {"«*» или пустая ячейка — любой материал", "\"*\" or an empty cell: any material"},
    {"Точка соответствует, когда её динамический модуль не меньше требуемого",
     "A point passes when its dynamic modulus is at least the required one"},
    {"Пустая ячейка — не требуется", "An empty cell: not required"},
    {"Пустая ячейка — не требуется", "An empty cell: not required"},
    {"Требование в величине калибровки (Ev2, Kупл, ...): треб. динамический модуль выводится из неё",
     "A requirement in a calibration's quantity (Ev2, compaction, ...): the required dynamic modulus is derived from it"},
    {"Требуемое значение в величине калибровки строки", "The required value in the quantity of the row's calibration"},
};
// %1 the calibration's quantity with its unit.
constexpr TextPair kReferenceHint{"Требуемое значение %1", "The required value of %1"};
constexpr TextPair kPending{"Действует прежнее значение, пока не введено требуемое эталонное значение",
                            "The former value stays in force until the required reference value is typed"};
constexpr TextPair kNeedsCalibration{"Треб. эталонное значение: сначала выберите калибровку строки. Прежнее значение оставлено.",
                                     "Required reference value: choose the row's calibration first. The previous value is kept."};
// %1 the name typed.
constexpr TextPair kNoSuchCalibration{"Калибровки «%1» нет. Прежнее значение оставлено.",
                                      "There is no calibration \"%1\". The previous value is kept."};
// After a problem's text, which ends without a stop.
constexpr TextPair kKept{". Прежнее значение оставлено.", ". The previous value is kept."};
// %1 the column, %2 the text typed, %3 the number needed, %4 the words for an optional column.
constexpr TextPair kRefused{"%1: значение «%2» не принято — нужно %3, например 80 или 12,5%4. "
                            "Прежнее значение оставлено.",
                            "%1: \"%2\" is not accepted: %3 is needed, such as 80 or 12,5%4. "
                            "The previous value is kept."};
constexpr TextPair kAboveZero{"число больше нуля", "a number above zero"};
constexpr TextPair kZeroOrMore{"число не меньше нуля", "a number of zero or more"};
constexpr TextPair kOrEmpty{", или пустая ячейка", ", or an empty cell"};
// Two rows of the same names would leave one of them never applied.
constexpr TextPair kNamesTaken{"Объект «%1» и материал «%2» уже есть в строке %3. Прежнее значение оставлено.",
                               "Object \"%1\" and material \"%2\" are already in row %3. The previous value is kept."};
constexpr TextPair kUndoTaken{"Удалённые строки не возвращены: объект «%1» и материал «%2» уже есть в строке %3.",
                              "The removed rows are not put back: object \"%1\" and material \"%2\" are already in row %3."};
constexpr TextPair kNewMaterial{"новый материал", "new material"};

// The number typed, none for an empty optional cell; false when the text is no such number.
bool parseCell(const QString& text, bool optional, bool aboveZero, std::optional<double>& out) {
  const QString t = text.trimmed();
  if (t.isEmpty()) {
    out.reset();
    return optional;
  }
  bool ok = false;
  const double v = parseDecimal(t, &ok);
  if (!ok || !std::isfinite(v) || v < 0 || (aboveZero && v == 0)) return false;
  out = v == 0 ? 0.0 : v;  // no "-0"
  return true;
}

}  // namespace

QString requirementNumberText(double value) {
  QString text = QString::number(value, 'g', 15);
  text.replace(u'.', kDecimalSeparator);
  return text;
}

RequirementsModel::RequirementsModel(QObject* parent) : QAbstractTableModel(parent) {}

QList<Requirement> RequirementsModel::requirementsInForce() const {
  QList<Requirement> list;
  for (Requirement r : list_) {
    if (!r.calibration.isEmpty() && !r.minReference) r.calibration.clear();
    if (r.minDynamic > 0) list.append(r);
  }
  return list;
}

SetupProblem RequirementsModel::derive(QList<Requirement>& rows, const QList<Calibration>& calibrations) const {
  // Rows whose reference value is still to be typed keep their former value and are left out.
  ControlSetup trial;
  trial.calibrations = calibrations;
  trial.requirements = rows;
  for (Requirement& r : trial.requirements)
    if (!r.minReference) r.calibration.clear();
  const SetupProblem problem = deriveCalibratedRequirements(trial);
  if (problem.kind != SetupProblem::Kind::None) return problem;
  for (int i = 0; i < rows.size(); ++i)
    if (!trial.requirements[i].calibration.isEmpty()) rows[i].minDynamic = trial.requirements[i].minDynamic;
  return {};
}

SetupProblem RequirementsModel::setCalibrations(const QList<Calibration>& calibrations, const std::pair<QString, QString>& renamed) {
  QList<Requirement> rows = list_;
  if (!renamed.first.isEmpty())
    for (Requirement& r : rows)
      if (r.calibration == renamed.first) r.calibration = renamed.second;
  if (SetupProblem problem = derive(rows, calibrations); problem.kind != SetupProblem::Kind::None) return problem;
  calibrations_ = calibrations;
  list_ = rows;
  if (!list_.isEmpty()) emit dataChanged(index(0, 0), index(int(list_.size()) - 1, ColumnCount - 1));
  return {};
}

void RequirementsModel::setRequirements(QList<Requirement> list) {
  beginResetModel();
  list_ = std::move(list);
  removals_.clear();
  endResetModel();
}

int RequirementsModel::rowNamed(const QString& object, const QString& material, int except) const {
  for (int i = 0; i < list_.size(); ++i)
    if (i != except && list_[i].object == object && list_[i].material == material) return i;
  return -1;
}

int RequirementsModel::addRequirement(const Requirement& requirement, int row) {
  if (row < 0 || row > list_.size()) row = int(list_.size());
  Requirement r = requirement;
  r.minDynamic = 0;  // not in force until its value is typed
  for (int n = 1; rowNamed(r.object, r.material) >= 0; ++n)
    r.material = kNewMaterial.text() + (n > 1 ? QStringLiteral(" %1").arg(n) : QString());
  beginInsertRows({}, row, row);
  list_.insert(row, r);
  endInsertRows();
  emit edited();
  return row;
}

void RequirementsModel::removeRequirements(const QList<int>& rows) {
  QList<int> sorted = rows;
  std::sort(sorted.begin(), sorted.end());
  sorted.erase(std::unique(sorted.begin(), sorted.end()), sorted.end());
  QList<std::pair<int, Requirement>> removal;
  for (const int row : sorted)
    if (row >= 0 && row < list_.size()) removal.append({row, list_[row]});
  if (removal.isEmpty()) return;
  for (auto it = removal.crbegin(); it != removal.crend(); ++it) {  // from the last, so rows keep their places
    beginRemoveRows({}, it->first, it->first);
    list_.removeAt(it->first);
    endRemoveRows();
  }
  removals_.append(removal);
  emit edited();
}

bool RequirementsModel::undoRemoval() {
  if (removals_.isEmpty()) return false;
  for (const auto& [row, r] : removals_.last())
    if (const int taken = rowNamed(r.object, r.material); taken >= 0) {
      emit refused(kUndoTaken.text().arg(r.object, r.material, QString::number(taken + 1)));
      return false;
    }
  // The calibrations may have changed since: the rows come back derived from them as they are now.
  QList<Requirement> rows = list_;
  for (const auto& [row, r] : removals_.last()) rows.insert(std::min(row, int(rows.size())), r);
  if (const SetupProblem problem = derive(rows, calibrations_); problem.kind != SetupProblem::Kind::None) {
    emit refused(setupProblemText(problem, currentLanguage()));
    return false;
  }
  for (const auto& [row, r] : removals_.takeLast()) {  // ascending: each goes back where it stood
    const int at = std::min(row, int(list_.size()));
    beginInsertRows({}, at, at);
    list_.insert(at, rows[at]);
    endInsertRows();
  }
  emit edited();
  return true;
}

void RequirementsModel::retranslate() { emit headerDataChanged(Qt::Horizontal, 0, ColumnCount - 1); }

int RequirementsModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : int(list_.size()); }

int RequirementsModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : ColumnCount; }

QVariant RequirementsModel::toolTip(const QModelIndex& index) const {
  const Requirement& r = list_[index.row()];
  if (r.calibration.isEmpty()) return {};
  if (index.column() == DynamicColumn) {
    if (!r.minReference) return kPending.text();
    ControlSetup setup;
    setup.calibrations = calibrations_;
    return derivationText(r, setup, currentLanguage());
  }
  const int c = calibrationIndex(calibrations_, r.calibration);
  if (index.column() == ReferenceColumn && c >= 0) {
    const QString unit = referenceUnit(calibrations_[c], currentLanguage());
    return kReferenceHint.text().arg(referenceName(calibrations_[c], currentLanguage()) +
                                     (unit.isEmpty() ? QString() : QStringLiteral(", ") + unit));
  }
  return {};
}

QVariant RequirementsModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= list_.size()) return {};
  if (role == Qt::ToolTipRole) return toolTip(index);
  if (role != Qt::DisplayRole && role != Qt::EditRole) return {};
  const Requirement& r = list_[index.row()];
  switch (index.column()) {
    case ObjectColumn: return r.object;
    case MaterialColumn: return r.material;
    case DynamicColumn:
      if (!(r.minDynamic > 0)) return QString();
      // A derived value as its derivation states it; a typed one as typed.
      return !r.calibration.isEmpty() && r.minReference ? formatFloat(r.minDynamic, u"0.0") : requirementNumberText(r.minDynamic);
    case StaticColumn: return r.minStatic ? requirementNumberText(*r.minStatic) : QString();
    case SvColumn: return r.maxSv ? requirementNumberText(*r.maxSv) : QString();
    case CalibrationColumn: return r.calibration;
    case ReferenceColumn: return r.minReference ? requirementNumberText(*r.minReference) : QString();
  }
  return {};
}

QVariant RequirementsModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation == Qt::Vertical) return role == Qt::DisplayRole ? QVariant(section + 1) : QVariant();
  if (section < 0 || section >= ColumnCount) return {};
  if (role == Qt::DisplayRole) return kHeadings[section].text();
  if (role == Qt::ToolTipRole) return kHints[section].text();
  return {};
}

Qt::ItemFlags RequirementsModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  const bool derived = index.column() == DynamicColumn && index.row() < list_.size() && !list_[index.row()].calibration.isEmpty();
  return Qt::ItemIsSelectable | Qt::ItemIsEnabled | (derived ? Qt::NoItemFlags : Qt::ItemIsEditable);
}

bool RequirementsModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (!index.isValid() || index.row() >= list_.size() || role != Qt::EditRole) return false;
  Requirement r = list_[index.row()];
  const QString text = value.toString();
  const int column = index.column();
  if (column == ObjectColumn || column == MaterialColumn) {
    const QString name = text.trimmed().isEmpty() ? QString::fromUtf16(kAnyName) : text.trimmed();
    (column == ObjectColumn ? r.object : r.material) = name;
    if (const int taken = rowNamed(r.object, r.material, index.row()); taken >= 0) {
      emit refused(kNamesTaken.text().arg(r.object, r.material, QString::number(taken + 1)));
      return false;
    }
  } else if (column == CalibrationColumn) {
    const QString name = text.trimmed();
    if (!name.isEmpty() && calibrationIndex(calibrations_, name) < 0) {
      emit refused(kNoSuchCalibration.text().arg(name));
      return false;
    }
    if (name != r.calibration) r.minReference.reset();  // a value of another quantity means nothing here
    r.calibration = name;
  } else {
    const bool optional = column != DynamicColumn, aboveZero = column != SvColumn;
    std::optional<double> number;
    if (!parseCell(text, optional, aboveZero, number)) {
      emit refused(kRefused.text().arg(kHeadings[column].text(), text.trimmed(),
                                       (aboveZero ? kAboveZero : kZeroOrMore).text(), optional ? kOrEmpty.text() : QString()));
      return false;
    }
    if (column == ReferenceColumn && r.calibration.isEmpty() && number) {
      emit refused(kNeedsCalibration.text());
      return false;
    }
    if (column == DynamicColumn) r.minDynamic = *number;
    else if (column == ReferenceColumn) r.minReference = number;
    else (column == StaticColumn ? r.minStatic : r.maxSv) = number;
  }
  if (r == list_[index.row()]) return true;
  QList<Requirement> rows = list_;
  rows[index.row()] = r;
  if (const SetupProblem problem = derive(rows, calibrations_); problem.kind != SetupProblem::Kind::None) {
    emit refused(setupProblemText(problem, currentLanguage()) + kKept.text());
    return false;
  }
  list_ = rows;
  emit dataChanged(this->index(index.row(), 0), this->index(index.row(), ColumnCount - 1));
  emit edited();
  return true;
}

}  // namespace grx
