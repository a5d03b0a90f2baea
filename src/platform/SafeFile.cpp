#include "SafeFile.h"

#include "LocalFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

#include <memory>
#include <vector>

#ifdef _WIN32
#include <io.h>
#else
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace grx {
namespace {

// The written bytes on the disk before the rename: a power cut after it must not find an empty file.
bool syncToDisk(int fd) {
  if (fd < 0) return false;
#ifdef _WIN32
  return ::_commit(fd) == 0;
#else
  return ::fsync(fd) == 0;
#endif
}

// QSaveFile keeps small writes in a buffer and does not count a failure of the last flush against
// the commit, so the flush, its error state and the sync are checked here.
bool finish(QFileDevice& file) { return file.flush() && file.error() == QFileDevice::NoError && syncToDisk(file.handle()); }

void discard(QSaveFile& file) {
  file.cancelWriting();
  file.commit();  // removes the temporary file; the target stays as it was
}

// A file being written under a temporary name beside its target. QSaveFile does it for every name
// Qt can express; a name with bytes that are not UTF-8 gets the same steps through the system's
// own calls.
class PendingFile {
 public:
  explicit PendingFile(const QString& path) : path_(path) {}
  ~PendingFile() { discard(); }

  bool open() {
#ifndef _WIN32
    if (holdsRawBytes(path_)) {
      const QByteArray target = localFileName(path_);
      const qsizetype slash = target.lastIndexOf('/');
      temp_ = (slash < 0 ? QByteArray(".") : target.left(slash)) + "/.grx1-save-XXXXXX";
      const int fd = ::mkstemp(temp_.data());
      if (fd < 0) {
        temp_.clear();
        return false;
      }
      const mode_t mask = ::umask(0);
      ::umask(mask);
      ::fchmod(fd, 0666 & ~mask);
      raw_ = std::make_unique<QFile>();
      if (raw_->open(fd, QIODevice::WriteOnly, QFileDevice::AutoCloseHandle)) return true;
      ::close(fd);
      return false;
    }
#endif
    save_ = std::make_unique<QSaveFile>(path_);
    return save_->open(QIODevice::WriteOnly);
  }
  QIODevice& device() { return save_ ? static_cast<QIODevice&>(*save_) : *raw_; }
  bool finished() { return save_ ? finish(*save_) : finish(*raw_); }
  bool commit() {
    if (save_) {
      const bool ok = save_->commit();
      save_.reset();
      return ok;
    }
#ifndef _WIN32
    raw_->close();
    const bool ok = raw_->error() == QFileDevice::NoError && ::rename(temp_.constData(), localFileName(path_).constData()) == 0;
    raw_.reset();
    if (!ok) ::unlink(temp_.constData());
    temp_.clear();
    return ok;
#else
    return false;
#endif
  }
  void discard() {
    if (save_) grx::discard(*save_);
    save_.reset();
#ifndef _WIN32
    raw_.reset();
    if (!temp_.isEmpty()) ::unlink(temp_.constData());
    temp_.clear();
#endif
  }

 private:
  QString path_;
  std::unique_ptr<QSaveFile> save_;
  std::unique_ptr<QFile> raw_;
  QByteArray temp_;
};

}  // namespace

bool mayReplaceFile(const QString& path) {
  const LocalFileState target = localFileState(path);
  if (target.exists) return target.isFile && target.writable;
  if (!holdsRawBytes(path) && QFileInfo(path).isSymLink()) return false;  // a link to nowhere
  return localFileState(folderOfName(path)).isFolder;
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
  if (!mayReplaceFile(path)) return SafeWriteResult::CannotCreate;
  PendingFile file(path);
  if (!file.open()) return SafeWriteResult::CannotCreate;
  if (!write(file.device()) || !file.finished()) return SafeWriteResult::WriteIncomplete;
  return file.commit() ? SafeWriteResult::Ok : SafeWriteResult::WriteIncomplete;
}

SafeWriteResult writeFileSafely(const QString& path, const QByteArray& bytes) {
  return writeFileSafely(path, [&bytes](QIODevice& device) { return device.write(bytes) == bytes.size(); });
}

SafeWriteResult writeFilesSafely(const QList<FileContent>& files, QString* failed) {
  std::vector<std::unique_ptr<PendingFile>> open;  // discarded on the way out unless committed
  const auto fail = [&](const QString& path, SafeWriteResult result) {
    if (failed) *failed = path;
    return result;
  };
  for (const FileContent& content : files)
    if (!mayReplaceFile(content.path)) return fail(content.path, SafeWriteResult::CannotCreate);
  // Every file whole on the disk under its temporary name first; only then do they take their places.
  for (const FileContent& content : files) {
    open.push_back(std::make_unique<PendingFile>(content.path));
    PendingFile& file = *open.back();
    if (!file.open()) return fail(content.path, SafeWriteResult::CannotCreate);
    if (file.device().write(content.bytes) != content.bytes.size() || !file.finished())
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
