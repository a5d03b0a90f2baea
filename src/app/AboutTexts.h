#pragma once
// The texts of the About box: the version line with the build date in each language, the caption,
// the labels, and the program's version information (set when the program is built).
#include "platform/TextPair.h"

#include <QString>

namespace grx {

// What the program file says about itself. Empty texts are rows the About box does not show.
struct AboutInfo {
  QString internalName;      // for the caption
  QString fileVersion;       // "1.0.0"
  QString buildDate;         // "Mmm dd yyyy", as the compiler writes it
  QString legalCopyright;    // the Russian legal notice
  QString legalCopyrightEn;  // its Latin-script line for the English window
  QString phone;
  QString www;
  QString email;
  QString supportEmail;
};

// The version information of this build (project version, build date, the maker's texts).
AboutInfo programAboutInfo();

// The date part of the version line from "Mmm dd yyyy": English ", 16 Feb 2017", Russian
// " от 16 февраля 2017 г."; an unknown month reads as January in Russian and as written in
// English. Empty when the text does not hold the three fields.
QString aboutDateText(const QString& buildDate, Language language);
// "Version 1.0.0, 16 Feb 2017" / "Версия 1.0.0 от 16 февраля 2017 г."
QString aboutVersionLine(const AboutInfo& info, Language language);
// "About NAME" / "О программе NAME"
QString aboutCaption(const AboutInfo& info, Language language);
// The legal notice line in the language.
QString aboutCopyright(const AboutInfo& info, Language language);

inline constexpr TextPair kAboutDesignCaption{"О программе...", "О программе..."};
inline constexpr TextPair kAboutPhoneLabel{"тел./факс.:", "Phone/Fax:"};
inline constexpr TextPair kAboutMultiLine{"(многоканальный)", "(multi-line)"};
inline constexpr TextPair kAboutSiteLabel{"Сайт:", "Site:"};
inline constexpr TextPair kAboutGeneralLabel{"Общие вопросы:", "General questions:"};
inline constexpr TextPair kAboutSupportLabel{"Техподдержка:", "Technical Support:"};
inline constexpr TextPair kAboutWriteLetter{"Написать письмо", "Write a letter"};

}  // namespace grx
