#include "app/CMainDlg.h"
#include "controls/TahomaFont.h"

#include "controls/RelayoutDialog.h"
#include "controls/ThemeColors.h"
#include "core/ScanPeriod.h"
#include "core/StationTable.h"
#include "platform/session/IdleTimer.h"
#include "platform/ui/AfxWin.h"
#include "resource.h"
#include "settings/CLanguageTable.h"
#include "settings/COptionsDlg.h"
#include "settings/CSettings.h"
#include "views/CChannelsDlg.h"
#include "views/CScannerDlg.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>
#include <vector>

IMPLEMENT_DYNAMIC(CMainDlg, CColoredDlg)

namespace {

// Posted at the end of initialisation: the modal loop runs once it arrives.
constexpr UINT kRunningMessage = WM_APP + 1;

// The tab strip's own style bits: strip at the top, page area below it, scroll buttons
// only when the tabs do not fit; and the window's visible bit.
constexpr DWORD kTabStyle = 0x10000484;
constexpr COLORREF kGradientEnd = 0xC8C8C8;
constexpr int kChannelsTitleText = 37;

constexpr char16_t kNoAdapterMessage[] =
    u"Could not locate a Wi-Fi Adapter, please ensure that the adapter is enabled\n"
    u"Sync cable should be disconnected.\nYou must restart the program";

// The adapter box's order: case does not count.
bool AdapterBefore(const std::u16string& a, const std::u16string& b) {
    auto lower = [](char16_t c) { return c >= u'A' && c <= u'Z' ? char16_t(c - u'A' + u'a') : c; };
    return std::lexicographical_compare(
        a.begin(), a.end(), b.begin(), b.end(),
        [&](char16_t x, char16_t y) { return lower(x) < lower(y); });
}

static_assert(sizeof(ScanObservation) * CMainDlg::kObservationCapacity == 11264,
              "the scan tick's buffer holds 128 observations in 11,264 bytes");

} // namespace

CMainDlg::CMainDlg(CSettings& settings, const CLanguageTable& languages, StationTable& stations,
                   CWnd* parent)
    : CColoredDlg(TemplateForScreen(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)),
                  parent),
      m_settings(settings), m_languages(languages), m_stations(stations) {}

CMainDlg::~CMainDlg() {
    if (m_hWnd != nullptr) {
        DestroyWindow();
    }
}

UINT CMainDlg::TemplateForScreen(int width, int height) {
    return TemplateForShape(ShapeOfScreen(width, height, false), IDD_MAIN_PORTRAIT,
                            IDD_MAIN_LANDSCAPE, IDD_MAIN_SQUARE);
}

UINT CMainDlg::TemplateForRotation(int width, int height) {
    return TemplateForShape(ShapeOfScreen(width, height, true), IDD_MAIN_PORTRAIT,
                            IDD_MAIN_LANDSCAPE, IDD_MAIN_SQUARE);
}

HBITMAP CMainDlg::GetLampImage(UINT id) const {
    switch (id) {
    case IDB_LAMP_OLIVE:
        return m_lampOlive;
    case IDB_LAMP_GREEN:
        return m_lampGreen;
    case IDB_LAMP_RED:
        return m_lampRed;
    default:
        return nullptr;
    }
}

void CMainDlg::DoDataExchange(CDataExchange* pDX) {
    CColoredDlg::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_TAB, m_tabs);
    DDX_Control(pDX, IDC_SUSPEND, m_suspend);
    DDX_Control(pDX, IDC_EXIT, m_exit);
    DDX_Control(pDX, IDC_LAMP, m_lamp);
}

BOOL CMainDlg::OnInitDialog() {
    CColoredDlg::OnInitDialog();
    SetForegroundWindow();

    // The export format is read from the profile ("saveas") whenever a save needs it.
    m_fontScale = ButtonFontScale();
    korvyn::CreateTahomaFont(m_font, 12 * m_fontScale, FW_NORMAL);
    SetBackgroundColor(korvyn::CaptionColor());
    SetTextColor(korvyn::CaptionTextColor());

    m_tabs.SetStyle(0, kTabStyle);
    std::array<COLORREF, CCustomTabCtrl::kColorCount> colors{};
    m_tabs.GetColors(colors.data());
    colors[0] = korvyn::CaptionColor();
    colors[1] = korvyn::CaptionColor();
    colors[2] = korvyn::LightTint();
    colors[3] = korvyn::CaptionMix();
    colors[4] = RGB(0, 0, 0);
    m_tabs.SetColors(colors.data(), FALSE);

    CreatePages();
    SetUpButtons();
    FindAdapters();
    m_stations.Clear();
    StartTimers();

    UpdateData(FALSE);
    m_initialised = true;
    // The window may have been made for another shape than the screen has (a landscape
    // screen 320 pixels high or more starts with the portrait template): it takes the
    // screen's shape and fills it before it is first shown.
    Rotate();
    PostMessage(kRunningMessage);
    return TRUE;
}

void CMainDlg::CreatePages() {
    // The list page picks its template by the screen's shape as the main window does.
    m_listPage = std::make_unique<CScannerDlg>(m_stations, m_settings, m_languages, this);
    m_listPage->Create(m_listPage->GetTemplateId(), this);
    m_listPage->SetBackgroundColor(korvyn::LightTint());
    m_listPage->SetTextColor(RGB(0, 0, 0));
    m_tabs.AddPage(0, m_languages.Text(0).c_str(), m_listPage.get());

    m_optionsPage = std::make_unique<COptionsDlg>(m_settings, m_languages, this);
    m_optionsPage->SetListPage(m_listPage.get());
    m_optionsPage->SetBackgroundColor(korvyn::LightTint());
    m_optionsPage->SetTextColor(RGB(0, 0, 0));
    // Made when it is first shown.
    m_tabs.AddPage(1, m_languages.Text(1).c_str(), m_optionsPage.get(),
                   [this] { MakeOptionsPage(); });

    m_channelsPage = std::make_unique<CChannelsDlg>(m_stations, m_languages, this);
    m_channelsPage->SetBackgroundColor(korvyn::LightTint());
    m_channelsPage->SetTextColor(RGB(0, 0, 0));
    // "ZOOM" on the channels page opens the list page's meter for that station.
    m_channelsPage->SetZoomHandler([this](DWORD number) {
        m_listPage->ZoomStation(number);
        m_tabs.SetCurSel(0);
        m_tabs.ShowPages();
    });
    m_tabs.AddPage(2, m_languages.Text(kChannelsTitleText).c_str(), m_channelsPage.get(),
                   [this] { m_channelsPage->Create(m_channelsPage->GetTemplateId(), this); });
}

void CMainDlg::MakeOptionsPage() {
    m_optionsPage->Create(m_optionsPage->GetTemplateId(), this);
    if (CComboBox* box = AdapterBox(); box != nullptr && !m_adapterNames.empty()) {
        // The box keeps its entries sorted and shows the adapter in use.
        for (const std::u16string& name : m_adapterNames) {
            box->AddString(name.c_str());
        }
        std::u16string adapter;
        m_settings.GetText(CSettings::kAdapter, adapter);
        box->SetCurSel(std::max(0, box->FindStringExact(-1, adapter.c_str())));
        m_optionsPage->UpdateData(FALSE);
    }
}

COptionsDlg* CMainDlg::GetOptionsPage() {
    if (m_optionsPage && m_optionsPage->m_hWnd == nullptr && m_hWnd != nullptr) {
        m_tabs.MakePage(1);
        m_tabs.ShowPages();
    }
    return m_optionsPage.get();
}

CChannelsDlg* CMainDlg::GetChannelsPage() {
    if (m_channelsPage && m_channelsPage->m_hWnd == nullptr && m_hWnd != nullptr) {
        m_tabs.MakePage(2);
        m_tabs.ShowPages();
    }
    return m_channelsPage.get();
}

// The buttons' 12 pixels are handheld pixels: twice as many on a double-resolution
// screen, whose dialog units (and so the buttons) are twice as large.
int CMainDlg::ButtonFontScale() {
    // A memory DC has the screen's resolution; the window's own DC would set up a surface
    // to draw on over the window, which this only reads from.
    CDC screen;
    screen.CreateCompatibleDC(nullptr);
    return std::max(1, screen.GetDeviceCaps(LOGPIXELSY) / 96);
}

void CMainDlg::UpdateButtonFont() {
    const int scale = ButtonFontScale();
    if (scale == m_fontScale) {
        return;
    }
    CFont font;
    korvyn::CreateTahomaFont(font, 12 * scale, FW_NORMAL);
    for (CCustomButton* button : {&m_exit, &m_suspend, &m_lamp}) {
        button->SetFont(font, CCustomButton::Ownership::Caller);
    }
    m_font.DeleteObject();
    m_font.Attach(font.Detach());
    m_fontScale = scale;
}

void CMainDlg::SetUpButtons() {
    const COLORREF caption = korvyn::CaptionColor();
    HFONT font = m_font;
    using Ownership = CCustomButton::Ownership;

    m_exit.SetBackgroundColor(caption);
    m_exit.SetCheckedBackgroundColor(caption);
    m_exit.SetCaptions(m_languages.Text(2), u"");
    m_exit.SetGradientColors(caption, kGradientEnd);
    m_exit.SetLayout(CCustomButton::kGradient);
    m_exit.SetFont(font, Ownership::Caller);

    m_suspend.SetBackgroundColor(caption);
    m_suspend.SetCheckedBackgroundColor(caption);
    m_suspend.SetCaptions(m_languages.Text(3), m_languages.Text(4));
    m_suspend.SetGradientColors(caption, kGradientEnd);
    m_suspend.SetLayout(CCustomButton::kGradient);
    // Each tap toggles it between "Pause" and "Resume".
    m_suspend.ModifyStyle(0, BS_PUSHLIKE);
    m_suspend.SetFont(font, Ownership::Caller);

    m_lampRed.LoadBitmap(IDB_LAMP_RED);
    m_lampOlive.LoadBitmap(IDB_LAMP_OLIVE);
    m_lampGreen.LoadBitmap(IDB_LAMP_GREEN);

    m_lamp.SetCaptions(u"Idle", u"Scan");
    m_lamp.SetBackgroundColor(caption);
    m_lamp.SetCheckedBackgroundColor(caption);
    m_lamp.SetBitmaps(m_lampOlive, m_lampGreen, Ownership::Caller);
    m_lamp.SetFont(font, Ownership::Caller);
    SetLampChecked(false);
}

CComboBox* CMainDlg::AdapterBox() const {
    return m_optionsPage && m_optionsPage->m_hWnd != nullptr ? &m_optionsPage->GetAdapterBox()
                                                             : nullptr;
}

void CMainDlg::FindAdapters() {
    std::array<WCHAR, kAdapterListBytes / sizeof(WCHAR)> list{};
    DWORD length = kAdapterListBytes;
    if (m_adapter.GetAdapters(list.data(), length) && length > 0) {
        ShowAdapterLamp();
        m_adapterFound = true;
        std::u16string names(list.data(), length / sizeof(WCHAR));
        m_adapterNames.clear();
        for (std::size_t start = 0;;) {
            std::size_t comma = names.find(u',', start);
            m_adapterNames.push_back(names.substr(start, comma - start));
            if (comma == std::u16string::npos) {
                break;
            }
            start = comma + 1;
        }
        // The first adapter in the box's order is the one in use, as the box starts on it.
        std::stable_sort(m_adapterNames.begin(), m_adapterNames.end(), AdapterBefore);
        m_settings.SetText(CSettings::kAdapter, m_adapterNames.front());
        return;
    }
    MessageBox(kNoAdapterMessage, AfxGetAppName(), MB_OK);
    m_lamp.SetBitmaps(m_lampRed, m_lampOlive, CCustomButton::Ownership::Caller);
    m_lamp.SetCaptions(u"NO RADIO", u"Scan");
    SetLampChecked(false);
    m_adapterFound = false;
}

void CMainDlg::OnAdapterChange() {
    std::u16string name;
    if (CComboBox* box = AdapterBox(); box != nullptr && box->GetCurSel() >= 0) {
        box->GetLBText(box->GetCurSel(), name);
    }
    m_settings.SetText(CSettings::kAdapter, name);
}

BOOL CMainDlg::OnCommand(WPARAM wParam, LPARAM lParam) {
    const UINT id = LOWORD(wParam);
    const UINT code = HIWORD(wParam);
    if (id == IDC_ADAPTER && code == CBN_SELCHANGE) {
        OnAdapterChange();
        return TRUE;
    }
    if (code == BN_CLICKED) {
        switch (id) {
        case IDC_EXIT:
            Exit();
            return TRUE;
        case IDC_SUSPEND:
            OnSuspend();
            return TRUE;
        case IDC_LAMP:
            // The lamp flips its own look; the next lamp tick sets it again.
            return TRUE;
        case IDC_SAVE:
            if (m_listPage) {
                m_listPage->ExportStations();
            }
            return TRUE;
        default:
            break;
        }
    }
    return CColoredDlg::OnCommand(wParam, lParam);
}

void CMainDlg::Exit() {
    NotifyEnding();
    StopTimers();
    EndDialog(IDOK);
}

// Enter and Esc reach a dialog as OK and Cancel. A stray key must not end the program and
// lose the stations seen so far: only Exit, closing the window (the title bar's button,
// Ctrl+Q) and the termination signals end it.
void CMainDlg::OnOK() {}

void CMainDlg::OnCancel() {}

void CMainDlg::OnClose() {
    Exit();
}

void CMainDlg::NotifyEnding() {
    if (!m_ending) {
        m_ending = true;
        // No tick may change the list while the ending handler looks at it (a message
        // box it shows runs the event loop).
        StopTimers();
        if (m_onEnding) {
            m_onEnding();
        }
    }
}

LRESULT CMainDlg::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == kRunningMessage) {
        if (m_onRunning && !m_ending) {
            m_onRunning();
        }
        return 0;
    }
    return CColoredDlg::WindowProc(msg, wParam, lParam);
}

// ---- The scan cycle ----

void CMainDlg::StartTimers() {
    const UINT period = GetScanPeriod(m_settings);
    SetTimer(kScanTimer, period);
    SetTimer(kLampTimer, period / 2);
    m_blinkCount = 0;
}

void CMainDlg::StopTimers() {
    KillTimer(kScanTimer);
    KillTimer(kLampTimer);
}

void CMainDlg::OnTimer(UINT_PTR id) {
    if (!m_adapterFound) {
        return; // the timers stay armed; their ticks do nothing
    }
    const UINT period = GetScanPeriod(m_settings);
    std::u16string adapter;
    m_settings.GetText(CSettings::kAdapter, adapter);
    if (id == kScanTimer) {
        ScanTick(period, adapter);
    } else if (id == kLampTimer) {
        LampTick(period, adapter);
    }
}

void CMainDlg::ScanTick(UINT period, const std::u16string& adapter) {
    KillTimer(kScanTimer);
    ScanObservation observations[kObservationCapacity];
    korvyn::ChannelUse uses[kObservationCapacity];
    DWORD count = 0;
    // A failed read or an empty list leaves the table as it was, but for a gap in the
    // signal history.
    if (m_adapter.GetBSSIDs(adapter.c_str(), observations, sizeof observations, count, uses) &&
        count > 0) {
        m_stations.Merge(observations, count, uses);
    } else {
        m_stations.SkipScan();
    }
    m_adapter.RefreshBSSIDs(adapter.c_str());
    if (m_listPage) {
        m_listPage->RefreshList();
    }
    // After the list page, whose refresh rebuilt the view the channels page shows.
    if (m_channelsPage) {
        m_channelsPage->RefreshChannels();
    }
    SetTimer(kScanTimer, period);
}

void CMainDlg::LampTick(UINT period, const std::u16string& adapter) {
    SystemIdleTimerReset();
    KillTimer(kLampTimer);
    ++m_blinkCount;
    if (!adapter.empty()) {
        ShowAdapterLamp();
        SetLampChecked(m_blinkCount % 2 == 1);
        SetTimer(kLampTimer, period / 2);
    } else {
        // No adapter chosen: red, and no more blinking until the next resume.
        m_lamp.SetBitmaps(m_lampRed, m_lampOlive, CCustomButton::Ownership::Caller);
        SetLampChecked(false);
    }
}

void CMainDlg::ShowCaptions() {
    m_exit.SetCaptions(m_languages.Text(2), u"");
    m_suspend.SetCaptions(m_languages.Text(3), m_languages.Text(4));
    m_lamp.SetCaptions(m_adapterFound ? u"Idle" : u"NO RADIO", u"Scan");
}

void CMainDlg::ShowAdapterLamp() {
    m_lamp.SetCaptions(u"Idle", u"Scan");
    m_lamp.SetBitmaps(m_lampOlive, m_lampGreen, CCustomButton::Ownership::Caller);
}

void CMainDlg::SetLampChecked(bool checked) {
    m_lamp.SendMessage(BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED);
}

void CMainDlg::OnSuspend() {
    if (!m_adapterFound) {
        SetLampChecked(false);
        return;
    }
    if (!m_scanning) {
        m_scanning = true;
        StartTimers();
        SetLampChecked(true);
        return;
    }
    m_scanning = false;
    StopTimers();
    SetLampChecked(false);
}

// ---- Rotation and the end ----

void CMainDlg::OnSize(UINT type, int cx, int cy) {
    CColoredDlg::OnSize(type, cx, cy);
    if (m_initialised) {
        Rotate();
    }
}

void CMainDlg::Rotate() {
    const UINT templateId =
        TemplateForRotation(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    RelayoutDialog(AfxGetResourceHandle(), m_hWnd, templateId);
    UpdateButtonFont();
    FillWindow(templateId == IDD_MAIN_LANDSCAPE);
    // The relayout gave the buttons their template texts ("Suspend", "Radio ON"); they
    // show the language's texts and the lamp's true state again at once.
    ShowCaptions();
    m_tabs.InvalidateRect(nullptr, FALSE);
    m_tabs.SetWindowPos(&wndTop, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    m_tabs.ShowPages();
}

void CMainDlg::FillWindow(bool buttonsBeside) {
    CRect client;
    GetClientRect(&client);
    CWnd* tab = GetDlgItem(IDC_TAB);
    if (tab == nullptr || client.IsRectEmpty()) {
        return;
    }
    std::vector<std::pair<CWnd*, CRect>> controls;
    for (int id : {IDC_TAB, IDC_EXIT, IDC_SUSPEND, IDC_LAMP, IDC_SAVE}) {
        if (CWnd* control = GetDlgItem(id)) {
            CRect r;
            control->GetWindowRect(&r);
            ScreenToClient(&r);
            controls.emplace_back(control, r);
        }
    }
    const CRect tabRect = controls.front().second;
    const FillPlan plan = PlanFill(client.Size(), tabRect, controls, buttonsBeside);
    HDWP moves = ::BeginDeferWindowPos(static_cast<int>(controls.size()));
    for (std::size_t i = 0; i < controls.size(); ++i) {
        const CRect r = plan.rects[i];
        if (HDWP queued = ::DeferWindowPos(moves, controls[i].first->m_hWnd, nullptr, r.left, r.top,
                                           r.Width(), r.Height(), SWP_NOZORDER | SWP_NOACTIVATE)) {
            moves = queued;
        }
    }
    ::EndDeferWindowPos(moves);
}

CMainDlg::FillPlan CMainDlg::PlanFill(CSize client, const CRect& tab,
                                      const std::vector<std::pair<CWnd*, CRect>>& controls,
                                      bool buttonsBeside) {
    // The layout keeps the template's margin (the strip's distance from the left edge) at
    // the far edges; the first control is the tab strip. Along the row of buttons everything is
    // stretched (or shrunk) to the window; across it the tab strip takes all the room the buttons
    // leave.
    const int margin = std::max(0, static_cast<int>(tab.left));
    int far = 0;   // the far edge of the whole layout across the row of buttons
    int along = 0; // the far edge along the row
    for (const auto& [control, r] : controls) {
        far = std::max(far, static_cast<int>(buttonsBeside ? r.right : r.bottom));
        along = std::max(along, static_cast<int>(buttonsBeside ? r.bottom : r.right));
    }
    const int room = (buttonsBeside ? client.cx : client.cy) - margin;
    const int shift = room - far;
    const int length = (buttonsBeside ? client.cy : client.cx) - (buttonsBeside ? 0 : margin);
    // Stretch along the row only as far as needed: a layout that already fits is widened
    // to the window, one that does not is narrowed to it.
    const int full = buttonsBeside ? client.cy : client.cx;
    const double scale =
        along <= 0 || (along > length && along <= full) ? 1.0 : static_cast<double>(length) / along;
    auto stretch = [scale](LONG v) { return static_cast<LONG>(std::lround(v * scale)); };
    FillPlan plan;
    for (const auto& [control, r] : controls) {
        CRect moved = r;
        const bool isTab = control == controls.front().first;
        if (buttonsBeside) {
            moved.top = stretch(r.top);
            moved.bottom = stretch(r.bottom);
            if (isTab) {
                moved.right += shift;
            } else {
                moved.OffsetRect(shift, 0);
            }
        } else {
            moved.left = stretch(r.left);
            moved.right = stretch(r.right);
            if (isTab) {
                moved.bottom += shift;
            } else {
                moved.OffsetRect(0, shift);
            }
        }
        plan.rects.push_back(moved);
    }
    return plan;
}

void CMainDlg::OnDestroy() {
    CColoredDlg::OnDestroy();
    StopTimers();
}
