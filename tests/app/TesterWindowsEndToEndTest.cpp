// The name editor and the screen image window of the running program against a simulated tester
// on the bulk pipes, with the device worker on its own thread as the program runs it.
#include "app/MainActions.h"
#include "app/MainLinkView.h"
#include "data/SampleMeasurements.h"
#include "data/TextForms.h"
#include "device/DeviceLink.h"
#include "names/TfrmNames.h"
#include "screen/TfrmScreenshot.h"
#include "sim/PipeTester.h"
#include "sim/TesterData.h"
#include "support/TesterWindowFixture.h"
#include "support/WaitUntil.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>

namespace grx {
namespace {

using test::waitUntil;

class TesterWindows : public test::TesterWindowFixture {
 protected:
  // A tester with `impacts` generated impacts, the factory name lists and a patterned screen.
  TForm1& startReading(int impacts, int slowMs) {
    auto set = std::make_unique<MeasurementSet>();
    generateSampleMeasurements(*set, impacts, 9);
    sim::loadDefaultNames(core_);
    for (std::size_t i = 0; i < core_.screen().size(); ++i) core_.screen()[i] = std::uint8_t(i * 13 + 1);
    return TesterWindowFixture::startReading(*set, slowMs);
  }
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

// A name answer shorter than the block fills only the slots it holds; the others keep what the
// program had (the window shows what arrived, unlike grx1-cli).
TEST_F(TesterWindows, ACutNameAnswerKeepsTheEarlierNamesOfTheSlotsItLacks) {
  TForm1& form = startReading(5, 0);
  ASSERT_TRUE(waitUntil([&] { return form.measurements().count() == 5 && link_->shared().state() == lsIdle; }, 20000));
  NameBlock earlier{};
  for (int k = 0; k < kNameSlots; ++k) writeNameField(earlier.data() + k * kNameSlotSize, QStringLiteral("Old %1").arg(k));
  link_->shared().setNames(NameList::Materials, earlier);
  {
    std::lock_guard<std::mutex> guard(server_.coreMutex());
    core_.faults().requestLength = 2 * kNameSlotSize;  // the first two names only
  }
  form.Actions->AMaterialEdit->trigger();
  auto* editor = form.findChild<TfrmMaterials*>();
  ASSERT_NE(editor, nullptr);
  const QStringList expected = {"Не выбран", "Песок", "Old 2", "Old 3",  "Old 4",  "Old 5", "Old 6",
                                "Old 7",     "Old 8", "Old 9", "Old 10", "Old 11", "Old 12"};
  for (int k = 0; k < kNameSlots; ++k) EXPECT_EQ(editor->EditName[std::size_t(k)]->text(), expected[k]) << k;
}

}  // namespace
}  // namespace grx
