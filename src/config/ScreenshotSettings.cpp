#include "config/ScreenshotSettings.h"

#include "platform/NumberFormat.h"

namespace grx {
namespace {

const QString kScreenshot = QStringLiteral("Screenshot");

// The key's value as an integer; `fallback` when it is not one.
qint64 readNumber(const IniFile& ini, const char* key, qint64 defaultValue, qint64 fallback, int buffer) {
  const QString text = ini.readString(kScreenshot, QString::fromLatin1(key), QString::number(defaultValue), buffer);
  bool ok = false;
  const int value = parseInteger(text, &ok);
  if (ok) return value;
  if (buffer != kScreenshotColorBuffer) return fallback;
  // A colour above 2^31 - 1 is still a colour value.
  const qint64 wide = text.trimmed().toLongLong(&ok);
  return ok && wide >= 0 && wide <= 0xFFFFFFFFLL ? wide : fallback;
}

void writeNumber(const IniFile& ini, const char* key, qint64 value) {
  ini.writeString(kScreenshot, QString::fromLatin1(key), QString::number(value));
}

}  // namespace

QPoint readScreenshotPosition(const IniFile& ini, const QRect& mainWindow, QSize window, QSize screen) {
  const int defaultLeft = mainWindow.left() + (mainWindow.width() - window.width()) / 2;
  const int defaultTop = mainWindow.top() + (mainWindow.height() - window.height()) / 2;
  int left = int(readNumber(ini, "Left", defaultLeft, defaultLeft, kScreenshotPositionBuffer));
  if (left > screen.width() - window.width()) left = screen.width() - window.width();
  else if (left < 0) left = 0;
  int top = int(readNumber(ini, "Top", defaultTop, defaultTop, kScreenshotPositionBuffer));
  if (top > screen.height() - window.height()) top = screen.height() - window.height() - 25;
  else if (top < 0) top = 0;
  return {left, top};
}

void writeScreenshotPosition(const IniFile& ini, QPoint position) {
  writeNumber(ini, "Left", position.x());
  writeNumber(ini, "Top", position.y());
}

WinColor readPenColor(const IniFile& ini) {
  return WinColor(readNumber(ini, "PenColor", kDefaultPenColor, kUnreadablePenColor, kScreenshotColorBuffer));
}

WinColor readBackgroundColor(const IniFile& ini) {
  return WinColor(readNumber(ini, "BackgroundColor", kDefaultBackgroundColor, kUnreadableBackgroundColor,
                             kScreenshotColorBuffer));
}

void writePenColor(const IniFile& ini, WinColor color) { writeNumber(ini, "PenColor", color); }
void writeBackgroundColor(const IniFile& ini, WinColor color) { writeNumber(ini, "BackgroundColor", color); }

}  // namespace grx
