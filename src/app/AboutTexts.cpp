#include "AboutTexts.h"

#include "BuildInfo.h"

#include <cstdio>
#include <cstring>

namespace grx {

AboutInfo programAboutInfo() {
  AboutInfo info;
  info.internalName = QString::fromUtf8(GRX1_INTERNAL_NAME);
  info.fileVersion = QString::fromUtf8(GRX1_FILE_VERSION);
  info.buildDate = QString::fromLatin1(__DATE__);
  info.legalCopyright = QString::fromUtf8(GRX1_LEGAL_COPYRIGHT);
  info.legalCopyrightEn = QString::fromUtf8(GRX1_LEGAL_COPYRIGHT_EN);
  info.phone = QString::fromUtf8(GRX1_MAKER_PHONE);
  info.www = QString::fromUtf8(GRX1_MAKER_WWW);
  info.email = QString::fromUtf8(GRX1_MAKER_EMAIL);
  info.supportEmail = QString::fromUtf8(GRX1_MAKER_SUPPORT_EMAIL);
  return info;
}

QString aboutDateText(const QString& buildDate, Language language) {
  char month[4] = {};
  char day[3] = {};
  char year[5] = {};
  const QByteArray text = buildDate.toLatin1();
  if (std::sscanf(text.constData(), "%3s %2s %4s", month, day, year) != 3) return {};
  if (language == Language::English)
    return QStringLiteral(", ") + QString::fromLatin1(day) + u' ' + QString::fromLatin1(month) + u' ' +
           QString::fromLatin1(year);
  static const char* const kMonths[12][2] = {
      {"Jan", " января "}, {"Feb", " февраля "}, {"Mar", " марта "},    {"Apr", " апреля "},
      {"May", " мая "},    {"Jun", " июня "},    {"Jul", " июля "},     {"Aug", " августа "},
      {"Sep", " сентября "}, {"Oct", " октября "}, {"Nov", " ноября "}, {"Dec", " декабря "}};
  const char* genitive = kMonths[0][1];
  for (const auto& m : kMonths)
    if (std::strcmp(month, m[0]) == 0) genitive = m[1];
  return QStringLiteral(" от ") + QString::fromLatin1(day) + QString::fromUtf8(genitive) + QString::fromLatin1(year) +
         QStringLiteral(" г.");
}

QString aboutVersionLine(const AboutInfo& info, Language language) {
  constexpr TextPair kVersion{"Версия ", "Version "};
  return kVersion.text(language) + info.fileVersion + aboutDateText(info.buildDate, language);
}

QString aboutCaption(const AboutInfo& info, Language language) {
  constexpr TextPair kAbout{"О программе ", "About "};
  return kAbout.text(language) + info.internalName;
}

QString aboutCopyright(const AboutInfo& info, Language language) {
  return language == Language::Russian ? info.legalCopyright : info.legalCopyrightEn;
}

}  // namespace grx
