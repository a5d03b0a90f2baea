#include "CalibrationPairsModel.h"

#include "RequirementsModel.h"
#include "platform/NumberFormat.h"
#include "platform/TextPair.h"

#include <algorithm>
#include <cmath>

namespace grx {
namespace {

constexpr TextPair kHints[] = {
    {"Динамический модуль прибора в точке, МПа", "The tester's dynamic modulus at the place, MPa"},
    {"Значение эталонного испытания в той же точке", "The reference test's value at the same place"},
};
// %1 the column, %2 the text typed.
constexpr TextPair kRefused{"%1: значение «%2» не принято — нужно число больше нуля, например 80 или 12,5. "
                            "Прежнее значение оставлено.",
                            "%1: \"%2\" is not accepted: a number above zero is needed, such as 80 or 12,5. "
                            "The previous value is kept."};
// %1 the line of the pasted text, %2 the text of its cell.
constexpr TextPair kPasteRefused{"Строка %1: значение «%2» не принято — нужно число больше нуля, например 80 или 12,5. "
                                 "Ничего не вставлено.",
                                 "Line %1: \"%2\" is not accepted: a number above zero is needed, such as 80 or 12,5. "
                                 "Nothing is pasted."};
constexpr TextPair kTooManyColumns{"Вставляются один или два столбца: динамический модуль и эталонное значение. "
                                   "Ничего не вставлено.",
                                   "One or two columns are pasted: the dynamic modulus and the reference value. "
                                   "Nothing is pasted."};
constexpr TextPair kKept{" Прежнее значение оставлено.", " The previous value is kept."};

std::optional<double> number(const QString& text) {
  bool ok = false;
  const double v = parseDecimal(text.trimmed(), &ok);
  if (!ok || !std::isfinite(v) || v <= 0) return std::nullopt;
  return v;
}

}  // namespace

CalibrationPairsModel::CalibrationPairsModel(QObject* parent) : QAbstractTableModel(parent) {}

void CalibrationPairsModel::setPairs(const QList<CalibrationPair>& pairs) {
  beginResetModel();
  rows_.clear();
  for (const CalibrationPair& p : pairs) rows_.append({p.dynamic, p.reference});
  endResetModel();
}

QList<CalibrationPair> CalibrationPairsModel::complete(const QList<Row>& rows) {
  QList<CalibrationPair> pairs;
  for (const Row& r : rows)
    if (r.dynamic && r.reference) pairs.append({*r.dynamic, *r.reference});
  return pairs;
}

QList<CalibrationPair> CalibrationPairsModel::pairs() const { return complete(rows_); }

void CalibrationPairsModel::setHeadings(const QString& dynamic, const QString& reference) {
  headings_[DynamicColumn] = dynamic;
  headings_[ReferenceColumn] = reference;
  emit headerDataChanged(Qt::Horizontal, 0, ColumnCount - 1);
}

bool CalibrationPairsModel::take(QList<Row> rows) {
  rows.erase(std::remove(rows.begin(), rows.end(), Row{}), rows.end());
  if (rows == rows_) return true;
  if (check_ && complete(rows) != complete(rows_))
    if (const QString why = check_(complete(rows)); !why.isEmpty()) {
      emit refused(why);
      return false;
    }
  // Rows come and go at the end of the table, so the current cell and an open editor stay where they are.
  const int before = int(rows_.size()), after = int(rows.size());
  if (after > before) {
    beginInsertRows({}, before + 1, after);
    rows_ = std::move(rows);
    endInsertRows();
  } else if (after < before) {
    beginRemoveRows({}, after + 1, before);
    rows_ = std::move(rows);
    endRemoveRows();
  } else {
    rows_ = std::move(rows);
  }
  emit dataChanged(index(0, 0), index(after, ColumnCount - 1));
  emit edited();
  return true;
}

bool CalibrationPairsModel::paste(int row, int column, const QString& text) {
  QList<QStringList> lines;
  QList<int> lineNumbers;
  int width = 0;
  const QStringList textLines = text.split(u'\n');
  for (int i = 0; i < textLines.size(); ++i) {
    QString line = textLines[i];
    if (line.endsWith(u'\r')) line.chop(1);
    if (line.trimmed().isEmpty()) continue;
    QStringList cells = line.split(u'\t');
    while (cells.size() > 1 && cells.last().trimmed().isEmpty()) cells.removeLast();
    // A heading line over the numbers: no cell of it is a number.
    if (lines.isEmpty() && std::none_of(cells.cbegin(), cells.cend(), [](const QString& c) { return bool(number(c)); }) &&
        std::any_of(cells.cbegin(), cells.cend(), [](const QString& c) { return std::any_of(c.cbegin(), c.cend(), [](QChar ch) { return ch.isLetter(); }); }))
      continue;
    width = std::max(width, int(cells.size()));
    lines.append(cells);
    lineNumbers.append(i + 1);
  }
  if (lines.isEmpty()) return true;
  if (width > 2) {
    emit refused(kTooManyColumns.text());
    return false;
  }
  const int first = width == 2 ? DynamicColumn : std::clamp(column, 0, ColumnCount - 1);
  QList<Row> rows = rows_;
  if (row < 0 || row > rows.size()) row = int(rows.size());
  for (int i = 0; i < lines.size(); ++i) {
    if (row + i >= rows.size()) rows.append(Row{});
    for (int c = 0; c < width; ++c) {
      const QString cell = lines[i].value(c);
      const std::optional<double> v = number(cell);
      if (!v) {
        emit refused(kPasteRefused.text().arg(QString::number(lineNumbers[i]), cell.trimmed()));
        return false;
      }
      rows[row + i][first + c] = v;
    }
  }
  return take(std::move(rows));
}

bool CalibrationPairsModel::fillDynamic(int row, const QList<double>& values) {
  QList<Row> rows = rows_;
  if (row < 0 || row > rows.size()) row = int(rows.size());
  for (int i = 0; i < values.size(); ++i) {
    if (row + i >= rows.size()) rows.append(Row{});
    rows[row + i].dynamic = values[i];
  }
  return take(std::move(rows));
}

void CalibrationPairsModel::removeRows(const QList<int>& rows) {
  QList<Row> kept;
  for (int i = 0; i < rows_.size(); ++i)
    if (!rows.contains(i)) kept.append(rows_[i]);
  take(std::move(kept));
}

int CalibrationPairsModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : int(rows_.size()) + 1; }

int CalibrationPairsModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : ColumnCount; }

QVariant CalibrationPairsModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rows_.size() || (role != Qt::DisplayRole && role != Qt::EditRole)) return {};
  Row r = rows_[index.row()];
  const std::optional<double> v = r[index.column()];
  return v ? requirementNumberText(*v) : QString();
}

QVariant CalibrationPairsModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation == Qt::Vertical)
    return role == Qt::DisplayRole ? QVariant(section < rows_.size() ? QString::number(section + 1) : QStringLiteral("*")) : QVariant();
  if (section < 0 || section >= ColumnCount) return {};
  if (role == Qt::DisplayRole) return headings_[section];
  if (role == Qt::ToolTipRole) return kHints[section].text();
  return {};
}

Qt::ItemFlags CalibrationPairsModel::flags(const QModelIndex& index) const {
  return index.isValid() ? Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsEditable : Qt::NoItemFlags;
}

bool CalibrationPairsModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (!index.isValid() || index.row() > rows_.size() || role != Qt::EditRole) return false;
  const QString text = value.toString().trimmed();
  const std::optional<double> v = number(text);
  if (!text.isEmpty() && !v) {
    emit refused(kRefused.text().arg(headings_[index.column()], text));
    return false;
  }
  QList<Row> rows = rows_;
  if (index.row() == rows.size()) rows.append(Row{});
  rows[index.row()][index.column()] = v;  // an empty cell: the pair is incomplete (an empty row goes)
  return take(std::move(rows));
}

}  // namespace grx
