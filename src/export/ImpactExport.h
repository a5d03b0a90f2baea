#pragma once
// What the CSV and WAV exports of one impact share: which impact the tables select, the four
// signals and their file name prefixes, the export folder, the save dialogs' extension rule and
// the writing of a finished file.
#include "data/MeasurementSet.h"
#include "platform/IniFile.h"
#include "platform/SafeFile.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

class QSaveFile;

namespace grx {

enum class ExportSignal { Acceleration, Velocity, Displacement, Force };
enum class ExportFormat { Csv, Wav };

// The impact the single-impact exports read: the first impact of the series in series table row
// `seriesRow` (data rows begin at 2) plus the impacts table column minus 1. A column of -1 (nothing
// selected) or 0 (the label column) counts as column 1, the series' first impact; so does a column
// past the series' last impact. A row outside the series table's data rows gives series 0.
// Needs a set with at least one impact.
std::uint32_t selectedImpact(const MeasurementSet& set, int seriesRow, int impactsColumn);

// "Accelerate_", "Velocity_", "Displacement_", "Force_".
QString exportPrefix(ExportSignal signal);
// The prefix of the all-signals CSV file.
inline constexpr char kAllSignalsPrefix[] = "All_";

// prefix + series number + "_" + impact number + extension, e.g. "Force_3_2.csv".
QString exportFileName(const QString& prefix, const ImpactRecordView& record, const QString& extension);
QString exportFileName(ExportSignal signal, const ImpactRecordView& record, const QString& extension);

// The signals of the all-signals commands, in the order they are written: acceleration and
// velocity in the full view only, then displacement and force.
std::vector<ExportSignal> allExportSignals(bool reducedView);

// ".csv", ".wav".
QString exportExtension(ExportFormat format);

// The bytes of one export file: one signal, or with no signal the all-signals CSV file of the view.
// There is no all-signals WAV file (writeAllSignalsWav writes one per signal): empty bytes.
QByteArray exportFileBytes(ExportFormat format, std::optional<ExportSignal> signal, const ImpactRecordView& record,
                           bool reducedView);

// The folder the exports propose and the all-signals WAV command writes into: LastReadPath when
// it names an existing folder, else the program folder; always with a trailing separator.
QString exportFolder(const IniFile& config, const QString& programFolder);

// The save dialogs' extension rule: a chosen name whose extension is not exactly `extension`
// (".csv", ".wav"; compared case-sensitively) gets that extension in place of its own, and the
// dialog is shown again with the corrected name.
struct ExportNameDecision {
  QString fileName;
  bool askAgain = false;
};
ExportNameDecision exportSaveName(const QString& chosen, const QString& extension);

// The save dialogs' filters: the export's own files, then all files.
QStringList csvDialogFilters();
QStringList wavDialogFilters();

using ExportWriteResult = SafeWriteResult;

// Writes the bytes beside the target and puts them in its place only when all were written, so a
// failure never leaves a partial file and never damages the file it would have replaced.
ExportWriteResult writeExportFile(const QString& path, const QByteArray& bytes);
ExportWriteResult writeExportFile(QSaveFile& file, const QByteArray& bytes);

// The all-signals WAV command: one complete file per signal of the view, written one after the
// other into `folder` (which ends with a separator), replacing files of the same names. The first
// failure ends it; the files written before stay.
struct AllSignalsWavResult {
  ExportWriteResult result = ExportWriteResult::Ok;
  QString failedFile;  // the file that could not be written
  QStringList written;
};
AllSignalsWavResult writeAllSignalsWav(const ImpactRecordView& record, bool reducedView, const QString& folder);

}  // namespace grx
