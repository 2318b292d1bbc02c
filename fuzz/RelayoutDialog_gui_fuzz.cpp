// Arbitrary bytes as the dialog template that an open page is re-laid out from, in a
// module that also holds the program's bitmaps: RelayoutDialog walks the template and
// moves, retitles and re-images the page's controls on Qt's offscreen platform. Every
// control that the template names must end up where its last item puts it.
// The window layer needs Qt, so this target links it; the parser alone is fuzzed by
// DialogTemplate_fuzz.
#include "controls/RelayoutDialog.h"
#include "platform/ui/AfxWin.h"
#include "platform/ui/DialogTemplate.h"
#include "support/RelayoutPage.h"
#include "support/ResBuilder.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>
#include <map>

namespace {

using namespace korvyn::platform;
using korvyn::test::DialogBytes;
using korvyn::test::ResBuilder;

constexpr WORD kTemplate = 1;

struct Page {
    UniqueResourceModule module;
    ResBuilder bitmaps; // the program's bitmaps under their own numbers
    CDialog parent;
    CDialog page;
};

Page& ThePage() {
    static Page* page = [] {
        static int argc = 1;
        static char name[] = "RelayoutDialog_gui_fuzz";
        static char* argv[] = {name, nullptr};
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        new QApplication(argc, argv);
        SetDeviceScreenSize(240, 320);

        auto* p = new Page;
        HMODULE program = GetModuleHandle(nullptr);
        for (UINT id = 100; id < 300; ++id) {
            const BYTE* data = nullptr;
            std::size_t size = 0;
            if (LoadResourceBytes(program, MAKEINTRESOURCE(id), RT_BITMAP, data, size))
                p->bitmaps.Add(WORD(2), WORD(id), std::vector<BYTE>(data, data + size));
        }
        ResBuilder res = p->bitmaps;
        res.Add(WORD(5), kTemplate, korvyn::fuzz::RelayoutPageTemplate());
        p->module.reset(LoadResourceModule(res.Bytes()));
        AfxSetResourceHandle(p->module.get());
        const std::vector<BYTE> top = DialogBytes(WS_POPUP, 200, 200, u"", {});
        if (!p->parent.CreateIndirect(top.data(), top.size()) ||
            !p->page.Create(kTemplate, &p->parent)) {
            std::fprintf(stderr, "RelayoutDialog_gui_fuzz: the page cannot be created\n");
            std::abort();
        }
        auto* combo = static_cast<CComboBox*>(p->page.GetDlgItem(1009));
        combo->AddString(u"wlan0");
        combo->AddString(u"wlan1");
        combo->SetCurSel(1);
        return p;
    }();
    return *page;
}

CRect ChildRect(CWnd& parent, CWnd& child) {
    CRect r;
    child.GetWindowRect(&r);
    parent.ScreenToClient(&r);
    return r;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Page& p = ThePage();
    ResBuilder res = p.bitmaps;
    res.Add(WORD(5), kTemplate, std::vector<BYTE>(data, data + size));
    UniqueResourceModule module(LoadResourceModule(res.Bytes()));
    if (!module)
        return 0;
    RelayoutDialog(module.get(), p.page.m_hWnd, kTemplate);

    // The last item naming a control decides its place.
    const auto parsed = ParseDialogTemplate(data, size);
    if (!parsed)
        return 0;
    std::map<DWORD, RECT> places;
    for (const DialogItemTemplate& item : parsed->items)
        places[item.id] = RECT{item.x, item.y, item.x + item.cx, item.y + item.cy};
    for (const auto& [id, units] : places) {
        CWnd* control = p.page.GetDlgItem(static_cast<int>(id));
        if (!control || units.right < units.left || units.bottom < units.top)
            continue;
        // A combo box's template height is that of its drop-down list, not its own.
        const bool combo = control->IsKindOf(RUNTIME_CLASS(CComboBox));
        const RECT want = DialogUnitsToPixels(units);
        const CRect got = ChildRect(p.page, *control);
        if (got.left != want.left || got.top != want.top || got.right != want.right ||
            (!combo && got.bottom != want.bottom)) {
            std::fprintf(stderr, "RelayoutDialog_gui_fuzz: control %u is not in its place\n",
                         static_cast<unsigned>(id));
            std::abort();
        }
    }
    QCoreApplication::sendPostedEvents();
    return 0;
}
