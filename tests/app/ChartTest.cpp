// The chart of the main window: what it draws for the settings, and what the mouse does to it.
#include "app/MainActions.h"
#include "data/DerivedSignals.h"
#include "support/MainWindowFixture.h"
#include "support/RecordBuilder.h"
#include "views/SignalChart.h"
#include "views/StringGridView.h"

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QSignalSpy>

#include <qcustomplot.h>

#include <algorithm>
#include <cmath>

namespace grx {
namespace {

using test::RecordBuilder;

class ChartTest : public test::MainWindowFixture {
 protected:
  TForm1& startWith(const QByteArray& config) {
    writeIni("[Config]\r\nLangId=Rus\r\n" + config);
    TForm1& form = start();
    form.resize(1000, 700);
    form.show();
    generateImpact(form);
    QCoreApplication::processEvents();
    return form;
  }
  // One impact: a cosine acceleration pulse, a negative half-sine force.
  static void generateImpact(TForm1& form) {
    RecordBuilder r;
    r.series(1).peaks(-30, 30, -0.1f, 0.05f).f32(rec::ForceFullScale, 25000);
    for (int i = 0; i < kSamplesPerSignal; ++i) {
      const bool pulse = i < 280;
      r.accelCode(i, std::int16_t(pulse ? -32767 * std::cos(2 * M_PI * i / 280) : 0));
      r.forceCode(i, std::int16_t(pulse ? -9000 * std::sin(M_PI * i / 280) : 0));
    }
    test::fillSet(form.measurements(), {r});
    form.RebuildTables();
  }
  static SignalChart& chart(TForm1& form) { return *form.chart(); }
  static double smallest(const QCPGraph* g) {
    bool found = false;
    return g->getValueRange(found).lower;
  }
  static void mouse(QWidget* w, QEvent::Type type, QPoint pos, Qt::MouseButton button, Qt::MouseButtons buttons) {
    QMouseEvent e(type, pos, w->mapToGlobal(pos), button, buttons, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &e);
  }
  static QRect plotArea(TForm1& form) { return chart(form).plot()->axisRect()->rect(); }
};

TEST_F(ChartTest, DefaultsPutDisplacementLeftAndForceRightCutAtZero) {
  TForm1& form = startWith("");
  SignalChart& c = chart(form);
  const QCPGraph* s = c.series(CurveS);
  const QCPGraph* f = c.series(CurveF);
  EXPECT_EQ(s->valueAxis(), c.leftAxis());
  EXPECT_EQ(f->valueAxis(), c.rightAxis());
  EXPECT_EQ(s->dataCount(), 312);
  EXPECT_EQ(c.series(CurveA)->dataCount(), 0);
  EXPECT_NEAR(c.leftAxis()->range().lower, 1.05 * smallest(s), 1e-9);
  EXPECT_EQ(c.leftAxis()->range().upper, 0.0);
  EXPECT_NEAR(c.rightAxis()->range().lower, 1.05 * smallest(f), 1e-9);
  EXPECT_NEAR(smallest(f), -9000 * 25000.0 / 32767 / 1000, 0.01);  // kN
  EXPECT_EQ(c.rightAxis()->range().upper, 0.0);
  EXPECT_NEAR(c.timeAxis()->range().upper, 19.968, 1e-9);
  EXPECT_EQ(c.axisTitle(c.leftAxis()), QStringLiteral("Виброперемещение, мм"));
  EXPECT_EQ(c.axisTitle(c.rightAxis()), QStringLiteral("Сила удара, кН"));
  EXPECT_EQ(c.axisTitle(c.timeAxis()), QStringLiteral("Время, мс"));
  EXPECT_TRUE(c.rightAxis()->visible());
  // the chart's points are the single-precision derived signals
  const auto expected = chartSignals(form.measurements().view(0));
  EXPECT_FLOAT_EQ(float((s->data()->constBegin() + 100)->value), expected.displacement[100]);
  EXPECT_FLOAT_EQ(float((s->data()->constBegin() + 100)->key), expected.time[100]);
}

TEST_F(ChartTest, TimeAxisChoiceAndPlusAreStoredAndRedraw) {
  TForm1& form = startWith("");
  SignalChart& c = chart(form);
  form.Actions->ABottomAxis32->trigger();
  EXPECT_EQ(c.series(CurveS)->dataCount(), 512);
  EXPECT_NEAR(c.timeAxis()->range().upper, 32.768, 1e-9);
  EXPECT_TRUE(iniBytes().contains("BottomAxis=32"));
  form.Actions->ABottomAxisAuto->trigger();
  EXPECT_EQ(c.series(CurveS)->dataCount(), 312);
  EXPECT_FALSE(form.Actions->ABottomAxis32->isChecked());
  EXPECT_TRUE(iniBytes().contains("BottomAxis=Auto"));

  form.Actions->ALeftAxisPlus->trigger();
  EXPECT_TRUE(iniBytes().contains("LeftAxisPlus=Y"));
  EXPECT_NEAR(c.leftAxis()->range().upper, -c.leftAxis()->range().lower, 1e-12);
  EXPECT_GT(c.leftAxis()->range().upper, 0.0);
}

TEST_F(ChartTest, StoredLimitsWhenAutoIsOff) {
  TForm1& form = startWith("LeftAxisAuto=N\r\nLeftAxisMinimum=-2\r\nLeftAxisMaximum=3\r\nRightAxisAuto=N\r\n"
                           "RightAxisMinimum=4\r\nRightAxisMaximum=6\r\n");
  SignalChart& c = chart(form);
  EXPECT_DOUBLE_EQ(c.leftAxis()->range().lower, -2);
  EXPECT_DOUBLE_EQ(c.leftAxis()->range().upper, 0);  // the stored maximum needs "Plus"
  EXPECT_NEAR(c.rightAxis()->range().lower, -0.01, 1e-12);  // stored minimum above 0
  EXPECT_DOUBLE_EQ(c.rightAxis()->range().upper, 0);
  form.Actions->ALeftAxisPlus->trigger();
  EXPECT_DOUBLE_EQ(c.leftAxis()->range().upper, 3);
}

TEST_F(ChartTest, StoredLimitsAreShownBeforeAnyImpactAndAZeroSpanIsDrawnWider) {
  writeIni("[Config]\r\nLangId=Rus\r\nBottomAxis=32\r\nLeftAxisMinimum=-3\r\nLeftAxisMaximum=1\r\n"
           "RightAxisMinimum=-20\r\nRightAxisMaximum=2,5\r\n");
  SignalChart& c = chart(start());
  EXPECT_DOUBLE_EQ(c.leftAxis()->range().lower, -3);
  EXPECT_DOUBLE_EQ(c.leftAxis()->range().upper, 1);
  EXPECT_DOUBLE_EQ(c.rightAxis()->range().lower, -20);
  EXPECT_DOUBLE_EQ(c.rightAxis()->range().upper, 2.5);
  EXPECT_DOUBLE_EQ(c.timeAxis()->range().upper, 32.768);

  // Stored limits 0 .. 0 with "Plus": drawn with a span, stored as they were.
  TForm1& form = startWith("LeftAxisAuto=N\r\nLeftAxisPlus=Y\r\nLeftAxisMinimum=0\r\nLeftAxisMaximum=0\r\n");
  EXPECT_DOUBLE_EQ(chart(form).leftAxis()->range().lower, -0.01);
  EXPECT_DOUBLE_EQ(chart(form).leftAxis()->range().upper, 0.01);
  EXPECT_EQ(form.axisLimits().leftMinimum, 0.0);
  EXPECT_EQ(form.axisLimits().leftMaximum, 0.0);
}

TEST_F(ChartTest, FullViewFollowsTheCheckBoxes) {
  TForm1& form = startWith("Super=Y\r\nAccelGraph=Y\r\nVelocityGraph=Y\r\n");
  SignalChart& c = chart(form);
  EXPECT_EQ(c.series(CurveA)->valueAxis(), c.leftAxis());
  for (int k : {CurveV, CurveS, CurveF}) EXPECT_EQ(c.series(k)->valueAxis(), c.rightAxis()) << k;
  EXPECT_EQ(c.axisTitle(c.leftAxis()), QStringLiteral("Виброускорение, м/с2"));
  form.CheckBoxAccel->click();
  EXPECT_EQ(c.series(CurveV)->valueAxis(), c.leftAxis());
  EXPECT_EQ(c.series(CurveS)->valueAxis(), c.leftAxis());
  EXPECT_EQ(c.series(CurveF)->valueAxis(), c.rightAxis());
  EXPECT_EQ(c.series(CurveA)->dataCount(), 0);
  EXPECT_EQ(c.axisTitle(c.rightAxis()), QStringLiteral("Сила удара, кН"));
  form.Actions->ALangEng->trigger();  // the titles follow the language
  EXPECT_EQ(c.axisTitle(c.leftAxis()), "Vibrovelocity, m/s; Vibrodisplacement, mm");
}

TEST_F(ChartTest, RawCodeViewFixesTheLeftAxisAndCarriesTheForce) {
  TForm1& form = startWith("Code=Y\r\n");
  SignalChart& c = chart(form);
  EXPECT_EQ(c.series(CurveF)->valueAxis(), c.leftAxis());
  EXPECT_DOUBLE_EQ(c.leftAxis()->range().lower, -32768);
  EXPECT_DOUBLE_EQ(c.leftAxis()->range().upper, 32768);
  EXPECT_NEAR(smallest(c.series(CurveF)), -9000, 1);
}

TEST_F(ChartTest, DraggingTheLeftMaximumByAQuarterHeightRaisesItByAQuarterRangeAndStoresIt) {
  TForm1& form = startWith("");
  SignalChart& c = chart(form);
  QCustomPlot* plot = c.plot();
  const QRect area = plotArea(form);
  const QPoint press(area.left() - 12, area.top() + area.height() / 4);
  const QCPRange before = c.leftAxis()->range();
  mouse(plot, QEvent::MouseButtonPress, press, Qt::LeftButton, Qt::LeftButton);
  EXPECT_EQ(c.dragMode(), SignalChart::DragLeftMax);
  EXPECT_EQ(c.leftAxis()->tickLabelColor(), QColor(Qt::red));
  const int quarter = plot->height() / 4;
  mouse(plot, QEvent::MouseMove, press + QPoint(0, quarter), Qt::NoButton, Qt::LeftButton);
  EXPECT_NEAR(c.leftAxis()->range().upper, before.upper + before.size() * quarter / plot->height(), 1e-12);
  mouse(plot, QEvent::MouseButtonRelease, press + QPoint(0, quarter), Qt::LeftButton, Qt::NoButton);
  EXPECT_EQ(c.dragMode(), SignalChart::DragNone);
  EXPECT_EQ(c.leftAxis()->tickLabelColor(), QColor(Qt::black));
  EXPECT_DOUBLE_EQ(form.axisLimits().leftMaximum, c.leftAxis()->range().upper);
  EXPECT_DOUBLE_EQ(form.axisLimits().leftMinimum, c.leftAxis()->range().lower);

  // a double click there resets that end instead
  const QPoint again(area.left() - 12, area.top() + area.height() / 4);
  mouse(plot, QEvent::MouseButtonPress, again, Qt::LeftButton, Qt::LeftButton);
  mouse(plot, QEvent::MouseButtonRelease, again, Qt::LeftButton, Qt::NoButton);
  mouse(plot, QEvent::MouseButtonDblClick, again, Qt::LeftButton, Qt::LeftButton);
  mouse(plot, QEvent::MouseButtonRelease, again, Qt::LeftButton, Qt::NoButton);
  EXPECT_EQ(c.leftAxis()->range().upper, 0.0);
  EXPECT_FALSE(c.doubleClickMark());
}

TEST_F(ChartTest, PressesAboveTheAxesAndInsideThePlot) {
  TForm1& form = startWith("");
  SignalChart& c = chart(form);
  const QRect area = plotArea(form);
  QCustomPlot* plot = c.plot();
  mouse(plot, QEvent::MouseButtonPress, {area.left() - 12, area.top() - 8}, Qt::LeftButton, Qt::LeftButton);
  EXPECT_EQ(c.dragMode(), SignalChart::DragNone);  // above the left axis: nothing
  mouse(plot, QEvent::MouseButtonRelease, {area.left() - 12, area.top() - 8}, Qt::LeftButton, Qt::NoButton);
  mouse(plot, QEvent::MouseButtonPress, {area.right() + 12, area.top() - 8}, Qt::LeftButton, Qt::LeftButton);
  EXPECT_EQ(c.dragMode(), SignalChart::DragRightMax);  // above the right axis: its maximum
  mouse(plot, QEvent::MouseButtonRelease, {area.right() + 12, area.top() - 8}, Qt::LeftButton, Qt::NoButton);
  mouse(plot, QEvent::MouseButtonPress, {area.left() + 10, area.bottom() + 12}, Qt::LeftButton, Qt::LeftButton);
  EXPECT_EQ(c.dragMode(), SignalChart::DragTimeMin);
  mouse(plot, QEvent::MouseButtonRelease, {area.left() + 10, area.bottom() + 12}, Qt::LeftButton, Qt::NoButton);
  // a double click inside the plot leaves the mark for the next axis-end release
  mouse(plot, QEvent::MouseButtonDblClick, area.center(), Qt::LeftButton, Qt::LeftButton);
  mouse(plot, QEvent::MouseButtonRelease, area.center(), Qt::LeftButton, Qt::NoButton);
  EXPECT_TRUE(c.doubleClickMark());
}

TEST_F(ChartTest, RectangleZoomAndClickToUndo) {
  TForm1& form = startWith("");
  SignalChart& c = chart(form);
  QCustomPlot* plot = c.plot();
  const QRect area = plotArea(form);
  const QCPRange time = c.timeAxis()->range();
  const QPoint from = area.topLeft() + QPoint(area.width() / 4, 10);
  const QPoint to = area.center();
  mouse(plot, QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
  mouse(plot, QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
  mouse(plot, QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
  EXPECT_TRUE(c.zoomed());
  EXPECT_GT(c.timeAxis()->range().lower, time.lower + 1);
  mouse(plot, QEvent::MouseButtonPress, to, Qt::LeftButton, Qt::LeftButton);
  mouse(plot, QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
  EXPECT_FALSE(c.zoomed());
  EXPECT_NEAR(c.timeAxis()->range().lower, time.lower, 1e-9);
  EXPECT_NEAR(c.timeAxis()->range().upper, time.upper, 1e-9);
}

TEST_F(ChartTest, RightClickOpensThePopupButNotAfterPanning) {
  TForm1& form = startWith("");
  SignalChart& c = chart(form);
  QCustomPlot* plot = c.plot();
  QSignalSpy popups(&c, &SignalChart::popupRequested);
  const QPoint p = plotArea(form).center();
  const QCPRange before = c.timeAxis()->range();
  mouse(plot, QEvent::MouseButtonPress, p, Qt::RightButton, Qt::RightButton);
  mouse(plot, QEvent::MouseMove, p + QPoint(40, 0), Qt::NoButton, Qt::RightButton);
  mouse(plot, QEvent::MouseButtonRelease, p + QPoint(40, 0), Qt::RightButton, Qt::NoButton);
  EXPECT_EQ(popups.count(), 0);
  EXPECT_LT(c.timeAxis()->range().lower, before.lower);  // dragged to the right: earlier times come in
  mouse(plot, QEvent::MouseButtonPress, p, Qt::RightButton, Qt::RightButton);
  mouse(plot, QEvent::MouseButtonRelease, p, Qt::RightButton, Qt::NoButton);
  ASSERT_EQ(popups.count(), 1);
  EXPECT_EQ(popups[0][0].toPoint(), plot->mapToGlobal(p + QPoint(3, 3)));
}

TEST_F(ChartTest, ChartCopies) {
  TForm1& form = startWith("");
  form.Actions->ACopyGraphData->trigger();
  const QString text = QGuiApplication::clipboard()->text();
  EXPECT_TRUE(text.startsWith(QStringLiteral("\r\nВремя, мс\tВиброперемещение\tСила удара\t\r\n0,064\t")));
  EXPECT_EQ(text.count(QStringLiteral("\r\n")), 2 + 312);
  form.Actions->ACopyGraph->trigger();
  const QImage image = QGuiApplication::clipboard()->image();
  EXPECT_EQ(image.size(), chart(form).plot()->size());
  EXPECT_EQ(image.pixelColor(2, 2), QColor(Qt::white));
}

}  // namespace
}  // namespace grx
