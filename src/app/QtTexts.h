#pragma once
// Qt's own texts (the standard buttons of message boxes, the file dialogs, the overwrite question)
// in the program's language: Qt's Russian translation is loaded with the Russian interface.
#include "platform/TextPair.h"

namespace grx {

// Returns false when Russian was asked for and Qt's translation could not be found.
bool applyQtTexts(Language language);

}  // namespace grx
