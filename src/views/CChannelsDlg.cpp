#include "views/CChannelsDlg.h"

#include "controls/RelayoutDialog.h"
#include "controls/TahomaFont.h"
#include "core/StationTable.h"
#include "platform/system/TextCodec.h"
#include "platform/ui/CDC.h"
#include "platform/ui/CPen.h"
#include "platform/ui/CWinApp.h"
#include "resource.h"
#include "settings/CLanguageTable.h"
#include "views/ChannelRating.h"
#include "views/StationColumns.h"
#include "views/ZoomMenu.h"

#include <algorithm>
#include <string>

IMPLEMENT_DYNAMIC(CChannelsDlg, CColoredDlg)

using korvyn::Band;

namespace {

// Language texts of the page.
constexpr int kFirstBandText = 38; // 2.4, 5 and 6 GHz
constexpr int kBestText = 41;
constexpr int kHintText = 42;

constexpr COLORREF kAxis = RGB(0, 0, 0);
constexpr COLORREF kGrid = RGB(200, 200, 200);
constexpr COLORREF kBestMark = RGB(0, 140, 0);
constexpr COLORREF kBestColumn = RGB(200, 255, 200);
constexpr COLORREF kScale = RGB(90, 90, 90);
constexpr int kFaintPercent = 35; // of a station's colour when it was not in the last scan

UINT TemplateForScreen(bool construction) {
    return TemplateForShape(
        ShapeOfScreen(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), !construction),
        IDD_CHANNELS_PORTRAIT, IDD_CHANNELS_LANDSCAPE, IDD_CHANNELS_SQUARE);
}

int BandIndex(Band band) {
    return band == Band::Ghz5 ? 1 : band == Band::Ghz6 ? 2 : 0;
}

std::u16string Number(DWORD n) {
    return korvyn::platform::Utf8ToUtf16(std::to_string(n));
}

CRect RectOf(const korvyn::LabelBox& b) {
    return CRect(b.left, b.top, b.right, b.bottom);
}

} // namespace

CChannelsDlg::CChannelsDlg(const StationTable& stations, const CLanguageTable& languages,
                           CWnd* parent)
    : CColoredDlg(TemplateForScreen(true), parent), m_stations(stations), m_languages(languages) {}

BOOL CChannelsDlg::OnInitDialog() {
    CColoredDlg::OnInitDialog();
    FillPage(); // the template's size until the page is placed
    ShowTexts();
    return TRUE;
}

void CChannelsDlg::SetBand(Band band) {
    if (band != Band::Ghz2_4 && band != Band::Ghz5 && band != Band::Ghz6) {
        return;
    }
    m_band = band;
    m_stale = true;
    if (::IsWindow(m_hWnd)) {
        ShowTexts();
        Invalidate();
    }
}

bool CChannelsDlg::GetSelected(DWORD& number) const {
    number = m_selected;
    return m_hasSelection;
}

void CChannelsDlg::RefreshChannels() {
    m_stale = true;
    if (IsWindowVisible()) {
        Invalidate();
    }
}

void CChannelsDlg::ShowTexts() {
    SetDlgItemText(IDC_BAND, m_languages.Text(kFirstBandText + BandIndex(m_band)).c_str());
    SetDlgItemText(IDC_BEST, m_bestText.c_str());
    SetDlgItemText(IDC_CHANNEL_HINT, m_languages.Text(kHintText).c_str());
}

BOOL CChannelsDlg::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (LOWORD(wParam) == IDC_BAND && HIWORD(wParam) == BN_CLICKED) {
        SetBand(korvyn::NextBand(m_band));
        return TRUE;
    }
    if (LOWORD(wParam) == ID_ZOOM && lParam == 0) {
        if (m_hasSelection && m_onZoom) {
            m_onZoom(m_selected);
        }
        return TRUE;
    }
    return CColoredDlg::OnCommand(wParam, lParam);
}

// ---- Layout ----

void CChannelsDlg::OnSize(UINT type, int cx, int cy) {
    CColoredDlg::OnSize(type, cx, cy);
    RelayoutDialog(AfxGetResourceHandle(), m_hWnd, TemplateForScreen(false));
    FillPage();
    // The relayout gave the controls their template texts.
    ShowTexts();
    m_stale = true;
}

void CChannelsDlg::FillPage() {
    // The band button keeps its place at the top left, the best channels line runs to the
    // right edge beside it, the hint sits at the bottom; the graph takes what is between.
    CWnd* band = GetDlgItem(IDC_BAND);
    CWnd* best = GetDlgItem(IDC_BEST);
    CWnd* hint = GetDlgItem(IDC_CHANNEL_HINT);
    CRect client;
    GetClientRect(&client);
    if (band == nullptr || best == nullptr || hint == nullptr || client.IsRectEmpty()) {
        return;
    }
    CRect bandRect, bestRect, hintRect;
    band->GetWindowRect(&bandRect);
    ScreenToClient(&bandRect);
    best->GetWindowRect(&bestRect);
    ScreenToClient(&bestRect);
    hint->GetWindowRect(&hintRect);
    const int line = hintRect.Height();
    const int bestLeft = std::min(static_cast<int>(bestRect.left), client.Width() - 2);
    best->MoveWindow(bestLeft, bestRect.top, std::max(0, client.Width() - 2 - bestLeft),
                     bestRect.Height(), TRUE);
    const int hintTop = std::max(0, static_cast<int>(client.bottom) - line - 1);
    const int hintWidth = std::min(hintRect.Width(), client.Width() - 4);
    hint->MoveWindow(client.right - 2 - hintWidth, hintTop, hintWidth, line, TRUE);

    m_textHeight = std::max(8, line - 2);
    m_font.DeleteObject();
    korvyn::CreateTahomaFont(m_font, m_textHeight, FW_NORMAL);
    // Room for the dBm scale at the left, names above the ceiling, channel numbers under
    // the axis.
    m_area.left = m_textHeight * 2;
    m_area.top = bandRect.bottom + 2 + m_textHeight;
    m_area.right = client.right - 4;
    m_area.bottom = hintTop - m_textHeight - 1;
}

// ---- Drawing ----

void CChannelsDlg::OnPaint() {
    CColoredDlg::OnPaint();
    if (m_area.right - m_area.left < 8 || m_area.bottom - m_area.top < 8) {
        return;
    }
    CDC* dc = GetDC();
    if (dc == nullptr) {
        return;
    }
    CFont* previous = dc->SelectObject(&m_font);
    if (m_stale) {
        Build(*dc);
    }
    Draw(*dc);
    dc->SelectObject(previous);
    ReleaseDC(dc);
}

void CChannelsDlg::Build(CDC& dc) {
    ++m_builds;
    m_stale = false;
    struct Station {
        StationRecord record;
        korvyn::ChannelUse use;
        DWORD frequency;
    };
    // The stations of the list's view on this band.
    std::vector<Station> onBand;
    StationRecord record{};
    for (int position = 0; m_stations.GetViewItem(position, record); ++position) {
        Station s{record, m_stations.GetChannelUse(record.number), 0};
        s.frequency = s.use.frequencyKhz != 0 ? s.use.frequencyKhz
                                              : korvyn::FrequencyOfDsConfig(record.channel);
        if (korvyn::BandOf(s.frequency) == m_band) {
            onBand.push_back(s);
        }
    }
    // Drawn from the bottom up: faint ones first, then the weaker under the stronger, the
    // selected station on top of all.
    auto below = [this](const Station& a, const Station& b) {
        const bool aSelected = m_hasSelection && a.record.number == m_selected;
        const bool bSelected = m_hasSelection && b.record.number == m_selected;
        if (aSelected != bSelected) {
            return bSelected;
        }
        if (a.record.active != b.record.active) {
            return a.record.active < b.record.active;
        }
        return a.record.rssi != b.record.rssi ? a.record.rssi < b.record.rssi
                                              : a.record.number < b.record.number;
    };
    std::sort(onBand.begin(), onBand.end(), below);

    m_shown.clear();
    m_names.clear();
    std::vector<korvyn::RatedNetwork> rated;
    for (const Station& s : onBand) {
        const bool active = s.record.active == 1;
        const DWORD centre = s.use.centreKhz != 0 ? s.use.centreKhz : s.frequency;
        if (active) {
            rated.push_back({centre, s.use.widthMhz != 0 ? s.use.widthMhz : 20, s.record.rssi});
        }
        auto hill = korvyn::HillOf(m_band, m_area, centre, s.use.widthMhz, s.record.rssi);
        if (!hill) {
            continue;
        }
        Shown shown;
        shown.number = s.record.number;
        shown.active = active;
        shown.colour = korvyn::StationColour(s.record.mac);
        shown.hill = std::move(*hill);
        std::u16string name = korvyn::StationName(s.record);
        shown.nameBox =
            korvyn::NameBox(shown.hill, m_area, dc.GetTextExtent(name).cx + 2, m_textHeight);
        m_shown.push_back(std::move(shown));
        m_names.push_back(std::move(name));
    }
    // Names from the top of the drawing down: the one on top wins a collision.
    std::vector<korvyn::LabelBox> boxes;
    for (auto s = m_shown.rbegin(); s != m_shown.rend(); ++s) {
        boxes.push_back(s->nameBox);
    }
    const std::vector<bool> placedNames = korvyn::PlaceLabels(boxes);
    for (std::size_t i = 0; i < m_shown.size(); ++i) {
        m_shown[m_shown.size() - 1 - i].named = placedNames[i];
    }

    m_best = korvyn::BestChannels(m_band, korvyn::RateChannels(m_band, rated));
    // Named in channel order, which reads more easily than best first.
    std::vector<DWORD> named = m_best;
    std::sort(named.begin(), named.end());
    m_bestText = m_languages.Text(kBestText) + u":";
    for (std::size_t i = 0; i < named.size(); ++i) {
        m_bestText += (i == 0 ? u" " : u", ") + Number(named[i]);
    }
    SetDlgItemText(IDC_BEST, m_bestText.c_str());

    // The axis names the best channels first, then evenly spaced others where they fit.
    const int labelWidth = dc.GetTextExtent(m_band == Band::Ghz2_4 ? u"14" : u"188").cx;
    std::vector<DWORD> candidates = m_best;
    for (DWORD c : korvyn::SpacedChannels(m_band, m_area, korvyn::AxisChannels(m_band), labelWidth,
                                          labelWidth / 2)) {
        candidates.push_back(c);
    }
    std::vector<korvyn::LabelBox> labels;
    for (DWORD c : candidates) {
        const int x = korvyn::XOfFrequency(m_band, m_area, korvyn::ChannelFrequency(m_band, c));
        const int width = dc.GetTextExtent(Number(c)).cx;
        labels.push_back({x - width / 2 - 1, m_area.bottom, x + width - width / 2 + 1,
                          m_area.bottom + m_textHeight});
    }
    const std::vector<bool> placed = korvyn::PlaceLabels(labels);
    m_axisLabels.clear();
    for (std::size_t i = 0; i < candidates.size(); ++i) {
        if (placed[i] && std::find(m_axisLabels.begin(), m_axisLabels.end(), candidates[i]) ==
                             m_axisLabels.end()) {
            m_axisLabels.push_back(candidates[i]);
        }
    }
}

void CChannelsDlg::DrawGrid(CDC& dc) const {
    const COLORREF background = GetBackgroundColor();
    const auto& a = m_area;
    // The best channels: a light green column over each one's 20 MHz.
    for (DWORD c : m_best) {
        const DWORD f = korvyn::ChannelFrequency(m_band, c);
        const int left = korvyn::XOfFrequency(m_band, a, f - 10000);
        const int right = korvyn::XOfFrequency(m_band, a, f + 10000);
        dc.FillSolidRect(left, a.top, std::max(1, right - left), a.bottom - 1 - a.top,
                         korvyn::Blend(kBestColumn, background, 55));
    }
    // The dBm scale: a line every 10 dBm, numbered every 20.
    dc.SetBkMode(TRANSPARENT);
    for (LONG dbm = korvyn::kCeilingDbm; dbm > korvyn::kFloorDbm; dbm -= 10) {
        const int y = korvyn::YOfSignal(a, dbm);
        dc.FillSolidRect(a.left, y, a.right - a.left, 1, kGrid);
        if (dbm % 20 == 0) {
            CRect r(0, y - m_textHeight / 2, a.left - 2, y + m_textHeight - m_textHeight / 2);
            dc.SetTextColor(kScale);
            dc.DrawText(Number(static_cast<DWORD>(-dbm)).insert(0, u"-"), &r,
                        DT_RIGHT | DT_SINGLELINE | DT_NOPREFIX);
        }
    }
}

void CChannelsDlg::DrawAxis(CDC& dc) const {
    const auto& a = m_area;
    // Under the axis only its own marks: wide pens reach a little past the floor.
    dc.FillSolidRect(a.left - 1, a.bottom, a.right - a.left + 4, m_textHeight + 1,
                     GetBackgroundColor());
    dc.FillSolidRect(a.left, a.bottom - 1, a.right - a.left, 1, kAxis);
    dc.FillSolidRect(a.left, a.top, 1, a.bottom - a.top, kAxis);
    for (DWORD c : korvyn::AxisChannels(m_band)) {
        const int x = korvyn::XOfFrequency(m_band, a, korvyn::ChannelFrequency(m_band, c));
        dc.FillSolidRect(x, a.bottom, 1, 2, kAxis);
    }
    for (DWORD c : m_axisLabels) {
        const bool best = std::find(m_best.begin(), m_best.end(), c) != m_best.end();
        const int x = korvyn::XOfFrequency(m_band, a, korvyn::ChannelFrequency(m_band, c));
        CRect r(x - m_textHeight * 2, a.bottom + 1, x + m_textHeight * 2,
                a.bottom + 1 + m_textHeight);
        if (best) {
            // A marker under the axis and the number in the marker's colour.
            dc.FillSolidRect(x - 3, a.bottom, 7, 2, kBestMark);
        }
        dc.SetTextColor(best ? kBestMark : kAxis);
        dc.DrawText(Number(c), &r, DT_CENTER | DT_SINGLELINE | DT_NOPREFIX);
    }
}

void CChannelsDlg::Draw(CDC& dc) const {
    DrawGrid(dc);
    const COLORREF background = GetBackgroundColor();
    auto colourOf = [&](const Shown& s) {
        return s.active ? s.colour : korvyn::Blend(s.colour, background, kFaintPercent);
    };
    for (const Shown& s : m_shown) {
        const bool selected = m_hasSelection && s.number == m_selected;
        // Pens grow with the text on a double-resolution screen.
        const int scale = std::max(1, m_textHeight / 10);
        CPen pen(PS_SOLID, (selected ? 3 : s.active ? 2 : 1) * scale, colourOf(s));
        CPen* old = dc.SelectObject(&pen);
        const auto& outline = s.hill.outline;
        dc.MoveTo(outline.front().x, outline.front().y);
        for (const korvyn::GraphPoint& p : outline) {
            dc.LineTo(p.x, p.y);
        }
        dc.LineTo(outline.back().x + 1, outline.back().y); // LineTo stops short of its end
        dc.SelectObject(old);
    }
    DrawAxis(dc);
    // Names over every outline.
    for (std::size_t i = 0; i < m_shown.size(); ++i) {
        if (m_shown[i].named) {
            CRect r = RectOf(m_shown[i].nameBox);
            dc.SetTextColor(colourOf(m_shown[i]));
            dc.DrawText(m_names[i], &r, DT_CENTER | DT_SINGLELINE | DT_NOPREFIX);
        }
    }
}

// ---- Taps ----

void CChannelsDlg::OnLButtonDown(UINT flags, CPoint point) {
    CColoredDlg::OnLButtonDown(flags, point);
    // A name stands for its hill; otherwise the outline nearest the tap.
    std::optional<std::size_t> hit;
    for (std::size_t i = m_shown.size(); i-- > 0 && !hit;) {
        if (m_shown[i].named && RectOf(m_shown[i].nameBox).PtInRect(point)) {
            hit = i;
        }
    }
    std::vector<korvyn::Hill> hills;
    for (const Shown& s : m_shown) {
        hills.push_back(s.hill);
    }
    if (!hit) {
        hit = korvyn::HitHill(hills, {point.x, point.y}, std::max(4, m_textHeight / 2));
    }
    if (!hit) {
        return;
    }
    m_hasSelection = true;
    m_selected = m_shown[*hit].number;
    m_stale = true;
    Invalidate();
    OfferZoomMenu(*this, point, m_languages);
}
