#pragma once
// One open archive: a named connection of the thread that opened it (Qt SQL connections belong to
// their thread), so an import thread opens an Archive of its own.
#include "ArchiveError.h"
#include "ArchiveSelection.h"
#include "ArchiveLocation.h"

#include <QDate>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace grx {

class MeasurementSet;
struct ArchiveDialect;
struct SchemaAccess;

// Which impacts a list, an export or an open takes. Empty texts and missing dates take all.
struct ArchiveFilter {
  QString object;    // the whole name
  QString material;  // the whole name
  std::optional<QDate> from, to;  // the tester's date, both days included
  QString text;      // a part of either name, regardless of case
  struct Area {
    double south, north, west, east;  // decimal degrees
  };
  std::optional<Area> area;  // only impacts with a position inside
};

// One series of the archive: the impacts of a series as the tester wrote them, kept together across
// re-reads (they carry the key of the series' first impact).
struct ArchiveSeries {
  qint64 key = 0;
  QString start;  // the first impact's time stamp, "YYYY-MM-DD hh:mm:ss"
  int seriesNumber = 0;
  int impacts = 0;  // that match the filter
  double meanDynamicModulus = 0;
  double meanStaticModulus = 0;
  QString material;
  QString object;
  qint64 importId = 0;  // the import that first brought it
};

struct ArchiveImport {
  qint64 id = 0;
  QString importedAt;  // UTC, "YYYY-MM-DDThh:mm:ssZ"
  QString source;      // the file; empty for a read from the tester
  int impacts = 0;
  int newImpacts = 0;
};

struct ImportOutcome {
  std::uint32_t impacts = 0;
  std::uint32_t added = 0;  // impacts the archive did not hold before
  qint64 importId = 0;
};

// What an archive is opened for. Reading never makes an archive (a misspelt name must not leave an
// empty one behind) and takes one that may not be written; adding makes a missing SQLite file and
// its tables, and needs the file, its folder and its disk writable.
enum class ArchiveAccess { Read, Write };

class Archive {
 public:
  ~Archive();
  Archive(const Archive&) = delete;
  Archive& operator=(const Archive&) = delete;

  // Opens and, where it may be written, brings the tables up to date. `schemaVersion` other than
  // the current one is for tests of the upgrade.
  static std::unique_ptr<Archive> open(const QString& connection, ArchiveError& error,
                                       ArchiveAccess access = ArchiveAccess::Write, int schemaVersion = 0);

  const ArchiveLocation& location() const { return location_; }
  // False for an archive that could only be opened for reading.
  bool writable() const { return writable_; }
  int schemaVersion();

  // Adds the set's impacts in one transaction: all of them or, on any failure, none. `source` is
  // the file's name, empty for a read. `afterImpact` (for tests) runs after each group of impacts
  // sent, with the index of the last one.
  ArchiveError import(const MeasurementSet& set, const QString& source, ImportOutcome& outcome,
                      const std::function<void(std::uint32_t)>& afterImpact = {});

  // The series that hold impacts matching the filter, in time order.
  ArchiveError listSeries(const ArchiveFilter& filter, std::vector<ArchiveSeries>& series);
  ArchiveError listImports(std::vector<ArchiveImport>& imports);
  // The names kept, for the filters' lists.
  ArchiveError distinctNames(bool objects, QStringList& names);

  // The impacts matching the filter (of the series with the given keys only, when any are given)
  // into `staging`, each series whole and the series in time order (ArchiveSelection), with the
  // directory entries they came with. `joined` receives the series that could not be kept apart. More than a project
  // file holds is TooLarge with the count. `staging` is a set other than the one shown: its content
  // only counts when nothing failed.
  ArchiveError load(const ArchiveFilter& filter, const QList<qint64>& seriesKeys, MeasurementSet& staging,
                    QList<JoinedSeries>* joined = nullptr);

  // The SQL connection, for tests that look at the tables.
  QString connectionName() const { return name_; }

 private:
  Archive(QString name, ArchiveLocation location);
  void openSqliteFile(ArchiveAccess access, int target, ArchiveError& error);
  void openSqlite(const char* mode, bool immutable, const SchemaAccess& schema, int target, ArchiveError& error);
  ArchiveError beginWrite();
  void rollback();

  QString name_;
  ArchiveLocation location_;
  std::unique_ptr<ArchiveDialect> dialect_;
  bool writable_ = true;
};

}  // namespace grx
