// Opening an archive and adding measurements to it. The lists and the loading of a selection are in
// ArchiveQueries.cpp.
#include "Archive.h"

#include "ArchiveDialect.h"
#include "ArchiveImpact.h"
#include "ArchiveSchema.h"
#include "ArchiveSql.h"
#include "data/MeasurementSet.h"
#include "platform/LocalFiles.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <QSqlDriver>

#include <atomic>
#include <cmath>

namespace grx {
namespace {

std::atomic<int> connectionCounter{0};

// A float that is no number (a damaged record) is kept as "no value".
QVariant numberOrNull(double v) { return std::isfinite(v) ? QVariant(v) : QVariant(QMetaType::fromType<double>()); }
QVariant optionalNumber(const std::optional<double>& v) {
  return v ? QVariant(*v) : QVariant(QMetaType::fromType<double>());
}

// Hashes looked up per statement when an import asks which impacts are kept already.
constexpr int kLookupChunk = 400;
// Impacts per INSERT statement (15 values each; both engines take far more).
constexpr std::size_t kInsertBatch = 50;

// The file as an SQLite URI: the name's exact bytes percent-encoded (so a name that is not UTF-8
// reaches the file system unchanged) and the mode of opening.
QString sqliteUri(const QString& path, const char* mode, bool immutable) {
  QByteArray bytes = localFileName(QFileInfo(path).absoluteFilePath());
#ifdef _WIN32
  bytes.replace('\\', '/');
  bytes.prepend('/');  // file:///C:/...
#endif
  QString uri = QStringLiteral("file://") + QString::fromLatin1(bytes.toPercentEncoding("/:")) + QStringLiteral("?mode=") +
                QLatin1String(mode);
  if (immutable) uri += QStringLiteral("&immutable=1");
  return uri;
}

}  // namespace

Archive::Archive(QString name, ArchiveLocation location)
    : name_(std::move(name)), location_(std::move(location)), dialect_(std::make_unique<ArchiveDialect>(ArchiveDialect::of(location_))) {}

Archive::~Archive() {
  {
    QSqlDatabase db = QSqlDatabase::database(name_, false);
    if (db.isOpen()) db.close();
  }
  QSqlDatabase::removeDatabase(name_);
}

std::unique_ptr<Archive> Archive::open(const QString& connection, ArchiveError& error, ArchiveAccess access,
                                       int schemaVersion) {
  error = {};
  LocationProblem problem = LocationProblem::None;
  const std::optional<ArchiveLocation> location = parseArchiveLocation(connection, &problem);
  if (!location) {
    error = {problem == LocationProblem::PasswordInUrl ? ArchiveFailure::PasswordInUrl
             : problem == LocationProblem::BadTimeout  ? ArchiveFailure::BadTimeout
                                                       : ArchiveFailure::BadLocation,
             {}, 0};
    return nullptr;
  }
  const QString name = QStringLiteral("grx1-archive-%1").arg(++connectionCounter);
  std::unique_ptr<Archive> archive(new Archive(name, *location));
  const ArchiveDialect& d = *archive->dialect_;
  if (!QSqlDatabase::isDriverAvailable(d.driver)) {
    error = {ArchiveFailure::NoDriver, d.driver, 0};
    return nullptr;
  }
  const int target = schemaVersion > 0 ? schemaVersion : kArchiveSchemaVersion;
  const SchemaAccess schema{access == ArchiveAccess::Write, true};  // creating: only to add
  if (location->engine == ArchiveEngine::Sqlite) {
    archive->openSqliteFile(access, target, error);
    return error ? nullptr : std::move(archive);
  }
  QSqlDatabase db = QSqlDatabase::addDatabase(d.driver, name);
  db.setHostName(location->host);
  if (location->port > 0) db.setPort(location->port);
  db.setUserName(location->user);
  db.setDatabaseName(location->database);
  db.setConnectOptions(d.connectOptions);
  if (!db.open()) {
    error = {ArchiveFailure::CannotOpen, driverText(db.lastError()), 0};
    return nullptr;
  }
  error = prepareArchiveSchema(db, d, schema, target);
  if (error) return nullptr;
  return archive;
}

void Archive::openSqliteFile(ArchiveAccess access, int target, ArchiveError& error) {
  const QString& path = location_.path;
  // A folder that is missing is not made: the archive goes where the user said, or nowhere.
  const LocalFileState file = localFileState(path);
  const LocalFileState folder = localFileState(folderOfName(path));
  if (!folder.isFolder || (file.exists && !file.isFile)) {
    error = {ArchiveFailure::CannotOpen, {}, 0};
    return;
  }
  if (!file.exists && access == ArchiveAccess::Read) {
    error = {ArchiveFailure::NoArchive, {}, 0};
    return;
  }
  // SQLite writes its journal beside the file, so the folder must take new files too.
  writable_ = folder.writable && (!file.exists || file.writable);
  if (!writable_ && access == ArchiveAccess::Write) {
    error = {ArchiveFailure::ReadOnly, {}, 0};
    return;
  }
  const SchemaAccess schema{access == ArchiveAccess::Write, writable_};
  openSqlite(!writable_ ? "ro" : file.exists ? "rw" : "rwc", false, schema, target, error);
  const auto onlyTheDiskFailed = [&error] {
    return error && error.failure != ArchiveFailure::NotAnArchive && error.failure != ArchiveFailure::NewerSchema &&
           error.failure != ArchiveFailure::NoArchive;
  };
  // Looking needs no writing: where the journal cannot be written (a full disk, a folder that takes
  // no new file) the file is read as it is, and failing that as a file nobody changes meanwhile.
  if (access == ArchiveAccess::Read && onlyTheDiskFailed()) {
    writable_ = false;
    const SchemaAccess reading{false, false};
    openSqlite("ro", false, reading, target, error);
    if (onlyTheDiskFailed()) openSqlite("ro", true, reading, target, error);
  }
  if (!error) return;
  if ((error.failure == ArchiveFailure::CannotOpen || error.failure == ArchiveFailure::QueryFailed) &&
      freeBytes(folderOfName(path)) == 0)
    error.failure = ArchiveFailure::NoSpace;
  // An archive that could not be made leaves no empty file behind.
  if (!file.exists) {
    QSqlDatabase::database(name_, false).close();
    for (const QString& suffix : {QString(), QStringLiteral("-wal"), QStringLiteral("-shm"), QStringLiteral("-journal")})
      removeLocalFile(path + suffix);
  }
}

void Archive::openSqlite(const char* mode, bool immutable, const SchemaAccess& schema, int target, ArchiveError& error) {
  QSqlDatabase db = QSqlDatabase::database(name_, false);
  if (db.isValid()) {
    db.close();
  } else {
    db = QSqlDatabase::addDatabase(dialect_->driver, name_);
    db.setConnectOptions(dialect_->connectOptions);
  }
  db.setDatabaseName(sqliteUri(location_.path, mode, immutable));
  if (!db.open()) {
    error = queryFailed(db.lastError());
    if (error.failure == ArchiveFailure::QueryFailed) error.failure = ArchiveFailure::CannotOpen;
    return;
  }
  error = prepareArchiveSchema(db, *dialect_, schema, target);
}

int Archive::schemaVersion() {
  QSqlDatabase db = QSqlDatabase::database(name_, false);
  int version = -1;
  archiveSchemaVersion(db, version);
  return version;
}

ArchiveError Archive::beginWrite() {
  QSqlDatabase db = QSqlDatabase::database(name_, false);
  return runSql(db, dialect_->beginWrite);
}

void Archive::rollback() {
  QSqlDatabase db = QSqlDatabase::database(name_, false);
  runSql(db, QStringLiteral("ROLLBACK"));
}

ArchiveError Archive::import(const MeasurementSet& set, const QString& source, ImportOutcome& outcome,
                             const std::function<void(std::uint32_t)>& afterImpact) {
  outcome = {};
  const std::uint32_t n = set.count();
  outcome.impacts = n;
  // The columns are taken before the transaction, so it stays short for a second writer.
  std::vector<ArchiveImpact> rows(n);
  std::vector<qint64> seriesKeys(n);
  for (std::uint32_t i = 0; i < n; ++i) rows[i] = archiveImpactOf(set.record(i));
  for (std::uint32_t k = 0; k < set.seriesCount(); ++k)
    for (std::uint32_t i = set.seriesStart(k); i < set.seriesStart(k + 1); ++i) seriesKeys[i] = seriesKeyOf(rows[set.seriesStart(k)].hash);

  QSqlDatabase db = QSqlDatabase::database(name_, false);
  if (ArchiveError e = beginWrite()) return e;
  auto fail = [this](ArchiveError e) {
    rollback();
    return e;
  };
  QSqlQuery query(db);
  const QString now = QDateTime::currentDateTimeUtc().toString(Qt::ISODate);
  if (ArchiveError e = runSql(query,
                              QStringLiteral("INSERT INTO grx1_imports (imported_at, source, impacts, new_impacts) "
                                             "VALUES (?, ?, ?, 0) RETURNING id"),
                              {now, source.isEmpty() ? QStringLiteral("") : source, int(n)}))
    return fail(e);
  if (!query.next()) return fail(queryFailed(query.lastError()));
  outcome.importId = query.value(0).toLongLong();
  query.finish();  // an open statement would keep the commit from going through

  // Which impacts are kept already: most of a re-read, and then nothing needs to be sent again.
  QSet<QString> kept;
  for (std::uint32_t first = 0; first < n; first += kLookupChunk) {
    const int count = int(std::min<std::uint32_t>(kLookupChunk, n - first));
    QVariantList hashes;
    for (int j = 0; j < count; ++j) hashes << rows[first + j].hash;
    QSqlQuery lookup(db);
    lookup.setForwardOnly(true);
    if (ArchiveError e = runSql(lookup,
                                QStringLiteral("SELECT hash FROM grx1_impacts WHERE hash IN (%1)").arg(placeholders(count)),
                                hashes))
      return fail(e);
    while (lookup.next()) kept.insert(lookup.value(0).toString());
  }

  // The impacts to send, each once even when the set holds it twice.
  std::vector<std::uint32_t> fresh;
  for (std::uint32_t i = 0; i < n; ++i)
    if (!kept.contains(rows[i].hash)) {
      kept.insert(rows[i].hash);
      fresh.push_back(i);
    }
  // Several impacts per statement: a server's round trips, not its work, decide an import's time.
  // Another program may store the same impact meanwhile: the unique key keeps one, and the row
  // that loses is left out without an error.
  QSqlQuery insertRecords(db), insert(db);
  int preparedRows = 0;
  for (std::size_t first = 0; first < fresh.size(); first += kInsertBatch) {
    const int count = int(std::min<std::size_t>(kInsertBatch, fresh.size() - first));
    QVariantList records, impacts;
    for (int j = 0; j < count; ++j) {
      const std::uint32_t i = fresh[first + std::size_t(j)];
      const ArchiveImpact& a = rows[i];
      records << a.hash << QByteArray::fromRawData(reinterpret_cast<const char*>(set.record(i)), kRecordSize);
      impacts << a.hash << qint64(readU32(set.directory() + std::size_t(i) * kDirectoryEntrySize)) << a.takenAt
              << a.seriesNumber << a.impactNumber << seriesKeys[i] << a.material << a.object << a.namesFolded
              << numberOrNull(a.dynamicModulus) << numberOrNull(a.staticModulus) << optionalNumber(a.latitude)
              << optionalNumber(a.longitude) << outcome.importId << int(i);
    }
    // A statement is prepared once for each number of rows (all groups but the last are full).
    if (count != preparedRows) {
      preparedRows = count;
      QStringList recordRows, impactRows;
      for (int j = 0; j < count; ++j) {
        recordRows << QStringLiteral("(?, ?)");
        impactRows << u'(' + placeholders(15) + u')';
      }
      const QString onConflict = QStringLiteral(" ON CONFLICT (hash) DO NOTHING");
      if (!insertRecords.prepare(QStringLiteral("INSERT INTO grx1_records (hash, record) VALUES ") +
                                 recordRows.join(QStringLiteral(", ")) + onConflict))
        return fail(queryFailed(insertRecords.lastError()));
      if (!insert.prepare(QStringLiteral("INSERT INTO grx1_impacts (hash, entry, taken_at, series_number, impact_number, "
                                         "series_key, material, object, names_folded, dynamic_modulus, static_modulus, "
                                         "latitude, longitude, import_id, import_order) VALUES ") +
                          impactRows.join(QStringLiteral(", ")) + onConflict))
        return fail(queryFailed(insert.lastError()));
    }
    for (const QVariant& v : records) insertRecords.addBindValue(v);
    if (!insertRecords.exec()) return fail(queryFailed(insertRecords.lastError()));
    for (const QVariant& v : impacts) insert.addBindValue(v);
    if (!insert.exec()) return fail(queryFailed(insert.lastError()));
    outcome.added += std::uint32_t(std::max(insert.numRowsAffected(), 0));
    if (afterImpact) afterImpact(fresh[first + std::size_t(count) - 1]);
  }
  if (ArchiveError e = runSql(db, QStringLiteral("UPDATE grx1_imports SET new_impacts = ? WHERE id = ?"),
                              {int(outcome.added), outcome.importId}))
    return fail(e);
  if (ArchiveError e = runSql(db, QStringLiteral("COMMIT"))) return fail(e);
  return {};
}

}  // namespace grx
