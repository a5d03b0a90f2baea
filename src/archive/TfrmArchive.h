#pragma once
// The archive window: filters (object, material, dates, a part of a name), the table of matching
// series, kept up to date with every change of a filter, and "Open", which makes the selected
// series (all listed ones when none is selected) the measurement set. Controls and handlers only:
// the archive answers, the main window opens.
#include "Archive.h"

#include <QWidget>

#include <functional>
#include <memory>
#include <optional>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace grx {

class DateField;
class ModalUi;

class TfrmArchive : public QWidget {
  Q_OBJECT
 public:
  struct Environment {
    std::unique_ptr<Archive> archive;  // opened by the main window
    ModalUi* ui = nullptr;
    // Opens the selection as the measurement set; false when it did not (the window stays as it is).
    std::function<bool(const ArchiveFilter&, const QList<qint64>& seriesKeys)> open;
    // The area the main window's map shows now; none while it shows no points.
    std::function<std::optional<ArchiveFilter::Area>()> mapArea;
  };

  TfrmArchive(Environment environment, QWidget* mainWindow);
  ~TfrmArchive() override;

  // Fills the name lists and the table, sets the captions.
  void FormCreate();
  // The texts of the current language.
  void setCaptions();
  // Reads the archive again (after an import).
  void refresh();

  QComboBox* comboObject = nullptr;
  QComboBox* comboMaterial = nullptr;
  QCheckBox* checkFrom = nullptr;
  DateField* dateFrom = nullptr;
  QCheckBox* checkTo = nullptr;
  DateField* dateTo = nullptr;
  QLineEdit* editText = nullptr;
  QCheckBox* checkMapArea = nullptr;  // only the positions inside the map's view
  QTableWidget* tableSeries = nullptr;
  QLabel* labelSummary = nullptr;
  QLabel* labelLocation = nullptr;  // where the archive is
  QPushButton* btnOpen = nullptr;
  QPushButton* btnClose = nullptr;

  void FilterChange();
  void btnOpenClick();

  ArchiveFilter filter() const;
  Archive& archive() { return *env_.archive; }
  const std::vector<ArchiveSeries>& series() const { return series_; }

 private:
  void createControls();
  void fillNames();
  void fillTable();

  Environment env_;
  std::vector<ArchiveSeries> series_;
  std::vector<ArchiveImport> imports_;
  bool filling_ = false;
};

}  // namespace grx
