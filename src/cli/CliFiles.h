#pragma once
// File names as grx1-cli takes them from its command line. On Linux a name is a string of bytes
// that need not be valid UTF-8 (a name written on a system with an 8-bit locale, or copied from an
// old disk); it must reach the file system byte for byte. Each byte of the arguments that is not
// part of a valid UTF-8 sequence is kept as the code point U+DC00 + byte, a lone surrogate that no
// valid text holds, and turned back into that byte when the name is used. On Windows the program
// takes its arguments from the system's wide command line, which needs no such care.
#include "data/ProjectFile.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace grx {

class MeasurementSet;

// The arguments after the program name.
QStringList commandLineArguments(int argc, char* argv[]);
// One argument's bytes as text (valid UTF-8 as it is, other bytes kept as described above).
QString argumentText(const QByteArray& bytes);
// The bytes the file system sees for a name taken by argumentText (its exact inverse).
QByteArray localFileName(const QString& name);
// True when the name holds kept bytes, so only the file system's own calls can reach it.
bool holdsRawBytes(const QString& name);

// readProjectFile and writeProjectFile for such names (the same results and the same care:
// a regular file only; a save replaces the target only when every byte was written).
ProjectReadResult readProjectFileNamed(const QString& name, MeasurementSet& staging);
ProjectWriteResult writeProjectFileNamed(const MeasurementSet& set, const QString& name);

}  // namespace grx
