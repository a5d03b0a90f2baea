#pragma once
// Writing a file so that it is either whole or left as it was: the bytes go to a temporary file
// beside the target, which takes the target's place only when every byte was written, flushed and
// put on the disk. A failure (a full disk, a file-size limit, a vanished folder) never leaves a
// partial file, never leaves the temporary file behind and never changes the file it would have
// replaced. Every file the program writes goes through here.
#include <QByteArray>
#include <QList>
#include <QString>

#include <functional>

class QIODevice;
class QSaveFile;

namespace grx {

enum class SafeWriteResult {
  Ok,
  CannotCreate,    // the file could not be created, or the target may not be replaced
  WriteIncomplete  // not every byte reached the disk; an existing file of that name is left as it was
};

// Whether a file may be written at path: an existing target must be a regular file that is not
// read-only (the write bits count even for an administrator, who could write anything), and a
// new one needs a folder that exists. A FIFO, a device or a folder is never replaced.
bool mayReplaceFile(const QString& path);

// `write` puts the content on the device and says whether all of it went.
SafeWriteResult writeFileSafely(QSaveFile& file, const std::function<bool(QIODevice&)>& write);
SafeWriteResult writeFileSafely(const QString& path, const std::function<bool(QIODevice&)>& write);
SafeWriteResult writeFileSafely(const QString& path, const QByteArray& bytes);

// Several files that belong together (the pages of a picture export): either every one is
// replaced or none. `failed` receives the first name that could not be written.
struct FileContent {
  QString path;
  QByteArray bytes;
};
SafeWriteResult writeFilesSafely(const QList<FileContent>& files, QString* failed = nullptr);

}  // namespace grx
