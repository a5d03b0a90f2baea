#include "CliControl.h"

#include "data/ProjectFile.h"
#include "CliRequirements.h"

#include "control/ControlTables.h"
#include "control/ControlTexts.h"
#include "export/ClipboardText.h"
#include "geo/GeoPoints.h"
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

constexpr TextPair kNoRequirementSet{"требования не заданы: ничего не оценено",
                                     "no requirement is set: nothing was judged"};
constexpr TextPair kUndecidedLots{"не определено: ", "undecided: "};

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
QJsonValue jsonNumber(const std::optional<double>& v) { return v ? jsonNumber(*v) : QJsonValue(QJsonValue::Null); }
QJsonValue jsonKey(const char* key) { return *key ? QJsonValue(QString::fromLatin1(key)) : QJsonValue(QJsonValue::Null); }

// One value as JSON text (strings escaped as the JSON library does).
QByteArray jsonText(const QJsonValue& value) {
  const QByteArray array = QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact);
  return array.mid(1, array.size() - 2);
}

// An object on one line with its keys in the order given (the JSON library would sort them).
using JsonFields = std::vector<std::pair<const char*, QJsonValue>>;
QByteArray jsonLine(const JsonFields& fields) {
  QByteArray out = "{";
  for (std::size_t i = 0; i < fields.size(); ++i)
    out += (i ? ", \"" : "\"") + QByteArray(fields[i].first) + "\": " + jsonText(fields[i].second);
  return out + '}';
}

QByteArray jsonArray(const char* name, const std::vector<QByteArray>& lines) {
  QByteArray out = QByteArray("  \"") + name + "\": [";
  for (std::size_t i = 0; i < lines.size(); ++i) out += (i ? ",\n    " : "\n    ") + lines[i];
  return out + (lines.empty() ? "]" : "\n  ]");
}

// Why some lots are undecided, in one line: which and why.
QString undecidedLine(const ControlResult& result, const ControlSetup& setup, Language language) {
  if (setup.requirements.isEmpty()) return kNoRequirementSet.text(language);
  QStringList lots;
  for (const LotResult& lot : result.lots)
    if (lot.verdict == Verdict::Undecided)
      lots << kLotCaption.text(language).arg(QString::number(lot.number), singleLineText(lot.object), singleLineText(lot.material)) +
                  QStringLiteral(": ") + lotReasonText(lot, result, language);
  return kUndecidedLots.text(language) + lots.join(QStringLiteral("; "));
}

int fail(QTextStream& err, const QString& line) {
  err << line << '\n';
  return 2;
}

}  // namespace

QByteArray controlJson(const MeasurementSet& set, const ControlResult& result, const ControlSetup& setup) {
  std::vector<QByteArray> lots, points;
  for (const LotResult& lot : result.lots) {
    const Requirement* r = lot.requirement >= 0 ? &setup.requirements[lot.requirement] : nullptr;
    QJsonArray undecided;
    for (const int i : lot.undecided) undecided.append(result.points[std::size_t(i)].label);
    JsonFields fields{{"lot", lot.number}, {"object", lot.object}, {"material", lot.material}};
    if (setup.settings.splitLotsByDate) fields.push_back({"date", lot.date.toString(Qt::ISODate)});
    fields.insert(fields.end(), {{"points", int(lot.points.size())}, {"n", lot.n}, {"mean", jsonNumber(lot.mean)},
                                 {"sd", jsonNumber(lot.sd)}, {"cv", jsonNumber(lot.cv * 100)},
                                 {"min", jsonNumber(lot.min)}, {"max", jsonNumber(lot.max)},
                                 {"below", r ? QJsonValue(lot.below) : QJsonValue(QJsonValue::Null)},
                                 {"characteristic", jsonNumber(lot.characteristic)},
                                 {"required", r ? QJsonValue(r->minDynamic) : QJsonValue(QJsonValue::Null)},
                                 {"verdict", jsonKey(verdictKey(lot.verdict))}, {"reason", jsonKey(reasonKey(lot.reason))},
                                 {"undecided", undecided}});
    lots.push_back(jsonLine(fields));
  }
  for (const PointResult& p : result.points) {
    const ImpactRecordView head = set.view(set.seriesStart(p.series));
    const int t = p.timeOfDay;
    JsonFields fields{
        {"series", p.label},
        {"date", p.date.isValid() ? QJsonValue(p.date.toString(Qt::ISODate)) : QJsonValue(QJsonValue::Null)},
        {"time", QString::asprintf("%02d:%02d:%02d", t / 3600, t / 60 % 60, t % 60)},
        {"latitude", jsonNumber(coordinateDegrees(head.latitude(), CoordinateKind::Latitude))},
        {"longitude", jsonNumber(coordinateDegrees(head.longitude(), CoordinateKind::Longitude))},
        {"object", p.object},
        {"material", p.material},
        {"lot", p.lot + 1},
        {"impacts", qint64(p.impacts)},
        {"dyn", jsonNumber(p.dynamic)},
        {"stat", jsonNumber(p.statics)},
        {"sv", jsonNumber(p.sv)},
        {"flags", QJsonObject{{"duration", p.flags.duration}, {"nonfinite", p.flags.nonFinite}, {"sv", p.flags.svAbove}}},
        {"verdict", jsonKey(verdictKey(p.verdict))},
        {"reason", jsonKey(reasonKey(p.reason))},
        {"impact", p.reason == Reason::NonFiniteModulus ? QJsonValue(p.impact) : QJsonValue(QJsonValue::Null)},
    };
    // With calibrations: the reference test estimated by the point's calibration (named by its
    // requirement, else matching its names), its lower bound, and whether it lies beyond the range.
    if (!setup.calibrations.isEmpty()) {
      const bool calibrated = p.calibration >= 0;
      fields.push_back({"calibration", calibrated ? QJsonValue(setup.calibrations[p.calibration].name) : QJsonValue(QJsonValue::Null)});
      fields.push_back({"reference", jsonNumber(p.reference)});
      fields.push_back({"referenceLower", jsonNumber(p.referenceLower)});
      fields.push_back({"outsideCalibration", calibrated ? QJsonValue(p.outsideCalibration) : QJsonValue(QJsonValue::Null)});
    }
    points.push_back(jsonLine(fields));
  }
  return "{\n" + jsonArray("lots", lots) + ",\n" + jsonArray("points", points) + "\n}\n";
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
  // A failing lot is 1; otherwise a lot that could not be judged is 3, said in one line.
  const int verdictCode = result.anyLotFails() ? 1 : result.anyLotUndecided() ? 3 : 0;
  const auto done = [&] {  // said once the output is written: a failed write is the one line
    if (verdictCode == 3) err << undecidedLine(result, setup, o.language) << '\n';
    return verdictCode;
  };
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
    return done();
  }
  QByteArray bytes;
  if (*form == Form::Json) {
    bytes = controlJson(*set, result, setup);
  } else {
    const TextGrid lots = lotTableText(result, setup, o.language);
    const TextGrid points = pointTableText(*set, result, setup, o.language);
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
  return done();
}

}  // namespace grx
