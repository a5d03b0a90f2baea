// Every command that replaces the shown measurements asks first when they hold work not saved
// (here a read that no archive keeps): File > Open, a file dropped on the window, the archive
// window's Open and a read from the tester. Driven by menu clicks, a drop and button clicks.
#include "app/MainActions.h"
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

// Opens the menu that holds the action from the menu bar and clicks the action, as a user does.
void clickMenuEntry(QMainWindow& window, QAction* action) {
  for (QAction* top : window.menuBar()->actions()) {
    QMenu* menu = top->menu();
    if (!menu || !menu->actions().contains(action)) continue;
    QTest::mouseClick(window.menuBar(), Qt::LeftButton, {}, window.menuBar()->actionGeometry(top).center());
    ASSERT_TRUE(menu->isVisible()) << top->text().toStdString();
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(action).center());
    return;
  }
  FAIL() << "no menu holds " << action->objectName().toStdString();
}

class UnsavedWork : public test::MainWindowFixture {
 protected:
  enum class Command { Open, Drop, Archive, Read };
  QString other() const { return dir_.filePath(QStringLiteral("other.grx")); }
  void SetUp() override {
    auto set = std::make_unique<MeasurementSet>();
    generateSampleMeasurements(*set, 12, 5);
    ASSERT_EQ(writeProjectFile(*set, other()), ProjectWriteResult::Ok);
    const QString archive = dir_.filePath(QStringLiteral("archive.sqlite"));
    ASSERT_EQ(test::runCliCommand({"archive", "--db", archive, "add", other()}).code, 0);
    writeIni("[Config]\r\nLangId=Eng\r\n[Archive]\r\nUrl=" + archive.toUtf8() + "\r\nKeepReads=N\r\n");
  }
  // A window showing a read of 30 impacts that nothing keeps yet.
  TForm1& startWithARead() {
    link_.setState(lsIdle);
    TForm1& form = start({}, &link_);
    form.show();
    auto read = std::make_unique<MeasurementSet>();
    generateSampleMeasurements(*read, 30, 9);
    form.takeOverMeasurements(*read);
    return form;
  }
  void run(Command command) {
    TForm1& form = *form_;
    switch (command) {
      case Command::Open:
        ui_.fileAnswers.push_back(other());
        clickMenuEntry(form, form.Actions->AOpen);
        break;
      case Command::Drop: {
        QMimeData mime;
        mime.setUrls({QUrl::fromLocalFile(other())});
        QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &mime, Qt::LeftButton, {});
        QCoreApplication::sendEvent(&form, &enter);
        ASSERT_TRUE(enter.isAccepted());
        QDropEvent drop(QPointF(50, 50), Qt::CopyAction, &mime, Qt::LeftButton, {});
        QCoreApplication::sendEvent(&form, &drop);
        break;
      }
      case Command::Archive:
        clickMenuEntry(form, form.Actions->AArchive);
        ASSERT_NE(form.archiveWindow(), nullptr);
        QTest::mouseClick(form.archiveWindow()->btnOpen, Qt::LeftButton);
        break;
      case Command::Read: {
        clickMenuEntry(form, form.Actions->AGaugeRead);
        if (link_.state() != lsConnect) return;  // not asked for
        // The worker's read comes back with the tester's measurements.
        auto staging = std::make_unique<MeasurementSet>();
        ASSERT_EQ(readProjectFile(other(), *staging), ProjectReadResult::Ok);
        link_.setState(lsIdle);
        form.takeOverMeasurements(*staging);
        break;
      }
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
  } answers[] = {
      {ModalUi::Cancel, {}, false},
      {ModalUi::Save, {}, false},  // the save dialog cancelled: nothing happens
      {ModalUi::Discard, {}, true},
      {ModalUi::Save, saved, true},
  };
  for (const Command command : {Command::Open, Command::Drop, Command::Archive, Command::Read}) {
    for (const auto& a : answers) {
      const std::string what = std::to_string(int(command)) + "/" + std::to_string(a.answer) + a.saveAs.toStdString();
      QFile::remove(saved);
      startWithARead();
      ui_ = {};
      ui_.messageAnswers = {a.answer};
      if (a.answer == ModalUi::Save) ui_.fileAnswers.push_back(a.saveAs);
      run(command);
      ASSERT_FALSE(ui_.messages.empty()) << what;
      EXPECT_EQ(ui_.messages[0].text, QStringLiteral("Save changes?")) << what;
      EXPECT_EQ(ui_.messages.size(), 1u) << what << ": asked once";
      EXPECT_EQ(form_->measurements().count(), a.replaced ? 12u : 30u) << what;
      if (command == Command::Read && !a.replaced) EXPECT_EQ(link_.state(), lsIdle) << what << ": no read asked for";
      if (a.saveAs.isEmpty()) {
        EXPECT_FALSE(QFile::exists(saved)) << what;
      } else {
        EXPECT_EQ(QFileInfo(saved).size(), 16 + 2200 * 30) << what << ": the read saved first";
      }
      if (form_->archiveWindow()) form_->archiveWindow()->close();
      form_.reset();
    }
  }
}

TEST_F(UnsavedWork, AReadAgreedToAsksAgainWhenTheSetWasEditedMeanwhile) {
  startWithARead();
  ui_.messageAnswers = {ModalUi::Discard, ModalUi::Cancel};
  clickMenuEntry(*form_, form_->Actions->AGaugeRead);
  ASSERT_EQ(link_.state(), lsConnect);
  // The current series goes through the table's pop-up menu while the tester is searched.
  QWidget* viewport = form_->StringGrid1->viewport();
  QContextMenuEvent context(QContextMenuEvent::Mouse, QPoint(20, viewport->height() / 2));
  QCoreApplication::sendEvent(viewport, &context);
  QMenu* popup = form_->Actions->PopupMenuTable1;
  ASSERT_TRUE(popup->isVisible());
  QTest::mouseClick(popup, Qt::LeftButton, {}, popup->actionGeometry(form_->Actions->ADelSeries).center());
  const std::uint32_t edited = form_->measurements().count();
  ASSERT_LT(edited, 30u);
  auto staging = std::make_unique<MeasurementSet>();
  generateSampleMeasurements(*staging, 7, 3);
  form_->takeOverMeasurements(*staging);
  ASSERT_EQ(ui_.messages.size(), 2u);
  EXPECT_EQ(form_->measurements().count(), edited);
  EXPECT_EQ(form_->StatusPanel[0]->text(), QStringLiteral("The read was not shown: the measurements shown were kept"));
}

}  // namespace
}  // namespace grx
