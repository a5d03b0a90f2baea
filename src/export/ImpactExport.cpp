#include "ImpactExport.h"

#include "CsvExport.h"
#include "WavExport.h"
#include "config/Settings.h"
#include "data/ProjectFile.h"
#include "platform/AppPaths.h"
#include "platform/NumberFormat.h"

#include <QSaveFile>

#include <algorithm>

namespace grx {
namespace {

constexpr int kSeriesDataRow = 2;  // rows 0 and 1 of the series table hold headings and units

QString wholeNumber(std::uint32_t n) { return formatFloat(double(n), u"0"); }

QString extensionOf(const QString& fileName) {
  const qsizetype slash = std::max(fileName.lastIndexOf(u'/'), fileName.lastIndexOf(u'\\'));
  const qsizetype point = fileName.lastIndexOf(u'.');
  return point > slash ? fileName.mid(point) : QString();
}

}  // namespace

std::uint32_t selectedImpact(const MeasurementSet& set, int seriesRow, int impactsColumn) {
  const std::uint32_t seriesCount = set.seriesCount();
  if (seriesCount == 0) return 0;
  std::uint32_t k = 0;
  if (seriesRow >= kSeriesDataRow && std::uint32_t(seriesRow - kSeriesDataRow) < seriesCount)
    k = std::uint32_t(seriesRow - kSeriesDataRow);
  std::uint32_t offset = impactsColumn >= 1 ? std::uint32_t(impactsColumn - 1) : 0;
  if (offset >= set.seriesLength(k)) offset = 0;
  return set.seriesStart(k) + offset;
}

QString exportPrefix(ExportSignal signal) {
  switch (signal) {
    case ExportSignal::Acceleration: return QStringLiteral("Accelerate_");
    case ExportSignal::Velocity: return QStringLiteral("Velocity_");
    case ExportSignal::Displacement: return QStringLiteral("Displacement_");
    case ExportSignal::Force: break;
  }
  return QStringLiteral("Force_");
}

QString exportFileName(const QString& prefix, const ImpactRecordView& record, const QString& extension) {
  return prefix + wholeNumber(record.seriesNumber()) + u'_' + wholeNumber(record.impactNumber()) + extension;
}

QString exportFileName(ExportSignal signal, const ImpactRecordView& record, const QString& extension) {
  return exportFileName(exportPrefix(signal), record, extension);
}

std::vector<ExportSignal> allExportSignals(bool reducedView) {
  if (reducedView) return {ExportSignal::Displacement, ExportSignal::Force};
  return {ExportSignal::Acceleration, ExportSignal::Velocity, ExportSignal::Displacement, ExportSignal::Force};
}

QString exportExtension(ExportFormat format) {
  return format == ExportFormat::Wav ? QStringLiteral(".wav") : QStringLiteral(".csv");
}

QByteArray exportFileBytes(ExportFormat format, std::optional<ExportSignal> signal, const ImpactRecordView& record,
                           bool reducedView) {
  if (format == ExportFormat::Wav) return signal ? signalWav(record, *signal) : QByteArray();
  return signal ? signalCsv(record, *signal) : allSignalsCsv(record, reducedView);
}

QString exportFolder(const IniFile& config, const QString& programFolder) {
  return proposedFolder(readLastReadPath(config), programFolder);
}

ExportNameDecision exportSaveName(const QString& chosen, const QString& extension) {
  const QString own = extensionOf(chosen);
  if (own == extension) return {chosen, false};
  return {chosen.left(chosen.size() - own.size()) + extension, true};
}

QStringList csvDialogFilters() { return {QStringLiteral("csv-files (*.csv)"), allFilesFilter()}; }

QStringList wavDialogFilters() { return {QStringLiteral("wav-files (*.wav)"), allFilesFilter()}; }

ExportWriteResult writeExportFile(QSaveFile& file, const QByteArray& bytes) {
  return writeFileSafely(file, [&bytes](QIODevice& device) { return device.write(bytes) == bytes.size(); });
}

ExportWriteResult writeExportFile(const QString& path, const QByteArray& bytes) { return writeFileSafely(path, bytes); }

AllSignalsWavResult writeAllSignalsWav(const ImpactRecordView& record, bool reducedView, const QString& folder) {
  AllSignalsWavResult out;
  for (ExportSignal signal : allExportSignals(reducedView)) {
    const QString name = folder + exportFileName(signal, record, QStringLiteral(".wav"));
    out.result = writeExportFile(name, signalWav(record, signal));
    if (out.result != ExportWriteResult::Ok) {
      out.failedFile = name;
      break;
    }
    out.written << name;
  }
  return out;
}

}  // namespace grx
