// Theme colours, colour scaling and the dialog that paints itself in one colour.
#include "support/gui/HostDialog.h"

#include "controls/ThemeColors.h"

#include <gtest/gtest.h>

using namespace korvyn::test;

TEST(ThemeColors, ScaleColorAndTheColoursDerivedFromTheCaption) {
    EXPECT_EQ(ScaleColor(RGB(200, 200, 200), -0.3), RGB(255, 255, 255)) << "clamped";
    EXPECT_EQ(ScaleColor(RGB(200, 200, 200), 0.3), RGB(140, 140, 140));
    EXPECT_EQ(ScaleColor(RGB(100, 10, 255), 0.2), RGB(80, 8, 204)) << "truncated";
    EXPECT_EQ(ScaleColor(RGB(100, 10, 255), -1.0), RGB(200, 20, 255));
    for (double f : {0.0, 1.01, -1.5}) {
        EXPECT_EQ(ScaleColor(RGB(100, 10, 255), f), RGB(100, 10, 255)) << f;
    }
    EXPECT_EQ(korvyn::LightTintOf(RGB(0, 0, 128)), RGB(127, 127, 191));
    EXPECT_EQ(korvyn::MixColors(RGB(0, 100, 255), RGB(255, 51, 0)), RGB(127, 75, 127));
    EXPECT_EQ(korvyn::LightTint(), korvyn::LightTintOf(GetSysColor(COLOR_ACTIVECAPTION)));
}

TEST(ColoredDlg, AnswersEveryControlColourRequestWithItsColours) {
    HostDialog dlg;
    ASSERT_TRUE(dlg.Open());
    CStatic label;
    ASSERT_TRUE(label.Create(u"Scan:", WS_CHILD | WS_VISIBLE, CRect(10, 10, 60, 30), &dlg, 1022));
    CBitmap probe; // outlives the DC it is selected into
    CDC dc;
    ASSERT_TRUE(dc.CreateCompatibleDC(nullptr));
    ASSERT_TRUE(probe.CreateCompatibleBitmap(&dc, 2, 2));
    dc.SelectObject(&probe);
    for (UINT msg : {WM_CTLCOLORSTATIC, WM_CTLCOLORBTN, WM_CTLCOLOREDIT, WM_CTLCOLORDLG}) {
        dc.SetTextColor(RGB(1, 2, 3));
        dc.SetBkMode(OPAQUE);
        HWND from = msg == WM_CTLCOLORDLG ? dlg.m_hWnd : label.m_hWnd;
        auto brush = reinterpret_cast<HBRUSH>(dlg.SendMessage(
            msg, reinterpret_cast<WPARAM>(dc.m_hDC), reinterpret_cast<LPARAM>(from)));
        EXPECT_EQ(dc.GetBkColor(), korvyn::LightTint()) << msg;
        EXPECT_EQ(dc.GetTextColor(), RGB(0, 0, 0)) << msg;
        EXPECT_EQ(dc.GetBkMode(), TRANSPARENT) << msg;
        CRect r(0, 0, 2, 2);
        dc.FillRect(&r, CBrush::FromHandle(brush));
        EXPECT_EQ(dc.GetPixel(1, 1), korvyn::LightTint()) << msg;
    }
    // The dialog and its label paint in the colour; a new colour replaces the brush.
    EXPECT_EQ(PixelAt(Shot(dlg), 58, 28), korvyn::LightTint()) << "behind the label";
    dlg.SetBackgroundColor(RGB(200, 30, 40));
    EXPECT_EQ(PixelAt(Shot(dlg), 100, 80), RGB(200, 30, 40));
    EXPECT_EQ(PixelAt(Shot(dlg), 58, 28), RGB(200, 30, 40));
}
