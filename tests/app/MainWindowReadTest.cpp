// The window program reading a simulated tester over the bulk pipes, as a user starts it: the
// worker runs on its thread, the tables fill when the read completes, and closing the window in
// the middle of a read stops the worker without a hang.
#include "app/MainActions.h"
#include "app/MainLinkView.h"
#include "data/SampleMeasurements.h"
#include "device/DeviceLink.h"
#include "sim/PipeTester.h"
#include "sim/TesterData.h"
#include "support/TesterWindowFixture.h"
#include "support/WaitUntil.h"
#include "views/StringGridView.h"
#include "views/TableText.h"

#include <QAction>
#include <QCoreApplication>
#include <QEventLoop>
#include <QProgressBar>
#include <QElapsedTimer>
#include <QLabel>
#include <QThread>

namespace grx {
namespace {

using test::waitUntil;

class MainWindowRead : public test::TesterWindowFixture {
 protected:
  // A tester with `impacts` generated impacts.
  TForm1& startReading(int impacts, int slowMs) {
    generateSampleMeasurements(*expected_, impacts, 21);
    return TesterWindowFixture::startReading(*expected_, slowMs);
  }
  std::unique_ptr<MeasurementSet> expected_ = std::make_unique<MeasurementSet>();
};

TEST_F(MainWindowRead, AReadFillsTheTablesAndAGaugeReadStartsItAgain) {
  TForm1& form = startReading(150, 0);
  // The status text comes with the last record; the tables follow one worker cycle later.
  ASSERT_TRUE(waitUntil([&] { return form.measurements().count() == 150; }, 20000))
      << form.StatusPanel[1]->text().toStdString();
  EXPECT_EQ(form.StatusPanel[1]->text(), "Data Readed (150)");
  EXPECT_EQ(form.StringGrid1->gridRowCount(), int(expected_->seriesCount()) + 2);
  const TextGrid series = seriesTableText(*expected_, Language::English);
  EXPECT_EQ(form.StringGrid1->grid().cell(2, 0), series.cell(2, 0));
  EXPECT_EQ(form.StringGrid1->grid().cell(3, 3), series.cell(3, 3));
  EXPECT_FALSE(form.StatusPanel[0]->text().isEmpty());  // the tester's version text
  EXPECT_FALSE(form.ProgressBar1->isVisible());
  ASSERT_TRUE(waitUntil([&] { return link_->shared().state() == lsIdle; }, 5000));

  form.StatusPanel[1]->clear();
  form.measurements().clear();
  form.Actions->AGaugeRead->trigger();  // from idle: the whole read again
  EXPECT_FALSE(link_->shared().DataReceived.load());
  ASSERT_TRUE(waitUntil([&] { return form.measurements().count() == 150; }, 20000));
  EXPECT_EQ(form.StatusPanel[1]->text(), "Data Readed (150)");
}

TEST_F(MainWindowRead, ClosingTheWindowDuringAReadStopsTheWorker) {
  TForm1& form = startReading(kMaxReadImpacts, 2);  // several seconds for the whole read
  ASSERT_TRUE(waitUntil([&] { return form.ProgressBar1->isVisible() && form.ProgressBar1->value() > 5; }, 20000));
  // a read is running: the menu command does nothing now (it would restart at the search)
  form.Actions->AGaugeRead->trigger();
  EXPECT_NE(link_->shared().state(), lsConnect);
  QElapsedTimer timer;
  timer.start();
  form.close();
  EXPECT_LT(timer.elapsed(), 3000);
  EXPECT_FALSE(link_->running());
  EXPECT_EQ(exitCodes_, std::vector<int>{0});
  EXPECT_TRUE(form.measurements().isEmpty());  // the unfinished read never reached the tables
}

}  // namespace
}  // namespace grx
