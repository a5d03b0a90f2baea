#include "ProjectFile.h"

#include "platform/AppPaths.h"
#include "platform/LittleEndian.h"
#include "platform/LocalFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cstring>

namespace grx {
namespace {

// The extension as the program sees it: the text from the last point of the file name part.
QString extensionOf(const QString& fileName) {
  const qsizetype slash = std::max(fileName.lastIndexOf(u'/'), fileName.lastIndexOf(u'\\'));
  const qsizetype point = fileName.lastIndexOf(u'.');
  return point > slash ? fileName.mid(point) : QString();
}

QString withoutExtension(const QString& fileName) {
  return fileName.left(fileName.size() - extensionOf(fileName).size());
}

}  // namespace

ProjectReadResult readProjectFile(const QString& path, MeasurementSet& staging) {
  // Only a regular file is opened: a FIFO or a device would keep the open or the reads waiting
  // for a writer that may never come.
  const LocalFileState state = localFileState(path);
  if (state.exists && !state.isFile) return ProjectReadResult::Damaged;
  QFile file;
  if (!openForReading(path, file)) return ProjectReadResult::CannotOpen;
  return readProjectData(file, staging);
}

ProjectReadResult readProjectData(QIODevice& file, MeasurementSet& staging) {
  std::uint8_t header[kProjectHeaderSize];
  if (file.read(reinterpret_cast<char*>(header), kProjectHeaderSize) != kProjectHeaderSize)
    return ProjectReadResult::Damaged;
  if (std::memcmp(header, kProjectMagic, sizeof kProjectMagic) != 0) return ProjectReadResult::Damaged;
  const std::uint64_t d = readU32(header + 8);
  const std::uint64_t r = readU32(header + 12);
  if (std::uint64_t(file.size()) != d + r + kProjectHeaderSize) return ProjectReadResult::Damaged;
  // Only sizes this program itself writes are accepted: a directory that fits, whole entries, and
  // exactly one record per entry. Anything else could only be a damaged or foreign file.
  if (d > std::uint64_t(kDirectorySize) || d % kDirectoryEntrySize != 0) return ProjectReadResult::Damaged;
  const std::uint32_t n = std::uint32_t(d / kDirectoryEntrySize);
  if (r != std::uint64_t(n) * kRecordSize) return ProjectReadResult::Damaged;

  if (file.read(reinterpret_cast<char*>(staging.directory()), qint64(d)) != qint64(d))
    return ProjectReadResult::Damaged;
  if (file.read(reinterpret_cast<char*>(staging.recordStore()), qint64(r)) != qint64(r))
    return ProjectReadResult::Damaged;
  std::memset(staging.directory() + d, 0, std::size_t(kDirectorySize - d));
  staging.clear();
  staging.setCount(n);
  staging.buildSeries();
  return ProjectReadResult::Ok;
}

ProjectReadResult openProjectFile(const QString& path, MeasurementSet& shown, MeasurementSet& staging) {
  const ProjectReadResult result = readProjectFile(path, staging);
  if (result == ProjectReadResult::Ok) {
    shown.swap(staging);
    shown.setModified(false);  // the set is what the file holds
  }
  return result;
}

bool writeProjectData(const MeasurementSet& set, QIODevice& device) {
  const std::uint32_t n = set.count();
  std::uint8_t header[kProjectHeaderSize];
  std::memcpy(header, kProjectMagic, sizeof kProjectMagic);
  writeU32(header + 8, n * kDirectoryEntrySize);
  writeU32(header + 12, n * kRecordSize);
  const qint64 d = qint64(n) * kDirectoryEntrySize;
  const qint64 r = qint64(n) * kRecordSize;
  return device.write(reinterpret_cast<const char*>(header), kProjectHeaderSize) == kProjectHeaderSize &&
         device.write(reinterpret_cast<const char*>(set.directory()), d) == d &&
         device.write(reinterpret_cast<const char*>(set.recordStore()), r) == r;
}

ProjectWriteResult writeProjectFile(const MeasurementSet& set, QSaveFile& file) {
  return writeFileSafely(file, [&set](QIODevice& device) { return writeProjectData(set, device); });
}

ProjectWriteResult writeProjectFile(const MeasurementSet& set, const QString& path) {
  return writeFileSafely(path, [&set](QIODevice& device) { return writeProjectData(set, device); });
}

QString proposedFolder(const QString& lastReadPath, const QString& programFolder) {
  const QChar sep = pathSeparator();
  QString folder = lastReadPath;
  if (folder.isEmpty() || !QFileInfo(folder).isDir()) folder = programFolder + sep;
  if (!folder.endsWith(sep) && !folder.endsWith(u'/')) folder += sep;
  return folder;
}

SaveNameDecision projectSaveName(const QString& chosen) {
  const QString ext = extensionOf(chosen);
  if (ext == QLatin1String(".mtgrx")) return {withoutExtension(chosen) + QStringLiteral(".grx"), true};
  if (ext == QLatin1String(".")) return {withoutExtension(chosen) + QStringLiteral(".grx"), false};
  if (ext == QLatin1String(".grx")) return {chosen, false};
  return {chosen + QStringLiteral(".grx"), false};
}

QString nameForNameListFilter(const QString& fileName) {
  const QString ext = extensionOf(fileName);
  if (ext == QLatin1String(".mtgrx")) return fileName;
  if (ext == QLatin1String(".grx") || ext == QLatin1String(".")) return withoutExtension(fileName) + QStringLiteral(".mtgrx");
  return fileName + QStringLiteral(".mtgrx");
}

QString folderWithSeparator(const QString& fileName) {
  const qsizetype slash = std::max(fileName.lastIndexOf(u'/'), fileName.lastIndexOf(u'\\'));
  return slash < 0 ? QString() : fileName.left(slash + 1);
}

}  // namespace grx
