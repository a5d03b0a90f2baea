#pragma once
// Windows-1251 (the Cyrillic ANSI code page) <-> Unicode. The tester stores names in it and the
// INI files of the program are written in it, so it is needed on every platform.
#include <QByteArray>
#include <QString>

namespace grx {

// One byte to its Unicode character (0x98, unassigned in the code page, becomes U+FFFD).
QChar cp1251ToUnicode(unsigned char byte);

// One character to its byte; characters the code page lacks become '?'.
unsigned char unicodeToCp1251(QChar ch);

QString fromCp1251(const char* bytes, qsizetype length);
inline QString fromCp1251(const QByteArray& bytes) { return fromCp1251(bytes.constData(), bytes.size()); }
QByteArray toCp1251(const QString& text);

}  // namespace grx
