#include "CliExport.h"

#include "CliCommands.h"
#include "data/ProjectFile.h"
#include "export/CalibrationText.h"
#include "export/ImpactExport.h"
#include "platform/Messages.h"
#include "platform/NumberFormat.h"

#include <QDir>
#include <QFileInfo>
#include <QTextStream>

#include <memory>
#include <optional>

namespace grx {
namespace {

constexpr const char* kExportUsage =
    "usage: grx1-cli csv|wav FILE.grx --series K [--impact J] --signal a|v|s|f|all [--view full|reduced] -o OUT"
    " | calibration FILE.grx --signal f|s";

// %1: the impact asked for, %2: the series, %3: how many impacts it holds
constexpr TextPair kNoSuchImpact{"Удара %1 нет: в серии %2 ударов %3", "Impact %1 does not exist: series %2 holds %3 impacts"};

struct ExportOptions {
  QString command;
  QString file;
  QString output;
  Language language = Language::English;
  std::optional<int> series;
  int impact = 1;
  bool signalGiven = false;
  std::optional<ExportSignal> signal;  // none: all signals
  bool reducedView = true;
};

std::optional<QString> parseExport(const QStringList& args, ExportOptions& o) {
  o.command = args.value(0);
  const bool calibration = o.command == u"calibration";
  for (qsizetype i = 1; i < args.size(); ++i) {
    const QString& a = args[i];
    if (a == u"--series" || a == u"--impact" || a == u"--signal" || a == u"--view" || a == u"--lang" || a == u"-o") {
      if (i + 1 >= args.size()) return a + QStringLiteral(" needs a value");
      const QString v = args[++i];
      bool ok = false;
      if (a == u"--series" || a == u"--impact") {
        const int n = parseInteger(v, &ok);
        if (!ok || n < (a == u"--series" ? 0 : 1))
          return a + QStringLiteral(" needs a whole number of ") + (a == u"--series" ? u'0' : u'1') +
                 QStringLiteral(" or more, not \"") + v + u'"';
        if (a == u"--series") o.series = n;
        else o.impact = n;
      } else if (a == u"--signal") {
        o.signalGiven = true;
        if (v == u"a" && !calibration) o.signal = ExportSignal::Acceleration;
        else if (v == u"v" && !calibration) o.signal = ExportSignal::Velocity;
        else if (v == u"s") o.signal = ExportSignal::Displacement;
        else if (v == u"f") o.signal = ExportSignal::Force;
        else if (v == u"all" && !calibration) o.signal = std::nullopt;
        else return QStringLiteral("--signal takes ") + (calibration ? QStringLiteral("f or s") : QStringLiteral("a, v, s, f or all")) +
                    QStringLiteral(", not \"") + v + u'"';
      } else if (a == u"--view") {
        if (v == u"full") o.reducedView = false;
        else if (v == u"reduced") o.reducedView = true;
        else return QStringLiteral("--view takes full or reduced, not \"") + v + u'"';
      } else if (a == u"--lang") {
        if (v == u"ru") o.language = Language::Russian;
        else if (v == u"en") o.language = Language::English;
        else return QStringLiteral("--lang takes ru or en, not \"") + v + u'"';
      } else {
        o.output = v;
      }
    } else if (a.startsWith(u'-')) {
      return QStringLiteral("unknown option \"") + a + QStringLiteral("\"; ") + QString::fromLatin1(kExportUsage);
    } else if (o.file.isEmpty()) {
      o.file = a;
    } else {
      return QStringLiteral("unexpected argument \"") + a + u'"';
    }
  }
  if (o.file.isEmpty()) return o.command + QStringLiteral(" needs a project file name");
  if (!o.signalGiven) return o.command + QStringLiteral(" needs --signal");
  if (calibration) return std::nullopt;
  if (!o.series) return o.command + QStringLiteral(" needs --series K");
  if (o.output.isEmpty()) return o.command + QStringLiteral(" needs -o OUT");
  return std::nullopt;
}

}  // namespace

bool isCliExportCommand(const QString& word) {
  return word == u"csv" || word == u"wav" || word == u"calibration";
}

int runCliExport(const QStringList& arguments, QTextStream& out, QTextStream& err) {
  ExportOptions o;
  if (const auto problem = parseExport(arguments, o)) {
    err << *problem << '\n';
    return 2;
  }
  auto set = std::make_unique<MeasurementSet>();
  if (readProjectFile(o.file, *set) != ProjectReadResult::Ok) {
    err << kFileDamaged.text(o.language) << ": " << QFileInfo(o.file).fileName() << '\n';
    return 2;
  }

  if (o.command == u"calibration") {
    out << calibrationText(*set, o.signal == ExportSignal::Force ? CalibrationValue::Force : CalibrationValue::Displacement);
    return 0;
  }

  if (set->isEmpty()) {
    err << kNoData.text(o.language) << '\n';
    return 2;
  }
  const auto k = std::uint32_t(*o.series);
  if (k >= set->seriesCount()) {
    err << kNoSuchSeries.text(o.language).arg(k).arg(set->seriesCount()) << '\n';
    return 2;
  }
  if (std::uint32_t(o.impact) > set->seriesLength(k)) {
    err << kNoSuchImpact.text(o.language).arg(o.impact).arg(k).arg(set->seriesLength(k)) << '\n';
    return 2;
  }
  // The same selection as the window's: series table row K + 2, impacts table column J.
  set->selectImpact(selectedImpact(*set, int(k) + 2, o.impact));
  const ImpactRecordView record = set->currentView();
  const ExportFormat format = o.command == u"wav" ? ExportFormat::Wav : ExportFormat::Csv;
  const auto cannotWrite = [&](const QString& name) {
    err << cannotCreateFileText(QDir::toNativeSeparators(name), o.language).replace(u'\n', u' ') << '\n';
    return 2;
  };

  if (o.signal) {
    if (writeExportFile(o.output, exportFileBytes(format, o.signal, record, o.reducedView)) != ExportWriteResult::Ok)
      return cannotWrite(o.output);
    return 0;
  }
  // All signals: OUT is the folder the files go into, with the window's names.
  if (!QDir().mkpath(o.output)) return cannotWrite(o.output);
  const QString folder = QDir(o.output).absolutePath() + u'/';
  if (format == ExportFormat::Wav) {
    const AllSignalsWavResult result = writeAllSignalsWav(record, o.reducedView, folder);
    return result.result == ExportWriteResult::Ok ? 0 : cannotWrite(result.failedFile);
  }
  const QString name = folder + exportFileName(QString::fromLatin1(kAllSignalsPrefix), record, exportExtension(format));
  if (writeExportFile(name, exportFileBytes(format, std::nullopt, record, o.reducedView)) != ExportWriteResult::Ok)
    return cannotWrite(name);
  return 0;
}

}  // namespace grx
