#pragma once
// The keys of section Screenshot of GRX1.ini: where the screen image window opens and the two
// colours of its picture. Missing keys take their defaults, values that are not integers their
// fallbacks, without a message. Window-free, so the window and grx1-cli share the rules.
#include "platform/IniFile.h"
#include "platform/WinColor.h"

#include <QPoint>
#include <QRect>
#include <QSize>

namespace grx {

// Left and Top are read through a buffer of 10 characters, the colours through one of 20.
inline constexpr int kScreenshotPositionBuffer = 10;
inline constexpr int kScreenshotColorBuffer = 20;

inline constexpr WinColor kDefaultPenColor = 2436127;            // RGB 31, 44, 37
inline constexpr WinColor kUnreadablePenColor = 16711680;        // RGB 0, 0, 255
inline constexpr WinColor kDefaultBackgroundColor = 15395553;    // RGB 225, 234, 234
inline constexpr WinColor kUnreadableBackgroundColor = 16777215;  // RGB 255, 255, 255

// The window's top-left corner: by default centred over the main window (`mainWindow`: its
// position and size), then kept on the screen: beyond the right edge flush with it, a bottom below
// the screen's 25 pixels above the bottom edge, negative values 0.
QPoint readScreenshotPosition(const IniFile& ini, const QRect& mainWindow, QSize window, QSize screen);
void writeScreenshotPosition(const IniFile& ini, QPoint position);

WinColor readPenColor(const IniFile& ini);
WinColor readBackgroundColor(const IniFile& ini);
void writePenColor(const IniFile& ini, WinColor color);         // as a decimal integer
void writeBackgroundColor(const IniFile& ini, WinColor color);

}  // namespace grx
