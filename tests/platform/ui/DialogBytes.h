#pragma once
// Dialog templates built byte by byte for the tests, in the classic template layout.
#include "platform/ui/WinUser.h"
#include "support/ResBuilder.h"

#include <string>
#include <variant>
#include <vector>

namespace korvyn::test {

using Field = std::variant<WORD, std::u16string>; // number (0xFFFF marker) or text

struct ItemBytes {
    DWORD style;
    short x, y, cx, cy;
    WORD id;
    Field windowClass;
    Field text;
    std::vector<BYTE> extra = {};
};

inline void PutField(std::vector<BYTE>& out, const Field& f) {
    if (const WORD* id = std::get_if<WORD>(&f)) {
        PutWord(out, 0xFFFF);
        PutWord(out, *id);
    } else {
        PutText(out, std::get<std::u16string>(f));
    }
}

// The font, with DS_SETFONT, is 8-point MS Shell Dlg.
inline std::vector<BYTE> DialogBytes(DWORD style, short cx, short cy, const std::u16string& caption,
                                     const std::vector<ItemBytes>& items) {
    std::vector<BYTE> out;
    PutDword(out, style);
    PutDword(out, 0);
    PutWord(out, static_cast<WORD>(items.size()));
    for (short v : {short(0), short(0), cx, cy, short(0), short(0)}) // no menu, standard class
        PutWord(out, static_cast<WORD>(v));
    PutText(out, caption);
    if (style & DS_SETFONT) {
        PutWord(out, 8);
        PutText(out, u"MS Shell Dlg");
    }
    for (const ItemBytes& item : items) {
        out.resize((out.size() + 3) / 4 * 4);
        PutDword(out, item.style);
        PutDword(out, 0);
        for (short v : {item.x, item.y, item.cx, item.cy})
            PutWord(out, static_cast<WORD>(v));
        PutWord(out, item.id);
        PutField(out, item.windowClass);
        PutField(out, item.text);
        PutWord(out, static_cast<WORD>(item.extra.size()));
        out.insert(out.end(), item.extra.begin(), item.extra.end());
    }
    return out;
}

} // namespace korvyn::test
