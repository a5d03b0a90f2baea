#include "CliControl.h"

#include "data/ProjectFile.h"
#include "CliRequirements.h"

#include "control/ControlTables.h"
#include "control/ControlTexts.h"
#include "export/ClipboardText.h"
#include "platform/Messages.h"
#include "platform/NumberFormat.h"
#include "platform/SafeFile.h"
#include "platform/TextCells.h"
#include "report/AcceptanceProtocol.h"
#include "report/ReportExport.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>

#include <cmath>
#include <memory>
#include <optional>
#include <span>

namespace grx {
namespace {

constexpr const char* kControlUsage =
    "usage: grx1-cli control FILE.grx [--requirements FILE.json] [--require-dyn MPA] [--require-stat MPA] "
    "[--max-sv MS] [--seating N] [--rule each|stat] [--k K] [--format text|csv|json] [-o OUT] [--lang ru|en]";

enum class Form { Text, Csv, Json, Protocol };

struct ControlOptions {
  QString file;
  QString requirements;
  QString output;
  std::optional<double> requireDyn, requireStat, maxSv, k;
  std::optional<int> seating;
  std::optional<LotRule> rule;
  std::optional<Form> format;
  Language language = Language::English;
};

// A finite number from low to high.
std::optional<double> numberIn(const QString& v, double low, double high) {
  bool ok = false;
  const double d = parseDecimal(v, &ok);
  if (!ok || !std::isfinite(d) || d < low || d > high) return std::nullopt;
  return d;
}

std::optional<QString> parseControl(const QStringList& args, ControlOptions& o) {
  static const QStringList kValued = {"--requirements", "--require-dyn", "--require-stat", "--max-sv",
                                      "--seating", "--rule", "--k", "--format", "-o", "--lang"};
  for (qsizetype i = 0; i < args.size(); ++i) {
    const QString& a = args[i];
    if (!kValued.contains(a)) {
      if (a.startsWith(u'-'))
        return QStringLiteral("unknown option \"") + a + QStringLiteral("\"; ") + QLatin1String(kControlUsage);
      if (!o.file.isEmpty())
        return QStringLiteral("unexpected argument \"") + a + QStringLiteral("\"; ") + QLatin1String(kControlUsage);
      o.file = a;
      continue;
    }
    if (i + 1 >= args.size()) return a + QStringLiteral(" needs a value");
    const QString v = args[++i];
    const QString bad = QStringLiteral(", not \"") + v + u'"';
    if (a == u"--requirements") {
      o.requirements = v;
    } else if (a == u"--require-dyn" || a == u"--require-stat" || a == u"--max-sv") {
      const auto n = numberIn(v, 0, 1e9);
      if (!n) return a + QStringLiteral(" needs a number of 0 or more") + bad;
      (a == u"--require-dyn" ? o.requireDyn : a == u"--require-stat" ? o.requireStat : o.maxSv) = n;
    } else if (a == u"--seating") {
      bool ok = false;
      const int n = parseInteger(v, &ok);
      if (!ok || n < 0 || n > 15) return QStringLiteral("--seating takes a whole number from 0 to 15") + bad;
      o.seating = n;
    } else if (a == u"--rule") {
      if (v != u"each" && v != u"stat") return QStringLiteral("--rule takes each or stat") + bad;
      o.rule = v == u"each" ? LotRule::EachPoint : LotRule::Statistical;
    } else if (a == u"--k") {
      o.k = numberIn(v, 0, 10);
      if (!o.k) return QStringLiteral("--k takes a number from 0 to 10") + bad;
    } else if (a == u"--format") {
      if (v != u"text" && v != u"csv" && v != u"json") return QStringLiteral("--format takes text, csv or json") + bad;
      o.format = v == u"text" ? Form::Text : v == u"csv" ? Form::Csv : Form::Json;
    } else if (a == u"--lang") {
      if (v != u"ru" && v != u"en") return QStringLiteral("--lang takes ru or en") + bad;
      o.language = v == u"ru" ? Language::Russian : Language::English;
    } else {
      o.output = v;
    }
  }
  if (o.file.isEmpty()) return QString::fromLatin1(kControlUsage);
  return std::nullopt;
}

// The form of the output: --format when given, else the output's extension.
std::optional<Form> outputForm(const ControlOptions& o, std::optional<ReportFormat>& report) {
  if (o.format) return o.format;
  if (o.output.isEmpty()) return Form::Text;
  const QString suffix = QFileInfo(o.output).suffix().toLower();
  if (suffix == u"json") return Form::Json;
  if (suffix == u"csv") return Form::Csv;
  report = reportFormatOfPath(o.output);
  if (report) return Form::Protocol;
  return std::nullopt;
}

QString csvCell(const QString& text) {
  if (!text.contains(u';') && !text.contains(u'"') && !text.contains(u'\n') && !text.contains(u'\r')) return text;
  return u'"' + QString(text).replace(u'"', QStringLiteral("\"\"")) + u'"';
}

// The name cells of a table through a text function.
TextGrid withNames(TextGrid grid, std::span<const int> nameColumns, QString (*cell)(const QString&)) {
  for (int r = 1; r < grid.rowCount(); ++r)
    for (const int c : nameColumns) grid.cell(r, c) = cell(grid.cell(r, c));
  return grid;
}

QString csvText(const TextGrid& table, std::span<const int> nameColumns) {
  // A name never starts a formula; its line breaks stay inside the quotes, as CSV allows.
  const TextGrid grid = withNames(table, nameColumns, spreadsheetSafeCell);
  QString out;
  for (int r = 0; r < grid.rowCount(); ++r) {
    for (int c = 0; c < grid.columnCount(); ++c) {
      if (c > 0) out += u';';
      out += csvCell(grid.cell(r, c));
    }
    out += QStringLiteral("\r\n");
  }
  return out;
}

QJsonValue jsonNumber(double v) { return std::isfinite(v) ? QJsonValue(v) : QJsonValue(QJsonValue::Null); }

QJsonValue jsonVerdict(Verdict v) {
  return v == Verdict::None ? QJsonValue(QJsonValue::Null) : QJsonValue(QString::fromLatin1(verdictKey(v)));
}

int fail(QTextStream& err, const QString& line) {
  err << line << '\n';
  return 2;
}

}  // namespace

QByteArray controlJson(const ControlResult& result, const ControlSetup& setup) {
  QJsonArray lots;
  for (const LotResult& lot : result.lots) {
    QJsonObject o{{"object", lot.object},
                  {"material", lot.material},
                  {"n", lot.n},
                  {"mean", jsonNumber(lot.mean)},
                  {"sd", jsonNumber(lot.sd)},
                  {"cv", jsonNumber(lot.cv)},
                  {"min", jsonNumber(lot.min)},
                  {"max", jsonNumber(lot.max)},
                  {"below", lot.requirement >= 0 ? QJsonValue(lot.below) : QJsonValue(QJsonValue::Null)},
                  {"characteristic", jsonNumber(lot.characteristic)},
                  {"verdict", jsonVerdict(lot.verdict)}};
    if (setup.settings.splitLotsByDate) o.insert(QStringLiteral("date"), lot.date.toString(Qt::ISODate));
    lots.append(o);
  }
  QJsonArray points;
  for (const PointResult& p : result.points)
    points.append(QJsonObject{
        {"series", qint64(p.series)},
        {"object", p.object},
        {"material", p.material},
        {"dyn", jsonNumber(p.dynamic)},
        {"stat", jsonNumber(p.statics)},
        {"sv", jsonNumber(p.sv)},
        {"flags",
         QJsonObject{{"duration", p.flags.duration}, {"nonfinite", p.flags.nonFinite}, {"sv", p.flags.svAbove}}},
        {"verdict", jsonVerdict(p.verdict)}});
  return QJsonDocument(QJsonObject{{"lots", lots}, {"points", points}}).toJson(QJsonDocument::Indented);
}

int runCliControl(const QStringList& args, QTextStream& out, QTextStream& err, const QString& configFolder) {
  ControlOptions o;
  if (const auto problem = parseControl(args, o)) return fail(err, *problem);
  std::optional<ReportFormat> reportFormat;
  const std::optional<Form> form = outputForm(o, reportFormat);
  if (!form)
    return fail(err, QStringLiteral("unknown output format \"") + QFileInfo(o.output).suffix() +
                         QStringLiteral("\"; -o takes .json, .csv or a report's .pdf, .png, .xlsx, .ods, .odt, .html, "
                                        ".txt, .rtf (or give --format)"));

  // The requirements: the file named, else the window program's file when there is one.
  ControlSetup setup;
  DocumentIdentity identity;
  if (const auto problem = readCliRequirements(o.requirements, configFolder, o.language, setup, &identity.requirementsFile))
    return fail(err, *problem);
  identity.requirementsOnCommandLine = o.requireDyn || o.requireStat || o.maxSv;
  if (identity.requirementsOnCommandLine) {
    Requirement every;  // "*" and "*"
    every.minDynamic = o.requireDyn.value_or(0);
    every.minStatic = o.requireStat;
    every.maxSv = o.maxSv;
    setup.requirements = {every};
  }
  if (o.seating) setup.settings.seatingImpacts = *o.seating;
  if (o.rule) setup.settings.lotRule = *o.rule;
  if (o.k) setup.settings.k = *o.k;

  auto set = std::make_unique<MeasurementSet>();
  if (readProjectFile(o.file, *set) != ProjectReadResult::Ok)
    return fail(err, kFileDamaged.text(o.language) + QStringLiteral(": ") + QFileInfo(o.file).fileName());
  if (set->seriesCount() == 0) return fail(err, kNoData.text(o.language));
  const ControlResult result = evaluateControl(*set, setup);
  const int verdictCode = result.anyLotFails() ? 1 : 0;
  const QString cannotWrite = cannotCreateFileText(o.output, o.language).replace(u'\n', u' ');

  if (*form == Form::Protocol) {
    // Asked first, as the report command does: a target that may not be replaced is one clear line.
    if (!mayWriteReport(*reportFormat, o.output))
      return fail(err, cannotWrite);
    identity.measurements = {MeasurementSource::Kind::File, QFileInfo(o.file).fileName(), {}};
    identity.issued = QDate::currentDate();
    const PreparedReport protocol = prepareAcceptanceProtocol(*set, setup, result, identity, o.language);
    QStringList removed;
    if (!exportReport(protocol, *reportFormat, o.output, kProtocolTitle.text(o.language), &removed))
      return fail(err, cannotWrite);
    if (!removed.isEmpty()) out << removedPagesText(removed, o.language) << '\n';
    return verdictCode;
  }
  QByteArray bytes;
  if (*form == Form::Json) {
    bytes = controlJson(result, setup);
  } else {
    const TextGrid lots = lotTableText(result, setup, o.language);
    const TextGrid points = pointTableText(*set, result, o.language);
    // The tab form keeps one row on one line: a line break in a name is a blank there.
    const QString text = *form == Form::Csv
                             ? csvText(lots, kLotNameColumns) + QStringLiteral("\r\n") + csvText(points, kPointNameColumns)
                             : tableCopyText(withNames(lots, kLotNameColumns, singleLineText)) + QStringLiteral("\r\n") +
                                   tableCopyText(withNames(points, kPointNameColumns, singleLineText));
    bytes = text.toUtf8();
  }
  if (o.output.isEmpty()) {
    out << QString::fromUtf8(bytes);
  } else if (writeFileSafely(o.output, bytes) != SafeWriteResult::Ok) {
    return fail(err, cannotWrite);
  }
  return verdictCode;
}

}  // namespace grx
