#pragma once
// The language menu of the options page and what choosing from it does. The menu offers
// every language but the one stored in the settings; a choice is confirmed by the user,
// stored with SetValue(5, L) and takes effect at the next start, since the running
// program keeps the texts it loaded.
#include "platform/ui/CWnd.h"

class CSettings;

namespace korvyn {

// Shows menu 175 without the item of the stored language (a language outside 0 to 12
// leaves out "&English"), its bottom-left corner at the screen point `corner`. The
// chosen command reaches `owner` as WM_COMMAND once the menu has closed. False when the
// menu resource is missing or nothing was chosen.
bool ShowLanguageMenu(const CSettings& settings, CWnd* owner, CPoint corner);

// A command of the language menu (32774 to 32787): asks whether to switch to that
// language and, after Yes, stores it and tells the user to restart. True when the
// language was stored; false for No and for commands that are not languages.
bool ChooseLanguage(CSettings& settings, UINT command);

} // namespace korvyn
