// The zoomed meter on every reference screen, in the whole program: the name, the number,
// the graph and the details each in a rectangle of their own above the count line, with
// every pixel drawn inside one of them; the graph's line inside its plot, broken where the
// station was not heard, and starting from the scans before the meter was opened.
#include "AppHarness.h"
#include "support/gui/ScriptedPopupMenus.h"
#include "support/gui/WindowPixels.h"

#include "controls/ThemeColors.h"
#include "views/CScannerDlg.h"
#include "views/MeterLayout.h"

#include <sstream>

using namespace korvyn::test;

namespace {

constexpr int kScans = 60, kGapFrom = 20, kGapTo = 30; // not heard in scans 20 to 29

std::string Alpha(LONG rssi) {
    return ListBytes(
        1, {EntryBytes().Mac({2, 0x11, 0x22, 0, 0, 1}).Ssid(5, "Alpha").Rssi(DWORD(rssi)).Bytes()});
}

bool Inside(const CRect& inner, const CRect& outer) {
    CRect both;
    return both.IntersectRect(inner, outer) && both == inner;
}
bool Holds(const CRect& r, int x, int y) {
    return r.PtInRect(CPoint(x, y));
}

class MeterGraph : public AppTest {};

} // namespace

TEST_F(MeterGraph, EachPartInItsOwnPlaceAndTheLineBrokenWhereNotHeard) {
    const CSize screens[] = {{240, 320}, {320, 240}, {240, 240}, {480, 640}};
    for (const CSize& screen : screens) {
        korvyn::platform::SetDeviceScreenSize(screen.cx, screen.cy);
        Run([&](CMainDlg& dlg) {
            SCOPED_TRACE(std::to_string(screen.cx) + "x" + std::to_string(screen.cy));
            settings.SetValue(CSettings::kRefresh, 2); // a scan a second: 120 in the graph
            for (int scan = 0; scan < kScans; ++scan) {
                driver->list =
                    scan >= kGapFrom && scan < kGapTo ? ListBytes(0, {}) : Alpha(-45 - scan % 30);
                timers.Fire(dlg, CMainDlg::kScanTimer);
            }
            CScannerDlg& page = *dlg.GetListPage();
            ScriptedPopupMenus menus({ID_ZOOM});
            NMITEMACTIVATE tap{};
            tap.hdr = {page.GetDlgItem(IDC_LIST)->m_hWnd, IDC_LIST, UINT(NM_CLICK)};
            page.SendMessage(WM_NOTIFY, IDC_LIST, reinterpret_cast<LPARAM>(&tap));
            page.SendMessage(WM_COMMAND, MAKEWPARAM(ID_ZOOM, 0), 0);
            ASSERT_TRUE(page.IsZoomed());
            const QImage shot = Shot(page);
            const korvyn::MeterLayout& m = page.GetMeterLayout();

            CRect client, count;
            page.GetClientRect(&client);
            page.GetDlgItem(IDC_COUNT)->GetWindowRect(&count);
            page.ScreenToClient(&count);
            const CRect above(0, 0, client.right, count.top);
            const CRect parts[] = {m.name, m.number, m.graph, m.details};
            for (std::size_t i = 0; i < 4; ++i) {
                EXPECT_FALSE(parts[i].IsRectEmpty()) << i;
                EXPECT_TRUE(Inside(parts[i], above)) << i;
                for (std::size_t j = i + 1; j < 4; ++j) {
                    CRect both;
                    EXPECT_FALSE(both.IntersectRect(parts[i], parts[j])) << i << " and " << j;
                }
            }
            EXPECT_TRUE(Inside(m.plot, m.graph) && Inside(m.labels, m.graph));
            EXPECT_LE(m.labels.right, m.plot.left);
            EXPECT_EQ(m.numberCell.Height(), 100);
            EXPECT_TRUE(Inside(m.number, m.numberCell));
            EXPECT_EQ(m.name, CRect(0, 0, client.right, 20));

            // Every pixel that is not background lies in one of the parts (the name's
            // descenders may shade one row under its band); the line's colour only in the
            // graph.
            const CRect name(m.name.left, m.name.top, m.name.right, m.name.bottom + 1);
            const COLORREF background = page.GetBackgroundColor(), line = korvyn::CaptionColor();
            int strays = 0, lineOutside = 0;
            std::vector<int> labelRows;
            for (int y = above.top; y < above.bottom; ++y) {
                bool labelInk = false;
                for (int x = above.left; x < above.right; ++x) {
                    const COLORREF p = PixelAt(shot, x, y);
                    if (p == background)
                        continue;
                    if (!(Holds(name, x, y) || Holds(m.number, x, y) || Holds(m.graph, x, y) ||
                          Holds(m.details, x, y)) &&
                        ++strays < 5)
                        ADD_FAILURE() << "drawn outside every part at " << x << "," << y;
                    lineOutside += p == line && !Holds(m.graph, x, y);
                    labelInk |= Holds(m.labels, x, y);
                    if (Holds(m.graph, x, y) && x < m.labels.left)
                        ADD_FAILURE() << "a label reaches out of its column at " << x << "," << y;
                }
                if (labelInk && (labelRows.empty() || labelRows.back() + 1 < y))
                    labelRows.push_back(y); // the first row of each label
                else if (labelInk)
                    labelRows.back() = y;
            }
            EXPECT_EQ(strays, 0);
            EXPECT_EQ(lineOutside, 0);
            EXPECT_EQ(labelRows.size(), 3u) << "three whole labels, apart";

            // Columns of scans: the newest at the plot's right edge, 120 across the plot.
            auto column = [&](int scan) {
                const int slot = 119 - (kScans - 1 - scan);
                return m.plot.left + slot * (m.plot.Width() - 1) / 119;
            };
            auto lineIn = [&](int x0, int x1) {
                int n = 0;
                for (int x = x0; x <= x1; ++x)
                    for (int y = m.graph.top; y < m.graph.bottom; ++y)
                        n += PixelAt(shot, x, y) == line;
                return n;
            };
            const int pen = 2 * m.scale + 1; // the line's half width, and a pixel to round
            EXPECT_EQ(lineIn(column(kGapFrom - 1) + pen, column(kGapTo) - pen), 0) << "the gap";
            EXPECT_GT(lineIn(column(0), column(kGapFrom - 1) - 1), 0) << "before the meter";
            EXPECT_GT(lineIn(column(kGapTo), column(kScans - 1)), 0);
            EXPECT_EQ(lineIn(m.plot.left, column(0) - pen), 0) << "nothing before the first scan";
        });
    }
}
