#pragma once
// The program folder and the files the program finds beside itself. On Windows the folder keeps
// its backslashes; elsewhere the platform separator takes their place.
#include <QString>

namespace grx {

// The folder of the executable, without a trailing separator (one trailing separator is removed).
QString programFolderOf(const QString& executablePath);

// folder + separator + "GRX1.ini"
QString configFilePath(const QString& programFolder);

// folder + separator + "Screenshot.bmp": the screen image window's picture file
QString screenshotFilePath(const QString& programFolder);

// folder + separator + "Help" + separator + "GRX1Help.hlp"
QString helpFilePath(const QString& programFolder);

// The platform's folder separator as the program writes it into paths and "LastReadPath".
QChar pathSeparator();

}  // namespace grx
