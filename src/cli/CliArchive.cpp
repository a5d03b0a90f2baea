#include "CliArchive.h"

#include "data/ProjectFile.h"

#include "archive/Archive.h"
#include "archive/ArchiveTexts.h"
#include "archive/ArchiveSettings.h"
#include "data/MeasurementSet.h"
#include "platform/AppPaths.h"
#include "platform/IniFile.h"
#include "platform/Messages.h"
#include "platform/NumberFormat.h"
#include "platform/TextCells.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>

#include <cmath>
#include <cstdlib>
#include <cstdio>
#include <map>
#include <memory>
#include <optional>

namespace grx {
namespace {

constexpr const char* kArchiveUsage =
    "usage: grx1-cli archive [--db URL] add FILE.grx... | list [--object S] [--material S] [--from YYYY-MM-DD] "
    "[--to YYYY-MM-DD] [--format text|csv|json] | export [filters] -o OUT.grx";

enum class Form { Text, Csv, Json };

struct ArchiveOptions {
  QString command;
  QString db;
  QStringList files;
  QString output;
  ArchiveFilter filter;
  Form form = Form::Text;
  Language language = Language::English;
};

std::optional<QString> parseArchive(const QStringList& args, ArchiveOptions& o) {
  static const QStringList kValued = {"--db", "--object", "--material", "--from", "--to", "--format", "-o", "--lang"};
  const QString usage = QStringLiteral("; ") + QLatin1String(kArchiveUsage);
  for (qsizetype i = 0; i < args.size(); ++i) {
    const QString& a = args[i];
    if (!kValued.contains(a)) {
      if (a.startsWith(u'-')) return QStringLiteral("unknown option \"") + a + u'"' + usage;
      if (o.command.isEmpty()) {
        if (a != u"add" && a != u"list" && a != u"export")
          return QStringLiteral("unknown archive command \"") + a + u'"' + usage;
        o.command = a;
      } else if (o.command == u"add") {
        o.files << a;
      } else {
        return QStringLiteral("unexpected argument \"") + a + u'"' + usage;
      }
      continue;
    }
    if (i + 1 >= args.size()) return a + QStringLiteral(" needs a value") + usage;
    const QString v = args[++i];
    if (a == u"--db") {
      // An empty name is a slip (an unset variable), not a wish for the default archive.
      if (v.trimmed().isEmpty()) return QStringLiteral("--db needs an archive file name or a postgresql:// address") + usage;
      o.db = v;
    } else if (a == u"--object") {
      o.filter.object = v;
    } else if (a == u"--material") {
      o.filter.material = v;
    } else if (a == u"--from" || a == u"--to") {
      const QDate date = QDate::fromString(v, Qt::ISODate);
      if (!date.isValid() || v.size() != 10) return a + QStringLiteral(" takes a date YYYY-MM-DD, not \"") + v + u'"' + usage;
      (a == u"--from" ? o.filter.from : o.filter.to) = date;
    } else if (a == u"--format") {
      if (v == u"text") o.form = Form::Text;
      else if (v == u"csv") o.form = Form::Csv;
      else if (v == u"json") o.form = Form::Json;
      else return QStringLiteral("--format takes text, csv or json, not \"") + v + u'"' + usage;
    } else if (a == u"-o") {
      o.output = v;
    } else if (v == u"ru" || v == u"en") {
      o.language = v == u"ru" ? Language::Russian : Language::English;
    } else {
      return QStringLiteral("--lang takes ru or en, not \"") + v + u'"' + usage;
    }
  }
  if (o.command.isEmpty()) return QStringLiteral("archive needs add, list or export") + usage;
  if (o.command == u"add" && o.files.isEmpty()) return QStringLiteral("archive add needs a project file name") + usage;
  if (o.command == u"export" && o.output.isEmpty()) return QStringLiteral("archive export needs -o OUT.grx") + usage;
  if (o.command != u"export" && !o.output.isEmpty()) return QStringLiteral("-o belongs to archive export") + usage;
  if (o.command == u"add" && (!o.filter.object.isEmpty() || !o.filter.material.isEmpty() || o.filter.from || o.filter.to))
    return QStringLiteral("archive add takes no filters") + usage;
  return std::nullopt;
}

// The window program's archive: GRX1.ini beside grx1 (or the user's one, for an installed program).
QString defaultConnection() {
  const FileHomes homes = fileHomes(programFolderOf(QCoreApplication::applicationFilePath()));
  return readArchiveSettings(IniFile(configFilePath(homes.config)), homes.data).connection;
}

// A developer's hook for the tests of an import cut short: once this many impacts of the first
// file were sent (at the end of the group that reaches it), the command says "holding" on stderr
// and waits for a line on its input.
std::function<void(std::uint32_t)> holdHook() {
  bool ok = false;
  const int at = qEnvironmentVariableIntValue("GRX1_ARCHIVE_HOLD_AT", &ok);
  if (!ok) return {};
  return [at, held = false](std::uint32_t i) mutable {
    if (held || int(i) + 1 < at) return;
    held = true;
    std::fputs("holding\n", stderr);
    std::fflush(stderr);
    char line[16];
    if (!std::fgets(line, sizeof line, stdin)) return;
  };
}

QString csvCell(const QString& text) {
  if (!text.contains(u';') && !text.contains(u'"') && !text.contains(u'\n') && !text.contains(u'\r')) return text;
  return u'"' + QString(text).replace(u'"', QStringLiteral("\"\"")) + u'"';
}

// A mean that is no number (an impact without a modulus) is null, never a number it is not.
QJsonValue jsonNumber(double v) { return std::isfinite(v) ? QJsonValue(v) : QJsonValue(QJsonValue::Null); }

void writeList(const std::vector<ArchiveSeries>& series, const std::vector<ArchiveImport>& imports, Form form,
               Language language, QTextStream& out) {
  std::map<qint64, const ArchiveImport*> byId;
  for (const ArchiveImport& i : imports) byId[i.id] = &i;
  auto importOf = [&](const ArchiveSeries& s) {
    const auto it = byId.find(s.importId);
    return it == byId.end() ? QString() : importText(*it->second, language);
  };
  if (form == Form::Json) {
    QJsonArray rows;
    for (const ArchiveSeries& s : series) {
      const auto it = byId.find(s.importId);
      rows.append(QJsonObject{{"date", s.start.left(10)}, {"time", s.start.mid(11)}, {"series", s.seriesNumber},
                              {"impacts", s.impacts}, {"dynamic_modulus", jsonNumber(s.meanDynamicModulus)},
                              {"static_modulus", jsonNumber(s.meanStaticModulus)}, {"material", s.material}, {"object", s.object},
                              {"import", s.importId},
                              {"imported_at", it == byId.end() ? QString() : it->second->importedAt},
                              {"source", it == byId.end() ? QString() : it->second->source}});
    }
    out << QJsonDocument(rows).toJson(QJsonDocument::Indented);
    return;
  }
  const QString sep = form == Form::Csv ? QStringLiteral(";") : QStringLiteral("\t");
  // A name stays on its line and in its column, and never runs as a spreadsheet formula.
  auto cell = [form](const QString& t) {
    const QString line = singleLineText(t);
    return form == Form::Csv ? csvCell(spreadsheetSafeCell(line)) : QString(line).replace(u'\t', u' ');
  };
  if (form == Form::Csv)
    out << "date;time;series;impacts;dynamic_modulus;static_modulus;material;object;import\r\n";
  for (const ArchiveSeries& s : series) {
    QStringList cells{s.start.left(10), s.start.mid(11), QString::number(s.seriesNumber), QString::number(s.impacts),
                      formatFloat(s.meanDynamicModulus, u"0.0"), formatFloat(s.meanStaticModulus, u"0.0"),
                      cell(s.material), cell(s.object), cell(importOf(s))};
    out << cells.join(sep) << (form == Form::Csv ? "\r\n" : "\n");
  }
}

}  // namespace

// The SQL drivers' own warnings ("database not open", "Unable to free statement") are not the
// user's: a failure is said once, in one line.
struct QuietDrivers {
  QuietDrivers() : previous(qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString&) {
                     if (type == QtFatalMsg) std::abort();
                   })) {}
  ~QuietDrivers() { qInstallMessageHandler(previous); }
  QtMessageHandler previous;
};

int runCliArchive(const QStringList& arguments, QTextStream& out, QTextStream& err) {
  const QuietDrivers quiet;
  ArchiveOptions o;
  if (const auto problem = parseArchive(arguments, o)) {
    err << *problem << '\n';
    return 2;
  }
  const QString connection = o.db.isEmpty() ? defaultConnection() : o.db;
  auto fail = [&](const ArchiveError& e) {
    err << archiveErrorText(e, connection, o.language) << '\n';
    return 2;
  };
  ArchiveError error;
  // Only adding makes an archive; a list or an export of a misspelt name finds none.
  const std::unique_ptr<Archive> archive =
      Archive::open(connection, error, o.command == u"add" ? ArchiveAccess::Write : ArchiveAccess::Read);
  if (!archive) return fail(error);
  auto set = std::make_unique<MeasurementSet>();

  if (o.command == u"add") {
    std::function<void(std::uint32_t)> hold = holdHook();
    for (const QString& file : o.files) {
      if (readProjectFile(file, *set) != ProjectReadResult::Ok) {
        err << kFileDamaged.text(o.language) << ": " << QFileInfo(file).fileName() << '\n';
        return 2;
      }
      ImportOutcome outcome;
      if (ArchiveError e = archive->import(*set, QFileInfo(file).absoluteFilePath(), outcome, hold)) return fail(e);
      hold = {};
      out << file << ": " << outcome.impacts << " impacts, " << outcome.added << " new, "
          << outcome.impacts - outcome.added << " duplicates\n";
      out.flush();
    }
    return 0;
  }
  if (o.command == u"list") {
    std::vector<ArchiveSeries> series;
    std::vector<ArchiveImport> imports;
    if (ArchiveError e = archive->listSeries(o.filter, series)) return fail(e);
    if (ArchiveError e = archive->listImports(imports)) return fail(e);
    writeList(series, imports, o.form, o.language, out);
    return 0;
  }
  QList<JoinedSeries> joined;
  if (ArchiveError e = archive->load(o.filter, {}, *set, &joined)) return fail(e);
  if (set->isEmpty()) {
    // An empty project would replace the file named with nothing; it is left as it is.
    err << "no impact matches the filters; " << o.output << " was not written\n";
    return 2;
  }
  for (const JoinedSeries& j : joined)
    err << joinedSeriesText(j, o.language) << '\n';
  if (writeProjectFile(*set, o.output) != ProjectWriteResult::Ok) {
    err << cannotCreateFileText(o.output, o.language).replace(u'\n', u' ') << '\n';
    return 2;
  }
  return 0;
}

}  // namespace grx
