#include "platform/ui/DialogTemplate.h"

namespace korvyn::platform {
namespace {

// Reads little-endian fields and stops for good at the first read past the end.
class Reader {
public:
    Reader(const BYTE* data, std::size_t size) : data_(data), size_(size) {}

    bool ok() const { return ok_; }
    std::size_t offset() const { return pos_; }

    WORD Word() {
        if (!Need(2)) {
            return 0;
        }
        WORD v = static_cast<WORD>(data_[pos_] | (data_[pos_ + 1] << 8));
        pos_ += 2;
        return v;
    }
    DWORD Dword() {
        DWORD lo = Word();
        DWORD hi = Word();
        return lo | (hi << 16);
    }
    short Short() { return static_cast<short>(Word()); }
    BYTE Byte() {
        if (!Need(1)) {
            return 0;
        }
        return data_[pos_++];
    }
    std::u16string Text() {
        std::u16string s;
        for (;;) {
            WORD c = Word();
            if (!ok_ || c == 0) {
                return s;
            }
            s.push_back(static_cast<char16_t>(c));
        }
    }
    NameOrId Field() {
        NameOrId f;
        WORD first = Word();
        if (first == 0xFFFF) {
            f.isId = true;
            f.id = Word();
        } else if (first != 0) {
            f.text.push_back(static_cast<char16_t>(first));
            f.text += Text();
        }
        return f;
    }
    void AlignDword() {
        std::size_t aligned = (pos_ + 3) & ~std::size_t{3};
        if (aligned > size_) {
            ok_ = false;
            return;
        }
        pos_ = aligned;
    }
    std::vector<BYTE> Bytes(std::size_t n) {
        if (!Need(n)) {
            return {};
        }
        std::vector<BYTE> v(data_ + pos_, data_ + pos_ + n);
        pos_ += n;
        return v;
    }

private:
    bool Need(std::size_t n) {
        if (!ok_ || size_ - pos_ < n) {
            ok_ = false;
        }
        return ok_;
    }

    const BYTE* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
    bool ok_ = true;
};

constexpr DWORD kSetFont = 0x40; // DS_SETFONT

} // namespace

std::u16string DialogItemTemplate::ClassName() const {
    if (!windowClass.isId) {
        return windowClass.text;
    }
    switch (windowClass.id) {
    case kButtonAtom:
        return u"Button";
    case kEditAtom:
        return u"Edit";
    case kStaticAtom:
        return u"Static";
    case kListBoxAtom:
        return u"ListBox";
    case kScrollBarAtom:
        return u"ScrollBar";
    case kComboBoxAtom:
        return u"ComboBox";
    default:
        return u"";
    }
}

std::optional<DialogTemplate> ParseDialogTemplate(const BYTE* data, std::size_t size) {
    if (data == nullptr) {
        return std::nullopt;
    }
    Reader r(data, size);
    DialogTemplate t;
    WORD count = 0;
    if (size >= 4 && data[0] == 1 && data[1] == 0 && data[2] == 0xFF && data[3] == 0xFF) {
        t.extended = true;
        r.Dword(); // version and signature
        r.Dword(); // help id
        t.exStyle = r.Dword();
        t.style = r.Dword();
    } else {
        t.style = r.Dword();
        t.exStyle = r.Dword();
    }
    count = r.Word();
    t.x = r.Short();
    t.y = r.Short();
    t.cx = r.Short();
    t.cy = r.Short();
    t.menu = r.Field();
    t.windowClass = r.Field();
    t.caption = r.Text();
    if (t.style & kSetFont) {
        t.pointSize = r.Word();
        if (t.extended) {
            t.weight = r.Word();
            t.italic = r.Byte() != 0;
            r.Byte(); // character set
        }
        t.faceName = r.Text();
    }
    if (!r.ok()) {
        return std::nullopt;
    }
    t.items.reserve(count);
    for (WORD i = 0; i < count; ++i) {
        r.AlignDword();
        DialogItemTemplate item;
        if (t.extended) {
            r.Dword(); // help id
            item.exStyle = r.Dword();
            item.style = r.Dword();
        } else {
            item.style = r.Dword();
            item.exStyle = r.Dword();
        }
        item.x = r.Short();
        item.y = r.Short();
        item.cx = r.Short();
        item.cy = r.Short();
        item.id = t.extended ? r.Dword() : r.Word();
        item.windowClass = r.Field();
        item.text = r.Field();
        WORD extra = r.Word();
        item.creationData = r.Bytes(extra);
        if (!r.ok()) {
            return std::nullopt;
        }
        t.items.push_back(std::move(item));
    }
    return t;
}

} // namespace korvyn::platform
