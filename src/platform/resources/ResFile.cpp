#include "platform/resources/ResFile.h"

#include <algorithm>
#include <cstring>

namespace korvyn::platform {

namespace {

constexpr std::size_t kMarkerSize = 32; // the empty entry a resource file begins with

class Reader {
public:
    Reader(std::span<const BYTE> bytes, std::size_t pos, std::size_t end)
        : bytes_(bytes), pos_(pos), end_(end) {}

    bool Word(WORD& out) {
        if (end_ - pos_ < 2)
            return false;
        std::memcpy(&out, bytes_.data() + pos_, 2);
        pos_ += 2;
        return true;
    }
    bool Dword(DWORD& out) {
        if (end_ - pos_ < 4)
            return false;
        std::memcpy(&out, bytes_.data() + pos_, 4);
        pos_ += 4;
        return true;
    }
    // A type or name field: 0xFFFF and a number, or a NUL-terminated UTF-16 text.
    bool Id(ResId& out) {
        WORD first = 0;
        if (!Word(first))
            return false;
        if (first == 0xFFFF) {
            out.isNumber = true;
            return Word(out.number);
        }
        out.isNumber = false;
        out.text.clear();
        for (WORD c = first; c != 0;) {
            out.text.push_back(static_cast<char16_t>(c));
            if (!Word(c))
                return false;
        }
        return true;
    }
    bool Align() {
        const std::size_t aligned = (pos_ + 3) & ~std::size_t{3};
        if (aligned > end_)
            return false;
        pos_ = aligned;
        return true;
    }

private:
    std::span<const BYTE> bytes_;
    std::size_t pos_;
    std::size_t end_;
};

} // namespace

std::optional<std::vector<ResEntry>> ParseResFile(std::span<const BYTE> bytes) {
    std::vector<ResEntry> entries;
    std::size_t pos = 0;
    bool first = true;
    while (pos < bytes.size()) {
        if (bytes.size() - pos < 8)
            return std::nullopt;
        DWORD dataSize = 0;
        DWORD headerSize = 0;
        std::memcpy(&dataSize, bytes.data() + pos, 4);
        std::memcpy(&headerSize, bytes.data() + pos + 4, 4);
        const std::size_t room = bytes.size() - pos;
        if (headerSize < 8 || headerSize > room || dataSize > room - headerSize)
            return std::nullopt;

        ResEntry entry;
        Reader header(bytes, pos + 8, pos + headerSize);
        DWORD dataVersion = 0;
        WORD memoryFlags = 0;
        DWORD version = 0;
        DWORD characteristics = 0;
        if (!header.Id(entry.type) || !header.Id(entry.name) || !header.Align() ||
            !header.Dword(dataVersion) || !header.Word(memoryFlags) ||
            !header.Word(entry.language) || !header.Dword(version) ||
            !header.Dword(characteristics))
            return std::nullopt;
        entry.offset = pos + headerSize;
        entry.size = dataSize;

        if (first) {
            // The marker entry: no data, type and name number 0.
            if (headerSize != kMarkerSize || dataSize != 0 || !entry.type.isNumber ||
                entry.type.number != 0 || !entry.name.isNumber || entry.name.number != 0)
                return std::nullopt;
            first = false;
        } else {
            entries.push_back(std::move(entry));
        }
        // The next entry starts on a 4-byte boundary; the last may lack its padding.
        pos += headerSize + dataSize;
        pos = std::min(bytes.size(), (pos + 3) & ~std::size_t{3});
    }
    if (first)
        return std::nullopt;
    return entries;
}

} // namespace korvyn::platform
