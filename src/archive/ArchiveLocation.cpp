#include "ArchiveLocation.h"

#include "platform/AppPaths.h"

#include <QUrl>
#include <QUrlQuery>

namespace grx {

std::optional<ArchiveLocation> parseArchiveLocation(const QString& text, LocationProblem* problem) {
  auto fail = [problem](LocationProblem p) {
    if (problem) *problem = p;
    return std::nullopt;
  };
  if (problem) *problem = LocationProblem::None;
  ArchiveLocation location;
  location.display = text;
  const bool url = text.startsWith(QLatin1String("postgresql://"), Qt::CaseInsensitive) ||
                   text.startsWith(QLatin1String("postgres://"), Qt::CaseInsensitive);
  if (!url) {
    if (text.trimmed().isEmpty()) return fail(LocationProblem::NotAUrl);
    location.path = text;
    return location;
  }
  const QUrl parsed(text, QUrl::StrictMode);
  if (!parsed.isValid()) return fail(LocationProblem::NotAUrl);
  if (!parsed.password().isEmpty()) return fail(LocationProblem::PasswordInUrl);
  location.engine = ArchiveEngine::Postgres;
  location.host = parsed.host();
  location.port = parsed.port(-1);
  location.user = parsed.userName();
  location.database = parsed.path().mid(1);  // the path's leading "/"
  if (location.database.contains(u'/')) return fail(LocationProblem::NotAUrl);
  // An unreachable server should be said within seconds, not after the system's long time-out.
  QString timeout = QStringLiteral("5");
  QString sslmode;
  for (const auto& [key, value] : QUrlQuery(parsed).queryItems(QUrl::FullyDecoded)) {
    if (key == u"connect_timeout") timeout = value;
    else if (key == u"sslmode") sslmode = value;
    else return fail(LocationProblem::NotAUrl);
    // The driver's option list is parted by ";": a value holding one could add options.
    if (value.contains(u';') || value.contains(u'=') || value.contains(u' ')) return fail(LocationProblem::NotAUrl);
  }
  location.options = QStringLiteral("connect_timeout=") + timeout;
  if (!sslmode.isEmpty()) location.options += QStringLiteral(";sslmode=") + sslmode;
  return location;
}

QString defaultArchivePath(const QString& dataFolder) {
  return dataFolder + pathSeparator() + QStringLiteral("archive.sqlite");
}

}  // namespace grx
