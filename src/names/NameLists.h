#pragma once
// The tester's two lists of 13 names (materials and objects) on the desktop side: the name-list
// files ("*.mtgrx", "*.objgrx"), the built-in default lists in both languages, the save-name rule
// of the file dialogs, and the two flags per list that live for the whole run. Window-free: the
// editor windows and grx1-cli both use it.
#include "device/LinkState.h"
#include "platform/TextPair.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

namespace grx {

// What tells the twins apart (besides their window class).
struct NameListKind {
  NameList list;
  const char* section;          // "Materials Names" / "Objects Names"
  const char* ownExtension;     // ".mtgrx" / ".objgrx"
  const char* otherExtension;   // the twin's own extension
  const char* filterDescription;  // "Materials (*.mtgrx)" / "Objects (*.objgrx)"
  TextPair caption;             // the window caption
};

const NameListKind& nameListKind(NameList list);

// The two file-dialog filters of a list: its own files, then all files.
QStringList nameListFilters(NameList list);

// Per list, for the whole run (the editor windows come and go; these stay).
struct NameListFlags {
  bool NamesChanged = false;  // set by typing, loading a file, Default; cleared by a tester exchange
  bool NamesEmpty = true;     // until a non-empty name was shown or Default pressed; never set again
};

// The 13 names of a block (the name field rule: length byte 1..19, else empty).
QStringList namesOfBlock(const NameBlock& block);
// Stores 13 texts into the block's slots (at most 19 characters each; a longer text is cut).
void setBlockNames(NameBlock& block, const QStringList& names);

// The default list of the language, and both languages as the 20-byte slots the tester keeps.
QStringList defaultNames(NameList list, Language language);
NameBlock defaultNameBlock(NameList list, Language language);

// Reads Name00 .. Name12 of the list's section, each through a 20-character buffer (so at most 19
// characters count). False, and `block` untouched, when all 13 are empty or missing (also when the
// file cannot be read).
bool readNameListFile(const QString& path, NameList list, NameBlock& block);
// Writes Name00 .. Name12, in this order, into the list's section, each as read back from its slot,
// in one write of the file. A CR or LF in a name (the tester takes any byte) is written as a blank,
// since it would start a line of its own. False when the file could not be written.
bool writeNameListFile(const QString& path, NameList list, const NameBlock& block);
// How many of the block's names hold a CR or LF (written as blanks by writeNameListFile).
int namesWithLineBreaks(const NameBlock& block);

// The proposed file name of the save dialog: "yymmdd.hhmm" followed by the list's own extension.
QString proposedNameListFile(NameList list, const QDateTime& now);

// The save dialog's chosen name turned into the name to write. `askAgain` is set when the name had
// ".grx" or the twin's extension: it is corrected and the dialog is to be shown again with it.
// Extensions are compared case-sensitively, from the last dot of the file name.
QString correctedNameListFile(NameList list, const QString& chosen, bool* askAgain);

}  // namespace grx
