#include "CliGeo.h"

#include "data/ProjectFile.h"
#include "CliRequirements.h"

#include "control/ControlEvaluation.h"
#include "geo/GeoWriters.h"
#include "platform/Messages.h"

#include <QFileInfo>
#include <QTextStream>

#include <memory>

namespace grx {
namespace {

constexpr const char* kGeoUsage =
    "usage: grx1-cli geo FILE.grx -o OUT.geojson|OUT.kml|OUT.gpx|OUT.csv [--requirements FILE.json] [--lang ru|en]";

struct GeoOptions {
  QString file;
  QString output;
  QString requirements;
  Language language = Language::English;
};

std::optional<QString> parseGeo(const QStringList& args, GeoOptions& o) {
  for (qsizetype i = 0; i < args.size(); ++i) {
    const QString& a = args[i];
    if (a == u"-o" || a == u"--lang" || a == u"--requirements") {
      if (i + 1 >= args.size()) return a + QStringLiteral(" needs a value; ") + QLatin1String(kGeoUsage);
      const QString v = args[++i];
      if (a == u"-o") {
        o.output = v;
      } else if (a == u"--requirements") {
        o.requirements = v;
      } else if (v == u"ru" || v == u"en") {
        o.language = v == u"ru" ? Language::Russian : Language::English;
      } else {
        return QStringLiteral("--lang takes ru or en, not \"") + v + u'"';
      }
    } else if (a.startsWith(u'-')) {
      return QStringLiteral("unknown option \"") + a + QStringLiteral("\"; ") + QLatin1String(kGeoUsage);
    } else if (o.file.isEmpty()) {
      o.file = a;
    } else {
      return QStringLiteral("unexpected argument \"") + a + QStringLiteral("\"; ") + QLatin1String(kGeoUsage);
    }
  }
  if (o.file.isEmpty() || o.output.isEmpty()) return QString::fromLatin1(kGeoUsage);
  if (!geoFormatOfPath(o.output))
    return QStringLiteral("unknown format \"") + QFileInfo(o.output).suffix() +
           QStringLiteral("\"; -o takes a name ending in .geojson, .kml, .gpx or .csv");
  return std::nullopt;
}

int fail(QTextStream& err, const QString& line) {
  err << line << '\n';
  return 2;
}

}  // namespace

int runCliGeo(const QStringList& args, QTextStream&, QTextStream& err, const QString& configFolder) {
  GeoOptions o;
  if (const auto problem = parseGeo(args, o)) return fail(err, *problem);
  ControlSetup setup;
  if (const auto problem = readCliRequirements(o.requirements, configFolder, o.language, setup))
    return fail(err, *problem);
  auto set = std::make_unique<MeasurementSet>();
  if (readProjectFile(o.file, *set) != ProjectReadResult::Ok)
    return fail(err, kFileDamaged.text(o.language) + QStringLiteral(": ") + QFileInfo(o.file).fileName());
  if (set->seriesCount() == 0) return fail(err, kNoData.text(o.language));
  const ControlResult control = evaluateControl(*set, setup);
  const GeoPoints points = seriesPositions(*set, &control);
  set.reset();
  if (writeGeoFile(o.output, *geoFormatOfPath(o.output), points.points, o.language) != SafeWriteResult::Ok)
    return fail(err, cannotCreateFileText(o.output, o.language).replace(u'\n', u' '));
  if (!points.withoutPosition.empty()) err << withoutPositionText(points, o.language) << '\n';
  return 0;
}

}  // namespace grx
