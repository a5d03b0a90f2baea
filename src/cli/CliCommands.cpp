#include "CliCommands.h"

#include "CliArchive.h"
#include "CliExport.h"
#include "CliNames.h"
#include "data/ProjectFile.h"
#include "CliCalibrate.h"
#include "CliGeo.h"
#include "CliRead.h"

#include "data/SampleMeasurements.h"
#include "export/ClipboardText.h"
#include "platform/Messages.h"
#include "platform/NumberFormat.h"
#include "platform/TextCells.h"
#include "views/TableText.h"

#include <QFileInfo>
#include <QTextStream>

#include <memory>
#include <optional>
#include <utility>

namespace grx {
namespace {

constexpr const char* kUsage =
    "usage: grx1-cli series FILE.grx [--lang ru|en] | impacts FILE.grx --series K [--lang ru|en] | "
    "sample -o FILE.grx [--impacts N] [--seed S] | read -o OUT.grx [--timeout SECONDS] [--max-time SECONDS]";

// Every command, as --help prints it.
constexpr const char* kHelp =
    "usage: grx1-cli series FILE.grx [--lang ru|en]\n"
    "       grx1-cli impacts FILE.grx --series K [--lang ru|en]         (K counts series from 0)\n"
    "       grx1-cli sample -o FILE.grx [--impacts N] [--seed S]\n"
    "       grx1-cli read -o OUT.grx [--timeout SECONDS] [--max-time SECONDS] [--lang ru|en]\n"
    "       grx1-cli csv|wav FILE.grx --series K [--impact J] --signal a|v|s|f|all [--view full|reduced] -o OUT\n"
    "       grx1-cli calibration FILE.grx --signal f|s\n"
    "       grx1-cli report FILE.grx -o OUT [--lang ru|en]     (.pdf .png .xlsx .ods .odt .html .txt .rtf)\n"
    "       grx1-cli control FILE.grx [--requirements FILE.json] [--require-dyn MPA] [--require-stat MPA]\n"
    "                [--max-sv MS] [--seating N] [--rule each|stat] [--k K] [--format text|csv|json]\n"
    "                [-o OUT] [--lang ru|en]   (lots and point verdicts; -o X.pdf etc.: the acceptance protocol)\n"
    "       grx1-cli geo FILE.grx -o OUT [--requirements FILE.json] [--lang ru|en]   (.geojson .kml .gpx .csv)\n"
    "       grx1-cli calibrate PAIRS.csv [--model linear|power] [--confidence 0.9] [--require VALUE]\n"
    "                [--format text|json] [--lang ru|en]   (PAIRS.csv: dynamic modulus, reference value)\n"
    "       grx1-cli names get materials|objects -o FILE [--timeout SECONDS]\n"
    "       grx1-cli names put materials|objects FILE [--timeout SECONDS]\n"
    "       grx1-cli screenshot -o FILE.bmp [--timeout SECONDS]\n"
    "       grx1-cli archive [--db URL] add FILE.grx...              (prints impacts, new, duplicates per file)\n"
    "       grx1-cli archive [--db URL] list [--object S] [--material S] [--from YYYY-MM-DD] [--to YYYY-MM-DD]\n"
    "                [--format text|csv|json]                      (one line per series)\n"
    "       grx1-cli archive [--db URL] export [the same filters] -o OUT.grx   (records in time order)\n"
    "URL: an SQLite file or postgresql://user@host:port/db (the password from ~/.pgpass or PGPASSWORD);\n"
    "without --db, the window program's archive.\n"
    "Tables go to standard output; messages to standard error, one line each. Exit code 0 when done,\n"
    "2 for bad arguments, a file that cannot be read or written, or a tester that does not answer;\n"
    "control exits 1 when a lot fails its requirement.\n"
    "SECONDS: 0.1 to 86400; --timeout (default 30) bounds the time without a new answer of the tester.\n"
    "grx1-cli read --help explains the read's two time limits.\n";

struct Options {
  QString command;
  QString file;
  QString output;
  Language language = Language::English;
  std::optional<int> series;
  int impacts = 120;
  std::uint32_t seed = 1;
};

int nonNegative(const QString& option, const QString& value, std::optional<QString>* error) {
  bool ok = false;
  const int n = parseInteger(value, &ok);
  if (!ok || n < 0) *error = option + QStringLiteral(" needs a whole number of 0 or more, not \"") + value + u'"';
  return n;
}

// Parses the arguments; returns an error text for anything it cannot take.
std::optional<QString> parse(const QStringList& args, Options& o) {
  if (args.isEmpty()) return QString::fromLatin1(kUsage);
  o.command = args[0];
  if (o.command != u"series" && o.command != u"impacts" && o.command != u"sample")
    return QStringLiteral("unknown command \"") + o.command + QStringLiteral("\" (see grx1-cli --help)");
  std::optional<QString> error;
  for (qsizetype i = 1; i < args.size() && !error; ++i) {
    const QString& a = args[i];
    const bool hasValue = i + 1 < args.size();
    if (a == u"--lang" || a == u"--series" || a == u"--impacts" || a == u"--seed" || a == u"-o") {
      if (!hasValue) return a + QStringLiteral(" needs a value");
      const QString v = args[++i];
      if (a == u"--lang") {
        if (v == u"ru") o.language = Language::Russian;
        else if (v == u"en") o.language = Language::English;
        else return QStringLiteral("--lang takes ru or en, not \"") + v + u'"';
      } else if (a == u"--series") {
        o.series = nonNegative(a, v, &error);
      } else if (a == u"--impacts") {
        o.impacts = nonNegative(a, v, &error);
        if (!error && o.impacts > kMaxRecords)
          error = QStringLiteral("--impacts takes at most ") + QString::number(kMaxRecords);
      } else if (a == u"--seed") {
        o.seed = std::uint32_t(nonNegative(a, v, &error));
      } else {
        o.output = v;
      }
    } else if (a.startsWith(u'-')) {
      return QStringLiteral("unknown option \"") + a + u'"';
    } else if (o.file.isEmpty() && o.command != u"sample") {
      o.file = a;
    } else {
      return QStringLiteral("unexpected argument \"") + a + u'"';
    }
  }
  if (error) return error;
  if (o.command == u"sample") {
    if (o.output.isEmpty()) return QStringLiteral("sample needs -o FILE.grx");
  } else if (o.file.isEmpty()) {
    return o.command + QStringLiteral(" needs a project file name");
  }
  if (o.command == u"impacts" && !o.series) return QStringLiteral("impacts needs --series K");
  return std::nullopt;
}

}  // namespace

int runCli(const QStringList& arguments, QTextStream& out, QTextStream& err) {
  if (!arguments.isEmpty() && arguments.first() == u"read") return runCliRead(arguments.mid(1), out, err);
  if (arguments == QStringList{QStringLiteral("--help")}) {
    out << kHelp;
    return 0;
  }
  if (!arguments.isEmpty() && isCliExportCommand(arguments.first())) return runCliExport(arguments, out, err);
  if (!arguments.isEmpty() && arguments.first() == u"geo") return runCliGeo(arguments.mid(1), out, err);
  if (!arguments.isEmpty() && arguments.first() == u"calibrate") return runCliCalibrate(arguments.mid(1), out, err);
  if (!arguments.isEmpty() && arguments.first() == u"names") return runCliNames(arguments.mid(1), out, err);
  if (!arguments.isEmpty() && arguments.first() == u"archive") return runCliArchive(arguments.mid(1), out, err);
  if (!arguments.isEmpty() && arguments.first() == u"screenshot") return runCliScreenshot(arguments.mid(1), out, err);
  Options o;
  if (const auto problem = parse(arguments, o)) {
    err << *problem << '\n';
    return 2;
  }
  auto set = std::make_unique<MeasurementSet>();

  if (o.command == u"sample") {
    generateSampleMeasurements(*set, o.impacts, o.seed);
    if (writeProjectFile(*set, o.output) != ProjectWriteResult::Ok) {
      err << cannotCreateFileText(o.output, o.language).replace(u'\n', u' ') << '\n';
      return 2;
    }
    return 0;
  }

  if (readProjectFile(o.file, *set) != ProjectReadResult::Ok) {
    err << kFileDamaged.text(o.language) << ": " << QFileInfo(o.file).fileName() << '\n';
    return 2;
  }
  if (o.command == u"series") {
    // One series, one line: a line break in a tester's name is written as a blank.
    TextGrid table = seriesTableText(*set, o.language);
    for (int r = 0; r < table.rowCount(); ++r)
      for (int c = 0; c < table.columnCount(); ++c) table.cell(r, c) = singleLineText(table.cell(r, c));
    out << tableCopyText(table);
    return 0;
  }
  const auto k = std::uint32_t(*o.series);
  if (k >= set->seriesCount()) {
    err << kNoSuchSeries.text(o.language).arg(k).arg(set->seriesCount()) << '\n';
    return 2;
  }
  out << tableCopyText(impactsTableText(*set, k, o.language));
  return 0;
}

}  // namespace grx
