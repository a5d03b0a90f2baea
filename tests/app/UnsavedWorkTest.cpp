// Every command that replaces the shown measurements asks first when they hold work not saved
// (here a read that no archive keeps): File > Open, a dropped file, the archive window's Open and a
// read from the tester. Driven by menu clicks, a drop and button clicks.
#include "app/MainActions.h"
#include "archive/MainWindowArchive.h"
#include "archive/TfrmArchive.h"
#include "data/ProjectFile.h"
#include "data/SampleMeasurements.h"
#include "support/CliRun.h"
#include "support/MainWindowFixture.h"
#include "views/StringGridView.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QTest>

namespace grx {
namespace {

// Clicks a menu's entry as a user does: the menu first, then the entry in the menu that opened.
void clickEntry(QMainWindow& window, QAction* action) {
  for (QAction* top : window.menuBar()->actions())
    if (QMenu* menu = top->menu(); menu && menu->actions().contains(action)) {
      QTest::mouseClick(window.menuBar(), Qt::LeftButton, {}, window.menuBar()->actionGeometry(top).center());
      ASSERT_TRUE(menu->isVisible());
      QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(action).center());
    }
}

class UnsavedWork : public test::MainWindowFixture {
 protected:
  enum Command { Open, Drop, Archive, Read };
  QString other() const { return dir_.filePath(QStringLiteral("other.grx")); }
  void SetUp() override {
    ASSERT_EQ(test::runCliCommand({"sample", "-o", other(), "--impacts", "12"}).code, 0);
    const QString archive = dir_.filePath(QStringLiteral("archive.sqlite"));
    ASSERT_EQ(test::runCliCommand({"archive", "--db", archive, "add", other()}).code, 0);
    writeIni("[Config]\r\nLangId=Eng\r\n[Archive]\r\nUrl=" + archive.toUtf8() + "\r\nKeepReads=N\r\n");
  }
  // A window showing a read of 30 impacts that nothing keeps yet.
  void startWithARead() {
    link_.setState(lsIdle);
    start({}, &link_).show();
    auto read = std::make_unique<MeasurementSet>();
    generateSampleMeasurements(*read, 30, 9);
    form_->takeOverMeasurements(*read);
  }
  // The worker's read comes back with the tester's measurements.
  void readArrives() {
    auto staging = std::make_unique<MeasurementSet>();
    ASSERT_EQ(readProjectFile(other(), *staging), ProjectReadResult::Ok);
    link_.setState(lsIdle);
    form_->takeOverMeasurements(*staging);
  }
  void run(Command command) {
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(other())});
    QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &mime, Qt::LeftButton, {});
    QDropEvent drop(QPointF(50, 50), Qt::CopyAction, &mime, Qt::LeftButton, {});
    switch (command) {
      case Open: ui_.fileAnswers.push_back(other()), clickEntry(*form_, form_->Actions->AOpen); break;
      case Drop: QCoreApplication::sendEvent(form_.get(), &enter), QCoreApplication::sendEvent(form_.get(), &drop); break;
      case Archive:
        clickEntry(*form_, form_->Actions->AArchive);
        QTest::mouseClick(form_->ArchivePart->window()->btnOpen, Qt::LeftButton);
        break;
      case Read:
        clickEntry(*form_, form_->Actions->AGaugeRead);
        if (link_.state() == lsConnect) readArrives();  // only when asked for
        break;
    }
  }
  LinkShared link_;
};

TEST_F(UnsavedWork, EveryCommandThatReplacesTheSetAsksAndKeepsItUnlessAllowed) {
  const QString saved = dir_.filePath(QStringLiteral("kept.grx"));
  const struct {
    int answer;
    QString saveAs;  // the save dialog's answer after Save; empty: cancelled
    bool replaced;
  } answers[] = {{ModalUi::Cancel, {}, false}, {ModalUi::Save, {}, false}, {ModalUi::Discard, {}, true}, {ModalUi::Save, saved, true}};
  for (const Command command : {Open, Drop, Archive, Read})
    for (const auto& a : answers) {
      const std::string what = std::to_string(command) + "/" + std::to_string(a.answer) + a.saveAs.toStdString();
      QFile::remove(saved);
      startWithARead();
      ui_ = {};
      ui_.messageAnswers = {a.answer};
      if (a.answer == ModalUi::Save) ui_.fileAnswers.push_back(a.saveAs);
      run(command);
      ASSERT_EQ(ui_.messages.size(), 1u) << what << ": asked once";
      EXPECT_EQ(ui_.messages[0].text, QStringLiteral("Save changes?")) << what;
      EXPECT_EQ(form_->measurements().count(), a.replaced ? 12u : 30u) << what;
      EXPECT_EQ(link_.state(), lsIdle) << what << ": no read left asked for";
      EXPECT_EQ(QFileInfo(saved).size(), a.saveAs.isEmpty() ? 0 : 16 + 2200 * 30) << what << ": the read saved first";
      form_.reset();
    }
}

TEST_F(UnsavedWork, AReadAgreedToAsksAgainWhenTheSetWasEditedMeanwhile) {
  startWithARead();
  ui_.messageAnswers = {ModalUi::Discard, ModalUi::Cancel};
  clickEntry(*form_, form_->Actions->AGaugeRead);
  ASSERT_EQ(link_.state(), lsConnect);
  // The current series goes through the table's pop-up menu while the tester is searched.
  QContextMenuEvent context(QContextMenuEvent::Mouse, QPoint(20, form_->StringGrid1->viewport()->height() / 2));
  QCoreApplication::sendEvent(form_->StringGrid1->viewport(), &context);
  QMenu* popup = form_->Actions->PopupMenuTable1;
  QTest::mouseClick(popup, Qt::LeftButton, {}, popup->actionGeometry(form_->Actions->ADelSeries).center());
  const std::uint32_t edited = form_->measurements().count();
  readArrives();
  EXPECT_TRUE(edited < 30u && ui_.messages.size() == 2u && form_->measurements().count() == edited);
  EXPECT_EQ(form_->StatusPanel[0]->text(), QStringLiteral("The read was not shown: the measurements shown were kept"));
}

}  // namespace
}  // namespace grx
