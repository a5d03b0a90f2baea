#include "MenuTexts.h"

#include "control/ControlTexts.h"

#include <cstring>

namespace grx {
namespace {

constexpr MenuText kTexts[] = {
    {"MenuFile", {"Файл", "File"}},
    {"AProjectNew", {"Новый проект...", "New project..."}},
    {"AProjectOpen", {"Открыть проект...", "Open project..."}},
    {"AProjectSave", {"Сохранить проект...", "Save project..."}},
    {"AOpen", {"Открыть файл...", "Open file..."}},
    {"ASave", {"Сохранить файл...", "Save file..."}},
    {"MenuExportPositions", {"Экспорт координат", "Export positions"}},
    {"AExportGeoJson", {"GeoJSON (*.geojson)...", "GeoJSON (*.geojson)..."}},
    {"AExportKml", {"KML (*.kml)...", "KML (*.kml)..."}},
    {"AExportGpx", {"GPX (*.gpx)...", "GPX (*.gpx)..."}},
    {"AExportGeoCsv", {"CSV (*.csv)...", "CSV (*.csv)..."}},
    {"APrinter", {"Принтер...", "Printer Setup..."}},
    {"APrint", {"Печать...", "Print..."}},
    {"AExit", {"Выход", "Exit"}},
    {"AArchive", {"Архив...", "Archive..."}},
    {"AArchiveAdd", {"Добавить в архив", "Add to archive"}},
    {"AArchiveKeep", {"Хранить считанные данные в архиве", "Keep every read in the archive"}},
    {"MenuEdit", {"Правка", "Edit"}},
    {"ACopyTable1", {"Копировать таблицу 1 в буфер обмена", "Copy table 1 to clipboard"}},
    {"ACopyBlockTable1", {"Копировать выделенное в буфер обмена", "Copy select to clipboard"}},
    {"ACopyBlockTable2", {"Копировать выделенное в буфер обмена", "Copy select to clipboard"}},
    {"ACopyTable2", {"Копировать таблицу 2 в буфер обмена", "Copy table 2 to clipboard"}},
    {"ACopyGraph", {"Копировать график в буфер обмена", "Copy chart to clipboard"}},
    {"ACopyGraphData", {"Копировать данные графика в буфер обмена", "Copy data chart to clipboard"}},
    // Calibration copies: the same Russian text in both languages.
    {"itmCopyCalibrDataF", {"Копировать данные силы (F) для калибровки", "Копировать данные силы (F) для калибровки"}},
    {"itmCopyCalibrDataS",
     {"Копировать данные перемещения (S) для калибровки", "Копировать данные перемещения (S) для калибровки"}},
    {"MenuWav", {"Сохранить в wav-файл...", "Save to wav-file..."}},
    {"MenuCsv", {"Сохранить в csv-файл...", "Save to csv-file..."}},
    {"ACopyAtoWav", {"Сохранить график виброускорения (a) в wav-файл...", "Save accelerate (a) to wav-file..."}},
    {"ACopyVtoWav", {"Сохранить график виброскорости v(t) в wav-файл...", "Save velocity (v) to wav-file..."}},
    {"ACopyStoWav", {"Сохранить график виброперемещения s(t) в wav-файл...", "Save displacement (s) to wav-file..."}},
    {"ACopyFtoWav", {"Сохранить график силы удара f(t) в wav-файл...", "Save force (f) to wav-file..."}},
    {"ACopyAllToWav", {"Сохранить все графии (s, f) в wav-файлы...", "Save all graphics (s, f) to wav-files..."}},
    {"ACopyAtoCsv", {"Сохранить график виброускорения (a) в csv-файл...", "Save accelerate (a) to csv-file..."}},
    {"ACopyVtoCsv", {"Сохранить график виброскорости v(t) в csv-файл...", "Save velocity (v) to csv-file..."}},
    {"ACopyStoCsv", {"Сохранить график виброперемещения s(t) в csv-файл...", "Save displacement (s) to csv-file..."}},
    {"ACopyFtoCsv", {"Сохранить график силы удара f(t) в csv-файл...", "Save force (f) to csv-file..."}},
    {"ACopyAllToCsv", {"Сохранить все графии (s, f) в csv-файлы...", "Save all graphics (s, f) to csv-files..."}},
    {"ADelSeries", {"Удалить выделенную серию (серии)", "Delete Series"}},
    {"ADelImpact", {"Удалить выделенный удар (удары)", "Delete Impact(s)"}},
    {"ACompactionControl", kControlTitle},
    {"MenuTester", {"Прибор", "Tester"}},
    {"AGaugeRead", {"Чтение из прибора", "Read from tester"}},
    {"AMaterialEdit", {"Редактирование названий материалов", "Edit materials"}},
    {"AObjectEdit", {"Редактирование названий объектов", "Edit objects"}},
    {"AScreenshot", {"Считать вид экрана прибора", "Take a screenshot"}},
    {"MenuParameters", {"Параметры", "Parameters"}},
    {"MenuChartsScale", {"Масштаб графиков", "Charts Scale"}},
    {"MenuLeftAxis", {"Левая ось", "Left axis"}},
    {"MenuRightAxis", {"Правая ось", "Right axis"}},
    {"MenuTimeAxis", {"Ось времени", "Time axis"}},
    {"ALeftAxisPlus", {"Показывать значения >0", "Show value> 0"}},
    {"ARightAxisPlus", {"Показывать значения >0", "Show value> 0"}},
    {"ALeftAxisAuto", {"По размаху сигнала (автоматически)", "In the span signal (automatically)"}},
    {"ARightAxisAuto", {"По размаху сигнала (автоматически)", "In the span signal (automatically)"}},
    {"ABottomAxis20", {"20 мс", "20 ms"}},
    {"ABottomAxis32", {"32 мс", "32 ms"}},
    {"ABottomAxisAuto", {"По длительности удара (автоматически)", "For the duration of the impact (automatically)"}},
    {"MenuLanguage", {"Язык (Language)", "Language (Язык)"}},
    {"ALangRus", {"Русский", "Русский"}},
    {"ALangEng", {"English", "English"}},
    {"MenuHelp", {"Помощь", "Help"}},
    {"AChmHelp", {"Помощь", "Help"}},
    {"AAbout", {"О программе...", "About..."}},
    {"CheckBoxAccel", {"Виброускорение", "Vibr.acceleration"}},
    {"CheckBoxVelocity", {"Виброскорость", "Vibr.velocity"}},
    {"CheckBoxDisplacement", {"Виброперемещение", "Vibr.displacement"}},
    {"CheckBoxForce", {"Сила удара", "Impact force"}},
};

}  // namespace

std::span<const MenuText> menuTexts() { return kTexts; }

QString menuText(const char* name, Language language) {
  for (const MenuText& t : kTexts)
    if (std::strcmp(t.name, name) == 0) return t.text.text(language);
  return {};
}

}  // namespace grx
