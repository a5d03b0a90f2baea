#pragma once
// Captions of the main window's menus, actions and check-box hints in both languages, keyed by the
// object names of the actions and menus. The menu fill walks this table.
#include "platform/TextPair.h"

#include <QString>

#include <span>

namespace grx {

struct MenuText {
  const char* name;  // object name of the action, menu or check box
  TextPair text;
};

// Every element the menu fill captions, in one table.
std::span<const MenuText> menuTexts();

// The caption of one element, or an empty text for a name the table does not hold.
QString menuText(const char* name, Language language);

}  // namespace grx
