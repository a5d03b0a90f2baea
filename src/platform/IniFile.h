#pragma once
// The configuration and name-list files are Windows-style INI files, read and written key by key
// with the rules the program was built on: sections and keys match without regard to case, blanks
// around names and values do not count, a value in matching quotes loses them, a value is cut to
// the reader's buffer size - 1 characters, and a write changes only its own line, keeping the rest
// of the file byte for byte. The file's bytes are Windows-1251 text.
#include <QByteArrayList>
#include <QString>

namespace grx {

class IniFile {
 public:
  explicit IniFile(QString path);

  const QString& path() const { return path_; }

  // The value of key in section, or defaultValue (without trailing blanks) when either is missing.
  // At most bufferSize - 1 characters are returned.
  QString readString(const QString& section, const QString& key, const QString& defaultValue,
                     int bufferSize = 256) const;

  // Sets key in section, creating the file, the section or the key as needed. Returns false when
  // the file could not be written; callers that follow the platform's habit ignore it.
  bool writeString(const QString& section, const QString& key, const QString& value) const;

 private:
  QByteArrayList readLines() const;

  QString path_;
};

}  // namespace grx
