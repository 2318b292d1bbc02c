#pragma once
// The page the relayout target re-lays out: a control of every predefined class, some
// showing images, with the identifiers 1001 to 1011, at the places a shift moves them.
#include "platform/ui/DialogBytes.h"

namespace korvyn::fuzz {

inline std::vector<BYTE> RelayoutPageTemplate(short shift = 0) {
    using korvyn::test::DialogBytes;
    const DWORD child = WS_CHILD | WS_VISIBLE;
    const short s = shift;
    return DialogBytes(
        DS_SETFONT | WS_CHILD, 157, 133, u"",
        {{child | BS_PUSHBUTTON, short(4 + s), 4, 40, 14, 1001, WORD(0x80), u"Push"},
         {child | BS_AUTOCHECKBOX, 4, short(20 + s), 40, 14, 1002, WORD(0x80), u"Check"},
         {child | BS_BITMAP, 4, 36, short(20 + s), 20, 1003, WORD(0x80), WORD(210)},
         {child | SS_LEFT, 50, 4, 50, short(8 + s), 1004, WORD(0x82), u"Static"},
         {child | SS_BITMAP, short(50 - s), 14, 20, 20, 1005, WORD(0x82), WORD(211)},
         {child | SS_ICON, 50, short(36 - s), 20, 20, 1006, WORD(0x82), WORD(1)},
         {child | WS_BORDER, 4, 60, short(60 - s), 12, 1007, WORD(0x81), u"edit"},
         {child | WS_VSCROLL, 70, 60, 60, short(40 - s), 1008, WORD(0x83), u""},
         {child | CBS_DROPDOWNLIST, short(4 + 2 * s), 76, 60, 30, 1009, WORD(0x85), u""},
         {child, 140, short(4 + 2 * s), 10, 60, 1010, WORD(0x84), u""},
         {child | LVS_REPORT | LVS_OWNERDATA, 4, 100, short(140 - 2 * s), 30, 1011,
          u"SysListView32", u""}});
}

} // namespace korvyn::fuzz
