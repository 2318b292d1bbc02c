#include "export/records/SstRecord.h"

#include <algorithm>

namespace korvyn {
namespace {

// A new record begins at a string instead of splitting it when fewer bytes are left.
constexpr std::size_t kLeastSplitRoom = 12;

} // namespace

std::uint32_t SstRecord::Add(std::u16string_view text) {
    if (text.size() > kMaxChars) {
        std::size_t keep = kMaxChars;
        if (text[keep - 1] >= 0xD800 && text[keep - 1] <= 0xDBFF)
            --keep; // never half a surrogate pair
        text = text.substr(0, keep);
    }
    ++textCells_;
    const auto found = index_.find(text);
    if (found != index_.end())
        return found->second;
    const auto next = static_cast<std::uint32_t>(strings_.size());
    strings_.emplace_back(text);
    index_.emplace(strings_.back(), next);
    return next;
}

void SstRecord::Clear() {
    index_.clear();
    strings_.clear();
    textCells_ = 0;
}

void SstRecord::WriteData(XlsSerializer& out) const {
    out.U32(textCells_);
    out.U32(static_cast<std::uint32_t>(strings_.size()));
    for (const std::u16string& text : strings_) {
        const std::size_t size = 3 + 2 * text.size();
        if (size > out.Room() && out.Room() < kLeastSplitRoom)
            out.Continue();
        out.U16(static_cast<std::uint16_t>(text.size()));
        out.U8(0x01); // UTF-16 characters
        std::u16string_view rest = text;
        for (;;) {
            const std::size_t fit = std::min(rest.size(), out.Room() / 2);
            out.Chars16(rest.substr(0, fit));
            rest.remove_prefix(fit);
            if (rest.empty())
                break;
            out.Continue();
            out.U8(0x01);
        }
    }
}

} // namespace korvyn
