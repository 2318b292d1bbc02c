#pragma once
// COptionsDlg: the options page (template 149), the second page of the main window. The
// user picks the adapter, the scan speed and the list's font size, hides peers or
// secured networks, mutes the new-network sound, chooses the language and the export
// format. Every change goes into the settings at once; the scan speed, the hide flags,
// the mute flag and the font size take effect at once, the adapter from the next scan
// and the language from the next start. The export format is written to the profile
// ("saveas") at once; everything else reaches the registry when the settings are saved.
//
// Stored values out of range are shown as the page's defaults (a scan speed of 0 or
// above 5 as step 2, a font size above 20 as 12, below 10 as 10) and stay stored as they
// are until the user moves the control.
//
// The main window's part:
//  - SetListPage: the network list page, which the font slider and the hide buttons
//    change (SetFontSize, RestoreList). Without one those changes only reach the
//    settings.
//  - The adapter box (GetAdapterBox, control 1004) is filled and read by the main
//    window. When the user picks another adapter, the page forwards the box's
//    WM_COMMAND (CBN_SELCHANGE, identifier 1004, the box's window as lParam) unchanged
//    to its parent window, so the main window handles it in OnCommand as if the box were
//    one of its own controls. The page itself only sizes the box.
#include "controls/CColoredDlg.h"
#include "controls/CCustomButton.h"
#include "controls/CCustomSlider.h"
#include "platform/ui/CBitmap.h"
#include "platform/ui/CComboBox.h"
#include "platform/ui/CFont.h"

#include <array>
#include <string>

class CLanguageTable;
class CScannerDlg;
class CSettings;

class COptionsDlg : public CColoredDlg {
    DECLARE_DYNAMIC(COptionsDlg)
public:
    // Template 149; the window is made with Create(GetTemplateId(), parent). The export
    // format is taken from the profile here, the thirteen flags are loaded here.
    COptionsDlg(CSettings& settings, const CLanguageTable& languages, CWnd* parent = nullptr);

    void SetListPage(CScannerDlg* page) { m_listPage = page; }
    CScannerDlg* GetListPage() const { return m_listPage; }
    CComboBox& GetAdapterBox() { return m_adapters; }

    // Where the font size sample is drawn, in client pixels.
    static constexpr RECT kSampleRect = {175, 55, 200, 80};

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void OnPaint() override;
    void OnSize(UINT type, int cx, int cy) override;
    void OnHScroll(UINT code, UINT pos, CWnd* scrollBar) override;

private:
    // The sizes given in pixels that the template does not hold: the adapter box's
    // dropped height and the sliders'.
    void SizeControls();
    void InitSpeedSlider();
    void InitFontSlider();
    void InitSlider(CCustomSlider& slider, int minimum, int maximum);
    void InitCheckButton(CCustomButton& button, int normalText, int checkedText, UINT normalBitmap,
                         UINT checkedBitmap, int setting);
    // The step name of a scan speed position; other positions keep the current name.
    void SetSpeedName(int position);
    // After a click on a hide or sound button: stores its state under `setting`.
    bool StoreCheck(CCustomButton& button, int setting);
    void OnHideClicked(CCustomButton& button, int setting);
    void OnExportFormatChanged();
    void OnLanguageButton();
    void DrawFontSample(CDC& dc);

    CSettings& m_settings;
    const CLanguageTable& m_languages;
    CScannerDlg* m_listPage = nullptr;

    CFont m_font; // the page font, shared by the check buttons
    std::array<CBitmap, 13> m_flags;
    std::u16string m_adapterLabel;
    std::u16string m_speedLabel;
    std::u16string m_fontLabel;
    std::u16string m_speedName;
    int m_exportFormat = 1; // 0: ".csv", 1: ".xls"
    bool m_initialised = false;
    // The pixel scale the sliders' pictures were made for; 0 before the first.
    int m_sliderScale = 0;

    CComboBox m_adapters;
    CCustomSlider m_speedSlider;
    CCustomSlider m_fontSlider;
    CCustomButton m_peers;
    CCustomButton m_secured;
    CCustomButton m_sound;
    CCustomButton m_language;
};
