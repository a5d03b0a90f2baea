#include "LocalFiles.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>
#else
#include <QDir>
#include <QStorageInfo>
#include <windows.h>
#endif

namespace grx {
namespace {

constexpr char16_t kRawBase = 0xDC00;  // byte b is kept as U+DC00 + b (b is 0x80..0xFF)

// Length of the valid UTF-8 sequence at p (1..4), or 0 when the bytes there are not one.
int validSequence(const unsigned char* p, qsizetype left) {
  const unsigned char b = p[0];
  if (b < 0x80) return 1;
  int n;
  char32_t min;
  char32_t cp;
  if (b >= 0xC2 && b <= 0xDF) n = 2, min = 0x80, cp = b & 0x1F;
  else if (b >= 0xE0 && b <= 0xEF) n = 3, min = 0x800, cp = b & 0x0F;
  else if (b >= 0xF0 && b <= 0xF4) n = 4, min = 0x10000, cp = b & 0x07;
  else return 0;
  if (left < n) return 0;
  for (int i = 1; i < n; ++i) {
    if ((p[i] & 0xC0) != 0x80) return 0;
    cp = (cp << 6) | (p[i] & 0x3F);
  }
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
  return n;
}

bool isRawByte(char16_t c) { return c >= kRawBase + 0x80 && c <= kRawBase + 0xFF; }

}  // namespace

QString argumentText(const QByteArray& bytes) {
  QString text;
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.constData());
  const qsizetype size = bytes.size();
  for (qsizetype i = 0; i < size;) {
    const int n = validSequence(p + i, size - i);
    if (n == 0) {
      text += QChar(char16_t(kRawBase + p[i]));
      ++i;
    } else {
      text += QString::fromUtf8(bytes.constData() + i, n);
      i += n;
    }
  }
  return text;
}

QByteArray localFileName(const QString& name) {
  QByteArray bytes;
  qsizetype start = 0;  // start of the plain text not yet converted
  for (qsizetype i = 0; i <= name.size(); ++i) {
    // A kept byte is a lone low surrogate: one that does not follow a high surrogate.
    const bool raw = i < name.size() && isRawByte(name[i].unicode()) && !(i > 0 && name[i - 1].isHighSurrogate());
    if (i < name.size() && !raw) continue;
    bytes += QStringView(name).mid(start, i - start).toUtf8();
    if (raw) bytes += char(name[i].unicode() - kRawBase);
    start = i + 1;
  }
  return bytes;
}

bool holdsRawBytes(const QString& name) {
  for (qsizetype i = 0; i < name.size(); ++i)
    if (isRawByte(name[i].unicode()) && !(i > 0 && name[i - 1].isHighSurrogate())) return true;
  return false;
}

QStringList commandLineArguments(int argc, char* argv[]) {
#ifdef _WIN32
  (void)argc;
  (void)argv;
  return QCoreApplication::arguments().mid(1);
#else
  QStringList args;
  for (int i = 1; i < argc; ++i) args << argumentText(QByteArray(argv[i]));
  return args;
#endif
}

QString folderOfName(const QString& name) {
  const qsizetype slash = std::max(name.lastIndexOf(u'/'), name.lastIndexOf(u'\\'));
  if (slash < 0) return QStringLiteral(".");
  return slash == 0 ? name.left(1) : name.left(slash);
}

LocalFileState localFileState(const QString& name) {
  LocalFileState state;
#ifndef _WIN32
  const QByteArray path = localFileName(name);
  struct stat st {};
  if (::stat(path.constData(), &st) != 0) return state;
  state.exists = true;
  state.isFile = S_ISREG(st.st_mode);
  state.isFolder = S_ISDIR(st.st_mode);
  state.writable = (st.st_mode & 0222) != 0 && ::access(path.constData(), W_OK) == 0;
#else
  const QFileInfo info(name);
  if (!info.exists()) return state;
  state.exists = true;
  state.isFile = info.isFile();
  state.isFolder = info.isDir();
  constexpr auto kWriteBits = QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;
  state.writable = info.isWritable() && (info.permissions() & kWriteBits);
#endif
  return state;
}

bool openForReading(const QString& name, QFile& file) {
#ifndef _WIN32
  if (holdsRawBytes(name)) {
    const int fd = ::open(localFileName(name).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    if (file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) return true;
    ::close(fd);
    return false;
  }
#endif
  file.setFileName(name);
  return file.open(QIODevice::ReadOnly);
}

bool renameLocalFile(const QString& from, const QString& to) {
#ifndef _WIN32
  return ::rename(localFileName(from).constData(), localFileName(to).constData()) == 0;
#else
  // One step that replaces the old file: removing it first would lose it when the rename fails.
  const auto wide = [](const QString& name) { return reinterpret_cast<LPCWSTR>(name.utf16()); };
  const QString source = QDir::toNativeSeparators(from), target = QDir::toNativeSeparators(to);
  return MoveFileExW(wide(source), wide(target), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
#endif
}

bool removeLocalFile(const QString& name) {
#ifndef _WIN32
  return ::unlink(localFileName(name).constData()) == 0;
#else
  return QFile::remove(name);
#endif
}

qint64 freeBytes(const QString& folder) {
#ifndef _WIN32
  struct statvfs st {};
  if (::statvfs(localFileName(folder).constData(), &st) != 0) return -1;
  return qint64(st.f_bavail) * qint64(st.f_frsize);
#else
  const QStorageInfo storage(folder);
  return storage.isValid() ? storage.bytesAvailable() : -1;
#endif
}

}  // namespace grx
