// The tab strip and its page container: layout by style, painting in
// the seven colours, the notifications of taps and double taps, button repeat on the
// timer, selection and deletion rules, renaming, and the pages.
#include "NotificationHost.h"

#include "controls/CCustomTabContainer.h"
#include "controls/TabGlyphs.h"
#include "controls/TahomaFont.h"
#include "support/gui/ManualTimers.h"

#include <QTest>

#include <gtest/gtest.h>

#include <tuple>

using korvyn::test::ManualTimers;
using korvyn::test::NotificationHost;
using korvyn::test::PixelAt;
using korvyn::test::Shot;
using korvyn::test::WidgetOf;
using Log = std::vector<std::string>;

namespace {

constexpr DWORD kProgramStyle = CTCS_TOP | CTCS_CONTAINER | CTCS_AUTOHIDEBUTTONS;
const COLORREF kColors[7] = {RGB(10, 20, 30),    RGB(40, 50, 60),    RGB(70, 80, 90),
                             RGB(100, 110, 120), RGB(130, 140, 150), RGB(160, 170, 180),
                             RGB(1, 2, 3)};

// A page that tells when its object is deleted.
class Page : public CWnd {
public:
    explicit Page(bool* deleted = nullptr) : deleted_(deleted) {}
    ~Page() override {
        if (deleted_ != nullptr) {
            *deleted_ = true;
        }
    }

private:
    bool* deleted_;
};

class TabTest : public ::testing::Test {
protected:
    void Make(DWORD bits, std::vector<std::u16string> titles = {}) {
        ASSERT_TRUE(host.Make(240, 300));
        ASSERT_TRUE(tabs.Create(WS_CHILD, CRect(4, 2, 236, 262), &host, 1009));
        tabs.SetStyle(0, WS_VISIBLE | bits);
        tabs.SetColors(kColors, FALSE);
        for (const auto& t : titles) {
            tabs.InsertItem(tabs.GetItemCount(), t.c_str());
        }
    }
    QWidget* Widget() { return WidgetOf(tabs); }
    void Tap(QPoint at, Qt::KeyboardModifiers keys = {}) {
        QTest::mouseClick(Widget(), Qt::LeftButton, keys, at);
    }
    void DoubleTap(QPoint at) {
        Tap(at);
        QTest::mouseDClick(Widget(), Qt::LeftButton, {}, at);
        QTest::mouseRelease(Widget(), Qt::LeftButton, {}, at);
    }
    CRect ItemRect(int index) {
        CRect r;
        EXPECT_TRUE(tabs.GetItemRect(index, &r));
        return r;
    }
    QPoint Centre(int index) {
        CPoint c = ItemRect(index).CenterPoint();
        return {c.x, c.y};
    }
    // The strip's first point on a button, or (-1, -1).
    QPoint FindButton(int hit) {
        for (int x = 0; x < 232; ++x) {
            if (tabs.HitTest(CPoint(x, 12)) == hit) {
                return {x, 12};
            }
        }
        return {-1, -1};
    }

    NotificationHost host;
    CCustomTabContainer tabs;
};

} // namespace

TEST_F(TabTest, TwoShortTitlesOnASmallScreenFitWithoutButtons) {
    Make(kProgramStyle, {u"Scan", u"Setup"});
    tabs.SetCurSel(0);
    EXPECT_EQ(tabs.GetStripHeight(), 25);
    CRect second = ItemRect(1);
    EXPECT_EQ(second.left, ItemRect(0).right);
    EXPECT_EQ(FindButton(CTCHT_ONNEXTBUTTON).x(), -1);

    QImage image = Shot(tabs);
    EXPECT_EQ(PixelAt(image, 0, 12), kColors[5]); // left outline
    EXPECT_EQ(PixelAt(image, 5, 24), kColors[2]); // selected, open at the bottom
    EXPECT_EQ(PixelAt(image, second.left + 3, 12), kColors[1]);
    EXPECT_EQ(PixelAt(image, second.right + 5, 12), kColors[0]);
    tabs.SetStyle(0, CTCS_NOOUTLINE);
    EXPECT_EQ(PixelAt(Shot(tabs), 0, 12), kColors[2]);
}

TEST_F(TabTest, TheRecordDescribesTheTabAndCutsLongTitles) {
    std::u16string smile = u"\U0001F600";
    Make(kProgramStyle, {std::u16string(28, u'a') + smile + u"!", u"Scan",
                         u"A title of thirty-five characters!!"});
    tabs.SetCurSel(1);
    QPoint at(ItemRect(2).left + 20, 12);
    Tap(at);
    const CTC_NMHDR& r = host.last;
    EXPECT_EQ(std::u16string(r.pszText), u"A title of thirty-five charac");
    EXPECT_EQ(CPoint(r.rItem.left, r.ptHitTest.x), CPoint(ItemRect(2).left + 12, at.x()));
    EXPECT_TRUE(r.fSelected && !r.fHighlighted);
    // A cut never splits a character made of two units.
    tabs.DeleteItem(2);
    tabs.DeleteItem(1);
    Tap(Centre(0));
    EXPECT_EQ(host.last.code, CTCN_CLICK);
    EXPECT_EQ(std::u16string(host.last.pszText), std::u16string(28, u'a'));
}

TEST_F(TabTest, HoldingNextScrollsAtOnceAndThenEveryHalfSecond) {
    ManualTimers timers;
    Make(kProgramStyle, {u"One", u"Two", u"Three", u"Four", u"Five", u"Six", u"Seven"});
    QPoint next = FindButton(CTCHT_ONNEXTBUTTON);
    ASSERT_NE(next.x(), -1);
    QTest::mousePress(Widget(), Qt::LeftButton, {}, next);
    EXPECT_EQ(tabs.GetFirstVisible(), 1);
    EXPECT_EQ(timers.Period(tabs.m_hWnd, 1), 100u);
    std::vector<int> seen;
    for (DWORD step : {100, 300, 100, 499, 1}) {
        timers.Advance(step);
        timers.Fire(tabs.m_hWnd, 1);
        seen.push_back(tabs.GetFirstVisible());
    }
    EXPECT_EQ(seen, (std::vector<int>{1, 1, 2, 2, 3}));
    EXPECT_EQ(tabs.HitTest(ItemRect(2).TopLeft()), 2) << "the stub before the first visible tab";
    // Held on, it stops once the last tab fits.
    for (int i = 0; i < 10; ++i) {
        timers.Advance(500);
        timers.Fire(tabs.m_hWnd, 1);
    }
    int last = tabs.GetFirstVisible();
    EXPECT_LE(ItemRect(6).right, 232);
    EXPECT_GT(last, 3);
    QTest::mouseRelease(Widget(), Qt::LeftButton, {}, next);
    EXPECT_FALSE(timers.IsArmed(tabs.m_hWnd, 1));
    EXPECT_EQ(host.log, (Log{"tab -2 -3"}));

    // The buttons' glyphs in the button text colour.
    QImage image = Shot(tabs);
    CRect prev(next.x() - 22, 2, next.x(), 24);
    EXPECT_EQ(tabs.HitTest(prev.TopLeft()), CTCHT_ONPREVBUTTON);
    EXPECT_EQ(PixelAt(image, prev.left + 5, prev.top), GetSysColor(COLOR_BTNTEXT));
    EXPECT_EQ(PixelAt(image, prev.left + 4, prev.top), kColors[0]);
    Tap({prev.left, prev.top});
    EXPECT_EQ(tabs.GetFirstVisible(), last - 1);
}

TEST_F(TabTest, SelectionFollowsDeletionAndRefusesBadIndexes) {
    Make(kProgramStyle, {u"A", u"B", u"C", u"D"});
    tabs.SetCurSel(1);
    EXPECT_EQ(tabs.DeleteItem(1), 1); // the following tab takes its place
    EXPECT_EQ(tabs.GetItemText(1), u"C");
    EXPECT_EQ(tabs.DeleteItem(0), 0); // one before the selection moves it back
    EXPECT_EQ(tabs.SetCurSel(1), 0);
    EXPECT_EQ(tabs.DeleteItem(1), 0); // the last one hands over to the previous
    EXPECT_EQ(tabs.SetCurSel(3), -2);
    EXPECT_EQ(tabs.DeleteItem(-1), -2);
    EXPECT_EQ(tabs.GetCurSel(), 0);
    EXPECT_EQ(tabs.DeleteItem(0), -1);
    tabs.InsertItem(5, u"");
    EXPECT_EQ(tabs.GetItemText(0), u"<No title>");
    EXPECT_TRUE(host.log.empty());
}

TEST_F(TabTest, DoubleTapOnTheSelectedTabRenamesItWhenAllowed) {
    Make(kProgramStyle, {u"Scan", u"Setup"});
    tabs.SetCurSel(1);
    DoubleTap(Centre(1)); // without the editing style nothing opens
    EXPECT_EQ(::GetWindow(tabs.m_hWnd, GW_CHILD), nullptr);
    tabs.SetStyle(0, CTCS_EDITLABELS);
    host.log.clear();
    int width = ItemRect(1).Width();
    DoubleTap(Centre(1));
    EXPECT_EQ(host.log, (Log{"tab -2 1", "tab -2 1", "tab -3 1"}));
    HWND editor = ::GetWindow(tabs.m_hWnd, GW_CHILD);
    ASSERT_NE(editor, nullptr);
    ::SetWindowText(editor, u"Settings and more");
    EXPECT_EQ(tabs.GetItemText(1), u"Settings and more");
    EXPECT_GT(ItemRect(1).Width(), width);
    Tap(Centre(0));
    EXPECT_FALSE(::IsWindow(editor));
}

TEST_F(TabTest, PagesShowOneAtATimeOverThePageArea) {
    Make(kProgramStyle);
    bool deleted = false;
    auto* list = new Page;
    auto* options = new Page(&deleted);
    auto make = [this](CWnd* page) {
        return page->Create(u"NotificationHost", u"", WS_CHILD, CRect(0, 0, 10, 10), &host, 0);
    };
    ASSERT_TRUE(make(list));
    EXPECT_EQ(tabs.AddPage(0, u"Nothing", nullptr), -1);
    EXPECT_EQ(tabs.AddPage(0, u"Scan", list), 0);
    // The second page's window is made when the page is first shown.
    EXPECT_EQ(tabs.AddPage(1, u"Setup", options, [&] { make(options); }), 1);
    EXPECT_EQ(options->m_hWnd, nullptr);
    CRect shown;
    list->GetWindowRect(&shown);
    host.ScreenToClient(&shown);
    EXPECT_EQ(shown, CRect(4, 27, 236, 262));
    EXPECT_TRUE(list->IsWindowVisible() && !options->IsWindowVisible());

    Tap(Centre(1)); // told before and after the change
    EXPECT_EQ(host.log, (Log{"tab -2 1", "tab 0 1"}));
    EXPECT_TRUE(!list->IsWindowVisible() && options->IsWindowVisible());
    CRect now;
    options->GetWindowRect(&now);
    host.ScreenToClient(&now);
    EXPECT_EQ(now, shown);

    EXPECT_TRUE(tabs.RemovePage(1));
    EXPECT_TRUE(deleted);
    EXPECT_TRUE(list->IsWindowVisible());
    // The close button removes the selected page; without pages the area takes colour 0.
    tabs.SetStyle(CTCS_AUTOHIDEBUTTONS, CTCS_CLOSEBUTTON);
    Tap(FindButton(CTCHT_ONCLOSEBUTTON));
    EXPECT_EQ(tabs.GetPageCount() + tabs.GetItemCount(), 0);
    EXPECT_EQ(PixelAt(Shot(tabs), 100, 100), kColors[0]);
}

TEST_F(TabTest, LastAndSelectingTheLastTabBothShowItFromTheEarliestTabTheyCan) {
    Make(kProgramStyle | CTCS_FOURBUTTONS,
         {u"One", u"Two", u"Three", u"Four", u"Five", u"Six", u"Seven"});
    Tap(FindButton(CTCHT_ONLASTBUTTON));
    const int last = tabs.GetFirstVisible();
    EXPECT_GT(last, 0);
    EXPECT_LT(last, 6) << "more than the last tab fits";
    Tap(FindButton(CTCHT_ONFIRSTBUTTON));
    ASSERT_EQ(tabs.GetFirstVisible(), 0);
    tabs.SetCurSel(6);
    EXPECT_EQ(tabs.GetFirstVisible(), last);
}

// Every text the program draws is upright Tahoma at its natural width.
TEST(TahomaFont, IsUprightAtItsNaturalWidth) {
    CFont font;
    ASSERT_TRUE(korvyn::CreateTahomaFont(font, 12, FW_BOLD));
    LOGFONT made{};
    ASSERT_NE(font.GetLogFont(&made), 0);
    EXPECT_EQ(std::u16string(made.lfFaceName), u"Tahoma");
    EXPECT_EQ(std::tuple(made.lfHeight, made.lfWidth, made.lfWeight, made.lfItalic),
              std::tuple(LONG{12}, LONG{0}, LONG{FW_BOLD}, BYTE{0}));
}

TEST(TabGlyphs, TheCloseCrossIsDrawnWholeAtItsPlace) {
    CDC dc;
    CBitmap bitmap;
    dc.CreateCompatibleDC(nullptr);
    bitmap.CreateCompatibleBitmap(&dc, 12, 10);
    dc.SelectObject(&bitmap);
    dc.FillSolidRect(0, 0, 12, 10, RGB(255, 255, 255));
    korvyn::DrawTabGlyph(dc, 4, 2, 1, RGB(255, 0, 0));
    const char* cross[] = {"#.....#.", ".#...#..", "..#.#...", "...#....",
                           "..#.#...", ".#...#..", "#.....#."};
    std::string drawn, expected;
    for (int y = 0; y < 10; ++y) {
        for (int x = 0; x < 12; ++x) {
            drawn += dc.GetPixel(x, y) == RGB(255, 0, 0) ? '#' : '.';
            expected += x >= 2 && x < 10 && y >= 1 && y < 8 ? cross[y - 1][x - 2] : '.';
        }
    }
    EXPECT_EQ(drawn, expected);
}
