#pragma once
// A main window started as main() starts it, with the device worker on its own thread, reading a
// simulated tester on the bulk pipes (and no libusb, whatever the machine has).
#include "MainWindowFixture.h"
#include "app/MainLinkView.h"
#include "data/MeasurementSet.h"
#include "device/DeviceLink.h"
#include "sim/PipeTester.h"
#include "sim/TesterData.h"

#include <QTemporaryDir>

#include <memory>

namespace grx::test {

class TesterWindowFixture : public MainWindowFixture {
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
  // The tester serves `set` (its core may be prepared further before), answering after `slowMs`.
  TForm1& startReading(const MeasurementSet& set, int slowMs) {
    sim::loadMeasurements(core_, set);
    core_.faults().slowMs = slowMs;
    EXPECT_TRUE(server_.create());
    server_.start();
    EXPECT_TRUE(server_.waitListening(5000));
    writeIni("[Config]\r\nLangId=Eng\r\n");
    link_ = std::make_unique<DeviceLink>(view_, std::make_unique<NoSleeper>());
    TForm1::Environment env;
    env.programFolder = QDir::toNativeSeparators(dir_.path());  // as programFolderOf gives it
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

}  // namespace grx::test
