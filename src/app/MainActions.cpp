#include "MainActions.h"

#include "Icons.h"
#include "MenuTexts.h"
#include "platform/Messages.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

namespace grx {
namespace {

QAction* hiddenSeparator(QMenu* menu) {
  QAction* s = menu->addSeparator();
  s->setVisible(false);
  return s;
}

}  // namespace

QAction* MainActions::make(const char* name, int iconId, bool checkable) {
  auto* a = new QAction(window_);
  a->setObjectName(QString::fromLatin1(name));
  if (iconId >= 0) a->setIcon(programIcon(IconId(iconId)));
  a->setCheckable(checkable);
  return a;
}

QMenu* MainActions::menu(const char* name) {
  auto* m = new QMenu(window_);
  m->setObjectName(QString::fromLatin1(name));
  return m;
}

MainActions::MainActions(QMainWindow* window) : QObject(window), window_(window) {
  using I = IconId;
  AProjectNew = make("AProjectNew");
  AProjectOpen = make("AProjectOpen", int(I::Open));
  AProjectSave = make("AProjectSave", int(I::Save));
  AOpen = make("AOpen", int(I::Open));
  ASave = make("ASave", int(I::Save));
  APrinter = make("APrinter", int(I::Print));
  APrint = make("APrint", int(I::Print));
  AExit = make("AExit", int(I::Exit));
  AExportGeoJson = make("AExportGeoJson");
  AExportKml = make("AExportKml");
  AExportGpx = make("AExportGpx");
  AExportGeoCsv = make("AExportGeoCsv");
  AArchive = make("AArchive", int(I::Open));
  AArchiveAdd = make("AArchiveAdd", int(I::Save));
  AArchiveKeep = make("AArchiveKeep", -1, true);
  ACopyTable1 = make("ACopyTable1", int(I::CopyTable));
  ACopyBlockTable1 = make("ACopyBlockTable1", int(I::CopySelection));
  ACopyTable2 = make("ACopyTable2", int(I::CopyTable));
  ACopyBlockTable2 = make("ACopyBlockTable2", int(I::CopySelection));
  ACopyGraph = make("ACopyGraph", int(I::CopyChart));
  ACopyGraphData = make("ACopyGraphData", int(I::CopyData));
  itmCopyCalibrDataF = make("itmCopyCalibrDataF", int(I::CopyData));
  itmCopyCalibrDataS = make("itmCopyCalibrDataS", int(I::CopyData));
  ACopyAtoWav = make("ACopyAtoWav", int(I::Wave));
  ACopyVtoWav = make("ACopyVtoWav", int(I::Wave));
  ACopyStoWav = make("ACopyStoWav", int(I::Wave));
  ACopyFtoWav = make("ACopyFtoWav", int(I::Wave));
  ACopyAllToWav = make("ACopyAllToWav", int(I::Wave));
  ACopyAtoCsv = make("ACopyAtoCsv", int(I::Csv));
  ACopyVtoCsv = make("ACopyVtoCsv", int(I::Csv));
  ACopyStoCsv = make("ACopyStoCsv", int(I::Csv));
  ACopyFtoCsv = make("ACopyFtoCsv", int(I::Csv));
  ACopyAllToCsv = make("ACopyAllToCsv", int(I::Csv));
  ADelSeries = make("ADelSeries", int(I::Delete));
  ADelImpact = make("ADelImpact", int(I::Delete));
  ACompactionControl = make("ACompactionControl", int(I::Control));
  AGaugeRead = make("AGaugeRead", int(I::ReadTester));
  AMaterialEdit = make("AMaterialEdit", int(I::Materials));
  AObjectEdit = make("AObjectEdit", int(I::Objects));
  AScreenshot = make("AScreenshot", int(I::Screenshot));
  ALeftAxisPlus = make("ALeftAxisPlus", int(I::Axis), true);
  ALeftAxisAuto = make("ALeftAxisAuto", int(I::Axis), true);
  ARightAxisPlus = make("ARightAxisPlus", int(I::Axis), true);
  ARightAxisAuto = make("ARightAxisAuto", int(I::Axis), true);
  ABottomAxis20 = make("ABottomAxis20", int(I::TimeAxis), true);
  ABottomAxis32 = make("ABottomAxis32", int(I::TimeAxis), true);
  ABottomAxisAuto = make("ABottomAxisAuto", int(I::TimeAxis), true);
  ALangRus = make("ALangRus", int(I::FlagRussian), true);
  ALangEng = make("ALangEng", int(I::FlagEnglish), true);
  AChmHelp = make("AChmHelp", int(I::Help));
  AAbout = make("AAbout", int(I::About));

  // Entries that exist but are never shown.
  for (QAction* a : {AProjectNew, AProjectOpen, AProjectSave, APrinter, ABottomAxisAuto}) a->setVisible(false);

  QMenuBar* bar = window_->menuBar();
  QMenu* file = menu("MenuFile");
  file->addActions({AProjectNew, AProjectOpen, AProjectSave});
  hiddenSeparator(file);
  file->addActions({AOpen, ASave});
  QMenu* positions = menu("MenuExportPositions");
  positions->addActions({AExportGeoJson, AExportKml, AExportGpx, AExportGeoCsv});
  file->addMenu(positions);
  file->addSeparator();
  file->addActions({AArchive, AArchiveAdd, AArchiveKeep});
  file->addSeparator();
  file->addActions({APrinter, APrint});
  hiddenSeparator(file);
  file->addAction(AExit);
  bar->addMenu(file);

  QMenu* edit = menu("MenuEdit");
  edit->addActions({ACopyTable1, ACopyBlockTable1, itmCopyCalibrDataF, itmCopyCalibrDataS});
  edit->addSeparator();
  edit->addAction(ACopyTable2);
  edit->addSeparator();
  edit->addActions({ACopyGraph, ACopyGraphData});
  edit->addSeparator();
  edit->addAction(ACompactionControl);
  bar->addMenu(edit);

  QMenu* tester = menu("MenuTester");
  tester->addActions({AGaugeRead, AMaterialEdit, AObjectEdit, AScreenshot});
  bar->addMenu(tester);

  QMenu* parameters = menu("MenuParameters");
  parameters->addMenu(chartsScaleMenu());
  parameters->addSeparator();
  menuLanguage_ = menu("MenuLanguage");
  menuLanguage_->addActions({ALangRus, ALangEng});
  parameters->addMenu(menuLanguage_);
  bar->addMenu(parameters);

  QMenu* help = menu("MenuHelp");
  help->addAction(AChmHelp);
  help->addSeparator();
  help->addAction(AAbout);
  bar->addMenu(help);

  PopupMenuTable1 = menu("PopupMenuTable1");
  PopupMenuTable1->addActions({ACopyTable1, ACopyBlockTable1});
  PopupMenuTable1->addSeparator();
  PopupMenuTable1->addAction(ADelSeries);

  PopupMenuTable2 = menu("PopupMenuTable2");
  PopupMenuTable2->addActions({ACopyTable2, ACopyBlockTable2});
  PopupMenuTable2->addSeparator();
  PopupMenuTable2->addMenu(wavMenu(false));
  PopupMenuTable2->addMenu(csvMenu());
  PopupMenuTable2->addSeparator();
  PopupMenuTable2->addAction(ADelImpact);

  PopupMenuChart = menu("PopupMenuChart");
  PopupMenuChart->addMenu(chartsScaleMenu());
  PopupMenuChart->addSeparator();
  PopupMenuChart->addActions({ACopyGraph, ACopyGraphData});
  PopupMenuChart->addMenu(wavMenu(true));
  PopupMenuChart->addMenu(csvMenu());
}

QMenu* MainActions::chartsScaleMenu() {
  QMenu* scale = menu("MenuChartsScale");
  QMenu* left = menu("MenuLeftAxis");
  left->addActions({ALeftAxisPlus, ALeftAxisAuto});
  QMenu* right = menu("MenuRightAxis");
  right->addActions({ARightAxisPlus, ARightAxisAuto});
  QMenu* time = menu("MenuTimeAxis");
  time->addActions({ABottomAxis20, ABottomAxis32, ABottomAxisAuto});
  scale->addMenu(left);
  scale->addMenu(right);
  scale->addMenu(time);
  return scale;
}

QMenu* MainActions::wavMenu(bool chartOrder) {
  QMenu* wav = menu("MenuWav");
  wav->setIcon(programIcon(IconId::Wave));
  // The impacts table lists force before displacement; the chart the other way round.
  if (chartOrder) wav->addActions({ACopyAtoWav, ACopyVtoWav, ACopyStoWav, ACopyFtoWav});
  else wav->addActions({ACopyAtoWav, ACopyVtoWav, ACopyFtoWav, ACopyStoWav});
  wav->addSeparator();
  wav->addAction(ACopyAllToWav);
  return wav;
}

QMenu* MainActions::csvMenu() {
  QMenu* csv = menu("MenuCsv");
  csv->setIcon(programIcon(IconId::Csv));
  csv->addActions({ACopyAtoCsv, ACopyVtoCsv, ACopyStoCsv, ACopyFtoCsv});
  csv->addSeparator();
  csv->addAction(ACopyAllToCsv);
  return csv;
}

void MainActions::applyCaptions(Language language) {
  for (QAction* a : window_->findChildren<QAction*>()) {
    const QByteArray name = a->objectName().toLatin1();
    if (!name.isEmpty()) a->setText(menuText(name.constData(), language));
  }
  for (QMenu* m : window_->findChildren<QMenu*>()) {
    const QByteArray name = m->objectName().toLatin1();
    const QString text = menuText(name.constData(), language);
    if (!text.isEmpty()) m->setTitle(text);
  }
  window_->setWindowTitle(kAppTitle.text(language));
}

void MainActions::hideForReducedView() {
  for (QAction* a : {itmCopyCalibrDataF, itmCopyCalibrDataS, ACopyAtoWav, ACopyVtoWav, ACopyAtoCsv, ACopyVtoCsv})
    a->setVisible(false);
}

}  // namespace grx
