#include "TextPair.h"

#include <atomic>

namespace grx {
namespace {
// Written on the user-interface thread only; atomic so the device worker may read it for its
// status texts without a data race.
std::atomic<Language> g_language{Language::Russian};
}  // namespace

Language currentLanguage() { return g_language.load(std::memory_order_acquire); }
void setCurrentLanguage(Language language) { g_language.store(language, std::memory_order_release); }

QString TextPair::text() const { return text(currentLanguage()); }

}  // namespace grx
