#include "export/records/SstRecord.h"

#include <algorithm>
#include <functional>

namespace korvyn {
namespace {

// A new record begins at a string instead of splitting it when fewer bytes are left.
constexpr std::size_t kLeastSplitRoom = 12;

std::uint64_t Hash(std::u16string_view text) {
    return std::hash<std::u16string_view>{}(text)&0xFFFFFFFF00000000u;
}

} // namespace

std::u16string_view SstRecord::String(std::uint32_t index) const {
    const std::size_t end = index + 1 < starts_.size() ? starts_[index + 1] : chars_.size();
    return {chars_.data() + starts_[index], end - starts_[index]};
}

void SstRecord::Grow() {
    std::vector<std::uint64_t> slots(std::max<std::size_t>(1024, slots_.size() * 2), 0);
    const std::size_t mask = slots.size() - 1;
    for (std::uint64_t used : slots_) {
        if (used == 0)
            continue;
        std::size_t slot = (used >> 32) & mask;
        while (slots[slot] != 0)
            slot = (slot + 1) & mask;
        slots[slot] = used;
    }
    slots_ = std::move(slots);
}

std::uint32_t SstRecord::Add(std::u16string_view text) {
    if (text.size() > kMaxChars) {
        std::size_t keep = kMaxChars;
        if (text[keep - 1] >= 0xD800 && text[keep - 1] <= 0xDBFF)
            --keep; // never half a surrogate pair
        text = text.substr(0, keep);
    }
    ++textCells_;
    if (2 * (starts_.size() + 1) > slots_.size())
        Grow();
    const std::uint64_t hash = Hash(text);
    const std::size_t mask = slots_.size() - 1;
    std::size_t slot = (hash >> 32) & mask;
    for (; slots_[slot] != 0; slot = (slot + 1) & mask) {
        const auto index = static_cast<std::uint32_t>(slots_[slot]) - 1;
        if ((slots_[slot] & 0xFFFFFFFF00000000u) == hash && String(index) == text)
            return index;
    }
    const auto index = static_cast<std::uint32_t>(starts_.size());
    starts_.push_back(chars_.size());
    chars_.insert(chars_.end(), text.begin(), text.end());
    slots_[slot] = hash | (index + 1);
    return index;
}

void SstRecord::WriteData(XlsSerializer& out) const {
    out.U32(textCells_);
    out.U32(static_cast<std::uint32_t>(starts_.size()));
    for (std::uint32_t i = 0; i < starts_.size(); ++i) {
        std::u16string_view rest = String(i);
        const std::size_t size = 3 + 2 * rest.size();
        if (size > out.Room() && out.Room() < kLeastSplitRoom)
            out.Continue();
        out.U16(static_cast<std::uint16_t>(rest.size()));
        out.U8(0x01); // UTF-16 characters
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
