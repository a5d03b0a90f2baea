#include "CliRequirements.h"

#include "platform/AppPaths.h"
#include "platform/Messages.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace grx {

std::optional<QString> readCliRequirements(const QString& named, const QString& configFolder, Language language,
                                           ControlSetup& setup, QString* readFile) {
  QString file = named;
  if (file.isEmpty())
    file = controlSetupPath(!configFolder.isEmpty() ? configFolder
                                                    : fileHomes(programFolderOf(QCoreApplication::applicationFilePath())).config);
  const SetupReadResult read = readControlSetup(file, setup);
  if (read.status == SetupReadResult::Refused) return setupRefusalLine(QFileInfo(file).fileName(), read.problem, language);
  if (read.status == SetupReadResult::Missing && !named.isEmpty())
    return kFileDamaged.text(language) + QStringLiteral(": ") + QFileInfo(file).fileName();
  if (readFile) *readFile = read.status == SetupReadResult::Ok ? QFileInfo(file).fileName() : QString();
  return std::nullopt;
}

}  // namespace grx
