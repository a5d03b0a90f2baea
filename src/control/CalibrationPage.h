#pragma once
// The calibration page of the compaction control window: the lab's calibrations (added, removed,
// renamed, imported and exported on their own), and for the one selected its names, reference
// quantity, model, confidence, date and comment, its pairs, its chart and its statistics. It holds
// controls and handlers only: every change goes to the window, which takes it (and keeps it in the
// requirements file) or refuses it when a requirement given through a calibration would no longer
// be derived; the fit and its texts come from the window-free code.
#include "Calibration.h"

#include <QStyledItemDelegate>
#include <QWidget>

#include <functional>

class QComboBox;
class QDateEdit;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QSpinBox;
class QTableView;

namespace grx {

class CalibrationPairsModel;
class CalibrationPlot;
class IniFile;
class ModalUi;

class CalibrationPage : public QWidget {
  Q_OBJECT
 public:
  struct Environment {
    ModalUi* ui = nullptr;
    const IniFile* config = nullptr;  // GRX1.ini (LastReadPath of the file dialogs)
    QString dataFolder;               // proposed while no folder was chosen
    const QList<Calibration>* calibrations = nullptr;  // those in force, the window's
    // Puts new calibrations in force (`renamed`: a calibration's old and new name); returns why
    // they were refused, empty when they were taken.
    std::function<QString(const QList<Calibration>&, const std::pair<QString, QString>& renamed)> take;
    // The dynamic moduli of the series selected in the main window, in table order (a series
    // without one: not a number). None: its button is disabled.
    std::function<QList<double>()> selectedDynamic;
  };

  CalibrationPage(Environment environment, QWidget* parent);

  // The list from the calibrations in force, keeping the selected one where it still is.
  void fill();
  // The texts of the current language.
  void setCaptions();

  QListWidget* listCalibrations = nullptr;
  QPushButton* btnAddCalibration = nullptr;
  QPushButton* btnRemoveCalibration = nullptr;
  QPushButton* btnImportCalibrations = nullptr;
  QPushButton* btnExportCalibrations = nullptr;
  QLineEdit* editName = nullptr;
  QLineEdit* editObject = nullptr;
  QLineEdit* editMaterial = nullptr;
  QComboBox* comboQuantity = nullptr;
  QLineEdit* editQuantityName = nullptr;
  QLineEdit* editUnit = nullptr;
  QComboBox* comboModel = nullptr;
  QSpinBox* spinConfidence = nullptr;
  QDateEdit* dateCalibration = nullptr;
  QLineEdit* editComment = nullptr;
  QTableView* tablePairs = nullptr;
  QPushButton* btnFromSeries = nullptr;
  QPushButton* btnRemovePairs = nullptr;
  CalibrationPlot* ChartCalibration = nullptr;
  QLabel* labelStatistics = nullptr;
  QLabel* labelWarnings = nullptr;

  void btnAddCalibrationClick();
  void btnRemoveCalibrationClick();
  void btnImportCalibrationsClick();
  void btnExportCalibrationsClick();
  void btnFromSeriesClick();
  void btnRemovePairsClick();

 private:
  QWidget* createListPart();
  QWidget* createFieldsPart();
  QWidget* createPairsPart();
  QWidget* createChartPart();
  int current() const;
  // The fields, the pairs, the chart and the statistics of the selected calibration.
  void showCurrent();
  void showFit();
  void fieldsChanged();
  void nameChanged();
  // Asks the window to take these calibrations; a refusal is said and the page shows what is in force.
  bool take(const QList<Calibration>& list, const std::pair<QString, QString>& renamed = {});
  void refuse(const QString& text);

  Environment env_;
  CalibrationPairsModel* pairs_ = nullptr;
  bool filling_ = false;
  QGroupBox* groupList_ = nullptr;
  QGroupBox* groupFields_ = nullptr;
  QGroupBox* groupPairs_ = nullptr;
  QLabel* fieldLabels_[9] = {};
};

// The requirements table's choice of a calibration: a list of the names, with an empty first entry
// for none.
class CalibrationChoiceDelegate : public QStyledItemDelegate {
 public:
  CalibrationChoiceDelegate(const QList<Calibration>* calibrations, QObject* parent)
      : QStyledItemDelegate(parent), calibrations_(calibrations) {}
  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
  void setEditorData(QWidget* editor, const QModelIndex& index) const override;
  void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;

 private:
  const QList<Calibration>* calibrations_;
};

}  // namespace grx
