#pragma once
// The few places where SQLite and PostgreSQL need different SQL text; every other statement of the
// archive is written once, in standard SQL with bound parameters, for both.
#include "ArchiveLocation.h"

#include <QString>
#include <QStringList>

namespace grx {

struct ArchiveDialect {
  QString driver;           // Qt's driver name
  QString blobType;         // the record bytes
  QString idColumn;         // a generated whole-number key
  QString beginWrite;       // a transaction that writes: SQLite takes the write lock at once, so a
                            // second writer waits at the start instead of failing midway
  QString lockSchema;       // run first in the transaction that creates or upgrades the tables
  QStringList afterOpen;    // settings of the connection before anything else
  QString connectOptions;   // Qt's connect options of the driver

  static ArchiveDialect of(const ArchiveLocation& location);
};

}  // namespace grx
