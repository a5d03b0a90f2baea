#include "ArchiveTexts.h"

#include "Archive.h"
#include "ArchiveLocation.h"
#include "data/MeasurementSet.h"

#include <QDateTime>
#include <QFileInfo>

namespace grx {
namespace {

QString pick(Language language, const char* ru, const char* en) { return TextPair{ru, en}.text(language); }

}  // namespace

QString archiveErrorText(const ArchiveError& error, const QString& address, Language l) {
  // No message ever shows a password, however the address was written.
  const QString where = redactedArchiveAddress(address);
  const QString detail =
      error.detail.isEmpty() ? QString() : QStringLiteral(" (") + redactedArchiveAddress(error.detail) + u')';
  switch (error.failure) {
    case ArchiveFailure::None:
      return {};
    case ArchiveFailure::BadLocation:
      return pick(l, "Адрес архива \"%1\" не является ни именем файла, ни адресом postgresql://",
                  "The archive address \"%1\" is neither a file name nor a postgresql:// address")
          .arg(where);
    case ArchiveFailure::BadTimeout:
      return pick(l, "connect_timeout в адресе архива \"%1\" задаётся целым числом секунд от 1 до %2",
                  "connect_timeout in the archive address \"%1\" takes whole seconds from 1 to %2")
          .arg(where)
          .arg(kMaxConnectTimeout);
    case ArchiveFailure::NoArchive:
      return pick(l, "Архива \"%1\" нет; он создаётся при добавлении измерений",
                  "There is no archive at \"%1\"; adding measurements makes one")
          .arg(where);
    case ArchiveFailure::NoSpace:
      return pick(l, "Нет места на диске для архива \"%1\"; ничего не изменено",
                  "No space left on the disk for the archive \"%1\"; nothing was changed")
                 .arg(where) +
             detail;
    case ArchiveFailure::ReadOnly:
      return pick(l,
                  "Архив \"%1\" только для чтения (файл, папка или диск защищены от записи): его можно "
                  "просматривать и открывать, но не пополнять",
                  "The archive \"%1\" is read-only (the file, its folder or its disk may not be written): it can be "
                  "listed and opened, but nothing can be added")
                 .arg(where) +
             detail;
    case ArchiveFailure::PermissionDenied:
      return pick(l, "Доступ к архиву \"%1\" запрещён", "Access to the archive \"%1\" was denied").arg(where) + detail;
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

namespace grx {

QString joinedSeriesText(const JoinedSeries& joined, Language l) {
  const QString format = l == Language::Russian ? QStringLiteral("dd.MM.yyyy hh:mm:ss") : QStringLiteral("MM.dd.yyyy hh:mm:ss");
  auto when = [&format](const QString& stamp) {
    return QDateTime::fromString(stamp, QStringLiteral("yyyy-MM-dd hh:mm:ss")).toString(format);
  };
  return pick(l, "Серии %1 от %2 и от %3 оказались рядом и читаются как одна серия",
              "Series %1 of %2 and of %3 lie next to each other and read as one series")
      .arg(joined.seriesNumber)
      .arg(when(joined.firstStart), when(joined.secondStart));
}

}  // namespace grx
