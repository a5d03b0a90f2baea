#pragma once
// Small helpers of the archive's statements: every value goes in as a bound parameter.
#include "ArchiveError.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>
#include <QVariantList>

namespace grx {

inline ArchiveError queryFailed(const QSqlError& error) {
  return {ArchiveFailure::QueryFailed, error.text().simplified(), 0};
}

// Prepares and runs one statement with its values in order; `query` keeps the result. A statement
// without values runs as it is (PostgreSQL prepares no BEGIN, COMMIT or table definition).
inline ArchiveError runSql(QSqlQuery& query, const QString& sql, const QVariantList& values = {}) {
  if (values.isEmpty()) return query.exec(sql) ? ArchiveError{} : queryFailed(query.lastError());
  if (!query.prepare(sql)) return queryFailed(query.lastError());
  for (const QVariant& v : values) query.addBindValue(v);
  if (!query.exec()) return queryFailed(query.lastError());
  return {};
}

inline ArchiveError runSql(QSqlDatabase& db, const QString& sql, const QVariantList& values = {}) {
  QSqlQuery query(db);
  return runSql(query, sql, values);
}

// "?, ?, ..." for n values.
inline QString placeholders(int n) {
  QString text;
  text.reserve(n * 3);
  for (int i = 0; i < n; ++i) text += i ? QStringLiteral(", ?") : QStringLiteral("?");
  return text;
}

}  // namespace grx
