#pragma once
// Small helpers of the archive's statements: every value goes in as a bound parameter.
#include "ArchiveError.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>
#include <QVariantList>

namespace grx {

// What a failed statement or connection means for the user. The drivers give SQLite's result code
// (a small number) or PostgreSQL's five-character SQLSTATE.
ArchiveFailure failureOf(const QSqlError& error);

// The driver's words in one line (a lost server's text comes in several).
inline QString driverText(const QSqlError& error) { return error.text().simplified(); }

inline ArchiveError queryFailed(const QSqlError& error) { return {failureOf(error), driverText(error), 0}; }

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
