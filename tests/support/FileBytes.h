#pragma once
// Whole files as bytes, for tests that compare what the program wrote byte for byte.
#include <QByteArray>
#include <QFile>
#include <QString>

namespace grx::test {

// The file's bytes; empty when it cannot be read.
inline QByteArray readFileBytes(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Replaces the file with these bytes; false when it could not be written completely.
inline bool writeFileBytes(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

}  // namespace grx::test
