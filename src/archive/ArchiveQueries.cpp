// What the archive is asked: the series matching a filter, the imports, the names, and a selection
// loaded into a measurement set.
#include "Archive.h"

#include "ArchiveImpact.h"
#include "ArchiveSelection.h"
#include "ArchiveSql.h"
#include "data/MeasurementSet.h"

#include <QHash>
#include <QSet>

#include <cstring>
#include <limits>

namespace grx {
namespace {

constexpr int kLoadChunk = 400;

struct Where {
  QString sql;  // " WHERE ..." or empty
  QVariantList values;
};

// The part of a name to look for, with LIKE's own characters taken literally.
QString likePattern(const QString& text) {
  QString escaped;
  for (const QChar c : foldedName(text)) {
    if (c == u'!' || c == u'%' || c == u'_') escaped += u'!';
    escaped += c;
  }
  return u'%' + escaped + u'%';
}

Where whereOf(const ArchiveFilter& f) {
  QStringList parts;
  Where w;
  auto add = [&](const char* sql, std::initializer_list<QVariant> values) {
    parts << QLatin1String(sql);
    for (const QVariant& v : values) w.values << v;
  };
  if (!f.object.isEmpty()) add("object = ?", {f.object});
  if (!f.material.isEmpty()) add("material = ?", {f.material});
  // The time stamps are text that sorts as time: a day's bounds are its first second and the next day.
  if (f.from) add("taken_at >= ?", {f.from->toString(Qt::ISODate)});
  if (f.to) add("taken_at < ?", {f.to->addDays(1).toString(Qt::ISODate)});
  if (!f.text.isEmpty()) add("names_folded LIKE ? ESCAPE '!'", {likePattern(f.text)});
  if (f.area)
    add("latitude >= ? AND latitude <= ? AND longitude >= ? AND longitude <= ?",
        {f.area->south, f.area->north, f.area->west, f.area->east});
  if (!parts.isEmpty()) w.sql = QStringLiteral(" WHERE ") + parts.join(QStringLiteral(" AND "));
  return w;
}

}  // namespace

ArchiveError Archive::listSeries(const ArchiveFilter& filter, std::vector<ArchiveSeries>& series) {
  series.clear();
  QSqlDatabase db = QSqlDatabase::database(name_, false);
  QSqlQuery query(db);
  query.setForwardOnly(true);
  const Where w = whereOf(filter);
  if (ArchiveError e = runSql(query,
                              QStringLiteral("SELECT series_key, MIN(taken_at), MIN(series_number), COUNT(*), "
                                             "AVG(dynamic_modulus), AVG(static_modulus), MIN(material), MIN(object), "
                                             "MIN(import_id), COUNT(dynamic_modulus), COUNT(static_modulus) "
                                             "FROM grx1_impacts") +
                                  w.sql + QStringLiteral(" GROUP BY series_key ORDER BY MIN(taken_at), series_key"),
                              w.values))
    return e;
  while (query.next()) {
    ArchiveSeries s;
    s.key = query.value(0).toLongLong();
    s.start = query.value(1).toString();
    s.seriesNumber = query.value(2).toInt();
    s.impacts = query.value(3).toInt();
    // A modulus that is no number (kept as none) makes the mean none, as in the series table.
    constexpr double kNone = std::numeric_limits<double>::quiet_NaN();
    s.meanDynamicModulus = query.value(9).toInt() < s.impacts ? kNone : query.value(4).toDouble();
    s.meanStaticModulus = query.value(10).toInt() < s.impacts ? kNone : query.value(5).toDouble();
    s.material = query.value(6).toString();
    s.object = query.value(7).toString();
    s.importId = query.value(8).toLongLong();
    series.push_back(std::move(s));
  }
  return {};
}

ArchiveError Archive::listImports(std::vector<ArchiveImport>& imports) {
  imports.clear();
  QSqlDatabase db = QSqlDatabase::database(name_, false);
  QSqlQuery query(db);
  query.setForwardOnly(true);
  if (ArchiveError e = runSql(query, QStringLiteral("SELECT id, imported_at, source, impacts, new_impacts "
                                                    "FROM grx1_imports ORDER BY id")))
    return e;
  while (query.next())
    imports.push_back({query.value(0).toLongLong(), query.value(1).toString(), query.value(2).toString(),
                       query.value(3).toInt(), query.value(4).toInt()});
  return {};
}

ArchiveError Archive::distinctNames(bool objects, QStringList& names) {
  names.clear();
  QSqlDatabase db = QSqlDatabase::database(name_, false);
  QSqlQuery query(db);
  query.setForwardOnly(true);
  const QString column = objects ? QStringLiteral("object") : QStringLiteral("material");
  if (ArchiveError e = runSql(query, QStringLiteral("SELECT DISTINCT %1 FROM grx1_impacts ORDER BY %1").arg(column)))
    return e;
  while (query.next()) names << query.value(0).toString();
  return {};
}

ArchiveError Archive::load(const ArchiveFilter& filter, const QList<qint64>& seriesKeys, MeasurementSet& staging,
                           QList<JoinedSeries>* joined) {
  QSqlDatabase db = QSqlDatabase::database(name_, false);
  // First which impacts, in time order (a light query), so an oversized selection is said before
  // any record is fetched.
  const QSet<qint64> wanted(seriesKeys.begin(), seriesKeys.end());
  std::vector<SelectedImpact> selected;
  QStringList timeOrderHashes;
  std::vector<std::uint32_t> timeOrderEntries;
  {
    QSqlQuery query(db);
    query.setForwardOnly(true);
    const Where w = whereOf(filter);
    if (ArchiveError e = runSql(query,
                                QStringLiteral("SELECT hash, series_key, entry, series_number, taken_at FROM grx1_impacts") +
                                    w.sql + QStringLiteral(" ORDER BY taken_at, import_id, import_order"),
                                w.values))
      return e;
    while (query.next()) {
      const qint64 key = query.value(1).toLongLong();
      if (!wanted.isEmpty() && !wanted.contains(key)) continue;
      timeOrderHashes << query.value(0).toString();
      timeOrderEntries.push_back(std::uint32_t(query.value(2).toLongLong()));
      selected.push_back({key, query.value(3).toInt(), query.value(4).toString()});
    }
  }
  if (timeOrderHashes.size() > kMaxRecords) return {ArchiveFailure::TooLarge, {}, std::uint32_t(timeOrderHashes.size())};
  // Each series whole: the impacts of testers that measured at the same time interleave in time.
  const SelectionOrder order = selectionOrder(selected);
  if (joined) *joined = order.joined;
  QStringList hashes;
  std::vector<std::uint32_t> entries;
  hashes.reserve(timeOrderHashes.size());
  entries.reserve(order.order.size());
  for (const std::uint32_t i : order.order) {
    hashes << timeOrderHashes[qsizetype(i)];
    entries.push_back(timeOrderEntries[i]);
  }

  QHash<QString, int> position;
  position.reserve(hashes.size());
  for (int i = 0; i < hashes.size(); ++i) position.insert(hashes[i], i);
  std::vector<bool> filled(hashes.size(), false);
  for (int first = 0; first < hashes.size(); first += kLoadChunk) {
    const int count = std::min<int>(kLoadChunk, int(hashes.size()) - first);
    QSqlQuery query(db);
    query.setForwardOnly(true);
    const QVariantList values(hashes.begin() + first, hashes.begin() + first + count);
    if (ArchiveError e = runSql(query,
                                QStringLiteral("SELECT hash, record FROM grx1_records WHERE hash IN (%1)")
                                    .arg(placeholders(count)),
                                values))
      return e;
    while (query.next()) {
      const int i = position.value(query.value(0).toString(), -1);
      const QByteArray record = query.value(1).toByteArray();
      if (i < 0 || record.size() != kRecordSize) return {ArchiveFailure::NotAnArchive, {}, 0};
      std::memcpy(staging.record(std::uint32_t(i)), record.constData(), kRecordSize);
      writeU32(staging.directory() + std::size_t(i) * kDirectoryEntrySize, entries[std::size_t(i)]);
      filled[std::size_t(i)] = true;
    }
  }
  // An impact removed by another program between the two queries would leave a hole.
  for (bool f : filled)
    if (!f) return {ArchiveFailure::QueryFailed, {}, 0};
  const std::size_t used = std::size_t(hashes.size()) * kDirectoryEntrySize;
  std::memset(staging.directory() + used, 0, std::size_t(kDirectorySize) - used);
  staging.clear();
  staging.setCount(std::uint32_t(hashes.size()));
  staging.buildSeries();
  return {};
}

}  // namespace grx
