#include "QtTexts.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace grx {

bool applyQtTexts(Language language) {
  static QTranslator* translator = nullptr;
  if (translator) {
    QCoreApplication::removeTranslator(translator);
  } else {
    translator = new QTranslator(QCoreApplication::instance());
  }
  if (language != Language::Russian) return true;
  // Beside the program first (a copy on Windows carries its own), then Qt's installed ones.
  const QString folders[] = {QCoreApplication::applicationDirPath() + QStringLiteral("/translations"),
                             QLibraryInfo::path(QLibraryInfo::TranslationsPath)};
  for (const QString& folder : folders) {
    if (translator->load(QLocale(QLocale::Russian, QLocale::Russia), QStringLiteral("qtbase"), QStringLiteral("_"),
                         folder)) {
      QCoreApplication::installTranslator(translator);
      return true;
    }
  }
  return false;
}

}  // namespace grx
