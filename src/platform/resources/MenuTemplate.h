#pragma once
// Menu resources: the standard menu template (a 4-byte header, then items, each a flags
// word, a command identifier unless it opens a popup, and a NUL-terminated UTF-16 text;
// a popup's items follow it; the last item of each level carries the end flag).
#include "platform/WinTypes.h"

#include <cstddef>
#include <string>
#include <vector>

namespace korvyn::platform {

struct MenuItem {
    WORD flags = 0; // MF_POPUP, MF_GRAYED, MF_CHECKED...; the end flag is removed
    WORD id = 0;    // command identifier; 0 for popups and separators
    std::u16string text;
    std::vector<MenuItem> children; // the popup's items

    bool IsPopup() const;
    bool IsSeparator() const { return !IsPopup() && id == 0 && text.empty(); }
};

// The top-level items of a menu template. False for anything malformed: a wrong header,
// an item or text running past the end, a level without its end flag, popups nested
// deeper than a menu can reasonably go. out is left as it was then.
bool ParseMenuTemplate(const BYTE* data, std::size_t size, std::vector<MenuItem>& out);

} // namespace korvyn::platform
