#pragma once
// Private: the few numbers the font mapper needs, read straight from a TrueType file's
// tables, so that a face loaded from a file is measured without making a Qt font
// engine for it.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace korvyn::platform {

// In font units.
struct FaceTables {
    int unitsPerEm = 0;   // head
    int winAscent = 0;    // OS/2 usWinAscent
    int winDescent = 0;   // OS/2 usWinDescent
    int averageWidth = 0; // OS/2 xAvgCharWidth
    bool bold = false;    // head macStyle
    bool italic = false;
    // The width of the outline of "l" (glyf xMax - xMin), 0 when the face has none.
    int stemWidth = 0;
};

// Nothing when the bytes are not a TrueType face with head, OS/2, cmap, loca and glyf
// tables; every offset is checked against the bytes.
std::optional<FaceTables> ReadFaceTables(std::span<const std::uint8_t> file);

} // namespace korvyn::platform
