#pragma once
// File names as the program takes them from a command line or a configuration, and the few file
// system calls that must see a name's exact bytes. On Linux a name is a string of bytes that need
// not be valid UTF-8 (a name written on a system with an 8-bit locale, or copied from an old disk);
// it must reach the file system byte for byte. Each byte of a name that is not part of a valid
// UTF-8 sequence is kept as the code point U+DC00 + byte, a lone surrogate that no valid text holds,
// and turned back into that byte when the name is used. Qt's own file classes cannot express such
// a name, so files with one are opened, examined and renamed here. On Windows names come from the
// system's wide strings and need no such care.
#include <QByteArray>
#include <QString>
#include <QStringList>

class QFile;

namespace grx {

// The arguments after the program name.
QStringList commandLineArguments(int argc, char* argv[]);
// One argument's bytes as text (valid UTF-8 as it is, other bytes kept as described above).
QString argumentText(const QByteArray& bytes);
// The bytes the file system sees for a name taken by argumentText (its exact inverse).
QByteArray localFileName(const QString& name);
// True when the name holds kept bytes, so only the file system's own calls can reach it.
bool holdsRawBytes(const QString& name);

struct LocalFileState {
  bool exists = false;
  bool isFile = false;
  bool isFolder = false;
  // Its write bits are set and this process may write it (a read-only mount says no; the bits
  // count even for an administrator, who could write anything).
  bool writable = false;
};
LocalFileState localFileState(const QString& name);
// The folder a file of that name goes into ("." for a bare name).
QString folderOfName(const QString& name);

// Opens a file for reading by its exact bytes; false when it cannot be opened.
bool openForReading(const QString& name, QFile& file);
// Renames within one file system; an existing target is replaced.
bool renameLocalFile(const QString& from, const QString& to);
bool removeLocalFile(const QString& name);
// The bytes the file system holding that folder has free for this process; -1 when unknown.
qint64 freeBytes(const QString& folder);

}  // namespace grx
