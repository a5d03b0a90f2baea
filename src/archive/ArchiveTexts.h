#pragma once
// The archive's words in both languages: the failures, the import's outcome, the window's labels.
#include "ArchiveError.h"
#include "platform/TextPair.h"

#include <QString>

namespace grx {

struct ArchiveImport;
struct JoinedSeries;
struct ImportOutcome;

// One message for a failure; `where` is the archive's file or URL as the user gave it (a password
// in it is never shown).
QString archiveErrorText(const ArchiveError& error, const QString& where, Language language);

// Two different series of one number that a selection puts next to each other.
QString joinedSeriesText(const JoinedSeries& joined, Language language);

// "Archive: 12 new impacts of 120" for the status bar and grx1-cli.
QString importOutcomeText(const ImportOutcome& outcome, Language language);

// The import a series came from: its time and file, or "read" for a read from the tester.
QString importText(const ArchiveImport& import, Language language);

inline constexpr TextPair kArchiveTitle{"Архив", "Archive"};
inline constexpr TextPair kWithoutArchive{"Программа продолжит работу без архива.",
                                          "The program goes on without the archive."};
inline constexpr TextPair kArchiveImporting{"Добавление в архив...", "Adding to the archive..."};

}  // namespace grx
