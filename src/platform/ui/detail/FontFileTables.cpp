#include "platform/ui/detail/FontFileTables.h"

#include <string_view>

namespace korvyn::platform {
namespace {

// Big-endian reads that yield nothing past the end of the bytes.
class Bytes {
public:
    explicit Bytes(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    bool Has(std::size_t offset, std::size_t length) const {
        return offset <= bytes_.size() && length <= bytes_.size() - offset;
    }
    std::optional<std::uint32_t> U16(std::size_t offset) const {
        if (!Has(offset, 2))
            return std::nullopt;
        return static_cast<std::uint32_t>(bytes_[offset] << 8 | bytes_[offset + 1]);
    }
    std::optional<int> S16(std::size_t offset) const {
        auto v = U16(offset);
        return v ? std::optional<int>(static_cast<std::int16_t>(*v)) : std::nullopt;
    }
    std::optional<std::uint32_t> U32(std::size_t offset) const {
        auto high = U16(offset), low = U16(offset + 2);
        return high && low ? std::optional<std::uint32_t>(*high << 16 | *low) : std::nullopt;
    }
    std::span<const std::uint8_t> Sub(std::size_t offset, std::size_t length) const {
        return Has(offset, length) ? bytes_.subspan(offset, length)
                                   : std::span<const std::uint8_t>{};
    }

private:
    std::span<const std::uint8_t> bytes_;
};

// A table's bytes, empty when the face has no such table or it lies outside the file.
std::span<const std::uint8_t> Table(const Bytes& file, std::string_view tag) {
    const auto count = file.U16(4);
    for (std::size_t i = 0; count && i < *count; ++i) {
        const std::size_t record = 12 + 16 * i;
        std::span<const std::uint8_t> name = file.Sub(record, 4);
        if (name.size() != 4)
            return {};
        if (std::string_view(reinterpret_cast<const char*>(name.data()), 4) != tag)
            continue;
        const auto offset = file.U32(record + 8), length = file.U32(record + 12);
        return offset && length ? file.Sub(*offset, *length) : std::span<const std::uint8_t>{};
    }
    return {};
}

// The glyph of a character through the Unicode BMP subtable (format 4), 0 when none.
std::uint32_t GlyphOf(const Bytes& cmap, std::uint32_t character) {
    const auto count = cmap.U16(2);
    for (std::size_t i = 0; count && i < *count; ++i) {
        const auto platform = cmap.U16(4 + 8 * i), encoding = cmap.U16(6 + 8 * i);
        const auto offset = cmap.U32(8 + 8 * i);
        if (!platform || !encoding || !offset || cmap.U16(*offset) != 4u ||
            !((*platform == 3 && *encoding == 1) || *platform == 0))
            continue;
        const std::size_t base = *offset;
        const auto doubled = cmap.U16(base + 6);
        if (!doubled)
            return 0;
        const std::size_t segments = *doubled / 2;
        const std::size_t ends = base + 14, starts = ends + 2 * segments + 2;
        const std::size_t deltas = starts + 2 * segments, ranges = deltas + 2 * segments;
        for (std::size_t s = 0; s < segments; ++s) {
            const auto end = cmap.U16(ends + 2 * s), start = cmap.U16(starts + 2 * s);
            const auto delta = cmap.U16(deltas + 2 * s), range = cmap.U16(ranges + 2 * s);
            if (!end || !start || !delta || !range)
                return 0;
            if (*end < character)
                continue;
            if (*start > character)
                return 0;
            if (*range == 0)
                return (character + *delta) & 0xFFFF;
            const auto glyph = cmap.U16(ranges + 2 * s + *range + 2 * (character - *start));
            return glyph && *glyph != 0 ? (*glyph + *delta) & 0xFFFF : 0;
        }
        return 0;
    }
    return 0;
}

// The width of a glyph's outline box, 0 when it has no outline.
int OutlineWidth(const Bytes& loca, const Bytes& glyf, std::uint32_t glyph, bool longOffsets) {
    std::optional<std::uint32_t> start, end;
    if (longOffsets) {
        start = loca.U32(4 * std::size_t{glyph});
        end = loca.U32(4 * std::size_t{glyph} + 4);
    } else if (auto s = loca.U16(2 * std::size_t{glyph}), e = loca.U16(2 * std::size_t{glyph} + 2);
               s && e) {
        start = 2 * *s;
        end = 2 * *e;
    }
    if (!start || !end || *end <= *start)
        return 0;
    const auto xMin = glyf.S16(*start + 2), xMax = glyf.S16(*start + 6);
    return xMin && xMax && *xMax > *xMin ? *xMax - *xMin : 0;
}

} // namespace

std::optional<FaceTables> ReadFaceTables(std::span<const std::uint8_t> file) {
    const Bytes bytes(file);
    const Bytes head(Table(bytes, "head")), os2(Table(bytes, "OS/2"));
    const auto unitsPerEm = head.U16(18), style = head.U16(44);
    const auto locFormat = head.S16(50);
    const auto average = os2.S16(2);
    const auto ascent = os2.U16(74), descent = os2.U16(76);
    if (!unitsPerEm || !style || !locFormat || !average || !ascent || !descent ||
        *unitsPerEm == 0 || *ascent + *descent == 0)
        return std::nullopt;
    FaceTables face;
    face.unitsPerEm = static_cast<int>(*unitsPerEm);
    face.winAscent = static_cast<int>(*ascent);
    face.winDescent = static_cast<int>(*descent);
    face.averageWidth = *average;
    face.bold = (*style & 1) != 0;
    face.italic = (*style & 2) != 0;
    if (const std::uint32_t glyph = GlyphOf(Bytes(Table(bytes, "cmap")), u'l'))
        face.stemWidth = OutlineWidth(Bytes(Table(bytes, "loca")), Bytes(Table(bytes, "glyf")),
                                      glyph, *locFormat == 1);
    return face;
}

} // namespace korvyn::platform
