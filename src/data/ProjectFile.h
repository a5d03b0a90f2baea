#pragma once
// Project files (*.grx): a byte image of a data read. A 16-byte header (the text "GRX-1.0" and a
// zero byte, the directory size D and the record data size R, unsigned 32-bit little-endian), then
// the D bytes of the directory entries in use and the R bytes of the impact records.
#include "MeasurementSet.h"
#include "platform/SafeFile.h"

#include <QString>

class QIODevice;
class QSaveFile;

namespace grx {

inline constexpr int kProjectHeaderSize = 16;
inline constexpr char kProjectMagic[8] = {'G', 'R', 'X', '-', '1', '.', '0', '\0'};

enum class ProjectReadResult {
  Ok,
  CannotOpen,  // the file could not be opened (the open dialog is offered again)
  Damaged,     // wrong magic, sizes that do not fit the length or each other, short read
};

using ProjectWriteResult = SafeWriteResult;

// Reads a project file into `staging`, a set other than the one shown. Its content is only
// meaningful when the result is Ok; the caller then swaps it in, so a damaged or short file never
// leaves the shown set half-replaced.
// A path that names something other than a regular file (a FIFO, a device, a folder) is Damaged
// without being opened.
ProjectReadResult readProjectFile(const QString& path, MeasurementSet& staging);
// The same from a device open for reading, positioned at its start, whose size() is the file's
// length (a file, or a buffer).
ProjectReadResult readProjectData(QIODevice& file, MeasurementSet& staging);

// Reads the file into `staging` and, only when the whole file is good, exchanges it with `shown`.
// On any failure `shown` keeps every byte it had.
ProjectReadResult openProjectFile(const QString& path, MeasurementSet& shown, MeasurementSet& staging);

// Header, directory entries and records of the set, as a project file holds them.
bool writeProjectData(const MeasurementSet& set, QIODevice& device);

// Writes beside the target and replaces it only when every byte was written.
ProjectWriteResult writeProjectFile(const MeasurementSet& set, const QString& path);
ProjectWriteResult writeProjectFile(const MeasurementSet& set, QSaveFile& file);

// Folder the save and open dialogs propose: LastReadPath when it names an existing folder, else
// the program folder; always with a trailing separator.
QString proposedFolder(const QString& lastReadPath, const QString& programFolder);

// The save command's extension rule for a name chosen in the dialog.
struct SaveNameDecision {
  QString fileName;
  bool askAgain = false;  // ".mtgrx" turns into ".grx" and the dialog is shown again
};
SaveNameDecision projectSaveName(const QString& chosen);

// The file name a dialog shows after the user picks the second filter (name-list files).
QString nameForNameListFilter(const QString& fileName);

// The folder part of a file name including its final separator ("" when it has none).
QString folderWithSeparator(const QString& fileName);

}  // namespace grx
