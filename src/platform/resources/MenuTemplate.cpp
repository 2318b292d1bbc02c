#include "platform/resources/MenuTemplate.h"

#include "winstyles.h"

#include <cstring>

namespace korvyn::platform {

namespace {

constexpr int kMaxDepth = 16;

class MenuReader {
public:
    MenuReader(const BYTE* data, std::size_t size) : data_(data), size_(size) {}

    bool Word(WORD& out) {
        if (size_ - pos_ < 2)
            return false;
        std::memcpy(&out, data_ + pos_, 2);
        pos_ += 2;
        return true;
    }
    bool Text(std::u16string& out) {
        for (WORD c = 0;;) {
            if (!Word(c))
                return false;
            if (c == 0)
                return true;
            out.push_back(static_cast<char16_t>(c));
        }
    }
    // Items up to and including the one with the end flag.
    bool Level(std::vector<MenuItem>& items, int depth) {
        if (depth > kMaxDepth)
            return false;
        for (;;) {
            MenuItem item;
            WORD flags = 0;
            if (!Word(flags))
                return false;
            const bool popup = (flags & MF_POPUP) != 0;
            if (!popup && !Word(item.id))
                return false;
            if (!Text(item.text))
                return false;
            item.flags = static_cast<WORD>(flags & ~MF_END);
            if (popup && !Level(item.children, depth + 1))
                return false;
            items.push_back(std::move(item));
            if (flags & MF_END)
                return true;
        }
    }

private:
    const BYTE* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
};

} // namespace

bool MenuItem::IsPopup() const {
    return (flags & MF_POPUP) != 0;
}

bool ParseMenuTemplate(const BYTE* data, std::size_t size, std::vector<MenuItem>& out) {
    if (!data)
        return false;
    MenuReader reader(data, size);
    WORD version = 0;
    WORD headerSize = 0;
    if (!reader.Word(version) || !reader.Word(headerSize) || version != 0 || headerSize != 0)
        return false;
    std::vector<MenuItem> items;
    if (!reader.Level(items, 0))
        return false;
    out = std::move(items);
    return true;
}

} // namespace korvyn::platform
