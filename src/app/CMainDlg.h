#pragma once
// CMainDlg: the program's only top-level window. A tab strip holds the network list, the
// options page and the channels page; under it (or beside it in landscape) sit Exit, Suspend, the
// status lamp and Save. The window finds the wireless adapters, runs the scan cycle on two timers
// and re-lays itself out from another template when the screen turns.
//
// Scan cycle. The scan timer (291) fires once per scan period (GetScanPeriod): each tick
// reads the adapter's network list into a 128-entry buffer on the stack, merges it into
// the station table when the read succeeded with entries, asks the adapter for the next
// scan and refreshes the list page. The lamp timer (292) fires at half the period: each
// tick resets the desktop's idle timer and blinks the lamp, green on odd ticks and olive
// on even ones, or turns it red and stops blinking when no adapter is chosen. Each tick
// stops its own timer and re-arms it with the period read at its start, so a changed
// "Refresh" applies from the next tick. Suspend stops and restarts both timers. Without
// any wireless adapter at start-up the ticks do nothing and the lamp stays red.
//
// Lamp images. The window keeps the three lamp bitmaps for its whole life and lends them
// to the lamp (which only refers to them), since the lamp is handed the same images
// again at every blink.
#include "controls/CColoredDlg.h"
#include "controls/CCustomButton.h"
#include "controls/CCustomTabContainer.h"
#include "platform/ui/CBitmap.h"
#include "platform/ui/CFont.h"
#include "wifi/DAvirIzev.h"

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

class CComboBox;
class CChannelsDlg;
class CLanguageTable;
class COptionsDlg;
class CScannerDlg;
class CSettings;
class StationTable;

class CMainDlg : public CColoredDlg {
    DECLARE_DYNAMIC(CMainDlg)
public:
    static constexpr UINT_PTR kScanTimer = 291;
    static constexpr UINT_PTR kLampTimer = 292;
    static constexpr int kObservationCapacity = 128;
    static constexpr std::size_t kAdapterListBytes = 2048;

    // Chooses the template from the screen's shape (see TemplateForScreen) and opens
    // the adapter driver.
    CMainDlg(CSettings& settings, const CLanguageTable& languages, StationTable& stations,
             CWnd* parent = nullptr);
    ~CMainDlg() override;

    // The template at construction: square 183; otherwise a screen less than 320 pixels
    // high 182, else 102 (so a 640 x 480 screen starts in portrait).
    static UINT TemplateForScreen(int width, int height);
    // The template after a size change: taller than wide 102, wider than tall 182,
    // square 183.
    static UINT TemplateForRotation(int width, int height);

    // The Exit button: stops both timers and ends the modal loop with IDOK.
    void Exit();

    // Called once when the modal loop runs, and once when the window is about to end
    // (Exit, closing the window), while the pages still show their contents and
    // both timers are stopped.
    void SetRunningHandler(std::function<void()> handler) { m_onRunning = std::move(handler); }
    void SetEndingHandler(std::function<void()> handler) { m_onEnding = std::move(handler); }

    bool IsAdapterFound() const { return m_adapterFound; }
    bool IsScanning() const { return m_scanning; }
    DWORD GetBlinkCount() const { return m_blinkCount; }
    CScannerDlg* GetListPage() const { return m_listPage.get(); }
    // The options and channels pages, their windows made now if not shown yet.
    COptionsDlg* GetOptionsPage();
    CChannelsDlg* GetChannelsPage();
    CCustomTabContainer& GetTabs() { return m_tabs; }
    CCustomButton& GetLamp() { return m_lamp; }
    HBITMAP GetLampImage(UINT id) const;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void OnTimer(UINT_PTR id) override;
    void OnSize(UINT type, int cx, int cy) override;
    void OnDestroy() override;
    void OnOK() override;
    void OnCancel() override;
    void OnClose() override;
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

    // The template's layout fitted to the window: along the row of buttons (across the
    // bottom, or down the right side when buttonsBeside) every control is stretched to the
    // window's length; across it the tab strip takes all the room, the buttons keep their
    // size at the far edge. The first control is the strip; the rectangles come back in
    // the order given.
    struct FillPlan {
        std::vector<CRect> rects;
    };
    static FillPlan PlanFill(CSize client, const CRect& tab,
                             const std::vector<std::pair<CWnd*, CRect>>& controls,
                             bool buttonsBeside);

private:
    void Rotate();
    void FillWindow(bool buttonsBeside);
    void SetUpButtons();
    static int ButtonFontScale();
    // Makes the buttons' font again when the screen changed resolution.
    void UpdateButtonFont();
    void CreatePages();
    void MakeOptionsPage();
    void FindAdapters();
    void OnAdapterChange();
    void OnSuspend();
    void ScanTick(UINT period, const std::u16string& adapter);
    void LampTick(UINT period, const std::u16string& adapter);
    void ShowAdapterLamp();
    void ShowCaptions();
    void SetLampChecked(bool checked);
    void StartTimers();
    void StopTimers();
    void NotifyEnding();
    CComboBox* AdapterBox() const;

    CSettings& m_settings;
    const CLanguageTable& m_languages;
    StationTable& m_stations;

    CCustomTabContainer m_tabs;
    std::unique_ptr<CScannerDlg> m_listPage;
    std::unique_ptr<COptionsDlg> m_optionsPage;
    std::unique_ptr<CChannelsDlg> m_channelsPage;
    // The adapters found, for the options page's box.
    std::vector<std::u16string> m_adapterNames;
    DAvirIzev m_adapter;
    bool m_scanning = true;
    bool m_adapterFound = false;
    bool m_initialised = false;
    bool m_ending = false;
    // The font and the lamp images outlive the buttons that refer to them.
    CFont m_font;
    int m_fontScale = 1; // the screen's pixel scale m_font was made for
    CBitmap m_lampOlive;
    CBitmap m_lampGreen;
    CBitmap m_lampRed;
    CCustomButton m_suspend;
    CCustomButton m_exit;
    CCustomButton m_lamp;
    DWORD m_blinkCount = 0;
    std::function<void()> m_onRunning;
    std::function<void()> m_onEnding;
};
