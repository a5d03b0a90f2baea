#pragma once
// The lab's requirements as an editable table: object, material, the required dynamic modulus and
// the optional static modulus and s/v ratio, or instead of the dynamic modulus a calibration and
// the value required in its reference quantity (Ev2 ≥ 100 MPa), from which the dynamic modulus is
// derived (shown, not typed). Names are kept as typed ("*" or an empty cell: any);
// no two rows have the same names. The moduli take a number above zero and the s/v ratio one of
// zero or more, with "," or "." as the decimal separator, and the optional ones an empty cell for
// "not required". Anything else is refused with a message in the current language, and the cell
// keeps its value. These are the rules the requirements file is read by, so whatever the table
// holds is kept in a file that loads again: a required reference value that its calibration
// cannot reach, or a change of the calibrations that leaves a requirement underived, is refused.
#include "Requirements.h"

#include <QAbstractTableModel>

namespace grx {

class RequirementsModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  enum Column {
    ObjectColumn, MaterialColumn, DynamicColumn, StaticColumn, SvColumn, CalibrationColumn, ReferenceColumn, ColumnCount
  };

  explicit RequirementsModel(QObject* parent = nullptr);

  const QList<Requirement>& requirements() const { return list_; }
  // The rows that have their dynamic modulus: a new row counts once it is typed. A row whose
  // calibration is chosen but whose reference value is not yet typed keeps its former value.
  QList<Requirement> requirementsInForce() const;
  const QList<Calibration>& calibrations() const { return calibrations_; }
  // The calibrations the requirements may name. A calibration `renamed.first` now called
  // `renamed.second` is renamed in the rows too. The rows' dynamic moduli are derived again; when
  // one cannot be, nothing changes and the problem is returned (its entry counts the table's rows).
  SetupProblem setCalibrations(const QList<Calibration>& calibrations, const std::pair<QString, QString>& renamed = {});
  // A new table: nothing left to take back.
  void setRequirements(QList<Requirement> list);
  // Inserts before `row` (at the end when it is out of range) a row whose value is yet to be
  // typed; returns the new row. When another row has these names, the new one's material is
  // called "new material" (then "new material 2", ...) for the user to name.
  int addRequirement(const Requirement& requirement, int row = -1);
  // Removes these rows as one step that undoRemoval() takes back; none: nothing happens.
  void removeRequirements(const QList<int>& rows);
  bool canUndoRemoval() const { return !removals_.isEmpty(); }
  // Puts the rows of the last removal back where they were. Refused (with `refused`, the removal
  // still to be taken back) when one of them would repeat the names of a row there now.
  bool undoRemoval();
  // The headings follow the current language.
  void retranslate();

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;

 signals:
  // A typed value was not taken; the text says why, in the current language.
  void refused(const QString& message);
  // The user changed the requirements: a cell took a new value, a row came or went.
  void edited();

 private:
  int rowNamed(const QString& object, const QString& material, int except = -1) const;
  // Derives the dynamic moduli of the rows given through a calibration, in place.
  SetupProblem derive(QList<Requirement>& rows, const QList<Calibration>& calibrations) const;
  QVariant toolTip(const QModelIndex& index) const;

  QList<Requirement> list_;
  QList<Calibration> calibrations_;
  // Each removal: its rows, ascending, with where they stood.
  QList<QList<std::pair<int, Requirement>>> removals_;
};

// A number as the requirements table shows it: "," as the decimal separator, no digits lost.
QString requirementNumberText(double value);

}  // namespace grx
