// The program's own dialog templates: every control's class, identifier and rectangle,
// and a relayout of the list page between its real layouts.
#include "controls/RelayoutDialog.h"
#include "platform/resources/Resources.h"
#include "platform/ui/AfxWin.h"
#include "platform/ui/DialogTemplate.h"

#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <string>
#include <vector>

using namespace korvyn::platform;

namespace {

struct Expected {
    DWORD id;
    std::u16string className;
    short x, y, cx, cy;
};

std::u16string Lower(std::u16string s) {
    for (char16_t& c : s) {
        if (c >= u'A' && c <= u'Z') {
            c = static_cast<char16_t>(c - u'A' + u'a');
        }
    }
    return s;
}

std::optional<DialogTemplate> Load(UINT id) {
    const BYTE* data = nullptr;
    std::size_t size = 0;
    if (!LoadResourceBytes(GetModuleHandle(nullptr), MAKEINTRESOURCE(id), RT_DIALOG, data, size)) {
        return std::nullopt;
    }
    return ParseDialogTemplate(data, size);
}

void Check(UINT templateId, const std::vector<Expected>& expected) {
    SCOPED_TRACE("template " + std::to_string(templateId));
    auto t = Load(templateId);
    ASSERT_TRUE(t);
    EXPECT_EQ(t->faceName, u"MS Shell Dlg");
    EXPECT_EQ(t->pointSize, 8);
    ASSERT_EQ(t->items.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const DialogItemTemplate& item = t->items[i];
        SCOPED_TRACE("control " + std::to_string(expected[i].id));
        EXPECT_EQ(item.id, expected[i].id);
        // Class names compare without case (the resource compiler writes them in capitals).
        EXPECT_EQ(Lower(item.ClassName()), Lower(expected[i].className));
        EXPECT_EQ(item.x, expected[i].x);
        EXPECT_EQ(item.y, expected[i].y);
        EXPECT_EQ(item.cx, expected[i].cx);
        EXPECT_EQ(item.cy, expected[i].cy);
    }
}

std::vector<Expected> MainWindow(std::vector<std::array<short, 4>> r) {
    std::vector<DWORD> ids = {1009, 1000, 1029, 1006, 1032};
    std::vector<Expected> out;
    for (std::size_t i = 0; i < ids.size(); ++i) {
        out.push_back(
            {ids[i], i == 0 ? u"CCustomTabCtrl" : u"Button", r[i][0], r[i][1], r[i][2], r[i][3]});
    }
    return out;
}

std::vector<Expected> ListPage(std::array<short, 4> list, std::array<short, 4> count,
                               std::array<short, 4> hint) {
    return {{1018, u"SysListView32", list[0], list[1], list[2], list[3]},
            {1019, u"Static", count[0], count[1], count[2], count[3]},
            {1020, u"Static", hint[0], hint[1], hint[2], hint[3]}};
}

} // namespace

TEST(ResourceScript, EveryDialogTemplateHasItsControlsAtTheirPlaces) {
    Check(102, MainWindow({{3, 1, 155, 148},
                           {3, 151, 40, 13},
                           {46, 150, 44, 14},
                           {90, 151, 39, 13},
                           {132, 151, 24, 13}}));
    Check(182, MainWindow({{2, 0, 166, 113},
                           {171, 81, 36, 13},
                           {171, 50, 35, 21},
                           {171, 30, 37, 13},
                           {170, 99, 38, 14}}));
    Check(183, MainWindow({{3, 0, 149, 98},
                           {3, 100, 39, 13},
                           {43, 103, 47, 10},
                           {91, 101, 41, 13},
                           {135, 101, 20, 13}}));
    Check(148, ListPage({4, 3, 147, 119}, {0, 124, 53, 8}, {70, 124, 79, 8}));
    Check(185, ListPage({3, 3, 160, 88}, {6, 91, 53, 8}, {84, 91, 79, 8}));
    Check(186, ListPage({3, 4, 151, 95}, {1, 100, 53, 8}, {75, 100, 79, 8}));
    Check(149, {{1021, u"Static", 7, 4, 58, 8},
                {1004, u"ComboBox", 67, 2, 83, 30},
                {1022, u"Static", 7, 20, 50, 8},
                {1010, u"CustomSliderClass", 61, 15, 56, 18},
                {1017, u"Static", 115, 20, 39, 8},
                {1023, u"Static", 7, 37, 51, 8},
                {1011, u"CustomSliderClass", 61, 32, 56, 18},
                {1014, u"Button", 9, 49, 65, 10},
                {1015, u"Button", 9, 59, 69, 10},
                {1013, u"Button", 9, 69, 67, 10},
                {1003, u"Button", 77, 50, 18, 10},
                {0xFFFF, u"Static", 97, 51, 32, 8},
                {0xFFFF, u"Static", 52, 78, 33, 8},
                {1033, u"Button", 87, 78, 29, 10},
                {1034, u"Button", 120, 78, 29, 10}});
}

TEST(ResourceScript, ListPageRelayoutFromLandscapeBackToPortraitMatchesAFreshPage) {
    SetDeviceScreenSize(240, 320);
    CDialog parent(102);
    ASSERT_TRUE(parent.Create(102));
    CDialog fresh, page;
    ASSERT_TRUE(fresh.Create(148, &parent));
    ASSERT_TRUE(page.Create(148, &parent));
    page.GetDlgItem(1019)->SetWindowText(u"0/0 active");
    RelayoutDialog(GetModuleHandle(nullptr), page.m_hWnd, 185);
    EXPECT_EQ(page.GetDlgItem(1019)->GetWindowText(), u"Static");
    RelayoutDialog(GetModuleHandle(nullptr), page.m_hWnd, 148);
    for (int id : {1018, 1019, 1020}) {
        CRect a, b;
        page.GetDlgItem(id)->GetWindowRect(&a);
        fresh.GetDlgItem(id)->GetWindowRect(&b);
        page.ScreenToClient(&a);
        fresh.ScreenToClient(&b);
        EXPECT_EQ(a, b) << "control " << id;
    }
    // The main window's layout fills a 240-pixel screen.
    CRect tab;
    parent.GetDlgItem(1009)->GetWindowRect(&tab);
    parent.ScreenToClient(&tab);
    EXPECT_EQ(tab, CRect(5, 2, 237, 242));
}
