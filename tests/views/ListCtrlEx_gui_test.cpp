// The list control's own drawing: the signal wedge on pixels, the fill table, and each
// cell's colours from the custom-draw answers.
#include "PageFixture.h"

#include <limits>
#include <map>

using namespace korvyn::test;

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);

// A white memory surface; Column(x) reads a pixel column bottom up as letters:
// G filled, | gap, - unfilled, . white.
struct Surface {
    CBitmap bitmap; // outlives the DC it is selected into
    CDC dc;
    Surface() {
        dc.CreateCompatibleDC(nullptr);
        bitmap.CreateCompatibleBitmap(&dc, 200, 20);
        dc.SelectObject(&bitmap);
        dc.FillSolidRect(0, 0, 200, 20, RGB(255, 255, 255));
    }
    std::string Column(int x, int bottom) {
        std::string out;
        for (int y = bottom - 1; y >= 0; --y) {
            COLORREF c = dc.GetPixel(x, y);
            out += c == RGB(50, 255, 50)     ? 'G'
                   : c == RGB(150, 150, 150) ? '|'
                   : c == RGB(220, 220, 220) ? '-'
                                             : '.';
        }
        return out;
    }
};

// Column i of a wedge of size s is i pixels of one colour, bottom up, checked for each.
void ExpectWedge(int size, LONG rssi, const std::string& colours) {
    Surface s;
    CListCtrlEx::DrawSignalWedge(&s.dc, 2, 3, 2 + size + 2, 17, size, rssi);
    for (int x = 0; x < size + 8; ++x) {
        int i = x - 3;
        bool in = i >= 0 && i < size;
        std::string expected = std::string(in ? i : 0, in ? colours[i] : '.');
        EXPECT_EQ(s.Column(x, 17), expected + std::string(17 - expected.size(), '.'))
            << "size " << size << " at " << rssi << ", column " << i;
    }
}

} // namespace

TEST(SignalWedge, FillTableAndPixels) {
    const std::map<int, std::vector<int>> table = {{10, {10, 8, 5, 4, 3, 1, 0}},
                                                   {16, {16, 12, 8, 6, 4, 2, 0}}};
    const LONG magnitudes[] = {10, 30, 50, 60, 70, 80, 90};
    for (const auto& [size, filled] : table) {
        for (int k = 0; k < 7; ++k) {
            EXPECT_EQ(CListCtrlEx::FilledColumns(size, -magnitudes[k]), filled[k]) << size;
        }
        EXPECT_EQ(CListCtrlEx::FilledColumns(size, -5), size);
        EXPECT_EQ(CListCtrlEx::FilledColumns(size, -91), 0);
    }
    EXPECT_EQ(CListCtrlEx::FilledColumns(12, std::numeric_limits<LONG>::min()), 0);

    ExpectWedge(12, -70, ".GG|--|--|--"); // column 3: the first unfilled, and a gap
    ExpectWedge(10, -10, ".GG|GG|GGG");   // the last column is never a gap
    ExpectWedge(17, -91, ".----|----|----|-");
}

class ListColours : public PageFixture {
protected:
    struct Drawn {
        LRESULT result;
        COLORREF text;
        LONG left;
    };
    LRESULT Send(DWORD stage, std::uintptr_t item, int column, NMLVCUSTOMDRAW* out = nullptr) {
        NMLVCUSTOMDRAW cd{};
        cd.nmcd.hdr = {List().m_hWnd, IDC_LIST, static_cast<UINT>(NM_CUSTOMDRAW)};
        cd.nmcd.dwDrawStage = stage;
        cd.nmcd.hdc = surface.dc.m_hDC;
        cd.nmcd.rc = {100, 0, 140, 16};
        cd.nmcd.dwItemSpec = item;
        cd.iSubItem = column;
        LRESULT r = page->SendMessage(WM_NOTIFY, IDC_LIST, reinterpret_cast<LPARAM>(&cd));
        if (out) {
            *out = cd;
        }
        return r;
    }
    Drawn Cell(int column) {
        NMLVCUSTOMDRAW cd;
        LRESULT r = Send(CDDS_ITEMPREPAINT | CDDS_SUBITEM, 0, column, &cd);
        return {r, cd.clrText, cd.nmcd.rc.left};
    }
    Surface surface;
};

TEST_F(ListColours, EachCellGetsItsColoursAndTheActiveSignalCellItsWedge) {
    OpenPage();
    const COLORREF n = GetSysColor(COLOR_WINDOWTEXT), g = GetSysColor(COLOR_GRAYTEXT);
    const std::vector<COLORREF> secured = {kRed, n, n, n, kRed, n, n, n, n, n};
    std::map<std::u16string, std::vector<COLORREF>> expected = {
        {u"open-on", {n, n, n, n, n, n, n, n, n, n}},
        {u"sec-on", secured},
        {u"sec-off", {g, g, g, g, g, g, g, g, g, g}}};
    std::vector<ScanObservation> first = {Obs(1, -60, u"open-on"), Obs(2, -60, u"sec-on", 6, 1, 1),
                                          Obs(3, -60, u"sec-off", 6, 1, 1)};
    std::vector<ScanObservation> second = {first[0], first[1]};
    // Every kind of security is red: WEP, WPA2, WPA3, WPA2/3, OWE, WPA2-E.
    for (const DWORD kind : {2, 4, 5, 6, 7, 0x14}) {
        const std::u16string name = u"kind " + std::u16string(1, char16_t(u'A' + kind));
        first.push_back(Obs(10 + kind, -60, name.c_str(), 6, 1, kind));
        second.push_back(first.back());
        expected[name] = secured;
    }
    Merge(first);
    Merge(second);
    page->RefreshList();
    EXPECT_EQ(Send(CDDS_PREPAINT, 0, 0), CDRF_NOTIFYITEMDRAW);
    for (const auto& [name, colours] : expected) {
        SCOPED_TRACE(korvyn::platform::Utf16ToUtf8(name));
        EXPECT_EQ(Send(CDDS_ITEMPREPAINT, std::uintptr_t(RowOf(name)), 0), CDRF_NOTIFYSUBITEMDRAW);
        for (int column = 0; column < 10; ++column) {
            Drawn d = Cell(column);
            EXPECT_EQ(d.result, CDRF_DODEFAULT);
            EXPECT_EQ(d.text, colours[column]) << column;
            EXPECT_EQ(d.left, column == 1 && colours[0] != g ? 114 : 100) << "room: S + 2";
        }
    }
    // A row that is not in the view keeps the previous row's copy.
    Send(CDDS_ITEMPREPAINT, std::uintptr_t(RowOf(u"sec-on")), 0);
    Send(CDDS_ITEMPREPAINT, 99, 0);
    EXPECT_EQ(Cell(4).text, kRed);

    // The wedges went to the drawing's DC, at x = 101 to 112, bottom row y = 15.
    std::string bottoms;
    for (int x = 100; x < 114; ++x) {
        bottoms += surface.Column(x, 16)[0];
    }
    EXPECT_EQ(bottoms, "..GG|G-|--|--.");
    // The wedge is as wide as the list's font is high: a stored size the list does not
    // take (above 20, below 10, damaged) draws the wedge at 12, as the list's font.
    settings.SetValue(CSettings::kFont, 9);
    EXPECT_EQ(Cell(1).left, 114);
    settings.SetValue(CSettings::kFont, 20);
    EXPECT_EQ(Cell(1).left, 122);
}
