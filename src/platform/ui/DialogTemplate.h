#pragma once
// A dialog template resource parsed into plain values, before any window exists.
// Both layouts are read: the classic one (header style first) and the extended one that
// starts with the version 1 / signature 0xFFFF words.
#include "platform/WinTypes.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace korvyn::platform {

// A template field that is either a number (marker 0xFFFF and a 16-bit value) or a text.
struct NameOrId {
    bool isId = false;
    WORD id = 0;
    std::u16string text;

    bool empty() const { return !isId && text.empty(); }
    bool operator==(const NameOrId&) const = default;
};

// Class numbers of the predefined control classes.
constexpr WORD kButtonAtom = 0x0080;
constexpr WORD kEditAtom = 0x0081;
constexpr WORD kStaticAtom = 0x0082;
constexpr WORD kListBoxAtom = 0x0083;
constexpr WORD kScrollBarAtom = 0x0084;
constexpr WORD kComboBoxAtom = 0x0085;

struct DialogItemTemplate {
    DWORD style = 0;
    DWORD exStyle = 0;
    short x = 0, y = 0, cx = 0, cy = 0; // dialog units
    DWORD id = 0;
    NameOrId windowClass;
    NameOrId text;
    std::vector<BYTE> creationData;

    // The class name a window of this item is created with ("Button", "Static", ...).
    std::u16string ClassName() const;

    bool operator==(const DialogItemTemplate&) const = default;
};

struct DialogTemplate {
    bool extended = false;
    DWORD style = 0;
    DWORD exStyle = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    NameOrId menu;
    NameOrId windowClass;
    std::u16string caption;
    WORD pointSize = 0; // only with DS_SETFONT
    WORD weight = 0;
    bool italic = false;
    std::u16string faceName;
    std::vector<DialogItemTemplate> items;

    bool operator==(const DialogTemplate&) const = default;
};

// Parses template bytes; nothing when the bytes are truncated or the item count does not
// match the data. The header's item count is honoured: trailing bytes are ignored.
std::optional<DialogTemplate> ParseDialogTemplate(const BYTE* data, std::size_t size);

} // namespace korvyn::platform
