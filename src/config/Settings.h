#pragma once
// The configuration keys of the main window: what start-up reads from GRX1.ini (with the defaults
// and clamping rules of the program) and what exit writes back. Window-free, so every rule can be
// checked without a screen.
#include "platform/IniFile.h"
#include "platform/TextPair.h"

#include <QRect>
#include <QSize>
#include <QString>

#include <optional>

namespace grx {

enum class BottomAxisMode { Ms20, Ms32, Auto };

// Vertical axis limits of the chart, in the order the configuration stores them.
struct AxisLimits {
  double leftMaximum = 0.0;
  double leftMinimum = -0.5;
  double rightMaximum = 0.0;
  double rightMinimum = -10.0;
};

struct CurveChecks {
  bool accel = false;
  bool velocity = false;
  bool displacement = true;
  bool force = true;
};

struct StartupSettings {
  std::optional<Language> language;  // none: ask with the language dialog
  QRect geometry;                    // left, top, width, height after clamping to the screen
  int table1Width = 500;             // thousandths of the client width, 50..950
  bool maximized = false;
  bool reducedView = true;
  CurveChecks curves;
  bool codeView = false;
  bool leftAxisPlus = false;
  bool leftAxisAuto = true;
  bool rightAxisPlus = false;
  bool rightAxisAuto = true;
  BottomAxisMode bottomAxis = BottomAxisMode::Ms20;
  AxisLimits limits;
  int uses = 0;  // the count read, before this start is added
};

// Every key of sections Config and FormMain but LastReadPath is read through a 10-character buffer.
inline constexpr int kConfigValueBuffer = 10;

// Reads the start-up keys; `screen` is the size of the whole screen.
StartupSettings readStartupSettings(const IniFile& ini, QSize screen);

// Parses an axis limit as the program writes it ("-0,500") and as other programs may ("-0.5");
// the key's default when the text is not a finite number.
double parseAxisLimit(const QString& text, double defaultValue);

// Puts the limits of one axis in order: the larger value becomes the maximum.
void orderLimits(double& maximum, double& minimum);

struct ExitState {
  bool maximized = false;
  QRect geometry;
  int table1Width = 500;
  CurveChecks curves;
  AxisLimits limits;
};

// Writes what exit saves: the window keys (only Maximized=1 when maximized), the curve check boxes
// and the axis limits.
void writeExitSettings(const IniFile& ini, const ExitState& state);

QString languageKeyValue(Language language);  // "Rus" / "Eng"

// The keys that commands write at once (exit writes the rest through writeExitSettings).
void writeLanguage(const IniFile& ini, Language language);          // LangId
void writeUses(const IniFile& ini, int uses);                        // Uses
void writeAxisModeKey(const IniFile& ini, const char* key, bool on);  // LeftAxisPlus ... as "Y"/"N"
void writeBottomAxis(const IniFile& ini, BottomAxisMode mode);       // BottomAxis: "20", "32", "Auto"

// LastReadPath: the folder of the file last chosen in a file dialog (256-character buffer).
QString readLastReadPath(const IniFile& ini);
// A folder with a line break in its name is not stored (the value would add lines to the file).
void writeLastReadPath(const IniFile& ini, const QString& folder);

}  // namespace grx
