#include "SafeFile.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

#include <memory>
#include <vector>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace grx {
namespace {

// The written bytes on the disk before the rename: a power cut after it must not find an empty file.
bool syncToDisk(QSaveFile& file) {
  const int fd = file.handle();
  if (fd < 0) return false;
#ifdef _WIN32
  return ::_commit(fd) == 0;
#else
  return ::fsync(fd) == 0;
#endif
}

// QSaveFile keeps small writes in a buffer and does not count a failure of the last flush against
// the commit, so the flush, its error state and the sync are checked here.
bool finish(QSaveFile& file) { return file.flush() && file.error() == QFileDevice::NoError && syncToDisk(file); }

void discard(QSaveFile& file) {
  file.cancelWriting();
  file.commit();  // removes the temporary file; the target stays as it was
}

}  // namespace

bool mayReplaceFile(const QString& path) {
  const QFileInfo info(path);
  if (info.exists()) {
    constexpr auto kWriteBits = QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;
    return info.isFile() && info.isWritable() && (info.permissions() & kWriteBits);
  }
  return !info.isSymLink() && info.dir().exists();
}

SafeWriteResult writeFileSafely(QSaveFile& file, const std::function<bool(QIODevice&)>& write) {
  if (!mayReplaceFile(file.fileName()) || !file.open(QIODevice::WriteOnly)) return SafeWriteResult::CannotCreate;
  if (!write(file) || !finish(file)) {
    discard(file);
    return SafeWriteResult::WriteIncomplete;
  }
  return file.commit() ? SafeWriteResult::Ok : SafeWriteResult::WriteIncomplete;
}

SafeWriteResult writeFileSafely(const QString& path, const std::function<bool(QIODevice&)>& write) {
  QSaveFile file(path);
  return writeFileSafely(file, write);
}

SafeWriteResult writeFileSafely(const QString& path, const QByteArray& bytes) {
  return writeFileSafely(path, [&bytes](QIODevice& device) { return device.write(bytes) == bytes.size(); });
}

SafeWriteResult writeFilesSafely(const QList<FileContent>& files, QString* failed) {
  std::vector<std::unique_ptr<QSaveFile>> open;
  const auto fail = [&](const QString& path, SafeWriteResult result) {
    for (auto& f : open) discard(*f);
    if (failed) *failed = path;
    return result;
  };
  for (const FileContent& content : files)
    if (!mayReplaceFile(content.path)) return fail(content.path, SafeWriteResult::CannotCreate);
  // Every file whole on the disk under its temporary name first; only then do they take their places.
  for (const FileContent& content : files) {
    open.push_back(std::make_unique<QSaveFile>(content.path));
    QSaveFile& file = *open.back();
    if (!file.open(QIODevice::WriteOnly)) return fail(content.path, SafeWriteResult::CannotCreate);
    if (file.write(content.bytes) != content.bytes.size() || !finish(file))
      return fail(content.path, SafeWriteResult::WriteIncomplete);
  }
  SafeWriteResult result = SafeWriteResult::Ok;
  for (std::size_t i = 0; i < open.size(); ++i)
    if (!open[i]->commit() && result == SafeWriteResult::Ok) {
      result = SafeWriteResult::WriteIncomplete;
      if (failed) *failed = files[qsizetype(i)].path;
    }
  return result;
}

}  // namespace grx
