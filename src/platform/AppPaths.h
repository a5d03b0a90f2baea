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

// Where the program writes its own files. A program folder it may write to keeps everything beside
// the program, as a copy on a USB stick expects; an installed program (a folder it may not write
// to) uses the user's folders instead.
struct FileHomes {
  QString config;  // the folder of GRX1.ini
  QString data;    // Screenshot.bmp, and the folder proposed when LastReadPath names none
};

// Decides for the program folder: an installed program, or a folder that cannot be written, gets
// the user's folders (created when missing). Every writer of the program's own files asks this.
FileHomes fileHomes(const QString& programFolder);
// The same decision with the probe's answer given.
FileHomes fileHomes(const QString& programFolder, bool programFolderWritable);
// Whether a file can be created in the folder (a read-only medium or an installed program's
// folder cannot; file permissions alone do not stop every user).
bool folderIsWritable(const QString& folder);

// The user manual's folder (holding "ru" and "en"): beside the program, in the build tree, or in
// the installed documentation folder; empty when there is none.
QString manualFolder(const QString& programFolder);

// The file dialogs' filter that shows every file: "*.*" on Windows; elsewhere "*" (a name without
// a dot is a file too).
QString allFilesFilter();

// The platform's folder separator as the program writes it into paths and "LastReadPath".
QChar pathSeparator();

}  // namespace grx
