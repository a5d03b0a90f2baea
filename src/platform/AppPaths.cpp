#include "AppPaths.h"

#include <QDir>
#include <QFileInfo>

namespace grx {

QChar pathSeparator() { return QDir::separator(); }

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
