#include "AppPaths.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace grx {

QChar pathSeparator() { return QDir::separator(); }

QString allFilesFilter() {
#ifdef _WIN32
  return QStringLiteral("All files (*.*)");
#else
  return QStringLiteral("All files (*)");
#endif
}

QString programFolderOf(const QString& executablePath) {
  QString folder = QDir::toNativeSeparators(QFileInfo(executablePath).absolutePath());
  if (folder.size() > 1 && folder.endsWith(pathSeparator())) folder.chop(1);
  return folder;
}

QString configFilePath(const QString& programFolder) {
  return programFolder + pathSeparator() + QStringLiteral("GRX1.ini");
}

QString screenshotFilePath(const QString& programFolder) {
  return programFolder + pathSeparator() + QStringLiteral("Screenshot.bmp");
}

QString helpFilePath(const QString& programFolder) {
  return programFolder + pathSeparator() + QStringLiteral("Help") + pathSeparator() + QStringLiteral("GRX1Help.hlp");
}

}  // namespace grx

namespace grx {

bool folderIsWritable(const QString& folder) {
  if (!QFileInfo(folder).isDir()) return false;
  QTemporaryFile probe(folder + QStringLiteral("/.grx1-write-probe-XXXXXX"));
  return probe.open();  // removed again when the probe goes
}

FileHomes fileHomes(const QString& programFolder, bool programFolderWritable) {
  if (programFolderWritable) return {programFolder, programFolder};
  auto userFolder = [](QStandardPaths::StandardLocation location) {
    const QString folder = QDir::toNativeSeparators(QStandardPaths::writableLocation(location));
    QDir().mkpath(folder);
    return folder;
  };
  return {userFolder(QStandardPaths::AppConfigLocation), userFolder(QStandardPaths::AppDataLocation)};
}

// An installed program never writes into its folder, even when run by a user who could: on Linux
// its folder is bin beside share/doc/grx1, on Windows the setup program left its uninstaller there.
FileHomes fileHomes(const QString& programFolder) {
  const bool installed = QFileInfo(programFolder + QStringLiteral("/../share/doc/grx1")).isDir() ||
                         QFileInfo(programFolder + QStringLiteral("/Uninstall.exe")).isFile();
  return fileHomes(programFolder, !installed && folderIsWritable(programFolder));
}

QString manualFolder(const QString& programFolder) {
  const QDir program(programFolder);
  const QString candidates[] = {
      program.filePath(QStringLiteral("manual")),                       // a copy with its manual
      program.filePath(QStringLiteral("../manual")),                    // the build tree
      program.filePath(QStringLiteral("../share/doc/grx1/manual")),    // installed
  };
  for (const QString& folder : candidates)
    if (QFileInfo(folder + QStringLiteral("/en/index.html")).isFile()) return QDir::cleanPath(folder);
  return {};
}

}  // namespace grx
