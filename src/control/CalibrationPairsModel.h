#pragma once
// The pairs of one calibration as an editable table: the tester's dynamic modulus and the
// reference test's value at each place of the trial section. The last row is empty for a new pair;
// a row counts once both its values are typed. A cell takes a number above zero with "," or "." as
// the decimal separator; anything else is refused with a message in the current language, and the
// cell keeps its value. Pairs come in as typed, pasted from a spreadsheet (one or two columns
// separated by tabs, one pair a line, a heading line of text skipped), or as the dynamic moduli of
// series chosen in the main window. Every change is first put to `check`, which may refuse it.
#include "Calibration.h"

#include <QAbstractTableModel>

#include <functional>
#include <optional>

namespace grx {

class CalibrationPairsModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  enum Column { DynamicColumn, ReferenceColumn, ColumnCount };

  explicit CalibrationPairsModel(QObject* parent = nullptr);

  // A new table: one row a pair.
  void setPairs(const QList<CalibrationPair>& pairs);
  // The rows with both values, in the table's order.
  QList<CalibrationPair> pairs() const;
  // The headings name the quantities with their units ("Evd, MPa", "Ev2, MPa").
  void setHeadings(const QString& dynamic, const QString& reference);
  // Asked before a change is taken, with the pairs it would leave: an empty text takes it, any
  // other is the reason it is refused.
  void setCheck(std::function<QString(const QList<CalibrationPair>&)> check) { check_ = std::move(check); }

  // Pastes clipboard text with its first line at `row` (the new row when out of range) and its
  // first column at `column` (two columns always start at the dynamic one). All or nothing.
  bool paste(int row, int column, const QString& text);
  // The dynamic side of the rows from `row` on (the new row when out of range) becomes these values.
  bool fillDynamic(int row, const QList<double>& values);
  // Removes these rows (the new row is no pair to remove).
  void removeRows(const QList<int>& rows);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;

 signals:
  // A typed or pasted value was not taken; the text says why, in the current language.
  void refused(const QString& message);
  // The pairs changed.
  void edited();

 private:
  struct Row {
    std::optional<double> dynamic, reference;
    std::optional<double>& operator[](int column) { return column == DynamicColumn ? dynamic : reference; }
    bool operator==(const Row&) const = default;
  };
  static QList<CalibrationPair> complete(const QList<Row>& rows);
  // Takes the rows when `check` does; empty rows are dropped.
  bool take(QList<Row> rows);

  QList<Row> rows_;
  QString headings_[ColumnCount];
  std::function<QString(const QList<CalibrationPair>&)> check_;
};

}  // namespace grx
