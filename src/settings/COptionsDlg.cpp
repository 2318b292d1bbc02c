#include "settings/COptionsDlg.h"

#include "controls/TahomaFont.h"
#include "controls/ThemeColors.h"
#include "controls/TransparentBitmap.h"
#include "platform/system/TextCodec.h"
#include "platform/ui/CClientDC.h"
#include "platform/ui/CDataExchange.h"
#include "resource.h"
#include "settings/CLanguageTable.h"
#include "settings/CSettings.h"
#include "settings/LanguageMenu.h"
#include "settings/Languages.h"
#include "views/CScannerDlg.h"

#include <algorithm>
#include <string>

IMPLEMENT_DYNAMIC(COptionsDlg, CColoredDlg)

namespace {

// Texts of the language table used on the page.
constexpr int kShowPeersText = 5;
constexpr int kHidePeersText = 6;
constexpr int kShowSecureText = 7;
constexpr int kHideSecureText = 8;
constexpr int kSoundOnText = 9;
constexpr int kSoundOffText = 10;
constexpr int kAdapterText = 11;
constexpr int kFontSizeText = 12;
constexpr int kRefreshText = 13;
constexpr int kSlowestText = 14; // the step names run from "Slowest" (5) to "Fastest" (1)

constexpr int kSpeedMin = 1;
constexpr int kSpeedMax = 5;
constexpr int kSpeedShownWhenInvalid = 2;
constexpr int kFontMin = 10;
constexpr int kFontMax = 20;
constexpr int kFontShownWhenTooBig = 12;
constexpr int kSliderWidth = 80;
constexpr int kSliderHeight = 30;
constexpr int kAdapterBoxItems = 6;
constexpr int kPageFontHeight = 12;

// Handheld pixels per pixel of this screen: 2 on a double-resolution screen, where the
// dialog units double too, so that the sliders, the page's font and the sample keep their
// places beside the controls laid out in dialog units.
int PixelScale(CWnd* window) {
    CClientDC dc(window);
    return std::max(1, dc.GetDeviceCaps(LOGPIXELSX) / 96);
}

HBITMAP LoadResourceBitmap(UINT id) {
    return ::LoadBitmap(nullptr, MAKEINTRESOURCE(id)); // from the resource module
}

} // namespace

COptionsDlg::COptionsDlg(CSettings& settings, const CLanguageTable& languages, CWnd* parent)
    : CColoredDlg(IDD_OPTIONS, parent), m_settings(settings), m_languages(languages),
      m_exportFormat(korvyn::ReadExportFormat() != 0 ? 1 : 0) {
    for (int i = 0; i < korvyn::kLanguageCount; ++i) {
        m_flags[i].LoadBitmap(korvyn::kLanguages[i].flagBitmap);
    }
}

void COptionsDlg::DoDataExchange(CDataExchange* pDX) {
    CColoredDlg::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_ADAPTER, m_adapters);
    DDX_Control(pDX, IDC_SPEED_SLIDER, m_speedSlider);
    DDX_Control(pDX, IDC_FONT_SLIDER, m_fontSlider);
    DDX_Control(pDX, IDC_HIDE_PEERS, m_peers);
    DDX_Control(pDX, IDC_HIDE_SECURED, m_secured);
    DDX_Control(pDX, IDC_SOUND, m_sound);
    DDX_Control(pDX, IDC_LANGUAGE, m_language);
    DDX_Text(pDX, IDC_ADAPTER_LABEL, m_adapterLabel);
    DDX_Text(pDX, IDC_SPEED_LABEL, m_speedLabel);
    DDX_Text(pDX, IDC_FONT_LABEL, m_fontLabel);
    DDX_Text(pDX, IDC_SPEED_NAME, m_speedName);
    DDX_Radio(pDX, IDC_SAVE_CSV, m_exportFormat);
}

BOOL COptionsDlg::OnInitDialog() {
    CColoredDlg::OnInitDialog();
    korvyn::CreateTahomaFont(m_font, kPageFontHeight * PixelScale(this), FW_NORMAL);

    m_adapterLabel = m_languages.Text(kAdapterText) + u":";
    m_speedLabel = m_languages.Text(kRefreshText) + u":";
    m_fontLabel = m_languages.Text(kFontSizeText) + u":";

    SizeControls();
    InitSpeedSlider();
    InitFontSlider();
    InitCheckButton(m_peers, kShowPeersText, kHidePeersText, IDB_PEERS, IDB_PEERS_HIDDEN,
                    CSettings::kPeer);
    InitCheckButton(m_secured, kShowSecureText, kHideSecureText, IDB_SECURED, IDB_SECURED_HIDDEN,
                    CSettings::kWep);
    InitCheckButton(m_sound, kSoundOnText, kSoundOffText, IDB_SOUND_ON, IDB_SOUND_OFF,
                    CSettings::kSound);

    // The flag shows the language the settings held when the page was made; a new choice
    // applies only after a restart.
    m_language.SetBackgroundColor(korvyn::LightTint());
    m_language.SetCheckedBackgroundColor(korvyn::LightTint());
    DWORD language = 0;
    m_settings.GetValue(CSettings::kLanguage, language);
    const int flag = korvyn::LanguageByNumber(static_cast<int>(language)).number;
    m_language.SetBitmaps(m_flags[flag], nullptr, CCustomButton::Ownership::Caller);

    UpdateData(FALSE);
    m_initialised = true;
    return TRUE;
}

void COptionsDlg::SizeControls() {
    // The box keeps its place and width; its dropped list shows six adapters.
    if (::IsWindow(m_adapters.m_hWnd)) {
        CRect box;
        m_adapters.GetWindowRect(&box);
        ScreenToClient(&box);
        m_adapters.MoveWindow(box.left, box.top, box.Width(),
                              kAdapterBoxItems * m_adapters.GetItemHeight(0));
    }
    const int scale = PixelScale(this);
    for (CCustomSlider* slider : {&m_speedSlider, &m_fontSlider}) {
        if (::IsWindow(slider->m_hWnd)) {
            slider->SetWindowPos(nullptr, 0, 0, kSliderWidth * scale, kSliderHeight * scale,
                                 SWP_NOMOVE | SWP_NOZORDER);
        }
        // The pictures grow with the slider, so that the thumb stays on the track.
        if (scale != m_sliderScale) {
            slider->SetBitmaps(
                korvyn::ScaleBitmap(LoadResourceBitmap(IDB_SLIDER_CHANNEL), scale),
                korvyn::ScaleBitmap(LoadResourceBitmap(IDB_SLIDER_THUMB), scale),
                korvyn::ScaleBitmap(LoadResourceBitmap(IDB_SLIDER_THUMB_PRESSED), scale));
        }
    }
    m_sliderScale = scale;
    // A page narrower than its template (the square screen's) keeps every control on it.
    CRect client;
    GetClientRect(&client);
    for (CWnd* c = GetWindow(GW_CHILD); c != nullptr && !client.IsRectEmpty();
         c = c->GetWindow(GW_HWNDNEXT)) {
        CRect r;
        c->GetWindowRect(&r);
        ScreenToClient(&r);
        if (r.right > client.right && c->m_hWnd != m_adapters.m_hWnd) {
            c->SetWindowPos(nullptr, 0, 0, std::max(0, static_cast<int>(client.right - r.left)),
                            r.Height(), SWP_NOMOVE | SWP_NOZORDER);
        }
    }
}

void COptionsDlg::OnSize(UINT type, int cx, int cy) {
    CColoredDlg::OnSize(type, cx, cy);
    // The page keeps its template's places (its two unnamed labels share one identifier,
    // so no relayout could tell them apart); on a narrower page its controls are
    // narrowed to stay on it.
    if (m_initialised) {
        SizeControls();
    }
}

void COptionsDlg::InitSlider(CCustomSlider& slider, int minimum, int maximum) {
    slider.SetRange(minimum, maximum);
    slider.SetBackgroundColor(korvyn::LightTint());
}

void COptionsDlg::InitSpeedSlider() {
    InitSlider(m_speedSlider, kSpeedMin, kSpeedMax);
    // "Slowest" at the left end, "Fastest" at the right.
    m_speedSlider.SetReversed(TRUE);
    DWORD speed = 0;
    m_settings.GetValue(CSettings::kRefresh, speed);
    const int shown = speed == 0 || speed > kSpeedMax ? kSpeedShownWhenInvalid : int(speed);
    m_speedSlider.SetPos(shown);
    SetSpeedName(shown);
}

void COptionsDlg::InitFontSlider() {
    InitSlider(m_fontSlider, kFontMin, kFontMax);
    DWORD size = 0;
    m_settings.GetValue(CSettings::kFont, size);
    // A size below the range is left to the slider, which shows its minimum.
    m_fontSlider.SetPos(size > kFontMax ? kFontShownWhenTooBig : int(size));
}

void COptionsDlg::InitCheckButton(CCustomButton& button, int normalText, int checkedText,
                                  UINT normalBitmap, UINT checkedBitmap, int setting) {
    button.SetCaptions(m_languages.Text(normalText), m_languages.Text(checkedText));
    button.SetBackgroundColor(korvyn::LightTint());
    button.SetCheckedBackgroundColor(korvyn::LightTint());
    button.SetBitmaps(LoadResourceBitmap(normalBitmap), LoadResourceBitmap(checkedBitmap));
    button.SetFont(m_font, CCustomButton::Ownership::Caller);
    DWORD value = 0;
    m_settings.GetValue(setting, value);
    button.SetCheck(value != 0 ? BST_CHECKED : BST_UNCHECKED);
}

void COptionsDlg::SetSpeedName(int position) {
    if (position >= kSpeedMin && position <= kSpeedMax) {
        m_speedName = m_languages.Text(kSlowestText + kSpeedMax - position);
    }
}

BOOL COptionsDlg::OnCommand(WPARAM wParam, LPARAM lParam) {
    const UINT id = LOWORD(wParam);
    const UINT code = HIWORD(wParam);
    if (lParam == 0 && korvyn::LanguageByMenuId(id) != nullptr) {
        korvyn::ChooseLanguage(m_settings, id);
        return TRUE;
    }
    if (id == IDC_ADAPTER && code == CBN_SELCHANGE) {
        // The adapter is the main window's business: it hears the box as its own.
        if (CWnd* parent = GetParent()) {
            parent->SendMessage(WM_COMMAND, wParam, lParam);
        }
        return TRUE;
    }
    if (code == BN_CLICKED) {
        switch (id) {
        case IDC_HIDE_PEERS:
            OnHideClicked(m_peers, CSettings::kPeer);
            return TRUE;
        case IDC_HIDE_SECURED:
            OnHideClicked(m_secured, CSettings::kWep);
            return TRUE;
        case IDC_SOUND:
            StoreCheck(m_sound, CSettings::kSound);
            return TRUE;
        case IDC_LANGUAGE:
            OnLanguageButton();
            return TRUE;
        case IDC_SAVE_CSV:
        case IDC_SAVE_XLS:
            OnExportFormatChanged();
            return TRUE;
        default:
            break;
        }
    }
    return CColoredDlg::OnCommand(wParam, lParam);
}

bool COptionsDlg::StoreCheck(CCustomButton& button, int setting) {
    const bool checked = button.SendMessage(BM_GETCHECK) == BST_CHECKED;
    m_settings.SetValue(setting, checked ? 1 : 0);
    return checked;
}

void COptionsDlg::OnHideClicked(CCustomButton& button, int setting) {
    StoreCheck(button, setting);
    // The list starts again from the next scan with the new filter.
    if (m_listPage != nullptr) {
        m_listPage->RestoreList();
    }
}

void COptionsDlg::OnExportFormatChanged() {
    UpdateData(TRUE);
    if (m_exportFormat == 0 || m_exportFormat == 1) {
        korvyn::WriteExportFormat(m_exportFormat);
    }
}

void COptionsDlg::OnLanguageButton() {
    CRect button;
    m_language.GetWindowRect(&button);
    korvyn::ShowLanguageMenu(m_settings, this, button.TopLeft());
}

void COptionsDlg::OnHScroll(UINT code, UINT pos, CWnd* scrollBar) {
    if (scrollBar == nullptr || !scrollBar->IsKindOf(RUNTIME_CLASS(CCustomSlider))) {
        CColoredDlg::OnHScroll(code, pos, scrollBar);
        return;
    }
    const int position = static_cast<int>(pos);
    if (scrollBar == &m_speedSlider) {
        SetSpeedName(position);
        SetDlgItemText(IDC_SPEED_NAME, m_speedName.c_str());
        m_settings.SetValue(CSettings::kRefresh, static_cast<DWORD>(position));
    } else if (scrollBar == &m_fontSlider) {
        CClientDC dc(this);
        DrawFontSample(dc);
        m_settings.SetValue(CSettings::kFont, static_cast<DWORD>(position));
        if (m_listPage != nullptr) {
            m_listPage->SetFontSize(position);
        }
    }
}

void COptionsDlg::OnPaint() {
    CColoredDlg::OnPaint();
    CClientDC dc(this);
    DrawFontSample(dc);
}

void COptionsDlg::DrawFontSample(CDC& dc) {
    CFont font;
    const int scale = PixelScale(this);
    korvyn::CreateTahomaFont(font, m_fontSlider.GetPos(), FW_BOLD);
    // The page's own colours, as its statics get them.
    SendMessage(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc.m_hDC),
                reinterpret_cast<LPARAM>(m_hWnd));
    CRect sample(kSampleRect.left * scale, kSampleRect.top * scale, kSampleRect.right * scale,
                 kSampleRect.bottom * scale);
    dc.FillSolidRect(&sample, dc.GetBkColor());
    CFont* old = dc.SelectObject(&font);
    dc.DrawText(korvyn::platform::Utf8ToUtf16(std::to_string(m_fontSlider.GetPos())), &sample,
                DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    dc.SelectObject(old);
}
