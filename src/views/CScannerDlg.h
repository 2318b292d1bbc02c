#pragma once
// CScannerDlg: the network list page. Every visible station of the station table is one
// row of a ten-column virtual list (the list asks the page for each cell's text), with a
// count line ("3/10 active") and a hint under it. A tap on a row offers "ZOOM", which
// turns the page into a signal meter for that one station: its |RSSI| in large type, its
// name above, the graph of its recent signal and its details below, repainted after every
// scan, until the page is tapped again. Save
// writes the list as shown into the Documents folder.
#include "controls/CColoredDlg.h"
#include "core/MeterSound.h"
#include "platform/ui/CFont.h"
#include "views/CListCtrlEx.h"
#include "views/MeterLayout.h"
#include "views/StationDetails.h"

#include <string>

class CLanguageTable;
class CSettings;
class StationTable;

class CScannerDlg : public CColoredDlg {
    DECLARE_DYNAMIC(CScannerDlg)
public:
    // Chooses the page's template by the screen's shape (square 186, a screen less than
    // 320 pixels high 185, else 148); the window is made with Create(GetTemplateId(), ...).
    CScannerDlg(StationTable& stations, const CSettings& settings, const CLanguageTable& languages,
                CWnd* parent = nullptr);

    // After every scan tick: rebuilds the display order, sizes the list and writes the
    // count line; a zoomed page repaints its number and sounds it.
    void RefreshList();
    // A list font of size pixels (10 to 20; anything else is taken as 12), applied at
    // the next paint.
    void SetFontSize(int size);
    // Leaves the zoomed view, if any, and empties the list until the next RefreshList.
    void RestoreList();

    // Saves the list as shown in the export format of the profile ("saveas": 0
    // comma-separated text, else a workbook) and tells the user the file's name, or why it
    // could not be saved.
    void ExportStations();
    // The same in the given format, whatever the profile holds; true when the file was
    // saved.
    bool ExportStations(int format);

    // Shows station `number` zoomed, as "ZOOM" on its row does.
    void ZoomStation(DWORD number);

    bool IsZoomed() const { return m_zoomed; }
    // Where the meter's parts were drawn at its last paint.
    const korvyn::MeterLayout& GetMeterLayout() const { return m_meterLayout; }
    int GetFontSize() const { return m_fontSize; }

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void OnPaint() override;
    void OnSize(UINT type, int cx, int cy) override;
    void OnLButtonDown(UINT flags, CPoint point) override;

    // Command 32771 from the popup: shows the chosen station zoomed.
    void OnZoom();

private:
    void FillPage();
    void OnGetDispInfo(NMHDR* notify);
    void OnListClick(NMHDR* notify);
    void ApplyLayout();
    void DrawZoomed();
    // What the meter shows: the number, the name, the details and the graph's samples.
    static std::u16string MeterNumber(bool found, const StationRecord& station);
    std::u16string MeterText() const;
    int CountLineTop();

    StationTable& m_stations;
    const CSettings& m_settings;
    const CLanguageTable& m_languages;

    DWORD m_zoomStation = 0;      // number of the station shown zoomed
    bool m_layoutApplied = false; // column widths and list font match m_fontSize
    int m_fontSize = 0;
    bool m_zoomed = false;
    korvyn::MeterSound m_meterSound;
    CListCtrlEx m_list;
    CFont m_listFont;
    std::u16string m_countText;
    std::u16string m_hintText;
    std::u16string m_meterShown; // MeterText at the last paint of the meter
    korvyn::MeterLayout m_meterLayout;
    korvyn::StationDetails m_details;
};
