// What a user reads and where: in every language and at every size, each text fits where its
// control draws it, every control lies inside its window apart from the others, the layout
// fills the window, and the zoomed meter keeps each of its parts in a place of its own.
#include "AppHarness.h"
#include "support/gui/ScriptedPopupMenus.h"
#include "support/gui/WindowPixels.h"

#include "controls/CColoredDlg.h"
#include "controls/CCustomButton.h"
#include "controls/ThemeColors.h"
#include "controls/TransparentBitmap.h"
#include "platform/system/TextCodec.h"
#include "platform/ui/CClientDC.h"
#include "platform/ui/DeviceScreen.h"
#include "settings/COptionsDlg.h"
#include "views/CChannelsDlg.h"
#include "views/CScannerDlg.h"
#include "views/MeterLayout.h"

#include <QTest>

using namespace korvyn::test;

namespace {

// Where a window is, in the main window's client coordinates.
CRect InMainWindow(CMainDlg& dlg, CWnd& window) {
    CRect r;
    window.GetWindowRect(&r);
    dlg.ScreenToClient(&r);
    return r;
}

class TextFits : public AppTest {
protected:
    std::string where;

    // Whether a text fits where the control draws it, in the font its drawing picks: plain
    // statics wrap in their whole client area; buttons leave room for their frame, picture
    // or indicator.
    void Check(CWnd* control, const std::u16string& text) {
        if (control == nullptr || text.empty()) {
            return;
        }
        CRect area;
        control->GetClientRect(&area);
        HFONT font =
            control->GetFont() ? static_cast<HFONT>(control->GetFont()->m_hObject) : nullptr;
        const DWORD style = control->GetStyle();
        bool wraps = true;
        if (auto* custom = dynamic_cast<CCustomButton*>(control)) {
            if (HFONT fitted = custom->FittedCaptionFont(text); fitted != nullptr) {
                font = fitted;
            }
            const CSize picture = korvyn::BitmapSize(custom->GetStateBitmap(false));
            if (custom->GetKind() == CCustomButton::Kind::PushButton || (style & BS_PUSHLIKE)) {
                area.DeflateRect(2, 2);
                area.right -= picture.cx;
                wraps = (style & BS_MULTILINE) != 0;
            } else {
                area.left += (picture.cx > 0 ? picture.cx : 13) + 4;
            }
        } else if (dynamic_cast<CButton*>(control) != nullptr) {
            const DWORD type = style & 0x0F;
            area.DeflateRect(2, 0);
            area.left += type != BS_PUSHBUTTON && type != BS_DEFPUSHBUTTON ? 13 + 2 : 0;
            wraps = (style & BS_MULTILINE) != 0;
        } else if (auto* dialog = dynamic_cast<CColoredDlg*>(control->GetParent())) {
            font = dialog->LabelFont(*control, text);
        }
        CClientDC dc(control);
        HGDIOBJ old = font != nullptr ? dc.SelectObject(font) : nullptr;
        CRect need(0, 0, area.Width(), 0);
        dc.DrawText(text, &need, DT_CALCRECT | (wraps ? DT_WORDBREAK : DT_SINGLELINE));
        if (old != nullptr) {
            dc.SelectObject(old);
        }
        EXPECT_TRUE(need.Width() <= area.Width() && need.Height() <= area.Height())
            << where << ": \"" << korvyn::platform::Utf16ToUtf8(text) << "\" (control "
            << control->GetDlgCtrlID() << ") needs " << need.Width() << "x" << need.Height()
            << " in " << area.Width() << "x" << area.Height();
    }
    // Every control of a window that shows text, as it shows it now.
    void CheckShownTexts(CWnd& window) {
        for (CWnd* c = window.GetWindow(GW_CHILD); c; c = c->GetWindow(GW_HWNDNEXT)) {
            if (dynamic_cast<CButton*>(c) != nullptr || c->IsKindOf(RUNTIME_CLASS(CStatic))) {
                Check(c, c->GetWindowText());
            }
        }
    }
    // The visible controls of the main window and its shown page lie inside their window and
    // apart (but on the options page, whose sliders reach a little into the next row); the
    // buttons sit beside the tab strip when wider than tall, else under it; only the
    // template's margin stays below the layout; the count line shows under the list.
    void CheckPlaces(CMainDlg& dlg) {
        CRect client;
        dlg.GetClientRect(&client);
        int bottom = 0;
        for (CWnd* window : {static_cast<CWnd*>(&dlg), static_cast<CWnd*>(dlg.GetListPage()),
                             static_cast<CWnd*>(dlg.GetOptionsPage()),
                             static_cast<CWnd*>(dlg.GetChannelsPage())}) {
            if (window != &dlg && !window->IsWindowVisible()) {
                continue;
            }
            const CRect bounds = window == &dlg ? client : InMainWindow(dlg, *window);
            std::vector<std::pair<int, CRect>> placed;
            for (CWnd* c = window->GetWindow(GW_CHILD); c; c = c->GetWindow(GW_HWNDNEXT)) {
                const CRect r = InMainWindow(dlg, *c);
                if (!(c->GetStyle() & WS_VISIBLE) || c->IsKindOf(RUNTIME_CLASS(CDialog)) ||
                    r.IsRectEmpty()) {
                    continue; // the pages lie over the tab strip's page area
                }
                const int id = c->GetDlgCtrlID();
                EXPECT_TRUE(Inside(r, bounds) && Inside(bounds, client)) << where << ": " << id;
                for (const auto& [other, at] : placed) {
                    CRect both;
                    EXPECT_FALSE(window != dlg.GetOptionsPage() && both.IntersectRect(r, at))
                        << where << ": " << id << " overlaps " << other;
                }
                placed.emplace_back(id, r);
                bottom = std::max(bottom, static_cast<int>(r.bottom));
            }
        }
        SCOPED_TRACE(where);
        const CRect exit = InMainWindow(dlg, *dlg.GetDlgItem(IDC_EXIT));
        const CRect tab = InMainWindow(dlg, *dlg.GetDlgItem(IDC_TAB));
        if (client.Width() > client.Height()) {
            EXPECT_GE(exit.left, tab.right) << "landscape: the buttons beside the strip";
        } else {
            EXPECT_GE(exit.top, tab.bottom) << "portrait or square: the buttons under the strip";
        }
        const int margin = korvyn::platform::DialogUnitsToPixels(RECT{0, 0, 0, 4}).bottom;
        EXPECT_GE(bottom, client.bottom - margin) << "no empty band at the bottom";
        CScannerDlg* list = dlg.GetListPage();
        const CRect count = InMainWindow(dlg, *list->GetDlgItem(IDC_COUNT));
        EXPECT_GE(count.top, InMainWindow(dlg, *list->GetDlgItem(IDC_LIST)).bottom);
        EXPECT_LE(count.bottom, InMainWindow(dlg, *list).bottom) << "the count line shows";
    }
};

} // namespace

// English, Hungarian, Polish, French, Portuguese, Russian, German, Italian; on the reference
// screens and as the running window is resized to any shape, maximised and full screen; and
// on the smallest screen after a start on the largest.
TEST_F(TextFits, EveryTextFitsAndEveryControlIsInPlaceInEveryLanguageAtEverySize) {
    const CSize sizes[] = {{240, 320}, {320, 240},  {240, 240},  {240, 330},   {480, 640},
                           {640, 480}, {800, 480},  {321, 240},  {480, 660},   {900, 600},
                           {500, 500}, {300, 1000}, {1024, 600}, {1920, 1048}, {3840, 2160}};
    // The screen's shape picks the template; a landscape one 320 pixels high, the portrait one.
    EXPECT_EQ(
        (std::vector{CMainDlg::TemplateForScreen(240, 240), CMainDlg::TemplateForScreen(320, 240),
                     CMainDlg::TemplateForScreen(640, 480)}),
        (std::vector<UINT>{IDD_MAIN_SQUARE, IDD_MAIN_LANDSCAPE, IDD_MAIN_PORTRAIT}));
    driver->list = Networks(3);
    for (DWORD language : {0, 5, 6, 7, 9, 10, 11, 12}) {
        CSettings stored;
        stored.SetValue(CSettings::kLanguage, language);
        stored.Save();
        for (const bool startedLarge : {false, true}) {
            korvyn::platform::SetDeviceScreenSize(startedLarge ? 3840 : 240,
                                                  startedLarge ? 2160 : 320);
            Run([&](CMainDlg& dlg) {
                timers.Fire(dlg, CMainDlg::kScanTimer);
                for (const CSize& size :
                     startedLarge ? std::vector<CSize>{{240, 320}}
                                  : std::vector<CSize>(std::begin(sizes), std::end(sizes))) {
                    korvyn::platform::SetDeviceScreenSize(size.cx, size.cy);
                    for (int page : {0, 1, 2}) {
                        where = (startedLarge ? "started large, language " : "language ") +
                                std::to_string(language) + " " + std::to_string(size.cx) + "x" +
                                std::to_string(size.cy) + " page " + std::to_string(page);
                        dlg.GetTabs().SetCurSel(page);
                        dlg.GetTabs().ShowPages();
                        CheckShownTexts(dlg);
                        CheckShownTexts(*dlg.GetTabs().GetPage(page));
                        CheckPlaces(dlg);
                    }
                    // The texts each control shows in its other states.
                    CScannerDlg& list = *dlg.GetListPage();
                    COptionsDlg& options = *dlg.GetOptionsPage();
                    CChannelsDlg& channels = *dlg.GetChannelsPage();
                    Check(dlg.GetDlgItem(IDC_SUSPEND), languages.Text(4));
                    for (const char16_t* lamp : {u"Idle", u"Scan", u"NO RADIO"}) {
                        Check(dlg.GetDlgItem(IDC_LAMP), lamp);
                    }
                    Check(list.GetDlgItem(IDC_HINT), languages.Text(21));
                    Check(list.GetDlgItem(IDC_COUNT), u"888/888 " + languages.Text(19));
                    for (int band = 38; band <= 40; ++band) {
                        Check(channels.GetDlgItem(IDC_BAND), languages.Text(band));
                    }
                    Check(channels.GetDlgItem(IDC_BEST), languages.Text(41) + u": 225, 229, 233");
                    for (int step = 14; step <= 18; ++step) {
                        Check(options.GetDlgItem(IDC_SPEED_NAME), languages.Text(step));
                    }
                    for (auto [id, text] :
                         {std::pair{IDC_HIDE_PEERS, 5}, {IDC_HIDE_SECURED, 7}, {IDC_SOUND, 9}}) {
                        Check(options.GetDlgItem(id), languages.Text(text));
                        Check(options.GetDlgItem(id), languages.Text(text + 1));
                    }
                }
                LOGFONT buttons{};
                CFont::FromHandle(dlg.GetLamp().GetCaptionFont())->GetLogFont(&buttons);
                EXPECT_EQ(buttons.lfHeight, startedLarge ? 12 : 24)
                    << "the buttons' font follows the last screen's resolution";
            });
        }
    }
    Run([&](CMainDlg& dlg) {
        QWidget* window = WidgetOf(dlg);
        for (bool full : {false, true}) {
            const QSize before = window->size();
            full ? window->showFullScreen() : window->showMaximized();
            EXPECT_TRUE(QTest::qWaitFor([&] { return window->size() != before; }));
            EXPECT_GE(window->width(), 640);
            where = full ? "full screen" : "maximised";
            CheckPlaces(dlg);
            window->showNormal();
        }
    });
}

// The zoomed meter: the name, the number, the graph and the details each in a rectangle of
// their own above the count line; the graph's line broken where the station was not heard,
// and starting from the scans before the meter was opened.
TEST_F(AppTest, TheMeterKeepsEachPartInItsPlaceAndBreaksTheLineWhereNotHeard) {
    constexpr int kScans = 60, kGapFrom = 20, kGapTo = 30; // not heard in scans 20 to 29
    for (const CSize& screen : {CSize(240, 320), CSize(320, 240), CSize(240, 240)}) {
        korvyn::platform::SetDeviceScreenSize(screen.cx, screen.cy);
        Run([&](CMainDlg& dlg) {
            SCOPED_TRACE(std::to_string(screen.cx) + "x" + std::to_string(screen.cy));
            settings.SetValue(CSettings::kRefresh, 2); // a scan a second: 120 in the graph
            for (int scan = 0; scan < kScans; ++scan) {
                const DWORD rssi = DWORD(-45 - scan % 30);
                driver->list =
                    scan >= kGapFrom && scan < kGapTo
                        ? ListBytes(0, {})
                        : ListBytes(1, {EntryBytes().Ssid(5, "Alpha").Rssi(rssi).Bytes()});
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
                EXPECT_TRUE(!parts[i].IsRectEmpty() && Inside(parts[i], above)) << i;
                for (std::size_t j = i + 1; j < 4; ++j) {
                    CRect both;
                    EXPECT_FALSE(both.IntersectRect(parts[i], parts[j])) << i << " and " << j;
                }
            }
            EXPECT_TRUE(Inside(m.plot, m.graph) && Inside(m.labels, m.graph));
            EXPECT_LE(m.labels.right, m.plot.left);
            EXPECT_TRUE(Inside(m.number, m.numberCell));

            const COLORREF line = korvyn::CaptionColor();

            // Columns of scans: the newest at the plot's right edge, 120 across the plot.
            auto column = [&](int scan) {
                return m.plot.left + (119 - (kScans - 1 - scan)) * (m.plot.Width() - 1) / 119;
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
