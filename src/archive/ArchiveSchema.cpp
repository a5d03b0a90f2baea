#include "ArchiveSchema.h"

#include "ArchiveImpact.h"
#include "ArchiveSql.h"
#include "data/ImpactRecord.h"

#include <QSqlDatabase>
#include <QStringList>

#include <vector>

namespace grx {
namespace {

ArchiveError runAll(QSqlDatabase& db, const QStringList& statements) {
  for (const QString& sql : statements)
    if (ArchiveError e = runSql(db, sql)) return e;
  return {};
}

ArchiveError createVersion1(QSqlDatabase& db, const ArchiveDialect& d) {
  return runAll(db, {
      QStringLiteral("CREATE TABLE grx1_schema (version INTEGER NOT NULL)"),
      QStringLiteral("INSERT INTO grx1_schema (version) VALUES (1)"),
      QStringLiteral("CREATE TABLE grx1_imports (id %1, imported_at VARCHAR(32) NOT NULL, "
                     "source VARCHAR(4096) NOT NULL, impacts INTEGER NOT NULL, new_impacts INTEGER NOT NULL)")
          .arg(d.idColumn),
      // The record bytes in a table of their own: the lists read only the small rows of the columns.
      QStringLiteral("CREATE TABLE grx1_records (hash VARCHAR(64) NOT NULL PRIMARY KEY, record %1 NOT NULL)").arg(d.blobType),
      QStringLiteral("CREATE TABLE grx1_impacts (hash VARCHAR(64) NOT NULL PRIMARY KEY, "
                     "entry BIGINT NOT NULL, taken_at VARCHAR(19) NOT NULL, series_number INTEGER NOT NULL, "
                     "impact_number INTEGER NOT NULL, series_key BIGINT NOT NULL, material VARCHAR(80) NOT NULL, "
                     "object VARCHAR(80) NOT NULL, names_folded VARCHAR(170) NOT NULL, "
                     "dynamic_modulus DOUBLE PRECISION, static_modulus DOUBLE PRECISION, "
                     "import_id BIGINT NOT NULL REFERENCES grx1_imports (id), import_order INTEGER NOT NULL)"),
      QStringLiteral("CREATE INDEX grx1_impacts_taken_at ON grx1_impacts (taken_at)"),
  });
}

// Positions for the map: the columns, filled from the records already kept.
ArchiveError addPositions(QSqlDatabase& db) {
  if (ArchiveError e = runAll(db, {QStringLiteral("ALTER TABLE grx1_impacts ADD COLUMN latitude DOUBLE PRECISION"),
                                   QStringLiteral("ALTER TABLE grx1_impacts ADD COLUMN longitude DOUBLE PRECISION")}))
    return e;
  struct Position {
    QString hash;
    QVariant latitude, longitude;
  };
  std::vector<Position> positions;
  {
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (ArchiveError e = runSql(query, QStringLiteral("SELECT hash, record FROM grx1_records"))) return e;
    while (query.next()) {
      const QByteArray record = query.value(1).toByteArray();
      if (record.size() != kRecordSize) return {ArchiveFailure::NotAnArchive, {}, 0};
      const ArchiveImpact a = archiveImpactOf(reinterpret_cast<const std::uint8_t*>(record.constData()));
      positions.push_back({query.value(0).toString(), a.latitude ? QVariant(*a.latitude) : QVariant(),
                           a.longitude ? QVariant(*a.longitude) : QVariant()});
    }
  }
  QSqlQuery update(db);
  if (!update.prepare(QStringLiteral("UPDATE grx1_impacts SET latitude = ?, longitude = ? WHERE hash = ?")))
    return queryFailed(update.lastError());
  for (const Position& p : positions) {
    if (p.latitude.isNull() && p.longitude.isNull()) continue;
    update.addBindValue(p.latitude.isNull() ? QVariant(QMetaType::fromType<double>()) : p.latitude);
    update.addBindValue(p.longitude.isNull() ? QVariant(QMetaType::fromType<double>()) : p.longitude);
    update.addBindValue(p.hash);
    if (!update.exec()) return queryFailed(update.lastError());
  }
  return runAll(db, {QStringLiteral("CREATE INDEX grx1_impacts_position ON grx1_impacts (latitude, longitude)")});
}

ArchiveError step(QSqlDatabase& db, const ArchiveDialect& d, int version) {
  if (version == 1) return createVersion1(db, d);
  if (ArchiveError e = addPositions(db)) return e;
  return runSql(db, QStringLiteral("UPDATE grx1_schema SET version = ?"), {version});
}

bool holdsTable(const QStringList& tables, const char* name) {
  return tables.contains(QLatin1String(name), Qt::CaseInsensitive) ||
         tables.contains(QStringLiteral("public.") + QLatin1String(name), Qt::CaseInsensitive);
}

}  // namespace

ArchiveError archiveSchemaVersion(QSqlDatabase& db, int& version) {
  version = -1;
  QSqlQuery query(db);
  if (ArchiveError e = runSql(query, QStringLiteral("SELECT MAX(version) FROM grx1_schema"))) return e;
  if (!query.next()) return {ArchiveFailure::NotAnArchive, {}, 0};
  version = query.value(0).toInt();
  return {};
}

ArchiveError prepareArchiveSchema(QSqlDatabase& db, const ArchiveDialect& d, const SchemaAccess& access, int target) {
  if (d.driver == u"QSQLITE") {
    // Any statement on a file that is no SQLite database fails here, before anything is written;
    // a full disk or a file that may not be read says so instead.
    QSqlQuery probe(db);
    if (ArchiveError e = runSql(probe, QStringLiteral("SELECT COUNT(*) FROM sqlite_master"))) {
      if (e.failure == ArchiveFailure::QueryFailed) e.failure = ArchiveFailure::CannotOpen;
      return e;
    }
  }
  const QStringList tables = db.tables(QSql::Tables);
  int version = 0;
  if (holdsTable(tables, "grx1_schema")) {
    if (ArchiveError e = archiveSchemaVersion(db, version)) return e;
    if (version < 1) return {ArchiveFailure::NotAnArchive, {}, 0};
    if (version > kArchiveSchemaVersion) return {ArchiveFailure::NewerSchema, {}, std::uint32_t(version)};
  } else if (holdsTable(tables, "grx1_impacts") || holdsTable(tables, "grx1_records") ||
             (d.driver == u"QSQLITE" && !tables.isEmpty())) {
    // A database of another program (or ours, half made by hand): never changed.
    return {ArchiveFailure::NotAnArchive, {}, 0};
  } else if (!access.mayCreate) {
    return {ArchiveFailure::NoArchive, {}, 0};
  }
  if (!access.mayWrite) {
    // Read as it is; tables older than this program's can only be read once they were brought up
    // to date, which needs writing.
    return version >= target ? ArchiveError{} : ArchiveError{ArchiveFailure::ReadOnly, {}, 0};
  }
  for (const QString& sql : d.afterOpen)
    if (ArchiveError e = runSql(db, sql)) return e;
  if (version >= target) return {};

  if (ArchiveError e = runSql(db, d.beginWrite)) return e;
  auto undo = [&db](ArchiveError e) {
    runSql(db, QStringLiteral("ROLLBACK"));
    return e;
  };
  if (!d.lockSchema.isEmpty())
    if (ArchiveError e = runSql(db, d.lockSchema)) return undo(e);
  // Another program may have done it while this one waited for the lock.
  version = 0;
  if (holdsTable(db.tables(QSql::Tables), "grx1_schema"))
    if (ArchiveError e = archiveSchemaVersion(db, version)) return undo(e);
  if (version > kArchiveSchemaVersion) return undo({ArchiveFailure::NewerSchema, {}, std::uint32_t(version)});
  for (int v = version + 1; v <= target; ++v)
    if (ArchiveError e = step(db, d, v)) return undo(e);
  if (ArchiveError e = runSql(db, QStringLiteral("COMMIT"))) return undo(e);
  return {};
}

}  // namespace grx
