#include "views/CListCtrlEx.h"

#include "core/StationTable.h"
#include "platform/ui/CDC.h"
#include "platform/ui/CPen.h"
#include "platform/ui/ScreenUpdates.h"
#include "settings/CSettings.h"
#include "views/StationColumns.h"

#include <algorithm>
#include <cmath>
#include <iterator>

IMPLEMENT_DYNAMIC(CListCtrlEx, CListCtrl)

namespace {

constexpr COLORREF kSecuredText = RGB(255, 0, 0);
constexpr COLORREF kWedgeFilled = RGB(50, 255, 50);
constexpr COLORREF kWedgeGap = RGB(150, 150, 150);
constexpr COLORREF kWedgeEmpty = RGB(220, 220, 220);

// A notification of the list that it wants answered with 1 and nothing else.
constexpr UINT kAnsweredWithOne = 0xFFFFFFCE; // -50

constexpr DWORD kSubItemPrePaint = CDDS_ITEMPREPAINT | CDDS_SUBITEM;

} // namespace

CListCtrlEx::CListCtrlEx(const StationTable& stations, const CSettings& settings)
    : m_stations(stations), m_settings(settings) {}

BOOL CListCtrlEx::OnChildNotify(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    auto* notify = reinterpret_cast<NMHDR*>(lParam);
    if (msg != WM_NOTIFY || notify == nullptr || notify->hwndFrom != m_hWnd) {
        return CListCtrl::OnChildNotify(msg, wParam, lParam, result);
    }
    if (notify->code == static_cast<UINT>(NM_CUSTOMDRAW)) {
        OnCustomDraw(notify, result);
        return TRUE;
    }
    if (notify->code == kAnsweredWithOne) {
        *result = 1;
        return TRUE;
    }
    return CListCtrl::OnChildNotify(msg, wParam, lParam, result);
}

void CListCtrlEx::OnCustomDraw(NMHDR* notify, LRESULT* result) {
    auto* cd = reinterpret_cast<NMLVCUSTOMDRAW*>(notify);
    *result = CDRF_DODEFAULT;
    switch (cd->nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
        *result = CDRF_NOTIFYITEMDRAW;
        break;
    case CDDS_ITEMPREPAINT: {
        *result = CDRF_NOTIFYSUBITEMDRAW;
        const int item = static_cast<int>(cd->nmcd.dwItemSpec);
        if (item != -1) {
            // When the row is gone from the view the previous row's copy stays.
            m_stations.GetViewItem(item, m_record);
        }
        break;
    }
    case kSubItemPrePaint: {
        COLORREF text = GetSysColor(COLOR_WINDOWTEXT);
        const COLORREF background = GetSysColor(COLOR_WINDOW);
        if ((cd->iSubItem == 0 || cd->iSubItem == 4) && m_record.privacy != 0) {
            text = kSecuredText;
        }
        if (m_record.active != 1) {
            text = GetSysColor(COLOR_GRAYTEXT);
        } else if (cd->iSubItem == korvyn::kSignalColumn) {
            // The wedge is as wide as the list's font is high (the setting as the list
            // reads it), left of the default text, and kept within a narrowed column.
            DWORD setting = 0;
            m_settings.GetValue(CSettings::kFont, setting);
            const RECT cell = cd->nmcd.rc;
            const int room = std::max(0, static_cast<int>(cell.right - cell.left) - 2);
            const int size = std::min(korvyn::ListFontSize(setting), room);
            cd->nmcd.rc.left += size + 2;
            DrawSignalWedge(CDC::FromHandle(cd->nmcd.hdc), cell.left, cell.top,
                            cell.left + size + 2, cell.bottom, size, m_record.rssi);
        }
        cd->clrText = text;
        cd->clrTextBk = background;
        break;
    }
    default:
        break;
    }
}

bool CListCtrlEx::LookTheSame(const StationRecord& a, const StationRecord& b) {
    auto sameDate = [](double x, double y) {
        return x == y || korvyn::DateText(x) == korvyn::DateText(y);
    };
    return std::equal(std::begin(a.mac), std::end(a.mac), std::begin(b.mac)) &&
           std::equal(std::begin(a.ssid), std::end(a.ssid), std::begin(b.ssid)) &&
           a.active == b.active && (a.active != 1 || a.rssi == b.rssi) && a.channel == b.channel &&
           a.mode == b.mode && (a.privacy != 0) == (b.privacy != 0) && a.bestRssi == b.bestRssi &&
           a.worstRssi == b.worstRssi && sameDate(a.firstSeen, b.firstSeen) &&
           sameDate(a.lastSeen, b.lastSeen);
}

void CListCtrlEx::RedrawChangedRows() {
    if (!korvyn::platform::IsWindowOnScreen(m_hWnd)) {
        m_shown.clear();
        return;
    }
    const int top = GetTopIndex();
    // The last row may show in part.
    const int end = std::min(GetItemCount(), top + GetCountPerPage() + 1);
    std::vector<StationRecord> now(static_cast<std::size_t>(std::max(0, end - top)));
    int changedFrom = -1; // first row of the run of changed rows being gathered
    for (int item = top; item <= end; ++item) {
        bool changed = false;
        if (item < end) {
            StationRecord& station = now[static_cast<std::size_t>(item - top)];
            m_stations.GetViewItem(item, station);
            const int before = item - m_shownTop;
            changed = before < 0 || before >= static_cast<int>(m_shown.size()) ||
                      !LookTheSame(m_shown[static_cast<std::size_t>(before)], station);
        }
        if (changed && changedFrom < 0) {
            changedFrom = item;
        } else if (!changed && changedFrom >= 0) {
            RedrawItems(changedFrom, item - 1);
            changedFrom = -1;
        }
    }
    m_shownTop = top;
    m_shown = std::move(now);
}

int CListCtrlEx::FilledColumns(int columns, LONG rssi) {
    const double magnitude = std::fabs(static_cast<double>(rssi));
    if (magnitude < 10) {
        return columns;
    }
    if (magnitude > 90) {
        return 0;
    }
    const double filled = columns - ((magnitude - 10) * 0.0125) * columns;
    double whole = 0;
    const double fraction = std::modf(filled, &whole);
    return static_cast<int>(whole) + (fraction >= 0.5 ? 1 : 0);
}

void CListCtrlEx::DrawSignalWedge(CDC* dc, int left, int /*top*/, int right, int bottom, int size,
                                  LONG rssi) {
    if (dc == nullptr) {
        return;
    }
    CPen filledPen(PS_SOLID, 1, kWedgeFilled);
    CPen gapPen(PS_SOLID, 1, kWedgeGap);
    CPen emptyPen(PS_SOLID, 1, kWedgeEmpty);

    const int columns = right - left - 2;
    const int x0 = left + 1;
    const int filled = FilledColumns(columns, rssi);
    const int bar = size < 14 ? 3 : size <= 16 ? 4 : 5;

    CPen* previous = dc->SelectObject(filled != 0 ? &filledPen : &emptyPen);
    for (int i = 0; i < columns; ++i) {
        const int y = bottom - 1 - i;
        if (i == filled) {
            dc->SelectObject(&emptyPen);
        }
        // Column i is i pixels high: the line stops short of its end point.
        dc->MoveTo(x0 + i, bottom - 1);
        if (i > 0 && i % bar == 0 && i != columns - 1) {
            dc->SelectObject(&gapPen);
            dc->LineTo(x0 + i, y);
            dc->SelectObject(i < filled ? &filledPen : &emptyPen);
        } else {
            dc->LineTo(x0 + i, y);
        }
    }
    dc->SelectObject(previous);
}
