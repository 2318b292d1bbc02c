#pragma once
// Moves the controls of an open window to the places another of its dialog templates
// gives them, so that the window follows a rotation of the screen without being created
// again. Buttons and statics also take their template text (or image) again, list and
// combo boxes keep their selection. Template items without a control of their identifier
// in the window are skipped; a missing or malformed template changes nothing. On a screen
// of another resolution the window and the controls in its font take the template's font
// at the new size.
#include "platform/ui/WinUser.h"

void RelayoutDialog(HINSTANCE module, HWND window, UINT templateId);

// Which of its three layouts a window takes on a screen of this size. Equal sides are
// square. Otherwise a window being made judges by height alone (under 320 pixels is
// landscape), a rotation by which side is longer.
enum class ScreenShape { Portrait, Landscape, Square };
ScreenShape ShapeOfScreen(int width, int height, bool rotation);

// The template of a window's layout for that shape.
inline UINT TemplateForShape(ScreenShape shape, UINT portrait, UINT landscape, UINT square) {
    return shape == ScreenShape::Square      ? square
           : shape == ScreenShape::Landscape ? landscape
                                             : portrait;
}
