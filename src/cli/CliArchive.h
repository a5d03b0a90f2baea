#pragma once
// grx1-cli archive: project files into the measurement archive, its series listed, a selection out
// as a project file.
//   grx1-cli archive [--db URL] add FILE.grx...
//   grx1-cli archive [--db URL] list [--object S] [--material S] [--from YYYY-MM-DD] [--to YYYY-MM-DD]
//            [--format text|csv|json]
//   grx1-cli archive [--db URL] export [the same filters] -o OUT.grx
// Without --db the archive is the window program's (GRX1.ini's [Archive] Url, else archive.sqlite).
#include <QStringList>

class QTextStream;

namespace grx {

int runCliArchive(const QStringList& arguments, QTextStream& out, QTextStream& err);

}  // namespace grx
