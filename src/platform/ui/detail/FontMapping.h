#pragma once
// Private: logical fonts on Qt, by the handheld's rules. A positive height is the cell
// (the face's Windows ascent plus descent), so the em is height x unitsPerEm /
// (usWinAscent + usWinDescent) of the face in use; a negative height is the em. Text is
// laid out with the face's design advance widths at that em, not widened by hinting.
#include "platform/ui/WinGdi.h"

#include <QFont>
#include <QString>

namespace korvyn::platform {

// A font's cell as the handheld reports it, in pixels.
struct FontCell {
    int ascent = 0;          // the face's Windows ascent at the em
    int descent = 0;         // its Windows descent
    int internalLeading = 0; // the cell above the em
    int averageWidth = 0;    // the face's average character width at the em
    // Extra copies of the text drawn one pixel further right each: the emboldening of a
    // bold face whose strokes are no heavier than the regular face's.
    int overstrike = 0;
    int height() const { return ascent + descent; }
};

// The one mapping from a logical font to a Qt font and its cell. "Tahoma", "MS Shell
// Dlg" and "MS Sans Serif" become the dialog face.
QFont QtFontFor(const LOGFONT& lf, FontCell& cell);
// The face used for "Tahoma" and "MS Shell Dlg": Tahoma when its files could be loaded,
// DejaVu Sans otherwise.
QString DialogFaceName();

} // namespace korvyn::platform
