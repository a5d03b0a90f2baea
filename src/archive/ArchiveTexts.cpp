#include "ArchiveTexts.h"

#include "Archive.h"
#include "data/MeasurementSet.h"

#include <QDateTime>
#include <QFileInfo>

namespace grx {
namespace {

QString pick(Language language, const char* ru, const char* en) { return TextPair{ru, en}.text(language); }

}  // namespace

QString archiveErrorText(const ArchiveError& error, const QString& where, Language l) {
  const QString detail = error.detail.isEmpty() ? QString() : QStringLiteral(" (") + error.detail + u')';
  switch (error.failure) {
    case ArchiveFailure::None:
      return {};
    case ArchiveFailure::BadLocation:
      return pick(l, "Адрес архива \"%1\" не является ни именем файла, ни адресом postgresql://",
                  "The archive address \"%1\" is neither a file name nor a postgresql:// address")
          .arg(where);
    case ArchiveFailure::PasswordInUrl:
      return pick(l, "Пароль не записывается в адрес архива: укажите его в ~/.pgpass или в PGPASSWORD",
                  "A password does not belong in the archive address: put it in ~/.pgpass or PGPASSWORD");
    case ArchiveFailure::NoDriver:
      return pick(l, "Нет драйвера базы данных %1 (пакеты libqt6sql6-sqlite, libqt6sql6-psql)",
                  "No database driver %1 (packages libqt6sql6-sqlite, libqt6sql6-psql)")
          .arg(error.detail);
    case ArchiveFailure::CannotOpen:
      return pick(l, "Архив \"%1\" недоступен", "The archive \"%1\" cannot be opened").arg(where) + detail;
    case ArchiveFailure::NotAnArchive:
      return pick(l, "\"%1\" испорчен или не является архивом программы; он оставлен без изменений",
                  "\"%1\" is damaged or not an archive of this program; it was left as it is")
          .arg(where);
    case ArchiveFailure::NewerSchema:
      return pick(l, "Архив \"%1\" создан более новой версией программы (версия архива %2); он оставлен без изменений",
                  "The archive \"%1\" was made by a newer version of the program (archive version %2); it was left as it is")
          .arg(where)
          .arg(error.count);
    case ArchiveFailure::QueryFailed:
      return pick(l, "Ошибка архива \"%1\"; ничего не изменено", "The archive \"%1\" failed; nothing was changed")
                 .arg(where) +
             detail;
    case ArchiveFailure::TooLarge:
      return pick(l, "Выбрано ударов: %1, а файл проекта вмещает не более %2. Сузьте выбор.",
                  "The selection holds %1 impacts; a project file holds at most %2. Narrow the selection.")
          .arg(error.count)
          .arg(kMaxRecords);
  }
  return {};
}

QString importOutcomeText(const ImportOutcome& outcome, Language l) {
  return pick(l, "Архив: новых ударов %1 из %2", "Archive: %1 new impacts of %2").arg(outcome.added).arg(outcome.impacts);
}

QString importText(const ArchiveImport& import, Language l) {
  const QDateTime at = QDateTime::fromString(import.importedAt, Qt::ISODate).toLocalTime();
  const QString when = at.toString(l == Language::Russian ? QStringLiteral("dd.MM.yyyy hh:mm") : QStringLiteral("MM.dd.yyyy hh:mm"));
  const QString what = import.source.isEmpty() ? pick(l, "чтение из прибора", "read from tester")
                                               : QFileInfo(import.source).fileName();
  return when + QStringLiteral(", ") + what;
}

}  // namespace grx
