#pragma once
// The actions of the main window and the menus that hold them: the main menu, and the pop-up
// menus of the series table, the impacts table and the chart. Captions come from the menu texts;
// the work of each action is connected by the window.
#include "platform/TextPair.h"

#include <QObject>

class QAction;
class QMainWindow;
class QMenu;
class QMenuBar;

namespace grx {

class MainActions : public QObject {
  Q_OBJECT
 public:
  explicit MainActions(QMainWindow* window);

  // File
  QAction* AProjectNew;
  QAction* AProjectOpen;
  QAction* AProjectSave;
  QAction* AOpen;
  QAction* ASave;
  QAction* APrinter;
  QAction* APrint;
  QAction* AExit;
  // File > Export positions: the series' positions as a GIS file
  QAction* AExportGeoJson;
  QAction* AExportKml;
  QAction* AExportGpx;
  QAction* AExportGeoCsv;
  QAction* AArchive;      // the archive window
  QAction* AArchiveAdd;   // the measurement set into the archive
  QAction* AArchiveKeep;  // every completed read into the archive (checked)
  // Edit and the table and chart pop-ups
  QAction* ACopyTable1;
  QAction* ACopyBlockTable1;
  QAction* ACopyTable2;
  QAction* ACopyBlockTable2;
  QAction* ACopyGraph;
  QAction* ACopyGraphData;
  QAction* itmCopyCalibrDataF;
  QAction* itmCopyCalibrDataS;
  QAction* ACopyAtoWav;
  QAction* ACopyVtoWav;
  QAction* ACopyStoWav;
  QAction* ACopyFtoWav;
  QAction* ACopyAllToWav;
  QAction* ACopyAtoCsv;
  QAction* ACopyVtoCsv;
  QAction* ACopyStoCsv;
  QAction* ACopyFtoCsv;
  QAction* ACopyAllToCsv;
  QAction* ADelSeries;
  QAction* ADelImpact;
  QAction* ACompactionControl;  // opens the compaction control window
  // Tester
  QAction* AGaugeRead;
  QAction* AMaterialEdit;
  QAction* AObjectEdit;
  QAction* AScreenshot;
  // Parameters
  QAction* ALeftAxisPlus;
  QAction* ALeftAxisAuto;
  QAction* ARightAxisPlus;
  QAction* ARightAxisAuto;
  QAction* ABottomAxis20;
  QAction* ABottomAxis32;
  QAction* ABottomAxisAuto;
  QAction* ALangRus;
  QAction* ALangEng;
  // Help
  QAction* AChmHelp;
  QAction* AAbout;

  QMenu* menuLanguage() const { return menuLanguage_; }
  QMenu* PopupMenuTable1;
  QMenu* PopupMenuTable2;
  QMenu* PopupMenuChart;

  // Gives every action, menu and the window caption the texts of the language.
  void applyCaptions(Language language);
  // The reduced view: no acceleration and velocity exports, no calibration copies.
  void hideForReducedView();

 private:
  QAction* make(const char* name, int iconId = -1, bool checkable = false);
  QMenu* menu(const char* name);
  QMenu* chartsScaleMenu();
  QMenu* wavMenu(bool chartOrder);
  QMenu* csvMenu();

  QMainWindow* window_;
  QMenu* menuLanguage_ = nullptr;
};

}  // namespace grx
