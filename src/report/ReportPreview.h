#pragma once
// The preview window of a prepared report: one page at a time at 100 % to start with, zoom, page
// navigation, find, printing on the default printer, page setup, saving as PDF and export to every
// format of ReportExport. It only shows the pages and calls the outputs; every dialog goes through
// ModalUi. Its texts are in the language current when it is created.
#include "ReportExport.h"
#include "ui/ModalUi.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QPrinter;
class QScrollArea;
class QSpinBox;
class QToolBar;

namespace grx {

// The program's printer settings, kept for the run (the printer setup and the preview share them).
QPrinter& reportPrinter();

class ReportPreview : public QDialog {
  Q_OBJECT
 public:
  ReportPreview(PreparedReport report, ModalUi& ui, QString exportFolder, QWidget* parent = nullptr);

  const PreparedReport& report() const { return report_; }
  // The name the printed document and the proposed export files take ("Отчет" / "Report").
  void setDocumentName(const TextPair& name) { documentName_ = name; }
  int pageCount() const { return int(report_.pages.size()); }
  int currentPage() const { return page_; }  // 0-based
  void setPage(int page);
  int zoomPercent() const { return zoom_; }
  void setZoomPercent(int percent);
  // Looks for text (case ignored) after the last place found, over all pages; marks and shows it.
  bool findNext(const QString& text);
  int foundText() const { return found_; }

  // The toolbar's commands.
  void printReport();
  void pageSetup();
  void saveAsPdf() { exportAs(ReportFormat::Pdf); }
  void exportAs(ReportFormat format);

  QToolBar* ToolBar = nullptr;
  QComboBox* ZoomBox = nullptr;
  QLineEdit* FindEdit = nullptr;
  QSpinBox* PageEdit = nullptr;
  QLabel* PageLabel = nullptr;  // the page picture

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void render();
  void zoomChosen(int index);

  PreparedReport report_;
  ModalUi& ui_;
  QString exportFolder_;
  TextPair documentName_{"Отчет", "Report"};
  QScrollArea* scroll_ = nullptr;
  QLabel* pageOf_ = nullptr;
  int page_ = 0;
  int zoom_ = 100;
  int found_ = -1;
  int foundPage_ = -1;
};

}  // namespace grx
