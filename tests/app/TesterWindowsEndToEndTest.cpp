// The name editor and the screen image window of the running program against a simulated tester
// on the bulk pipes, with the device worker on its own thread as the program runs it.
#include "app/MainActions.h"
#include "app/MainLinkView.h"
#include "data/SampleMeasurements.h"
#include "device/DeviceLink.h"
#include "names/TfrmNames.h"
#include "screen/TfrmScreenshot.h"
#include "sim/PipeTester.h"
#include "sim/TesterData.h"
#include "support/MainWindowFixture.h"
#include "support/WaitUntil.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>

namespace grx {
namespace {

using test::waitUntil;

class TesterWindows : public test::MainWindowFixture {
 protected:
  void SetUp() override {
    qputenv("GRX1_PIPE_DIR", pipes_.path().toUtf8());
    qputenv("GRX1_LIBUSB", "/nonexistent/libusb-0.1.so.4");
  }
  void TearDown() override {
    link_.reset();  // first: the worker's window calls reach the form until it has stopped
    form_.reset();
    server_.stop();
    qunsetenv("GRX1_PIPE_DIR");
    qunsetenv("GRX1_LIBUSB");
  }
  TForm1& startReading(int impacts, int slowMs) {
    auto set = std::make_unique<MeasurementSet>();
    generateSampleMeasurements(*set, impacts, 9);
    sim::loadMeasurements(core_, *set);
    sim::loadDefaultNames(core_);
    for (std::size_t i = 0; i < core_.screen().size(); ++i) core_.screen()[i] = std::uint8_t(i * 13 + 1);
    core_.faults().slowMs = slowMs;
    EXPECT_TRUE(server_.create());
    server_.start();
    EXPECT_TRUE(server_.waitListening(5000));
    writeIni("[Config]\r\nLangId=Eng\r\n");
    link_ = std::make_unique<DeviceLink>(view_, std::make_unique<NoSleeper>());
    TForm1::Environment env;
    env.programFolder = dir_.path();
    env.ui = &ui_;
    env.exitProcess = [this](int code) { exitCodes_.push_back(code); };
    env.link = &link_->shared();
    env.stopWorker = [this] {
      link_->stop();
      link_->waitStopped();
    };
    form_ = std::make_unique<TForm1>(env);
    view_.attach(form_.get());
    form_->FormCreate();
    link_->start();
    form_->show();
    return *form_;
  }

  QTemporaryDir pipes_;
  sim::TesterCore core_;
  sim::PipeTester server_{core_, pipes_.path().toStdString()};
  MainLinkView view_;
  std::unique_ptr<DeviceLink> link_;
};

TEST_F(TesterWindows, AScreenshotAskedForDuringTheReadFollowsIt) {
  TForm1& form = startReading(400, 1);
  ASSERT_TRUE(waitUntil([&] { return form.ProgressBar1->isVisible() && form.ProgressBar1->value() > 5; }, 20000));
  form.Actions->AScreenshot->trigger();
  auto* window = form.findChild<TfrmScreenshot*>();
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(window->reading());
  EXPECT_NE(link_->shared().state(), lsReadScreen) << "not posted into the running read";

  ASSERT_TRUE(waitUntil([&] { return !window->reading(); }, 30000)) << form.StatusPanel[1]->text().toStdString();
  EXPECT_EQ(form.measurements().count(), 400u)
      << "the read was not cut off; panel 1: " << form.StatusPanel[1]->text().toStdString();
  // The status follows the state by one synchronised call.
  EXPECT_TRUE(waitUntil([&] { return form.StatusPanel[1]->text() == "Screenshot readed"; }, 5000));
  std::lock_guard<std::mutex> guard(server_.coreMutex());
  for (int x = 0; x < 128; ++x)
    for (int y = 0; y < 64; ++y)
      ASSERT_EQ(window->pixels().pixel(x + 2, y + 2), (core_.screen()[std::size_t((y / 8) * 128 + x)] >> (y % 8)) & 1)
          << x << "," << y;
}

TEST_F(TesterWindows, TheMaterialEditorReadsAndWritesTheTestersBlock) {
  TForm1& form = startReading(5, 0);
  ASSERT_TRUE(waitUntil([&] { return form.measurements().count() == 5 && link_->shared().state() == lsIdle; }, 20000));
  form.Actions->AMaterialEdit->trigger();
  auto* editor = form.findChild<TfrmMaterials*>();
  ASSERT_NE(editor, nullptr);
  EXPECT_EQ(editor->EditName[1]->text(), "Песок");
  EXPECT_EQ(editor->EditName[12]->text(), "Грунт - 8");
  EXPECT_FALSE(form.nameListFlags(NameList::Materials).NamesEmpty);

  editor->EditName[2]->setText("Гравий");
  editor->btnToDevice->click();
  EXPECT_TRUE(waitUntil([&] { return form.StatusPanel[1]->text() == "Param Writed"; }, 5000));
  std::lock_guard<std::mutex> guard(server_.coreMutex());
  const std::uint8_t slot2[8] = {6, 0xC3, 0xF0, 0xE0, 0xE2, 0xE8, 0xE9, 0};
  EXPECT_TRUE(std::equal(slot2, slot2 + 8, core_.materialNames().begin() + 40));
  EXPECT_EQ(core_.nameWrites(), 1);
}

}  // namespace
}  // namespace grx
