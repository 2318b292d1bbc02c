// What a user reads: in every language and on every reference screen, each text of the
// main window, its three pages and the meter fits the area its control draws it in (one line
// where the control draws one line, within the control's height where it wraps), every
// control lies inside the window, and no two controls of a window overlap.
#include "AppHarness.h"
#include "support/gui/WindowPixels.h"

#include "controls/CColoredDlg.h"
#include "controls/CCustomButton.h"
#include "controls/TransparentBitmap.h"
#include "platform/system/TextCodec.h"
#include "platform/ui/CClientDC.h"
#include "settings/COptionsDlg.h"
#include "views/CChannelsDlg.h"
#include "views/CScannerDlg.h"
#include "views/StationColumns.h"

#include <sstream>
#include <string>
#include <vector>

using namespace korvyn::test;

namespace {

// The eight languages: English, Hungarian, Polish, French, Portuguese, Russian, German,
// Italian.
constexpr DWORD kLanguages[] = {0, 5, 6, 7, 9, 10, 11, 12};

void StoreLanguage(DWORD language) {
    CSettings s;
    s.Load();
    s.SetValue(CSettings::kLanguage, language);
    s.Save();
}

struct TextArea {
    CRect rect;
    bool wraps = false;
    HFONT font = nullptr;
};

// Where a control draws its caption, as its drawing does: plain statics wrap in their
// whole client area; buttons leave room for their frame, picture or indicator. Both draw
// in the font their drawing picks for the text.
TextArea AreaOf(CWnd& control, const std::u16string& text) {
    TextArea area;
    control.GetClientRect(&area.rect);
    area.font =
        control.GetFont() != nullptr ? static_cast<HFONT>(control.GetFont()->m_hObject) : nullptr;
    const DWORD style = control.GetStyle();
    if (auto* custom = dynamic_cast<CCustomButton*>(&control)) {
        if (HFONT fitted = custom->FittedCaptionFont(text); fitted != nullptr) {
            area.font = fitted;
        }
        CSize picture = korvyn::BitmapSize(custom->GetStateBitmap(false));
        if (custom->GetKind() == CCustomButton::Kind::PushButton || (style & BS_PUSHLIKE)) {
            area.rect.DeflateRect(2, 2);
            area.rect.right -= picture.cx;
            area.wraps = (style & BS_MULTILINE) != 0;
        } else {
            area.rect.left += (picture.cx > 0 ? picture.cx : 13) + 4;
            area.wraps = true;
        }
        return area;
    }
    if (dynamic_cast<CButton*>(&control) != nullptr) {
        const DWORD type = style & 0x0F;
        area.rect.DeflateRect(2, 0);
        if (type != BS_PUSHBUTTON && type != BS_DEFPUSHBUTTON) {
            area.rect.left += 13 + 2;
        }
        area.wraps = (style & BS_MULTILINE) != 0;
        return area;
    }
    area.wraps = true; // statics wrap their words
    if (auto* dialog = dynamic_cast<CColoredDlg*>(control.GetParent()); dialog != nullptr) {
        area.font = dialog->LabelFont(control, text);
    }
    return area;
}

// Empty when the text fits its area, else what does not.
std::string Misfit(CWnd& control, const std::u16string& text, const TextArea& area) {
    CClientDC dc(&control);
    HGDIOBJ old = area.font != nullptr ? dc.SelectObject(area.font) : nullptr;
    CRect need(0, 0, area.rect.Width(), 0);
    dc.DrawText(text, &need, DT_CALCRECT | (area.wraps ? DT_WORDBREAK : DT_SINGLELINE));
    if (old != nullptr) {
        dc.SelectObject(old);
    }
    if (need.Width() <= area.rect.Width() && need.Height() <= area.rect.Height()) {
        return {};
    }
    std::ostringstream out;
    out << "\"" << korvyn::platform::Utf16ToUtf8(text) << "\" (control " << control.GetDlgCtrlID()
        << ") needs " << need.Width() << "x" << need.Height() << " in " << area.rect.Width() << "x"
        << area.rect.Height();
    return out.str();
}

class TextFits : public AppTest {
protected:
    std::vector<std::string> misfits;
    std::string where;

    void Check(CWnd* control, const std::u16string& text) {
        if (control == nullptr || text.empty()) {
            return;
        }
        if (std::string m = Misfit(*control, text, AreaOf(*control, text)); !m.empty()) {
            misfits.push_back(where + ": " + m);
        }
    }
    // Every control of a window that shows text, as it shows it now.
    void CheckShownTexts(CWnd& window) {
        for (CWnd* c = window.GetWindow(GW_CHILD); c; c = c->GetWindow(GW_HWNDNEXT)) {
            if (dynamic_cast<CButton*>(c) != nullptr || c->IsKindOf(RUNTIME_CLASS(CStatic))) {
                Check(c, c->GetWindowText());
            }
        }
    }
    // Controls of one window inside its client area and apart from each other.
    // The options page keeps its template's places, where the sliders' 80 x 30 pixels
    // reach a little into the next row: there only the window's edges are checked.
    void CheckPlaces(CWnd& window, bool apart) {
        CRect client;
        window.GetClientRect(&client);
        std::vector<std::pair<int, CRect>> placed;
        for (CWnd* c = window.GetWindow(GW_CHILD); c; c = c->GetWindow(GW_HWNDNEXT)) {
            if (!(c->GetStyle() & WS_VISIBLE) || c->IsKindOf(RUNTIME_CLASS(CDialog))) {
                continue; // the pages lie over the tab strip's page area
            }
            CRect r;
            c->GetWindowRect(&r);
            window.ScreenToClient(&r);
            std::ostringstream at;
            at << where << ": control " << c->GetDlgCtrlID() << " at " << r.left << "," << r.top
               << "-" << r.right << "," << r.bottom;
            if (r.left < 0 || r.top < 0 || r.right > client.right || r.bottom > client.bottom) {
                misfits.push_back(at.str() + " outside " + std::to_string(client.right) + "x" +
                                  std::to_string(client.bottom));
            }
            for (const auto& [id, other] : placed) {
                if (!apart) {
                    break;
                }
                CRect both;
                if (both.IntersectRect(r, other)) {
                    misfits.push_back(at.str() + " overlaps control " + std::to_string(id));
                }
            }
            placed.emplace_back(c->GetDlgCtrlID(), r);
        }
    }
};

} // namespace

TEST_F(TextFits, EveryTextFitsInEveryLanguageOnEveryScreen) {
    const CSize screens[] = {{240, 320}, {320, 240}, {240, 240},
                             {480, 640}, {640, 480}, {800, 480}};
    driver->list = Networks(3);
    for (DWORD language : kLanguages) {
        StoreLanguage(language);
        for (const CSize& screen : screens) {
            korvyn::platform::SetDeviceScreenSize(screen.cx, screen.cy);
            Run([&](CMainDlg& dlg) {
                where = "language " + std::to_string(language) + " " + std::to_string(screen.cx) +
                        "x" + std::to_string(screen.cy);
                timers.Fire(dlg, CMainDlg::kScanTimer);
                CScannerDlg& list = *dlg.GetListPage();
                COptionsDlg& options = *dlg.GetOptionsPage();
                CChannelsDlg& channels = *dlg.GetChannelsPage();
                for (CWnd* window : {static_cast<CWnd*>(&dlg), static_cast<CWnd*>(&list),
                                     static_cast<CWnd*>(&options), static_cast<CWnd*>(&channels)}) {
                    CheckShownTexts(*window);
                    CheckPlaces(*window, window != &options);
                }
                // The texts each control shows in its other states.
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
                const std::pair<int, int> switches[] = {
                    {IDC_HIDE_PEERS, 5}, {IDC_HIDE_SECURED, 7}, {IDC_SOUND, 9}};
                for (const auto& [id, text] : switches) {
                    Check(options.GetDlgItem(id), languages.Text(text));
                    Check(options.GetDlgItem(id), languages.Text(text + 1));
                }
            });
        }
    }
    std::string all;
    for (const std::string& m : misfits) {
        all += m + "\n";
    }
    EXPECT_TRUE(all.empty()) << "texts that do not fit:\n" << all;
}

TEST_F(TextFits, TheListShowsWholeAddressesAndDatesAtEveryFontSize) {
    driver->list = Networks(1);
    Run([&](CMainDlg& dlg) {
        timers.Fire(dlg, CMainDlg::kScanTimer);
        CScannerDlg& page = *dlg.GetListPage();
        auto* list = dynamic_cast<CListCtrl*>(page.GetDlgItem(IDC_LIST));
        for (int size = 10; size <= 20; ++size) {
            page.SetFontSize(size);
            Shot(page); // a paint applies the size's layout
            CClientDC dc(list);
            CFont* old = dc.SelectObject(list->GetFont());
            korvyn::StationTexts texts;
            korvyn::StationRowTexts(stations, 0, languages, texts);
            texts[5] = u"00-0A-1B-2C-3D-4E";
            for (int column : {5, 8, 9}) {
                const std::u16string& text = texts[column];
                const int need = dc.GetTextExtent(text).cx + 4; // the cell's margins
                EXPECT_LE(need, list->GetColumnWidth(column))
                    << korvyn::platform::Utf16ToUtf8(text) << " at font size " << size;
            }
            dc.SelectObject(old);
        }
    });
}
