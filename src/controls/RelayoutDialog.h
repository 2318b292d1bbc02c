#pragma once
// Moves the controls of an open window to the places another of its dialog templates
// gives them, so that the window follows a rotation of the screen without being created
// again. Buttons and statics also take their template text (or image) again, list and
// combo boxes keep their selection. Template items without a control of their identifier
// in the window are skipped; a missing or malformed template changes nothing.
#include "platform/ui/WinUser.h"

void RelayoutDialog(HINSTANCE module, HWND window, UINT templateId);
