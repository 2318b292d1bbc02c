#pragma once
// CListCtrlEx: the report list of the network list page. It colours its own cells and
// draws a signal wedge in the signal column, through the custom-draw notifications its
// parent reflects back to it: names and security of secured stations in red, every text
// of a station missing from the latest scan in grey. The texts come from the page.
#include "core/StationRecord.h"
#include "platform/ui/CListCtrl.h"

#include <vector>

class CDC;
class CSettings;
class StationTable;

class CListCtrlEx : public CListCtrl {
    DECLARE_DYNAMIC(CListCtrlEx)
public:
    CListCtrlEx(const StationTable& stations, const CSettings& settings);

    // Custom drawing of the list: asks for every row and cell, keeps a copy of the row's
    // station, sets the cell colours and draws the wedge.
    void OnCustomDraw(NMHDR* notify, LRESULT* result);

    // After the table's view changed (a scan tick): repaints the rows on screen whose
    // station looks different from when they were last compared, and nothing else. While
    // the list is not on the screen nothing is compared, and every row counts as changed
    // once it is back.
    void RedrawChangedRows();
    // Whether two records look the same in a row: the same texts, colours and wedge.
    static bool LookTheSame(const StationRecord& a, const StationRecord& b);

    // A right triangle rising from left to right in the rectangle, one-pixel columns
    // split into bars of 3, 4 or 5 by grey gaps, filled in green from the left in
    // proportion to the signal (-10 dBm or stronger full, -90 dBm or weaker empty).
    static void DrawSignalWedge(CDC* dc, int left, int top, int right, int bottom, int size,
                                LONG rssi);
    // How many of the wedge's columns are filled for a signal: halves round up.
    static int FilledColumns(int columns, LONG rssi);

protected:
    BOOL OnChildNotify(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

private:
    const StationTable& m_stations;
    const CSettings& m_settings;
    StationRecord m_record{}; // the station of the row being drawn
    // The stations of the rows from m_shownTop on at the last comparison.
    int m_shownTop = 0;
    std::vector<StationRecord> m_shown;
};
