#pragma once
// The keys of section Archive of GRX1.ini: where the archive is (Url: an SQLite file or a
// postgresql:// URL without a password; missing or empty: archive.sqlite in the program's data
// folder) and whether every completed read goes into it (KeepReads, Y unless N).
#include "platform/IniFile.h"

#include <QString>

namespace grx {

inline constexpr int kArchiveUrlBuffer = 1024;

struct ArchiveSettings {
  QString connection;  // the text to open, the default filled in
  bool keepReads = true;
};

ArchiveSettings readArchiveSettings(const IniFile& ini, const QString& dataFolder);
void writeKeepReads(const IniFile& ini, bool keep);

}  // namespace grx
