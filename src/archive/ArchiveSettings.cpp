#include "ArchiveSettings.h"

#include "platform/AppPaths.h"

namespace grx {
namespace {

const QString kSection = QStringLiteral("Archive");

}  // namespace

ArchiveSettings readArchiveSettings(const IniFile& ini, const QString& dataFolder) {
  ArchiveSettings s;
  s.connection = ini.readString(kSection, QStringLiteral("Url"), QString(), kArchiveUrlBuffer).trimmed();
  if (s.connection.isEmpty()) s.connection = dataFolder + pathSeparator() + QStringLiteral("archive.sqlite");
  s.keepReads = !ini.readString(kSection, QStringLiteral("KeepReads"), QStringLiteral("Y"), 10).startsWith(u'N');
  return s;
}

void writeKeepReads(const IniFile& ini, bool keep) {
  ini.writeString(kSection, QStringLiteral("KeepReads"), keep ? QStringLiteral("Y") : QStringLiteral("N"));
}

}  // namespace grx
