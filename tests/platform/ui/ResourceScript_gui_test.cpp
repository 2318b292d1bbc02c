// A relayout of the list page between the program's own layouts.
#include "controls/RelayoutDialog.h"
#include "platform/ui/AfxWin.h"

#include <gtest/gtest.h>

using namespace korvyn::platform;

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
