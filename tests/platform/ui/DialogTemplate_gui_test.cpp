// Dialog templates: parsing byte-built templates, dialog units, creating a dialog from a
// template and re-laying it out from another one.
#include "DialogBytes.h"

#include "controls/RelayoutDialog.h"
#include "platform/ui/AfxWin.h"
#include "platform/ui/DialogTemplate.h"

#include <gtest/gtest.h>

using namespace korvyn::platform;
using korvyn::test::DialogBytes;

namespace {

constexpr DWORD kPage = DS_SETFONT | WS_CHILD;
constexpr DWORD kList =
    WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_OWNERDATA | LVS_ALIGNLEFT;

// The list page's portrait and landscape layouts.
std::vector<BYTE> Page148() {
    return DialogBytes(
        kPage, 157, 133, u"",
        {{kList, 4, 3, 147, 119, 1018, u"SysListView32", u""},
         {WS_CHILD | WS_VISIBLE | SS_LEFT, 0, 124, 53, 8, 1019, WORD(0x82), u"Static"},
         {WS_CHILD | WS_VISIBLE | SS_RIGHT, 70, 124, 79, 8, 1020, WORD(0x82), u"Static"},
         {WS_CHILD | WS_VISIBLE | CBS_DROPDOWN | CBS_SORT | WS_VSCROLL, 67, 2, 83, 30, 1004,
          WORD(0x85), u""}});
}

std::vector<BYTE> Page185() {
    return DialogBytes(
        kPage, 168, 104, u"",
        {{kList | LVS_SINGLESEL, 3, 3, 160, 88, 1018, u"SysListView32", u""},
         {WS_CHILD | WS_VISIBLE | SS_LEFT, 6, 91, 53, 8, 1019, WORD(0x82), u"Static"},
         {WS_CHILD | WS_VISIBLE | SS_RIGHT, 84, 91, 79, 8, 1020, WORD(0x82), u"Static"},
         {WS_CHILD | WS_VISIBLE | CBS_DROPDOWN | CBS_SORT, 60, 2, 90, 30, 1004, WORD(0x85), u""}});
}

// A module holding both layouts, made current for the dialogs' templates.
class ResourceModuleTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetDeviceScreenSize(240, 320);
        korvyn::test::ResBuilder res;
        res.Add(WORD(5), WORD(148), Page148()).Add(WORD(5), WORD(185), Page185());
        module_.reset(LoadResourceModule(res.Bytes()));
        ASSERT_NE(module_, nullptr);
        AfxSetResourceHandle(module_.get());
    }
    void TearDown() override { AfxSetResourceHandle(nullptr); }

    UniqueResourceModule module_;
};

CRect ChildRect(CWnd& parent, int id) {
    CWnd* child = parent.GetDlgItem(id);
    EXPECT_NE(child, nullptr) << "control " << id;
    CRect r;
    if (child != nullptr) {
        child->GetWindowRect(&r);
        parent.ScreenToClient(&r);
    }
    return r;
}

} // namespace

TEST(DialogTemplateParse, ReadsHeaderFontAndItemsInOrder) {
    std::vector<BYTE> bytes = DialogBytes(
        DS_SETFONT | WS_POPUP | WS_CAPTION, 162, 169, u"Korvyn",
        {{WS_CHILD | WS_VISIBLE, 3, 1, 155, 148, 1009, u"CCustomTabCtrl", u"Tab"},
         {WS_CHILD | BS_AUTOCHECKBOX, 46, 150, 44, 14, 1029, WORD(0x80), u"Radio ON", {1, 2, 3}},
         {WS_CHILD | SS_BITMAP, -2, -3, 16, 16, 0xFFFF, WORD(0x82), WORD(214)}});
    auto t = ParseDialogTemplate(bytes.data(), bytes.size());
    ASSERT_TRUE(t);
    EXPECT_FALSE(t->extended);
    EXPECT_EQ(t->style, DS_SETFONT | WS_POPUP | WS_CAPTION);
    EXPECT_EQ(CSize(t->cx, t->cy), CSize(162, 169));
    EXPECT_EQ(t->caption + u"," + t->faceName, u"Korvyn,MS Shell Dlg");
    EXPECT_EQ(t->pointSize, 8);
    ASSERT_EQ(t->items.size(), 3u);
    EXPECT_EQ(t->items[0].ClassName() + t->items[0].text.text, u"CCustomTabCtrlTab");
    EXPECT_EQ(t->items[0].id, 1009u);
    EXPECT_EQ(t->items[1].ClassName(), u"Button");
    EXPECT_EQ(t->items[1].creationData, (std::vector<BYTE>{1, 2, 3}));
    EXPECT_EQ(CRect(t->items[1].x, t->items[1].y, t->items[1].cx, t->items[1].cy),
              CRect(46, 150, 44, 14));
    EXPECT_EQ(t->items[2].ClassName(), u"Static");
    EXPECT_TRUE(t->items[2].text.isId && t->items[2].text.id == 214);
    EXPECT_EQ(CPoint(t->items[2].x, t->items[2].y), CPoint(-2, -3));
}

TEST(DialogUnits, FixedBaseUnitsDoubleOnLargerScreens) {
    // Double resolution needs twice the reference screen of the shape in both directions:
    // a pixel short in either direction keeps the normal units.
    const std::pair<CSize, int> screens[] = {{{240, 320}, 96},  {{479, 660}, 96}, {{480, 640}, 192},
                                             {{640, 480}, 192}, {{900, 479}, 96}, {{479, 479}, 96},
                                             {{480, 480}, 192}};
    for (const auto& [size, dpi] : screens) {
        SetDeviceScreenSize(size.cx, size.cy);
        EXPECT_EQ(ScreenLogPixels(), dpi) << size.cx << "x" << size.cy;
        EXPECT_EQ(DialogBaseUnits().x, dpi / 16) << size.cx << "x" << size.cy;
        EXPECT_EQ(DialogBaseUnits().y, dpi * 13 / 96) << size.cx << "x" << size.cy;
    }
    EXPECT_EQ(CRect(DialogUnitsToPixels(RECT{3, 1, 158, 149})), CRect(9, 3, 474, 484));
    SetDeviceScreenSize(240, 320);
    EXPECT_EQ(CRect(DialogUnitsToPixels(RECT{3, 1, 158, 149})), CRect(5, 2, 237, 242));
}

// Controls are made at their template places, with the class and style the template
// gives; re-laid out from another template and back, the page matches a fresh one.
TEST_F(ResourceModuleTest, ControlsAtTemplatePlacesAndRelayoutThereAndBack) {
    CDialog parent;
    std::vector<BYTE> top = DialogBytes(WS_POPUP, 200, 200, u"", {});
    ASSERT_TRUE(parent.CreateIndirect(top.data(), top.size()));
    CDialog fresh;
    ASSERT_TRUE(fresh.Create(148, &parent));
    EXPECT_EQ(ChildRect(fresh, 1018), CRect(DialogUnitsToPixels(RECT{4, 3, 151, 122})));
    EXPECT_EQ(ChildRect(fresh, 1020), CRect(DialogUnitsToPixels(RECT{70, 124, 149, 132})));
    EXPECT_TRUE(fresh.GetDlgItem(1018)->IsKindOf(RUNTIME_CLASS(CListCtrl)));
    EXPECT_TRUE(fresh.GetDlgItem(1019)->IsKindOf(RUNTIME_CLASS(CStatic)));
    EXPECT_FALSE(fresh.GetDlgItem(1019)->IsKindOf(RUNTIME_CLASS(CButton)));
    EXPECT_EQ(fresh.GetDlgItem(1020)->GetStyle() & 3u, DWORD(SS_RIGHT));
    EXPECT_EQ(fresh.GetParent(), &parent);
    CDialog page;
    ASSERT_TRUE(page.Create(148, &parent));
    auto* combo = static_cast<CComboBox*>(page.GetDlgItem(1004));
    combo->AddString(u"wlan1");
    combo->AddString(u"wlan0");
    combo->SetCurSel(1);
    page.GetDlgItem(1019)->SetWindowText(u"3/10 active");

    RelayoutDialog(module_.get(), page.m_hWnd, 185);
    EXPECT_EQ(ChildRect(page, 1018), CRect(DialogUnitsToPixels(RECT{3, 3, 163, 91})));
    EXPECT_EQ(page.GetDlgItem(1019)->GetWindowText(), u"Static");
    EXPECT_EQ(combo->GetCurSel(), 1);

    RelayoutDialog(module_.get(), page.m_hWnd, 148);
    for (int id : {1018, 1019, 1020, 1004}) {
        EXPECT_EQ(ChildRect(page, id), ChildRect(fresh, id)) << "control " << id;
    }
    // A template the module does not have leaves everything where it is.
    RelayoutDialog(module_.get(), page.m_hWnd, 999);
    EXPECT_EQ(ChildRect(page, 1018), ChildRect(fresh, 1018));
}
