#pragma once
// Reading a built zip archive back before it replaces a file: libxlsxwriter writes its parts to
// temporary files without checking those writes, so a file-size limit or a full disk can leave a
// workbook of cut parts that still packs into a valid zip. Every entry is unpacked and compared
// with what the directory says of it, and every XML part must be well-formed.
#include <QByteArray>
#include <QString>
#include <QStringList>

namespace grx {

// Empty when the archive is whole: an end record at its end, a central directory that agrees with
// every local header, every entry's data inside the archive (stored, or deflated and inflating to
// its end), its CRC-32 and uncompressed size as recorded, every ".xml" and ".rels" part
// well-formed XML, and every name of `required` present. Otherwise what is wrong, for a log or a
// test (the user only hears that the file could not be written). No zip64.
QString zipProblem(const QByteArray& zip, const QStringList& required = {});

}  // namespace grx
