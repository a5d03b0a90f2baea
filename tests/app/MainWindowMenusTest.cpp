// The menus as a user sees them: every visible entry and its caption, in both languages and both
// views, and the language switch at run time.
#include "app/MainActions.h"
#include "support/MainWindowFixture.h"
#include "support/RecordBuilder.h"
#include "views/StringGridView.h"

#include <QAction>
#include <QCheckBox>
#include <QMenu>
#include <QMenuBar>

namespace grx {
namespace {

using test::MainWindowFixture;

// The visible entries of a menu, "---" for separators, submenus as "Title>[...]".
QString describe(const QMenu* menu) {
  QStringList items;
  for (QAction* a : menu->actions()) {
    if (!a->isVisible()) continue;
    if (a->isSeparator()) items << QStringLiteral("---");
    else if (a->menu()) items << a->menu()->title() + QStringLiteral(">[") + describe(a->menu()) + u']';
    else items << a->text();
  }
  return items.join(QStringLiteral(" | "));
}

QStringList menuBarOf(TForm1& form) {
  QStringList menus;
  for (QAction* a : form.menuBar()->actions()) menus << a->menu()->title() + QStringLiteral(": ") + describe(a->menu());
  return menus;
}

const QString kScaleRu = QStringLiteral(
    "Масштаб графиков>[Левая ось>[Показывать значения >0 | По размаху сигнала (автоматически)] | "
    "Правая ось>[Показывать значения >0 | По размаху сигнала (автоматически)] | Ось времени>[20 мс | 32 мс]]");
const QString kScaleEn = QStringLiteral(
    "Charts Scale>[Left axis>[Show value> 0 | In the span signal (automatically)] | "
    "Right axis>[Show value> 0 | In the span signal (automatically)] | Time axis>[20 ms | 32 ms]]");

class MainWindowMenus : public MainWindowFixture {};

TEST_F(MainWindowMenus, ReducedViewInRussian) {
  writeIni("[Config]\r\nLangId=Rus\r\n");
  TForm1& form = start();
  EXPECT_EQ(menuBarOf(form),
            QStringList({
                QStringLiteral("Файл: Открыть файл... | Сохранить файл... | Экспорт координат>[GeoJSON (*.geojson)... | KML (*.kml)... | "
                               "GPX (*.gpx)... | CSV (*.csv)...] | --- | Архив... | Добавить в архив | "
                               "Хранить считанные данные в архиве | --- | Печать... | Выход"),
                QStringLiteral("Правка: Копировать таблицу 1 в буфер обмена | Копировать выделенное в буфер обмена | --- | "
                               "Копировать таблицу 2 в буфер обмена | --- | Копировать график в буфер обмена | "
                               "Копировать данные графика в буфер обмена | --- | Контроль уплотнения"),
                QStringLiteral("Прибор: Чтение из прибора | Редактирование названий материалов | "
                               "Редактирование названий объектов | Считать вид экрана прибора"),
                QStringLiteral("Параметры: ") + kScaleRu + QStringLiteral(" | --- | Язык (Language)>[Русский | English]"),
                QStringLiteral("Помощь: Помощь | --- | О программе..."),
            }));
  EXPECT_EQ(describe(form.Actions->PopupMenuTable1),
            QStringLiteral("Копировать таблицу 1 в буфер обмена | Копировать выделенное в буфер обмена | --- | "
                           "Удалить выделенную серию (серии)"));
  EXPECT_EQ(describe(form.Actions->PopupMenuTable2),
            QStringLiteral("Копировать таблицу 2 в буфер обмена | Копировать выделенное в буфер обмена | --- | "
                           "Сохранить в wav-файл...>[Сохранить график силы удара f(t) в wav-файл... | "
                           "Сохранить график виброперемещения s(t) в wav-файл... | --- | "
                           "Сохранить все графии (s, f) в wav-файлы...] | "
                           "Сохранить в csv-файл...>[Сохранить график виброперемещения s(t) в csv-файл... | "
                           "Сохранить график силы удара f(t) в csv-файл... | --- | "
                           "Сохранить все графии (s, f) в csv-файлы...] | --- | Удалить выделенный удар (удары)"));
  EXPECT_EQ(describe(form.Actions->PopupMenuChart),
            kScaleRu + QStringLiteral(" | --- | Копировать график в буфер обмена | Копировать данные графика в буфер обмена | "
                                      "Сохранить в wav-файл...>[Сохранить график виброперемещения s(t) в wav-файл... | "
                                      "Сохранить график силы удара f(t) в wav-файл... | --- | "
                                      "Сохранить все графии (s, f) в wav-файлы...] | "
                                      "Сохранить в csv-файл...>[Сохранить график виброперемещения s(t) в csv-файл... | "
                                      "Сохранить график силы удара f(t) в csv-файл... | --- | "
                                      "Сохранить все графии (s, f) в csv-файлы...]"));
}

TEST_F(MainWindowMenus, FullViewInEnglish) {
  writeIni("[Config]\r\nLangId=Eng\r\nSuper=Y\r\n");
  TForm1& form = start();
  EXPECT_EQ(menuBarOf(form),
            QStringList({
                QStringLiteral("File: Open file... | Save file... | Export positions>[GeoJSON (*.geojson)... | KML (*.kml)... | "
                               "GPX (*.gpx)... | CSV (*.csv)...] | --- | Archive... | Add to archive | "
                               "Keep every read in the archive | --- | Print... | Exit"),
                QStringLiteral("Edit: Copy table 1 to clipboard | Copy select to clipboard | "
                               "Копировать данные силы (F) для калибровки | "
                               "Копировать данные перемещения (S) для калибровки | --- | Copy table 2 to clipboard | --- | "
                               "Copy chart to clipboard | Copy data chart to clipboard | --- | Compaction control"),
                QStringLiteral("Tester: Read from tester | Edit materials | Edit objects | Take a screenshot"),
                QStringLiteral("Parameters: ") + kScaleEn + QStringLiteral(" | --- | Language (Язык)>[Русский | English]"),
                QStringLiteral("Help: Help | --- | About..."),
            }));
  EXPECT_EQ(describe(form.Actions->PopupMenuTable2),
            QStringLiteral("Copy table 2 to clipboard | Copy select to clipboard | --- | Save to wav-file...>["
                           "Save accelerate (a) to wav-file... | Save velocity (v) to wav-file... | "
                           "Save force (f) to wav-file... | Save displacement (s) to wav-file... | --- | "
                           "Save all graphics (s, f) to wav-files...] | Save to csv-file...>["
                           "Save accelerate (a) to csv-file... | Save velocity (v) to csv-file... | "
                           "Save displacement (s) to csv-file... | Save force (f) to csv-file... | --- | "
                           "Save all graphics (s, f) to csv-files...] | --- | Delete Impact(s)"));
  EXPECT_EQ(describe(form.Actions->PopupMenuTable1),
            QStringLiteral("Copy table 1 to clipboard | Copy select to clipboard | --- | Delete Series"));
}

TEST_F(MainWindowMenus, HiddenEntriesExistButNeverShow) {
  writeIni("[Config]\r\nLangId=Eng\r\nSuper=Y\r\n");
  TForm1& form = start();
  for (QAction* a : {form.Actions->AProjectNew, form.Actions->AProjectOpen, form.Actions->AProjectSave,
                     form.Actions->APrinter, form.Actions->ABottomAxisAuto}) {
    EXPECT_FALSE(a->isVisible()) << a->objectName().toStdString();
    EXPECT_FALSE(a->text().isEmpty()) << a->objectName().toStdString();
  }
  EXPECT_EQ(form.Actions->AProjectNew->text(), "New project...");
  EXPECT_EQ(form.Actions->ABottomAxisAuto->text(), "For the duration of the impact (automatically)");
}

TEST_F(MainWindowMenus, LanguageSwitchRewritesCaptionsHintsAndTableHeadings) {
  writeIni("[Config]\r\nLangId=Rus\r\n");
  TForm1& form = start();
  test::fillSet(form.measurements(), {test::RecordBuilder().series(3)});
  form.RebuildTables();
  EXPECT_EQ(form.StringGrid1->grid().cell(2, 1), "07.03.2016");
  EXPECT_EQ(form.CheckBoxForce->toolTip(), QStringLiteral("Сила удара"));

  form.Actions->ALangEng->trigger();
  EXPECT_TRUE(iniBytes().contains("LangId=Eng"));
  EXPECT_EQ(form.windowTitle(), "GRX-1");
  EXPECT_EQ(form.Actions->AGaugeRead->text(), "Read from tester");
  EXPECT_EQ(form.CheckBoxForce->toolTip(), "Impact force");
  EXPECT_EQ(form.CheckBoxAccel->toolTip(), "Vibr.acceleration");
  EXPECT_EQ(form.StringGrid1->grid().cell(0, 1), "Date");
  EXPECT_EQ(form.StringGrid1->grid().cell(1, 1), "d:m:y");
  EXPECT_EQ(form.StringGrid2->grid().cell(1, 0), "Din.modulus, MPa");
  EXPECT_EQ(form.StringGrid2->grid().cell(0, 1), "1-st impact");
  // data rows keep the language of their last fill
  EXPECT_EQ(form.StringGrid1->grid().cell(2, 1), "07.03.2016");
  EXPECT_TRUE(form.Actions->ALangEng->isChecked());
  EXPECT_FALSE(form.Actions->ALangRus->isChecked());
  EXPECT_EQ(form.Actions->ALangRus->text(), QStringLiteral("Русский"));

  form.Actions->ALangRus->trigger();
  EXPECT_EQ(form.Actions->AGaugeRead->text(), QStringLiteral("Чтение из прибора"));
  EXPECT_EQ(form.StringGrid2->grid().cell(0, 1), QStringLiteral("1-й удар"));
  EXPECT_TRUE(iniBytes().contains("LangId=Rus"));
}

}  // namespace
}  // namespace grx
