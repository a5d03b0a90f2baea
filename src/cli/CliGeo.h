#pragma once
// grx1-cli geo FILE.grx -o OUT.geojson|OUT.kml|OUT.gpx|OUT.csv [--requirements FILE.json] [--lang ru|en]
// The positions of the series as a GIS file, the format from the output's extension. One point per
// series with a position; the series without one are named in one line on `err` (exit 0 all the
// same). The verdicts come from the requirements (see CliRequirements). Exit 2 with one line for
// bad arguments, an unreadable or damaged file, a set without series and a file that cannot be
// written.
#include <QString>
#include <QStringList>

class QTextStream;

namespace grx {

int runCliGeo(const QStringList& argsAfterTheWordGeo, QTextStream& out, QTextStream& err,
              const QString& configFolder = {});

}  // namespace grx
