#pragma once
// Writing a file so that it is either whole or left as it was: the bytes go to a temporary file
// beside the target, which takes the target's place only when every byte was written. A failure
// never leaves a partial file and never damages the file it would have replaced.
#include <QByteArray>
#include <QString>

#include <functional>

class QIODevice;
class QSaveFile;

namespace grx {

enum class SafeWriteResult {
  Ok,
  CannotCreate,    // the file could not be created
  WriteIncomplete  // not every byte was written; an existing file of that name is left as it was
};

// `write` puts the content on the device and says whether all of it went.
SafeWriteResult writeFileSafely(QSaveFile& file, const std::function<bool(QIODevice&)>& write);
SafeWriteResult writeFileSafely(const QString& path, const QByteArray& bytes);

}  // namespace grx
