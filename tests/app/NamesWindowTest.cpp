// The material and object name windows, driven through fake dialogs and a fake worker that answers
// the name requests the way the device worker does.
#include "app/MainActions.h"
#include "device/LinkRequests.h"
#include "names/TfrmNames.h"
#include "support/FakeModalUi.h"
#include "support/FileBytes.h"
#include "support/MainWindowFixture.h"
#include "support/WaitUntil.h"

#include <QAction>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace grx {
namespace {

// The requesters' waits: each poll lets the "worker" answer a posted name request at once.
class FakeWorker final : public UiWaiter {
 public:
  explicit FakeWorker(LinkShared& link) : link_(link) {}
  void waitMs(int ms) override {
    polls.push_back(ms);
    if (duringWait) std::exchange(duringWait, {})();
    if (silent) return;
    const std::uint8_t s = link_.state();
    if (s == lsReadMaterials || s == lsReadObjects) {
      link_.setNames(s == lsReadMaterials ? NameList::Materials : NameList::Objects,
                     s == lsReadMaterials ? testerMaterials : testerObjects);
      link_.setState(lsIdle);
    } else if (s == lsWriteMaterials || s == lsWriteObjects) {
      writes.push_back(link_.names(s == lsWriteMaterials ? NameList::Materials : NameList::Objects));
      link_.setState(lsIdle);
    }
  }
  NameBlock testerMaterials{};
  NameBlock testerObjects{};
  bool silent = false;  // no tester: requests time out
  std::function<void()> duringWait;  // runs once, inside the next poll
  std::vector<int> polls;
  std::vector<NameBlock> writes;

 private:
  LinkShared& link_;
};

NameBlock blockOf(const QStringList& names) {
  NameBlock block{};
  setBlockNames(block, names);
  return block;
}

class NamesWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    setCurrentLanguage(Language::English);
    link.setState(lsIdle);
    worker.testerMaterials = blockOf({"", "Sand", "Clay"});
    worker.testerObjects = blockOf({"", "Base"});
  }
  void TearDown() override { delete window.data(); }

  TfrmNames& open(NameList list) {
    TfrmNames::Environment env{&link, &flags, &ui, &worker, &config, QDir::toNativeSeparators(dir.path()), [this] { ++closedCalls; },
                               [] { return QDateTime(QDate(2026, 3, 7), QTime(9, 5)); }};
    if (list == NameList::Materials) window = new TfrmMaterials(std::move(env), nullptr);
    else window = new TfrmObjects(std::move(env), nullptr);
    window->show();
    window->FormCreate();
    return *window;
  }
  QStringList shownNames() const {
    QStringList names;
    for (QLineEdit* e : window->EditName) names << e->text();
    return names;
  }
  bool waitUntilClosed() {
    return test::waitUntil([&] {
      QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
      return window.isNull();
    }, 2000);
  }
  QString file(const char* name) const { return QDir::toNativeSeparators(dir.filePath(QString::fromLatin1(name))); }

  QTemporaryDir dir;
  IniFile config{dir.filePath("GRX1.ini")};
  LinkShared link;
  FakeWorker worker{link};
  NameListFlags flags;
  test::FakeModalUi ui;
  QPointer<TfrmNames> window;
  int closedCalls = 0;
};

TEST_F(NamesWindow, OpensWithTheTestersNamesInTheCurrentLanguage) {
  const struct {
    Language language;
    NameList list;
    QStringList captions;  // window, the six buttons
  } cases[] = {
      {Language::English, NameList::Materials,
       {"Materials", "From tester", "Into tester", "From file", "To file", "Default", "Close"}},
      {Language::Russian, NameList::Objects,
       {"Названия объектов", "Из прибора", "В прибор", "Из файла", "В файл", "По умолчанию", "Закрыть"}},
  };
  for (const auto& c : cases) {
    setCurrentLanguage(c.language);
    flags = {};
    TfrmNames& w = open(c.list);
    EXPECT_EQ((QStringList{w.windowTitle(), w.btnFromDevice->text(), w.btnToDevice->text(), w.btnFromFile->text(),
                           w.btnToFile->text(), w.ButtonDefault->text(), w.btnClose->text()}),
              c.captions);
    EXPECT_EQ(shownNames().mid(0, 3), c.list == NameList::Materials ? QStringList({"", "Sand", "Clay"})
                                                                    : QStringList({"", "Base", ""}));
    EXPECT_FALSE(w.EditName[0]->isEnabled());
    EXPECT_FALSE(flags.NamesEmpty);
    EXPECT_FALSE(flags.NamesChanged);
    EXPECT_EQ(link.state(), lsIdle);
    delete window.data();
  }
}

TEST_F(NamesWindow, WhileTheWorkerIsBusyTheTesterButtonsDoNothing) {
  link.setNames(NameList::Materials, blockOf({"", "Kept"}));
  link.setState(lsReadRecords);
  TfrmNames& w = open(NameList::Materials);
  EXPECT_EQ(shownNames().mid(0, 3), (QStringList{"", "Kept", ""})) << "the block as it stands";
  w.ButtonDefaultClick();
  w.btnToDeviceClick();
  w.btnFromDeviceClick();
  EXPECT_TRUE(worker.polls.empty());
  EXPECT_EQ(link.state(), lsReadRecords);
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(NamesWindow, A20thCharacterIsRefusedAndBackspaceStillWorks) {
  TfrmNames& w = open(NameList::Materials);
  QLineEdit* edit = w.EditName[1];
  edit->setText("ABCDEFGHIJKLMNOPQRS");  // 19
  edit->setFocus();
  EXPECT_FALSE(flags.NamesChanged);
  QTest::keyClick(edit, Qt::Key_X);
  EXPECT_EQ(edit->text(), "ABCDEFGHIJKLMNOPQRS");
  EXPECT_TRUE(flags.NamesChanged) << "a refused key still counts as a change";
  QTest::keyClick(edit, Qt::Key_Backspace);
  EXPECT_EQ(edit->text(), "ABCDEFGHIJKLMNOPQR");
  QTest::keyClick(edit, Qt::Key_Y);
  EXPECT_EQ(edit->text(), "ABCDEFGHIJKLMNOPQRy");
  QTest::keyClick(edit, Qt::Key_Z);
  EXPECT_EQ(edit->text(), "ABCDEFGHIJKLMNOPQRy");
}

TEST_F(NamesWindow, AKeyOnTheFileButtonCountsAsAChangeOnlyInTheMaterialWindow) {
  for (NameList list : {NameList::Materials, NameList::Objects}) {
    flags = {};
    TfrmNames& w = open(list);
    QTest::keyClick(w.btnFromFile, Qt::Key_A);
    EXPECT_EQ(flags.NamesChanged, list == NameList::Materials);
    delete window.data();
  }
}

TEST_F(NamesWindow, AFileHoldingOnlyName05LoadsName6) {
  ASSERT_TRUE(test::writeFileBytes(dir.filePath("sand.mtgrx"), "[Materials Names]\r\nName05=\xCF\xE5\xF1\xEE\xEA\r\n"));
  TfrmNames& w = open(NameList::Materials);
  ui.fileAnswers = {dir.filePath("sand.mtgrx")};
  w.btnFromFileClick();
  ASSERT_EQ(ui.fileDialogs.size(), 1u);
  EXPECT_EQ(ui.fileDialogs[0].title, "Open file...");
  EXPECT_EQ(ui.fileDialogs[0].fileName, QDir::toNativeSeparators(dir.path()) + QDir::separator() + "File");
  EXPECT_EQ(ui.fileDialogs[0].filters.front(), "Materials (*.mtgrx)");
  QStringList expected(13, QString());
  expected[5] = "Песок";
  EXPECT_EQ(shownNames(), expected);
  EXPECT_EQ(namesOfBlock(link.names(NameList::Materials)), expected);
  EXPECT_TRUE(flags.NamesChanged);
  EXPECT_EQ(config.readString("Config", "LastReadPath", ""), QDir::toNativeSeparators(dir.path()) + QDir::separator());
}

TEST_F(NamesWindow, AFileWithoutNamesIsReportedAndChangesNothing) {
  ASSERT_TRUE(test::writeFileBytes(dir.filePath("objects.mtgrx"), "[Objects Names]\r\nName01=Base\r\n"));
  TfrmNames& w = open(NameList::Materials);
  ui.fileAnswers = {dir.filePath("objects.mtgrx")};
  w.btnFromFileClick();
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].title, "GRX-1");
  EXPECT_EQ(ui.messages[0].text, "File is not readable or damaged: " + file("objects.mtgrx"));
  EXPECT_EQ(ui.messages[0].icon, ModalUi::Icon::Warning);
  EXPECT_EQ(shownNames().mid(0, 3), (QStringList{"", "Sand", "Clay"}));
  EXPECT_FALSE(flags.NamesChanged);
}

TEST_F(NamesWindow, SaveNamesAreCorrectedAndGrxBringsTheDialogBack) {
  const struct {
    QStringList answers;
    int dialogs;
    const char* written;
  } cases[] = {
      {{"names.grx", "names.mtgrx"}, 2, "names.mtgrx"},
      {{"names.txt"}, 1, "names.txt.mtgrx"},
      {{"names."}, 1, "names.mtgrx"},
      {{"other.objgrx", ""}, 2, nullptr},  // corrected, then cancelled: nothing written
  };
  TfrmNames& w = open(NameList::Materials);
  w.ButtonDefaultClick();
  for (const auto& c : cases) {
    ui.fileDialogs.clear();
    ui.fileAnswers.clear();
    for (const QString& a : c.answers) ui.fileAnswers.push_back(a.isEmpty() ? a : dir.filePath(a));
    w.btnToFileClick();
    ASSERT_EQ(int(ui.fileDialogs.size()), c.dialogs) << c.answers.join(' ').toStdString();
    EXPECT_EQ(ui.fileDialogs[0].fileName, QDir::toNativeSeparators(dir.path()) + QDir::separator() + "260307.0905.mtgrx");
    EXPECT_EQ(ui.fileDialogs[0].title, "Save as...");
    EXPECT_TRUE(ui.fileDialogs[0].save && ui.fileDialogs[0].confirmOverwrite);
    if (c.dialogs == 2) {
      const QString again = dir.filePath(c.answers[0]).replace(QRegularExpression("\\.[a-z]*$"), ".mtgrx");
      EXPECT_EQ(ui.fileDialogs[1].fileName, again);
    }
    if (!c.written) continue;
    const QByteArray bytes = test::readFileBytes(dir.filePath(c.written));
    EXPECT_TRUE(bytes.startsWith("[Materials Names]\r\nName00=Not def.\r\nName01=Sand\r\nName02=Loamy sand\r\n"))
        << c.written;
    EXPECT_TRUE(bytes.endsWith("Name12=Soil - 8\r\n"));
  }
  EXPECT_FALSE(QFile::exists(dir.filePath("other.mtgrx")));
  EXPECT_FALSE(QFile::exists(dir.filePath("names.grx")));
}

TEST_F(NamesWindow, NamesNeverLoadedAreNeitherSavedNorWritten) {
  worker.silent = true;  // no tester: the opening read times out after 20 polls
  TfrmNames& w = open(NameList::Objects);
  EXPECT_EQ(worker.polls, std::vector<int>(20, 100));
  EXPECT_EQ(link.state(), lsIdle) << "the request was withdrawn";
  EXPECT_TRUE(flags.NamesEmpty);
  worker.polls.clear();
  w.btnToFileClick();
  w.btnToDeviceClick();
  EXPECT_TRUE(ui.fileDialogs.empty());
  EXPECT_TRUE(worker.polls.empty());
}

TEST_F(NamesWindow, DefaultThenCloseAsksAndEachAnswerDoesItsPart) {
  const struct {
    int answer;
    std::uint8_t linkState;
    bool staysOpen;
    int writes;
  } cases[] = {
      {ModalUi::Cancel, lsIdle, true, 0},
      {ModalUi::No, lsIdle, false, 0},
      {ModalUi::Yes, lsReadRecords, false, 0},  // busy: closes without writing and without a message
      {ModalUi::Yes, lsIdle, false, 1},
  };
  for (const auto& c : cases) {
    flags = {};
    worker.writes.clear();
    ui.messages.clear();
    closedCalls = 0;
    link.setState(lsIdle);
    TfrmNames& w = open(NameList::Materials);
    w.ButtonDefaultClick();
    link.setState(c.linkState);
    ui.messageAnswers = {c.answer};
    w.btnCloseClick();
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "Parameters was changed. Save parameters to device?");
    EXPECT_EQ(ui.messages[0].buttons, ModalUi::Yes | ModalUi::No | ModalUi::Cancel);
    EXPECT_EQ(ui.messages[0].defaultButton, ModalUi::No);
    EXPECT_EQ(ui.messages[0].icon, ModalUi::Icon::Warning);
    EXPECT_EQ(w.isVisible(), c.staysOpen) << c.answer;
    EXPECT_EQ(closedCalls, c.staysOpen ? 0 : 1);
    ASSERT_EQ(int(worker.writes.size()), c.writes);
    if (c.writes) {
      EXPECT_EQ(worker.writes[0], defaultNameBlock(NameList::Materials, Language::English));
      EXPECT_FALSE(flags.NamesChanged);
    }
    delete window.data();
  }
}

TEST_F(NamesWindow, AClosePressedDuringAnExchangeWaitsForItsEnd) {
  TfrmNames& w = open(NameList::Materials);
  worker.duringWait = [&] {
    w.close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  };
  worker.polls.clear();
  w.btnFromDeviceClick();
  ASSERT_FALSE(window.isNull()) << "not freed inside its own wait";
  EXPECT_EQ(worker.polls.size(), 1u);
  EXPECT_EQ(closedCalls, 0);
  ASSERT_TRUE(waitUntilClosed());
  EXPECT_EQ(closedCalls, 1);
}

class NamesMenu : public test::MainWindowFixture {};

TEST_F(NamesMenu, OneEditorPerListUntilItClosed) {
  TForm1& form = start();
  auto editors = [&] { return form.findChildren<TfrmMaterials*>().size(); };
  form.Actions->AMaterialEdit->trigger();
  ASSERT_EQ(editors(), 1);
  EXPECT_TRUE(form.MaterialsEditorOpen);
  TfrmMaterials* editor = form.findChild<TfrmMaterials*>();
  editor->ButtonDefaultClick();
  form.Actions->AMaterialEdit->trigger();
  EXPECT_EQ(editors(), 1);

  ui_.messageAnswers = {ModalUi::Cancel};
  editor->btnCloseClick();
  EXPECT_TRUE(editor->isVisible());
  form.Actions->AMaterialEdit->trigger();
  EXPECT_EQ(editors(), 1) << "Cancel keeps the window and its guard";

  form.Actions->AObjectEdit->trigger();
  EXPECT_EQ(form.findChildren<TfrmObjects*>().size(), 1) << "the twin has a guard of its own";

  ui_.messageAnswers = {ModalUi::No};
  editor->btnCloseClick();
  EXPECT_FALSE(form.MaterialsEditorOpen);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(editors(), 0) << "closing frees the window";
  form.Actions->AMaterialEdit->trigger();
  EXPECT_EQ(editors(), 1);
  EXPECT_EQ(form.findChild<TfrmMaterials*>()->EditName[1]->text(), "") << "the block was never written";
}

}  // namespace
}  // namespace grx
