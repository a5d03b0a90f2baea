#pragma once
// The archive's tables and their versions. A new database gets every step; an older archive is
// brought up to date in one transaction; an archive of a newer program is refused and left as it
// is. All tables are named grx1_..., so a lab's shared database may hold other tables beside them.
//
// The lists group by series_key, a whole number (grouping by a text key was several times slower in
// SQLite); it has no index, as a scan of the small rows is faster than visiting them in key order.
//   version 1: grx1_schema, grx1_imports (when, from which file or a read, how many impacts, how
//              many of them were new), grx1_impacts (the record bytes under their hash, the
//              directory entry, the searchable columns, the first import that brought it)
//   version 2: the position in decimal degrees, taken from the records already kept
#include "ArchiveDialect.h"
#include "ArchiveError.h"

class QSqlDatabase;

namespace grx {

inline constexpr int kArchiveSchemaVersion = 2;

// What opening may do to the database.
struct SchemaAccess {
  bool mayCreate = true;  // make the tables of a database without them (else NoArchive)
  bool mayWrite = true;   // set the connection up and bring older tables up to date
};

// Checks what the open database holds and brings it to `target` (tests ask for an older one).
// A file that is not an SQLite database, or one holding other tables but not ours, is NotAnArchive.
ArchiveError prepareArchiveSchema(QSqlDatabase& db, const ArchiveDialect& dialect, const SchemaAccess& access,
                                  int target = kArchiveSchemaVersion);

// The version the archive holds (0 for none).
ArchiveError archiveSchemaVersion(QSqlDatabase& db, int& version);

}  // namespace grx
