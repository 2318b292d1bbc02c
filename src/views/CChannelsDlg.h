#pragma once
// CChannelsDlg: the channels page. For one band at a time (2.4 GHz first; a tap on the
// band button moves on to 5, then 6 GHz, then back) it draws every station the list
// shows, with the list's hide settings and its idea of active, as a hill over the
// station's whole channel, as high as its signal, in a colour of the station's own
// (ChannelGraph.h), named at its top where names do not collide; stations missing from
// the latest scan are drawn faint. The axis names the band's channels and marks the best
// ones (ChannelRating.h). A tap on a hill selects its station and offers "ZOOM", which
// the owner answers by showing that station in the list page's meter.
//
// The page does its work only when it is drawn: a refresh while it is hidden just notes
// that the graph is out of date.
#include "controls/CColoredDlg.h"
#include "platform/ui/CFont.h"
#include "views/ChannelGraph.h"

#include <functional>
#include <string>
#include <utility>
#include <vector>

class CLanguageTable;
class StationTable;

class CChannelsDlg : public CColoredDlg {
    DECLARE_DYNAMIC(CChannelsDlg)
public:
    // Chooses the template by the screen's shape as the list page does (square 194, a
    // screen less than 320 pixels high 193, else 192).
    CChannelsDlg(const StationTable& stations, const CLanguageTable& languages,
                 CWnd* parent = nullptr);

    // After every scan tick, once the list page has rebuilt the table's view.
    void RefreshChannels();
    // Called with the station chosen with "ZOOM".
    void SetZoomHandler(std::function<void(DWORD)> handler) { m_onZoom = std::move(handler); }

    korvyn::Band GetBand() const { return m_band; }
    void SetBand(korvyn::Band band);

    // One station as the last drawing showed it, in drawing order (the last on top).
    struct Shown {
        DWORD number = 0;
        bool active = false;
        COLORREF colour = 0;
        korvyn::Hill hill;
        korvyn::LabelBox nameBox;
        bool named = false;
    };
    const std::vector<Shown>& GetShown() const { return m_shown; }
    const std::vector<DWORD>& GetBest() const { return m_best; }
    const korvyn::PlotArea& GetPlotArea() const { return m_area; }
    // The station selected by a tap, if any.
    bool GetSelected(DWORD& number) const;
    // How often the graph was worked out from the table.
    unsigned GetBuildCount() const { return m_builds; }

protected:
    BOOL OnInitDialog() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void OnPaint() override;
    void OnSize(UINT type, int cx, int cy) override;
    void OnLButtonDown(UINT flags, CPoint point) override;

private:
    void FillPage();
    void ShowTexts();
    void Build(CDC& dc);
    void Draw(CDC& dc) const;
    void DrawGrid(CDC& dc) const;
    void DrawAxis(CDC& dc) const;

    const StationTable& m_stations;
    const CLanguageTable& m_languages;
    std::function<void(DWORD)> m_onZoom;

    korvyn::Band m_band = korvyn::Band::Ghz2_4;
    bool m_stale = true; // the graph no longer shows the table
    unsigned m_builds = 0;
    bool m_hasSelection = false;
    DWORD m_selected = 0;

    CFont m_font;
    int m_textHeight = 0;
    korvyn::PlotArea m_area;
    std::vector<Shown> m_shown;
    std::vector<std::u16string> m_names; // beside m_shown
    std::vector<DWORD> m_best;
    std::vector<DWORD> m_axisLabels;
    std::u16string m_bestText;
};
