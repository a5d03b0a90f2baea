#pragma once
// Every text the user sees exists in Russian and English. A TextPair holds both; the current
// language picks one when the text is shown, so a language switch needs no other bookkeeping.
#include <QString>

#include <cstdint>

namespace grx {

enum class Language : std::uint8_t { Russian = 0, English = 1 };

struct TextPair {
  const char* ru;  // UTF-8
  const char* en;  // UTF-8

  QString text(Language language) const { return QString::fromUtf8(language == Language::Russian ? ru : en); }
  QString text() const;  // in the current language
};

// The language of the running program: Russian until the start-up chooses one.
Language currentLanguage();
void setCurrentLanguage(Language language);

}  // namespace grx
