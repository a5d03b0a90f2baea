#include "IniFile.h"

#include "Cp1251.h"
#include "LocalFiles.h"
#include "SafeFile.h"

#include <QFile>
#include <QFileInfo>

#include <optional>

namespace grx {
namespace {

QString decodeTrimmed(const QByteArray& bytes) { return fromCp1251(bytes.trimmed()); }

// Section name of a line "[name]", if it is one.
std::optional<QString> sectionName(const QByteArray& line) {
  const QByteArray t = line.trimmed();
  if (!t.startsWith('[')) return std::nullopt;
  qsizetype close = t.indexOf(']');
  if (close < 0) close = t.size();
  return decodeTrimmed(t.mid(1, close - 1));
}

struct KeyLine {
  QString key;
  QByteArray value;
};

std::optional<KeyLine> keyLine(const QByteArray& line) {
  const qsizetype eq = line.indexOf('=');
  if (eq < 0) return std::nullopt;
  const QByteArray keyPart = line.left(eq).trimmed();
  if (keyPart.startsWith(';')) return std::nullopt;
  return KeyLine{fromCp1251(keyPart), line.mid(eq + 1).trimmed()};
}

// CR and LF as blanks, so the text stays on its line.
QByteArray oneLine(const QString& text) {
  QByteArray bytes = toCp1251(text);
  bytes.replace('\r', ' ').replace('\n', ' ');
  return bytes;
}

bool sameName(const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

// The line range [begin, end) of the body of the section, or begin = -1 when it is absent.
std::pair<qsizetype, qsizetype> findSection(const QByteArrayList& lines, const QString& section) {
  for (qsizetype i = 0; i < lines.size(); ++i) {
    const auto name = sectionName(lines[i]);
    if (!name || !sameName(*name, section)) continue;
    qsizetype end = i + 1;
    while (end < lines.size() && !sectionName(lines[end])) ++end;
    return {i + 1, end};
  }
  return {-1, -1};
}

}  // namespace

IniFile::IniFile(QString path) : path_(std::move(path)) {}

std::optional<QByteArrayList> IniFile::readLines() const {
  const LocalFileState state = localFileState(path_);
  if (!state.exists) return QByteArrayList();
  if (!state.isFile) return std::nullopt;
  QFile file;
  if (!openForReading(path_, file)) return QByteArrayList();
  if (file.size() > kMaxIniFileSize) return std::nullopt;
  // A buffer of the file's own size (and one byte to see that it grew past the limit meanwhile):
  // every key read reads the file again, and a buffer of the largest size would cost far more than
  // the few hundred bytes of a real file.
  QByteArray bytes = file.read(file.size() + 1);
  if (bytes.size() > kMaxIniFileSize) return std::nullopt;
  if (bytes.startsWith("\xEF\xBB\xBF")) bytes = toCp1251(QString::fromUtf8(bytes.mid(3)));
  QByteArrayList lines = bytes.split('\n');
  if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
  return lines;  // each line keeps a trailing '\r', so untouched lines are written back as read
}

QString IniFile::readString(const QString& section, const QString& key, const QString& defaultValue,
                            int bufferSize) const {
  if (bufferSize <= 0) return {};
  QString result = defaultValue;
  while (!result.isEmpty() && result.back() == u' ') result.chop(1);
  const QByteArrayList lines = readLines().value_or(QByteArrayList());
  const auto [begin, end] = findSection(lines, section);
  for (qsizetype i = begin; begin >= 0 && i < end; ++i) {
    const auto kl = keyLine(lines[i]);
    if (!kl || !sameName(kl->key, key)) continue;
    QByteArray value = kl->value;
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
      value = value.mid(1, value.size() - 2);
    result = fromCp1251(value);
    break;
  }
  if (result.size() > bufferSize - 1) result.truncate(bufferSize - 1);
  return result;
}

bool IniFile::writeString(const QString& section, const QString& key, const QString& value) const {
  return writeStrings(section, {{key, value}});
}

bool IniFile::writeStrings(const QString& section, const QList<QPair<QString, QString>>& values) const {
  std::optional<QByteArrayList> read = readLines();
  if (!read) return false;
  QByteArrayList& lines = *read;
  const bool crlf = lines.isEmpty() || lines.front().endsWith('\r');
  const QByteArray eol = crlf ? QByteArray("\r") : QByteArray();
  for (const auto& [key, value] : values) {
    const QByteArray newLine = oneLine(key) + '=' + oneLine(value) + eol;
    const auto [begin, end] = findSection(lines, section);
    if (begin < 0) {
      lines.append('[' + oneLine(section) + ']' + eol);
      lines.append(newLine);
      continue;
    }
    qsizetype found = -1;
    qsizetype lastContent = begin - 1;
    for (qsizetype i = begin; i < end; ++i) {
      if (!lines[i].trimmed().isEmpty()) lastContent = i;
      const auto kl = keyLine(lines[i]);
      if (kl && sameName(kl->key, key)) {
        found = i;
        break;
      }
    }
    if (found >= 0) lines[found] = newLine;
    else lines.insert(lastContent + 1, newLine);
  }
  QByteArray bytes;
  for (const QByteArray& line : lines) bytes += line + '\n';
  return writeFileSafely(path_, bytes) == SafeWriteResult::Ok;
}

}  // namespace grx
