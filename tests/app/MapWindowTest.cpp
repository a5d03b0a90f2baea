// The map tab of the main window driven with the mouse (click, wheel, drag, double click), the export of the positions from the File
// menu, and the tab captions and the map's text without positions in both languages.
#include "app/MainActions.h"
#include "geo/MapView.h"
#include "support/MainWindowFixture.h"
#include "support/RecordBuilder.h"
#include "views/StringGridView.h"

#include <QAction>
#include <QTabWidget>
#include <QTest>
#include <QWheelEvent>
#include <QImage>
#include <QContextMenuEvent>
#include <QMenu>
#include <QClipboard>

#include <qcustomplot.h>

namespace grx {
namespace {

using test::coordinate;

class MapWindow : public test::MainWindowFixture {
 protected:
  // Four series of one impact at 55°45' N 37°37' E and up to 250 m from there; series 3 (k = 2)
  // has no position.
  MapView& startWithPositions(const char* language = "Eng") {
    writeIni(QByteArray("[Config]\r\nLangId=") + language + "\r\n");
    TForm1& form = start();
    const std::int32_t positions[4][2] = {{coordinate(5545, 0), coordinate(3737, 0)},
                                          {coordinate(5545, 3500), coordinate(3737, 6000)},
                                          {0, 0},
                                          {coordinate(5545, 7000), coordinate(3737, 1000)}};
    std::vector<test::RecordBuilder> records;
    for (int k = 0; k < 4; ++k)
      records.push_back(test::RecordBuilder().series(k + 1).moduli(40.5f + k, 80).coordinates(positions[k][0], positions[k][1]));
    test::fillSet(form.measurements(), records);
    form.RebuildTables();
    form.resize(1000, 700);
    form.show();
    form.TabsChartMap->setCurrentIndex(1);
    QCoreApplication::processEvents();
    return *form.MapView1;
  }
};

TEST_F(MapWindow, AClickSelectsTheSeriesTheWheelZoomsAboutTheCursorADoubleClickShowsAll) {
  MapView& map = startWithPositions();
  ASSERT_EQ(map.points().size(), 3u);
  EXPECT_EQ(map.currentPoint(), 0);  // row 2 is current after the rebuild

  QTest::mouseClick(&map, Qt::LeftButton, {}, map.pointPixel(2).toPoint());  // series 4, k = 3
  EXPECT_EQ(form_->StringGrid1->currentRow(), 5);
  EXPECT_EQ(form_->StringGrid2->grid().cell(1, 1), "43,5");  // the impacts table shows series 4
  EXPECT_EQ(form_->measurements().currentIndex(), 3u);
  EXPECT_EQ(map.currentPoint(), 2);
  form_->StringGrid1->setCurrentRow(3);  // the table's row moves the highlight
  EXPECT_EQ(map.currentPoint(), 1);

  const double fitted = map.viewport().scale();
  const QPointF held = map.pointPixel(1);
  const QPointF other = map.pointPixel(0);
  QWheelEvent wheel(held, map.mapToGlobal(held), {}, QPoint(0, 240), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
  QCoreApplication::sendEvent(&map, &wheel);
  EXPECT_NEAR(map.pointPixel(1).x(), held.x(), 1);
  EXPECT_NEAR(map.pointPixel(1).y(), held.y(), 1);
  EXPECT_NEAR(map.viewport().scale(), fitted * 1.5625, 1e-9);  // two notches of 1.25
  EXPECT_NEAR(map.pointPixel(0).x() - held.x(), (other.x() - held.x()) * 1.5625, 1);

  const QPoint empty(3, map.height() - 3);
  ASSERT_EQ(map.pointAt(empty), -1);
  const QPointF before = map.pointPixel(0);
  QTest::mousePress(&map, Qt::LeftButton, {}, empty);
  QMouseEvent move(QEvent::MouseMove, empty + QPoint(40, -30), map.mapToGlobal(empty + QPoint(40, -30)), Qt::NoButton,
                   Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(&map, &move);
  QTest::mouseRelease(&map, Qt::LeftButton, {}, empty + QPoint(40, -30));
  EXPECT_NEAR(map.pointPixel(0).x(), before.x() + 40, 1e-6);  // a drag moves the picture with the mouse
  EXPECT_NEAR(map.pointPixel(0).y(), before.y() - 30, 1e-6);
  EXPECT_EQ(form_->StringGrid1->currentRow(), 3);
  QTest::mouseDClick(&map, Qt::LeftButton, {}, empty);
  EXPECT_DOUBLE_EQ(map.viewport().scale(), fitted);
  for (std::size_t i = 0; i < 3; ++i) EXPECT_TRUE(map.rect().contains(map.pointPixel(i).toPoint())) << i;
}

// Each format of the File menu writes the three series with a position (the first one's
// coordinates written out here) under the chosen name with the format's extension, and names the
// series without one afterwards.
TEST_F(MapWindow, ExportPositionsWritesTheFileAndNamesTheSeriesWithoutAPosition) {
  startWithPositions();
  struct Case {
    QAction* action;
    const char* extension;
    const char* filter;
    QByteArray firstPoint;
  };
  const MainActions& a = *form_->Actions;
  const Case cases[] = {
      {a.AExportGeoJson, ".geojson", "GeoJSON (*.geojson)", R"("coordinates":[37.6166667,55.7500000]},"properties":{"series":"1/1")"},
      {a.AExportKml, ".kml", "KML (*.kml)", "<coordinates>37.6166667,55.7500000</coordinates>"},
      {a.AExportGpx, ".gpx", "GPX (*.gpx)", R"(<wpt lat="55.7500000" lon="37.6166667">)"},
      {a.AExportGeoCsv, ".csv", "CSV (*.csv)", "\r\n1/1,"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.filter);
    ui_.messages.clear();
    ui_.fileAnswers = {dir_.filePath(QStringLiteral("points"))};
    c.action->trigger();
    EXPECT_EQ(ui_.fileDialogs.back().filters, QStringList{QString::fromLatin1(c.filter)});
    const QByteArray bytes = test::readFileBytes(dir_.filePath(QStringLiteral("points") + QString::fromLatin1(c.extension)));
    EXPECT_TRUE(bytes.contains(c.firstPoint)) << bytes.left(300).toStdString();
    ASSERT_EQ(ui_.messages.size(), 1u);
    EXPECT_EQ(ui_.messages[0].text, "1 series has no position: 3/1");
  }

  // Without any position nothing is asked and nothing written.
  test::fillSet(form_->measurements(), {test::RecordBuilder().series(1)});
  form_->RebuildTables();
  const std::size_t dialogs = ui_.fileDialogs.size();
  ui_.messages.clear();
  a.AExportKml->trigger();
  EXPECT_EQ(ui_.fileDialogs.size(), dialogs);
  ASSERT_EQ(ui_.messages.size(), 1u);
  EXPECT_EQ(ui_.messages[0].text, "No series has a position. No file was written.");
}

TEST_F(MapWindow, CtrlCCopiesThePictureAndTheRightClickMenuSavesItAsPng) {
  MapView& map = startWithPositions();
  QApplication::clipboard()->clear();
  map.setFocus();
  QTest::keyClick(&map, Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(QApplication::clipboard()->image().size(), map.size() * map.devicePixelRatio());

  // The pop-up menu of a right click (the click, then the context-menu event the window system
  // makes of it); its second item through a click on it.
  QTest::mouseClick(&map, Qt::RightButton, {}, QPoint(5, 5));
  QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, QPoint(5, 5), map.mapToGlobal(QPoint(5, 5)));
  QCoreApplication::sendEvent(&map, &menuEvent);
  auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
  ASSERT_NE(menu, nullptr);
  ASSERT_EQ(menu->actions().size(), 2);
  EXPECT_EQ(menu->actions()[1]->text(), "Save as PNG...");
  ui_.fileAnswers = {dir_.filePath(QStringLiteral("map"))};
  QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(menu->actions()[1]).center());
  const QImage saved(dir_.filePath(QStringLiteral("map.png")), "PNG");
  EXPECT_EQ(saved.size(), map.size() * map.devicePixelRatio());
  EXPECT_EQ(ui_.fileDialogs.back().filters, QStringList{"PNG (*.png)"});
}

TEST_F(MapWindow, TabCaptionsAndTheTextWithoutPositionsFollowTheLanguage) {
  writeIni("[Config]\r\nLangId=Rus\r\n");
  TForm1& form = start();
  struct Case {
    QAction* language;
    const char* chart;
    const char* map;
    const char* empty;
  };
  const Case cases[] = {{form.Actions->ALangRus, "График", "Карта", "Нет координат для показа на карте"},
                        {form.Actions->ALangEng, "Chart", "Map", "No positions to show on the map"}};
  for (const Case& c : cases) {
    c.language->trigger();
    EXPECT_EQ(form.TabsChartMap->tabText(0), QString::fromUtf8(c.chart));
    EXPECT_EQ(form.TabsChartMap->tabText(1), QString::fromUtf8(c.map));
    EXPECT_EQ(form.MapView1->message(), QString::fromUtf8(c.empty));
  }
  EXPECT_EQ(form.TabsChartMap->currentWidget(), form.Chart1);  // the chart is the default tab
  startWithPositions();
  EXPECT_EQ(form_->MapView1->message(), "");
}

}  // namespace
}  // namespace grx
