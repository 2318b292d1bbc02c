// Arbitrary bytes as a dialog template. A template that parses must write back (in its
// own layout, classic or extended) to bytes that parse to the same template.
#include "platform/ui/DialogTemplate.h"
#include "support/ResBuilder.h"

#include <cstdio>
#include <cstdlib>

namespace {

using korvyn::platform::DialogTemplate;
using korvyn::platform::NameOrId;
using korvyn::test::PutDword;
using korvyn::test::PutText;
using korvyn::test::PutWord;
using Bytes = std::vector<std::uint8_t>;

constexpr DWORD kSetFont = 0x40;

void PutField(Bytes& out, const NameOrId& f) {
    if (f.isId) {
        PutWord(out, 0xFFFF);
        PutWord(out, f.id);
    } else {
        PutText(out, f.text);
    }
}

Bytes Write(const DialogTemplate& t) {
    Bytes out;
    if (t.extended) {
        PutDword(out, 0xFFFF0001);
        PutDword(out, 0); // help id
        PutDword(out, t.exStyle);
        PutDword(out, t.style);
    } else {
        PutDword(out, t.style);
        PutDword(out, t.exStyle);
    }
    PutWord(out, static_cast<WORD>(t.items.size()));
    for (short v : {t.x, t.y, t.cx, t.cy})
        PutWord(out, static_cast<WORD>(v));
    PutField(out, t.menu);
    PutField(out, t.windowClass);
    PutText(out, t.caption);
    if (t.style & kSetFont) {
        PutWord(out, t.pointSize);
        if (t.extended) {
            PutWord(out, t.weight);
            out.push_back(t.italic ? 1 : 0);
            out.push_back(0); // character set
        }
        PutText(out, t.faceName);
    }
    for (const auto& item : t.items) {
        while (out.size() % 4)
            out.push_back(0);
        if (t.extended) {
            PutDword(out, 0); // help id
            PutDword(out, item.exStyle);
            PutDword(out, item.style);
        } else {
            PutDword(out, item.style);
            PutDword(out, item.exStyle);
        }
        for (short v : {item.x, item.y, item.cx, item.cy})
            PutWord(out, static_cast<WORD>(v));
        if (t.extended)
            PutDword(out, item.id);
        else
            PutWord(out, static_cast<WORD>(item.id));
        PutField(out, item.windowClass);
        PutField(out, item.text);
        PutWord(out, static_cast<WORD>(item.creationData.size()));
        out.insert(out.end(), item.creationData.begin(), item.creationData.end());
    }
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto parsed = korvyn::platform::ParseDialogTemplate(data, size);
    if (!parsed)
        return 0;
    const Bytes written = Write(*parsed);
    const auto again = korvyn::platform::ParseDialogTemplate(written.data(), written.size());
    if (!again || *parsed != *again) {
        std::fprintf(stderr, "DialogTemplate_fuzz: the template reads back otherwise\n");
        std::abort();
    }
    return 0;
}
