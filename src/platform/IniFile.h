#pragma once
// The configuration and name-list files are Windows-style INI files, read and written key by key
// with the rules the program was built on: sections and keys match without regard to case, blanks
// around names and values do not count, a value in matching quotes loses them, a value is cut to
// the reader's buffer size - 1 characters, and a write changes only its own line, keeping the rest
// of the file byte for byte. The file's bytes are Windows-1251 text; a file that a text editor saved
// as UTF-8 with its byte-order mark is read as UTF-8 (and written back in Windows-1251).
//
// Only a regular file of at most kMaxIniFileSize bytes is read: a FIFO would block the reader, a
// device never ends, and a file that large is no INI file of this program. Such a file reads as
// empty and is never written over. A value, key or section with a line break would add lines to
// the file: each CR and LF is written as a blank.
#include <QByteArrayList>
#include <QList>
#include <QPair>
#include <QString>

#include <optional>

namespace grx {

inline constexpr qint64 kMaxIniFileSize = 1 << 20;

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
  // Several keys of one section in one write of the file (in this order, as writeString would).
  bool writeStrings(const QString& section, const QList<QPair<QString, QString>>& values) const;

  // False when a file exists at the path but is no file this class reads (see above).
  bool readable() const { return readLines().has_value(); }

 private:
  // The file's lines in Windows-1251, each without its '\n'; an empty list when there is no file,
  // none when there is one that is not read.
  std::optional<QByteArrayList> readLines() const;

  QString path_;
};

}  // namespace grx
