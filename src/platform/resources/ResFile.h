#pragma once
// The layout of a compiled resource file (.res): a sequence of entries, each a header
// (data size, header size, type, name, language...) followed by its data, every entry
// starting on a 4-byte boundary, the first one an empty marker entry.
#include "platform/WinTypes.h"

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace korvyn::platform {

// A resource type or name: a 16-bit number or a text.
struct ResId {
    bool isNumber = true;
    WORD number = 0;
    std::u16string text;
};

struct ResEntry {
    ResId type;
    ResId name;
    WORD language = 0;
    std::size_t offset = 0; // of the data, from the start of the file
    DWORD size = 0;
};

// Every entry of the file, or nothing when any part of it is malformed: a header or data
// reaching past the end, a name without its terminator, a missing marker entry.
std::optional<std::vector<ResEntry>> ParseResFile(std::span<const BYTE> bytes);

} // namespace korvyn::platform
