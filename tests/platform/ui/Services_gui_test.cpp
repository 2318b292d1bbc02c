// Timers and popup menus, through their seams. (What the program's own boxes and menus
// show is checked with the pages that show them, real timers and headless message boxes
// by the program's end-to-end runs.)
#include "platform/ui/AfxWin.h"
#include "platform/ui/TimerSource.h"
#include "support/gui/ManualTimers.h"
#include "support/gui/ScriptedPopupMenus.h"

#include <QTest>

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace korvyn::platform;
using korvyn::test::ManualTimers;
using korvyn::test::ScriptedPopupMenus;

namespace {

// A window whose scan timer stops itself and starts again, as the scan cycle does, and
// which records timers and commands.
class Ticker : public CWnd {
public:
    std::vector<std::string> log;
    UINT period = 500;

protected:
    void OnTimer(UINT_PTR id) override {
        log.push_back("timer " + std::to_string(id));
        if (id == 291) {
            KillTimer(291);
            SetTimer(291, period);
        }
    }
    BOOL OnCommand(WPARAM wParam, LPARAM) override {
        log.push_back("command " + std::to_string(LOWORD(wParam)));
        return TRUE;
    }
};

void CreateTicker(Ticker& t) {
    ASSERT_TRUE(t.CreateEx(0, u"#32770", u"Ticker", WS_POPUP, CRect(0, 0, 100, 100), nullptr, 0));
}

} // namespace

TEST(Timers, ArmedKilledAndReArmedFromTheirOwnHandler) {
    ManualTimers timers;
    Ticker t;
    CreateTicker(t);
    EXPECT_EQ(t.SetTimer(291, 1000), 291u);
    EXPECT_EQ(t.SetTimer(292, 500), 292u);
    EXPECT_EQ(timers.Period(t.m_hWnd, 291), 1000u);
    t.period = 2500;
    ASSERT_TRUE(timers.Fire(t.m_hWnd, 291));
    EXPECT_EQ(timers.Period(t.m_hWnd, 291), 2500u) << "re-armed with the new period";
    ASSERT_TRUE(timers.Fire(t.m_hWnd, 292));
    EXPECT_TRUE(t.KillTimer(292));
    EXPECT_FALSE(t.KillTimer(292));
    EXPECT_FALSE(timers.Fire(t.m_hWnd, 292));
    EXPECT_EQ(t.log, (std::vector<std::string>{"timer 291", "timer 292"}));
    HWND gone = t.m_hWnd;
    t.DestroyWindow();
    EXPECT_FALSE(timers.IsArmed(gone, 291)) << "a window's timers go with it";
    EXPECT_EQ(::SetTimer(gone, 1, 10, nullptr), 0u);
}

TEST(PopupMenus, EditedMenusAreShownAndTheChoiceGoesToTheOwner) {
    ScriptedPopupMenus menus({32771, 0});
    Ticker owner;
    CreateTicker(owner);
    CMenu bar;
    ASSERT_TRUE(bar.CreatePopupMenu());
    CMenu popup;
    ASSERT_TRUE(popup.CreatePopupMenu());
    popup.AppendMenu(MF_STRING, 32771, u"ZOOM");
    popup.AppendMenu(MF_STRING, 32774, u"&English");
    bar.AppendMenu(MF_POPUP, reinterpret_cast<UINT_PTR>(popup.Detach()), u"POPUP");
    CMenu* sub = bar.GetSubMenu(0);
    ASSERT_NE(sub, nullptr);
    EXPECT_TRUE(sub->DeleteMenu(0, MF_BYPOSITION));
    EXPECT_TRUE(sub->InsertMenu(0, MF_BYPOSITION | MF_STRING, 32771, u"Nagyítás"));
    EXPECT_TRUE(bar.DeleteMenu(32774, MF_BYCOMMAND)) << "found in the sub-menu";

    EXPECT_TRUE(sub->TrackPopupMenu(TPM_LEFTALIGN | TPM_TOPALIGN, 30, 40, &owner));
    ASSERT_EQ(menus.shown().size(), 1u);
    ASSERT_EQ(menus.shown()[0].items.size(), 1u) << "the deleted item is not shown";
    EXPECT_TRUE(owner.log.empty()) << "the command arrives after the menu has closed";
    QTRY_COMPARE(owner.log, std::vector<std::string>{"command 32771"});

    EXPECT_FALSE(sub->TrackPopupMenu(TPM_BOTTOMALIGN, 1, 2, &owner)) << "dismissed";
    EXPECT_EQ(menus.shown().back().flags, TPM_BOTTOMALIGN);
}
