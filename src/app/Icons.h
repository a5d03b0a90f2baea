#pragma once
// The program's own 16x16 menu pictures, drawn with a painter at start-up (no image files).
#include <QIcon>

namespace grx {

enum class IconId {
  Open, Save, Print, Exit, CopyTable, CopySelection, CopyChart, CopyData, Delete, ReadTester, Materials, Objects,
  Screenshot, Axis, TimeAxis, Help, About, FlagRussian, FlagEnglish, Wave, Csv, Control
};

QIcon programIcon(IconId id);

}  // namespace grx
