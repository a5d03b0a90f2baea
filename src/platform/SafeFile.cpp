#include "SafeFile.h"

#include <QSaveFile>

namespace grx {

SafeWriteResult writeFileSafely(QSaveFile& file, const std::function<bool(QIODevice&)>& write) {
  if (!file.open(QIODevice::WriteOnly)) return SafeWriteResult::CannotCreate;
  if (!write(file)) {
    file.cancelWriting();
    file.commit();  // removes the temporary file; the target stays as it was
    return SafeWriteResult::WriteIncomplete;
  }
  return file.commit() ? SafeWriteResult::Ok : SafeWriteResult::WriteIncomplete;
}

SafeWriteResult writeFileSafely(const QString& path, const QByteArray& bytes) {
  QSaveFile file(path);
  return writeFileSafely(file, [&bytes](QIODevice& device) { return device.write(bytes) == bytes.size(); });
}

}  // namespace grx
