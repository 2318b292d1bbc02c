// The list page: columns and widths, every column's text, the count line, the rows a tick
// repaints and the list font. (Its place on each screen shape: the program's layout test.)
#include "PageFixture.h"

#include "platform/ui/ScreenUpdates.h"
#include "views/StationColumns.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <limits>
#include <tuple>

using namespace korvyn::test;
using Widths = std::array<int, 10>;
using Texts = std::vector<std::u16string>;

namespace {

// Widths for some font sizes from 10 to 20.
const std::pair<int, Widths> kWidths[] = {{10, {50, 35, 45, 40, 60, 90, 40, 40, 100, 100}},
                                          {11, {55, 37, 49, 44, 66, 99, 44, 44, 110, 110}},
                                          {12, {60, 40, 54, 48, 72, 108, 48, 48, 120, 120}},
                                          {17, {85, 52, 76, 68, 102, 153, 68, 68, 170, 170}},
                                          {20, {100, 59, 90, 80, 120, 180, 80, 80, 200, 200}}};

class ListPage : public PageFixture {
protected:
    Widths ListWidths() {
        Widths w{};
        for (int c = 0; c < 10; ++c) {
            w[c] = List().GetColumnWidth(c);
        }
        return w;
    }
    int FontHeight() {
        LOGFONT lf{};
        List().GetFont()->GetLogFont(&lf);
        EXPECT_EQ(lf.lfWeight, FW_BOLD);
        EXPECT_EQ(std::u16string(lf.lfFaceName), u"Tahoma");
        return lf.lfHeight;
    }
};

} // namespace

TEST_F(ListPage, PaintsTheLayoutOfItsFontSize) {
    settings.SetValue(CSettings::kFont, 25); // out of range: 12
    OpenPage();
    EXPECT_EQ(ListWidths(), (Widths{50, 35, 30, 40, 30, 80, 40, 40, 100, 100})) << "initial";

    Shot(*page);
    EXPECT_EQ(ListWidths(), kWidths[2].second);
    EXPECT_EQ(FontHeight(), 12);
    page->SetFontSize(12); // the same size: a width set by hand survives the paint
    List().SetColumnWidth(0, 77);
    Shot(*page);
    EXPECT_EQ(List().GetColumnWidth(0), 77);
    for (const auto& [size, widths] : kWidths) {
        page->SetFontSize(size);
        Shot(*page);
        EXPECT_EQ(ListWidths(), widths) << "size " << size;
        EXPECT_EQ(FontHeight(), size);
    }
    page->SetFontSize(21);
    EXPECT_EQ(page->GetFontSize(), 12);
}

TEST_F(ListPage, CellTextsOfEveryColumn) {
    OpenPage();
    ScanObservation a = Obs(1, -50, u"Alpha");
    std::memcpy(a.mac, "\x00\x0a\x1b\x2c\x3d\x4e", 6);
    ScanObservation b = Obs(2, -60, u"Bravo", 149, 2, 1), c = Obs(3, 0, u"", 0, 0);
    ScanObservation d = Obs(4, std::numeric_limits<LONG>::min(), u"", 234);
    std::fill(std::begin(d.ssid), std::end(d.ssid), u'W'); // no terminator
    Merge({a});
    now = Time(2009, 1, 2, 3, 4, 5);
    a.rssi = -70;
    Merge({a, b, c, d});
    Merge({b, c, d}); // Alpha absent
    page->RefreshList();
    ASSERT_EQ(List().GetItemCount(), 4);
    EXPECT_EQ(Row(RowOf(u"Alpha")),
              (Texts{u"Alpha", u"-----", u"6", u"AP", u"Open", u"00-0A-1B-2C-3D-4E", u"50", u"30",
                     u"08/04/20 04:20:27", u"09/01/02 03:04:05"}));
    EXPECT_EQ(Row(RowOf(u"Bravo")),
              (Texts{u"Bravo", u"40", u"149", u"?", u"WEP", u"02-00-00-00-00-02", u"40", u"40",
                     u"09/01/02 03:04:05", u"09/01/02 03:04:05"}));
    Texts peer = Row(RowOf(u""));
    EXPECT_EQ((Texts{peer[1], peer[2], peer[3]}), (Texts{u"100", u"--", u"Peer"}));
    int w = RowOf(std::u16string(32, u'W'));
    ASSERT_GE(w, 0) << "a name is at most 32 characters";
    EXPECT_EQ(Cell(w, 1) + Cell(w, 2), u"-2147483548--");
    EXPECT_EQ(Cell(0, 10), u"");
    EXPECT_EQ(Cell(4, 0), u"") << "beyond the rows";
    EXPECT_EQ(Cell(0, 5, 6), Cell(0, 5).substr(0, 5)) << "cut to the buffer";
    EXPECT_EQ(korvyn::DateText(std::nan("")), u"-1/-1/-1 -1:-1:-1");
    EXPECT_EQ(korvyn::DateText(1e9), u"-1/-1/-1 -1:-1:-1");
}

TEST_F(ListPage, CountLineFollowsTheViewAndTheHideSettings) {
    OpenPage();
    page->RefreshList();
    EXPECT_EQ(Text(IDC_COUNT), u"0/0 active");
    std::vector<ScanObservation> all;
    for (DWORD i = 0; i < 10; ++i) {
        all.push_back(Obs(i, -40, u"n", 6, 1, i % 2));
    }
    Merge(all);
    Merge({all[0], all[1], all[2]});
    page->RefreshList();
    EXPECT_EQ(Text(IDC_COUNT), u"3/10 active");
    settings.SetValue(CSettings::kWep, 1);
    page->RefreshList();
    EXPECT_EQ(Text(IDC_COUNT), u"2/5 active");
}

// What a tick asks to repaint: (window, top, bottom), the band of rows whose texts (and so
// wedge and colours) changed, -1 for the whole count line.
TEST_F(ListPage, ATickRepaintsTheRowsThatLookDifferentAndTheCountLineWhenItChanges) {
    OpenPage();
    std::vector<ScanObservation> scan = {Obs(1, -40, u"a"), Obs(2, -50, u"b"), Obs(3, -60, u"c")};
    Merge(scan);
    page->RefreshList();
    using Repaint = std::tuple<HWND, LONG, LONG>;
    std::vector<Repaint> repaints;
    auto previous = korvyn::platform::SetRepaintObserver([&](HWND w, const RECT* r) {
        repaints.emplace_back(w, r ? r->top : -1, r ? r->bottom : -1);
    });
    const struct {
        const char* what;
        std::function<void()> change;
        int first, last; // the rows repainted, -1: none
        bool count;
    } ticks[] = {
        {"the same scan", [] {}, -1, -1, false},
        {"one signal", [&] { scan[1].rssi = -55; }, 1, 1, false},
        {"a later second", [&] { now.wSecond += 1; }, 0, 2, false},
        {"a station gone", [&] { scan.pop_back(); }, 0, 2, true},
        {"a station back", [&] { scan.push_back(Obs(3, -60, u"c")); }, 0, 2, true},
    };
    for (const auto& tick : ticks) {
        tick.change();
        Merge(scan);
        repaints.clear();
        page->RefreshList();
        std::vector<Repaint> expected;
        if (tick.first >= 0) {
            CRect top, bottom;
            List().GetItemRect(tick.first, &top, LVIR_BOUNDS);
            List().GetItemRect(tick.last, &bottom, LVIR_BOUNDS);
            expected.emplace_back(List().m_hWnd, top.top, bottom.bottom);
        }
        if (tick.count)
            expected.emplace_back(page->GetDlgItem(IDC_COUNT)->m_hWnd, -1, -1);
        EXPECT_EQ(repaints, expected) << tick.what;
    }
    korvyn::platform::SetRepaintObserver(std::move(previous));
}
