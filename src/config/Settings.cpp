#include "config/Settings.h"

#include "platform/NumberFormat.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace grx {
namespace {

const QString kConfig = QStringLiteral("Config");
const QString kFormMain = QStringLiteral("FormMain");

QString readKey(const IniFile& ini, const QString& section, const char* key, const char* defaultValue) {
  return ini.readString(section, QString::fromLatin1(key), QString::fromLatin1(defaultValue), kConfigValueBuffer);
}

int readInt(const IniFile& ini, const QString& section, const char* key, int defaultValue) {
  bool ok = false;
  const int value = parseInteger(readKey(ini, section, key, QByteArray::number(defaultValue).constData()), &ok);
  return ok ? value : defaultValue;
}

QChar firstChar(const QString& value) { return value.isEmpty() ? QChar() : value.front(); }

// "checked unless the first character is N"
bool notN(const IniFile& ini, const char* key, const char* defaultValue) {
  return firstChar(readKey(ini, kConfig, key, defaultValue)) != u'N';
}

bool isY(const IniFile& ini, const char* key, const char* defaultValue) {
  return firstChar(readKey(ini, kConfig, key, defaultValue)) == u'Y';
}

QString yesNo(bool value) { return value ? QStringLiteral("Y") : QStringLiteral("N"); }

}  // namespace

double parseAxisLimit(const QString& text, double defaultValue) {
  bool ok = false;
  const double value = parseDecimal(text, &ok);
  return ok && std::isfinite(value) ? value : defaultValue;  // "nan" and "inf" are no limits
}

void orderLimits(double& maximum, double& minimum) {
  if (maximum < minimum) std::swap(maximum, minimum);
}

StartupSettings readStartupSettings(const IniFile& ini, QSize screen) {
  StartupSettings s;
  const QString lang = readKey(ini, kConfig, "LangId", "");
  if (!lang.isEmpty()) s.language = lang == u"Rus" ? Language::Russian : Language::English;

  const int width = std::min(readInt(ini, kFormMain, "Width", 500), screen.width());
  const int height = std::min(readInt(ini, kFormMain, "Height", 400), screen.height());
  s.table1Width = std::clamp(readInt(ini, kFormMain, "Table1Width", 500), 50, 950);

  int left = readInt(ini, kFormMain, "Left", (screen.width() - width) / 2);
  if (left > screen.width() - width) left = screen.width() - width;
  else if (left < 0) left = 0;
  int top = readInt(ini, kFormMain, "Top", (screen.height() - height) / 2);
  if (top > screen.height() - height) top = screen.height() - height - 25;
  else if (top < 0) top = 0;
  s.geometry = QRect(left, top, width, height);
  s.maximized = firstChar(readKey(ini, kFormMain, "Maximized", "0")) == u'1';

  s.reducedView = firstChar(readKey(ini, kConfig, "Super", "N")) == u'N';
  s.curves.accel = notN(ini, "AccelGraph", "N");
  s.curves.velocity = notN(ini, "VelocityGraph", "N");
  s.curves.displacement = notN(ini, "DisplacementGraph", "Y");
  s.curves.force = notN(ini, "ForceGraph", "Y");
  s.codeView = isY(ini, "Code", "N");
  s.leftAxisPlus = isY(ini, "LeftAxisPlus", "N");
  s.leftAxisAuto = isY(ini, "LeftAxisAuto", "Y");
  s.rightAxisPlus = isY(ini, "RightAxisPlus", "N");
  s.rightAxisAuto = isY(ini, "RightAxisAuto", "Y");

  const QString bottom = readKey(ini, kConfig, "BottomAxis", "20").left(2);
  s.bottomAxis = bottom == u"20" ? BottomAxisMode::Ms20 : bottom == u"32" ? BottomAxisMode::Ms32 : BottomAxisMode::Auto;

  const AxisLimits defaults;
  s.limits.leftMaximum = parseAxisLimit(readKey(ini, kConfig, "LeftAxisMaximum", "0"), defaults.leftMaximum);
  s.limits.leftMinimum = parseAxisLimit(readKey(ini, kConfig, "LeftAxisMinimum", "-0,5"), defaults.leftMinimum);
  s.limits.rightMaximum = parseAxisLimit(readKey(ini, kConfig, "RightAxisMaximum", "0"), defaults.rightMaximum);
  s.limits.rightMinimum = parseAxisLimit(readKey(ini, kConfig, "RightAxisMinimum", "-10"), defaults.rightMinimum);
  orderLimits(s.limits.leftMaximum, s.limits.leftMinimum);
  orderLimits(s.limits.rightMaximum, s.limits.rightMinimum);

  s.uses = readInt(ini, kConfig, "Uses", 0);
  return s;
}

void writeExitSettings(const IniFile& ini, const ExitState& state) {
  if (state.maximized) {
    ini.writeString(kFormMain, QStringLiteral("Maximized"), QStringLiteral("1"));
  } else {
    ini.writeString(kFormMain, QStringLiteral("Maximized"), QStringLiteral("0"));
    ini.writeString(kFormMain, QStringLiteral("Left"), QString::number(state.geometry.left()));
    ini.writeString(kFormMain, QStringLiteral("Top"), QString::number(state.geometry.top()));
    ini.writeString(kFormMain, QStringLiteral("Width"), QString::number(state.geometry.width()));
    ini.writeString(kFormMain, QStringLiteral("Height"), QString::number(state.geometry.height()));
    ini.writeString(kFormMain, QStringLiteral("Table1Width"), QString::number(state.table1Width));
  }
  ini.writeString(kConfig, QStringLiteral("AccelGraph"), yesNo(state.curves.accel));
  ini.writeString(kConfig, QStringLiteral("VelocityGraph"), yesNo(state.curves.velocity));
  ini.writeString(kConfig, QStringLiteral("DisplacementGraph"), yesNo(state.curves.displacement));
  ini.writeString(kConfig, QStringLiteral("ForceGraph"), yesNo(state.curves.force));
  ini.writeString(kConfig, QStringLiteral("LeftAxisMaximum"), formatFloat(state.limits.leftMaximum, u"0.000"));
  ini.writeString(kConfig, QStringLiteral("LeftAxisMinimum"), formatFloat(state.limits.leftMinimum, u"0.000"));
  ini.writeString(kConfig, QStringLiteral("RightAxisMaximum"), formatFloat(state.limits.rightMaximum, u"0.000"));
  ini.writeString(kConfig, QStringLiteral("RightAxisMinimum"), formatFloat(state.limits.rightMinimum, u"0.000"));
}

QString languageKeyValue(Language language) {
  return language == Language::Russian ? QStringLiteral("Rus") : QStringLiteral("Eng");
}

void writeLanguage(const IniFile& ini, Language language) {
  ini.writeString(kConfig, QStringLiteral("LangId"), languageKeyValue(language));
}

void writeUses(const IniFile& ini, int uses) { ini.writeString(kConfig, QStringLiteral("Uses"), QString::number(uses)); }

void writeAxisModeKey(const IniFile& ini, const char* key, bool on) {
  ini.writeString(kConfig, QString::fromLatin1(key), yesNo(on));
}

void writeBottomAxis(const IniFile& ini, BottomAxisMode mode) {
  const char* value = mode == BottomAxisMode::Ms20 ? "20" : mode == BottomAxisMode::Ms32 ? "32" : "Auto";
  ini.writeString(kConfig, QStringLiteral("BottomAxis"), QString::fromLatin1(value));
}

QString readLastReadPath(const IniFile& ini) {
  return ini.readString(kConfig, QStringLiteral("LastReadPath"), QString(), 256);
}

void writeLastReadPath(const IniFile& ini, const QString& folder) {
  // A folder whose name holds a line break cannot be kept on one line; the one before stays.
  if (folder.contains(u'\r') || folder.contains(u'\n')) return;
  ini.writeString(kConfig, QStringLiteral("LastReadPath"), folder);
}

}  // namespace grx
