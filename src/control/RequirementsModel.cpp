#include "RequirementsModel.h"

#include "platform/NumberFormat.h"
#include "platform/TextPair.h"

#include <cmath>

namespace grx {
namespace {

constexpr TextPair kHeadings[] = {
    {"Объект", "Object"},
    {"Материал", "Material"},
    {"Треб. дин. модуль, МПа", "Required dyn. modulus, MPa"},
    {"Треб. стат. модуль, МПа", "Required stat. modulus, MPa"},
    {"Макс. s/v, мс", "Max s/v, ms"},
};
constexpr TextPair kHints[] = {
    {"«*» или пустая ячейка — любой объект", "\"*\" or an empty cell: any object"},
    {"«*» или пустая ячейка — любой материал", "\"*\" or an empty cell: any material"},
    {"Точка соответствует, когда её динамический модуль не меньше требуемого",
     "A point passes when its dynamic modulus is at least the required one"},
    {"Пустая ячейка — не требуется", "An empty cell: not required"},
    {"Пустая ячейка — не требуется", "An empty cell: not required"},
};
// %1 the column, %2 the text typed, %3 the words for an optional column.
constexpr TextPair kRefused{"%1: значение «%2» не принято — нужно число не меньше нуля, например 80 или 12,5%3. "
                            "Прежнее значение оставлено.",
                            "%1: \"%2\" is not accepted: a number of zero or more is needed, such as 80 or 12,5%3. "
                            "The previous value is kept."};
constexpr TextPair kOrEmpty{", или пустая ячейка", ", or an empty cell"};

// The number typed, none for an empty optional cell; false when the text is no such number.
bool parseCell(const QString& text, bool optional, std::optional<double>& out) {
  const QString t = text.trimmed();
  if (t.isEmpty()) {
    out.reset();
    return optional;
  }
  bool ok = false;
  const double v = parseDecimal(t, &ok);
  if (!ok || !std::isfinite(v) || v < 0) return false;
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

void RequirementsModel::setRequirements(QList<Requirement> list) {
  beginResetModel();
  list_ = std::move(list);
  endResetModel();
}

int RequirementsModel::addRequirement(const Requirement& requirement, int row) {
  if (row < 0 || row > list_.size()) row = int(list_.size());
  beginInsertRows({}, row, row);
  list_.insert(row, requirement);
  endInsertRows();
  emit edited();
  return row;
}

void RequirementsModel::removeRequirement(int row) {
  if (row < 0 || row >= list_.size()) return;
  beginRemoveRows({}, row, row);
  list_.removeAt(row);
  endRemoveRows();
  emit edited();
}

void RequirementsModel::retranslate() { emit headerDataChanged(Qt::Horizontal, 0, ColumnCount - 1); }

int RequirementsModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : int(list_.size()); }

int RequirementsModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : ColumnCount; }

QVariant RequirementsModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= list_.size() || (role != Qt::DisplayRole && role != Qt::EditRole)) return {};
  const Requirement& r = list_[index.row()];
  switch (index.column()) {
    case ObjectColumn: return r.object;
    case MaterialColumn: return r.material;
    case DynamicColumn: return requirementNumberText(r.minDynamic);
    case StaticColumn: return r.minStatic ? requirementNumberText(*r.minStatic) : QString();
    case SvColumn: return r.maxSv ? requirementNumberText(*r.maxSv) : QString();
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
  return index.isValid() ? Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsEditable : Qt::NoItemFlags;
}

bool RequirementsModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (!index.isValid() || index.row() >= list_.size() || role != Qt::EditRole) return false;
  Requirement r = list_[index.row()];
  const QString text = value.toString();
  const int column = index.column();
  if (column == ObjectColumn || column == MaterialColumn) {
    const QString name = text.trimmed().isEmpty() ? QString::fromUtf16(kAnyName) : text.trimmed();
    (column == ObjectColumn ? r.object : r.material) = name;
  } else {
    const bool optional = column != DynamicColumn;
    std::optional<double> number;
    if (!parseCell(text, optional, number)) {
      emit refused(kRefused.text().arg(kHeadings[column].text(), text.trimmed(), optional ? kOrEmpty.text() : QString()));
      return false;
    }
    if (column == DynamicColumn) r.minDynamic = *number;
    else (column == StaticColumn ? r.minStatic : r.maxSv) = number;
  }
  if (r == list_[index.row()]) return true;
  list_[index.row()] = r;
  emit dataChanged(index, index, {Qt::DisplayRole, Qt::EditRole});
  emit edited();
  return true;
}

}  // namespace grx
