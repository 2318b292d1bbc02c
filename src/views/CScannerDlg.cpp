#include "views/CScannerDlg.h"
#include "controls/TahomaFont.h"

#include "controls/RelayoutDialog.h"
#include "controls/ThemeColors.h"
#include "core/OuiMakers.h"
#include "core/ScanPeriod.h"
#include "core/StationTable.h"
#include "platform/system/TextCodec.h"
#include "platform/ui/CDC.h"
#include "platform/ui/CDataExchange.h"
#include "platform/ui/CWinApp.h"
#include "resource.h"
#include "settings/CLanguageTable.h"
#include "settings/CSettings.h"
#include "views/SignalHistoryGraph.h"
#include "views/StationColumns.h"
#include "views/StationExport.h"
#include "views/ZoomMenu.h"

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

IMPLEMENT_DYNAMIC(CScannerDlg, CColoredDlg)

namespace {

constexpr int kZoomFontHeight = korvyn::kMeterNumberHeight;
constexpr int kNameBandHeight = korvyn::kMeterNameHeight;

// Language texts of the page.
constexpr int kActiveText = 19;
constexpr int kTapToZoomText = 20;
constexpr int kTapToRestoreText = 21;

UINT TemplateForScreen(bool construction) {
    return TemplateForShape(
        ShapeOfScreen(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), !construction),
        IDD_SCANNER_PORTRAIT, IDD_SCANNER_LANDSCAPE, IDD_SCANNER_SQUARE);
}

} // namespace

CScannerDlg::CScannerDlg(StationTable& stations, const CSettings& settings,
                         const CLanguageTable& languages, CWnd* parent)
    : CColoredDlg(TemplateForScreen(true), parent), m_stations(stations), m_settings(settings),
      m_languages(languages), m_meterSound(stations, settings), m_list(stations, settings) {}

void CScannerDlg::DoDataExchange(CDataExchange* pDX) {
    CColoredDlg::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_LIST, m_list);
    DDX_Text(pDX, IDC_COUNT, m_countText);
    DDX_Text(pDX, IDC_HINT, m_hintText);
}

BOOL CScannerDlg::OnInitDialog() {
    CColoredDlg::OnInitDialog();
    for (int column = 0; column < korvyn::kStationColumnCount; ++column) {
        m_list.InsertColumn(column, m_languages.Text(korvyn::kFirstHeadingText + column).c_str(),
                            LVCFMT_LEFT, korvyn::ColumnInitialWidth(column));
    }
    // Under the main window's tab strip the list fills the page's width.
    CWnd* tab = m_pParentWnd != nullptr ? m_pParentWnd->GetDlgItem(IDC_TAB) : nullptr;
    if (tab != nullptr) {
        CRect tabRect, listRect;
        tab->GetWindowRect(&tabRect);
        m_list.GetWindowRect(&listRect);
        m_list.MoveWindow(0, 0, tabRect.Width(), listRect.Height(), TRUE);
    }
    DWORD stored = 0;
    m_settings.GetValue(CSettings::kFont, stored);
    SetFontSize(korvyn::ListFontSize(stored));
    m_hintText = m_languages.Text(kTapToZoomText);
    UpdateData(FALSE);
    return TRUE;
}

void CScannerDlg::SetFontSize(int size) {
    size = korvyn::ListFontSize(size);
    if (size == m_fontSize) {
        return;
    }
    m_fontSize = size;
    m_layoutApplied = false;
    if (::IsWindow(m_hWnd)) {
        Invalidate();
    }
}

void CScannerDlg::RefreshList() {
    DWORD total = 0, active = 0;
    m_stations.RebuildView(total, active);
    // Only the rows that look different are repainted, and the count line when it reads
    // differently.
    m_list.SetItemCountEx(static_cast<int>(std::min<DWORD>(total, 0x7FFFFFFF)),
                          LVSICF_NOINVALIDATEALL);
    m_list.RedrawChangedRows();
    m_countText =
        korvyn::platform::Utf8ToUtf16(std::to_string(active) + "/" + std::to_string(total) + " ") +
        m_languages.Text(kActiveText);
    UpdateData(FALSE);
    if (m_zoomed) {
        m_meterSound.Scan(m_zoomStation);
        const std::u16string meter = MeterText();
        if (meter != m_meterShown) {
            Invalidate(TRUE);
        }
    }
}

BOOL CScannerDlg::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) {
    auto* notify = reinterpret_cast<NMHDR*>(lParam);
    if (notify != nullptr && notify->idFrom == IDC_LIST) {
        if (notify->code == static_cast<UINT>(LVN_GETDISPINFOW)) {
            OnGetDispInfo(notify);
            *result = 0;
            return TRUE;
        }
        if (notify->code == static_cast<UINT>(NM_CLICK)) {
            OnListClick(notify);
            *result = 0;
            return TRUE;
        }
    }
    return CColoredDlg::OnNotify(wParam, lParam, result);
}

void CScannerDlg::OnGetDispInfo(NMHDR* notify) {
    LVITEM& item = reinterpret_cast<NMLVDISPINFO*>(notify)->item;
    if (!(item.mask & LVIF_TEXT) || item.pszText == nullptr || item.cchTextMax <= 0) {
        return;
    }
    StationRecord station{};
    std::u16string text;
    if (m_stations.GetViewItem(item.iItem, station)) {
        text = korvyn::StationCellText(station, item.iSubItem, m_languages,
                                       m_stations.GetChannelUse(station.number));
    }
    const std::size_t n = std::min(text.size(), static_cast<std::size_t>(item.cchTextMax - 1));
    std::copy_n(text.data(), n, item.pszText);
    item.pszText[n] = 0;
}

void CScannerDlg::OnPaint() {
    CColoredDlg::OnPaint();
    if (!m_layoutApplied) {
        ApplyLayout();
    }
    // The list is shown unless the page is zoomed. Its visibility only changes when it
    // must, so that painting never asks for another paint.
    if (m_zoomed) {
        if (m_list.GetStyle() & WS_VISIBLE) {
            m_list.ShowWindow(SW_HIDE);
        }
        DrawZoomed();
    } else if (!(m_list.GetStyle() & WS_VISIBLE)) {
        m_list.ShowWindow(SW_SHOW);
    }
}

void CScannerDlg::ApplyLayout() {
    for (int column = 0; column < korvyn::kStationColumnCount; ++column) {
        m_list.SetColumnWidth(column, korvyn::ColumnWidth(column, m_fontSize));
    }
    if (::IsWindow(m_list.m_hWnd)) {
        CFont font;
        korvyn::CreateTahomaFont(font, m_fontSize, FW_BOLD);
        m_list.SetFont(&font, TRUE);
        m_listFont.DeleteObject();
        m_listFont.Attach(font.Detach());
    }
    m_layoutApplied = true;
}

void CScannerDlg::OnSize(UINT type, int cx, int cy) {
    CColoredDlg::OnSize(type, cx, cy);
    RelayoutDialog(AfxGetResourceHandle(), m_hWnd, TemplateForScreen(false));
    FillPage();
    // The relayout gave the two lines their template text; they show the page's again.
    SetDlgItemText(IDC_COUNT, m_countText.c_str());
    SetDlgItemText(IDC_HINT, m_hintText.c_str());
}

void CScannerDlg::FillPage() {
    // The list takes the whole page above the count and hint lines, which sit at its
    // bottom: a page of any height shows both lines and the list's scroll bars.
    CWnd* count = GetDlgItem(IDC_COUNT);
    CWnd* hint = GetDlgItem(IDC_HINT);
    CRect client;
    GetClientRect(&client);
    if (count == nullptr || hint == nullptr || !::IsWindow(m_list.m_hWnd) || client.IsRectEmpty()) {
        return;
    }
    CRect countRect, hintRect;
    count->GetWindowRect(&countRect);
    hint->GetWindowRect(&hintRect);
    const int line = countRect.Height();
    const int top = std::max(0, static_cast<int>(client.bottom) - line - 1);
    m_list.MoveWindow(0, 0, client.Width(), top, TRUE);
    count->MoveWindow(2, top, std::min(countRect.Width(), client.Width() - 4), line, TRUE);
    const int hintWidth = std::min(hintRect.Width(), client.Width() - 4);
    hint->MoveWindow(client.right - 2 - hintWidth, top, hintWidth, line, TRUE);
}

// ---- The zoomed view ----

void CScannerDlg::OnListClick(NMHDR* notify) {
    const auto* click = reinterpret_cast<NMITEMACTIVATE*>(notify);
    if (click->iItem == -1) {
        return;
    }
    StationRecord station{};
    if (m_stations.GetViewItem(click->iItem, station)) {
        m_zoomStation = station.number;
    }
    OfferZoomMenu(*this, CPoint(click->ptAction), m_languages);
}

BOOL CScannerDlg::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (LOWORD(wParam) == ID_ZOOM && lParam == 0) {
        OnZoom();
        return TRUE;
    }
    return CColoredDlg::OnCommand(wParam, lParam);
}

void CScannerDlg::OnZoom() {
    m_zoomed = true;
    m_meterSound.Show();
    m_hintText = m_languages.Text(kTapToRestoreText);
    m_list.ShowWindow(SW_HIDE);
    UpdateData(FALSE);
    Invalidate(TRUE);
}

void CScannerDlg::ZoomStation(DWORD number) {
    m_zoomStation = number;
    OnZoom();
}

void CScannerDlg::OnLButtonDown(UINT flags, CPoint point) {
    if (m_zoomed) {
        RestoreList();
    }
    CColoredDlg::OnLButtonDown(flags, point);
}

void CScannerDlg::RestoreList() {
    m_zoomed = false;
    m_meterSound.Hide();
    m_hintText = m_languages.Text(kTapToZoomText);
    m_list.DeleteAllItems();
    m_list.ShowWindow(SW_SHOW);
    UpdateData(FALSE);
}

std::u16string CScannerDlg::MeterNumber(bool found, const StationRecord& station) {
    if (!found || station.active != 1) {
        return u"--";
    }
    // The meter shows the RSSI's magnitude in dBm, not the list's 100 - |RSSI|.
    return korvyn::platform::Utf8ToUtf16(
        std::to_string(std::llabs(static_cast<long long>(station.rssi))));
}

std::u16string CScannerDlg::MeterText() const {
    StationRecord station{};
    const bool found = m_stations.GetByNumber(m_zoomStation, station);
    std::u16string text = MeterNumber(found, station) + u'\n';
    if (!found) {
        return text;
    }
    text += korvyn::StationName(station) + u'\n' +
            korvyn::StationAirLine(station, m_stations.GetChannelUse(station.number), m_languages) +
            u'\n';
    std::vector<LONG> samples;
    m_stations.GetHistory(m_zoomStation, korvyn::HistoryScans(GetScanPeriod(m_settings)), samples);
    for (LONG sample : samples) {
        text += static_cast<char16_t>(sample & 0xFF);
    }
    return text;
}

int CScannerDlg::CountLineTop() {
    CRect count;
    GetClientRect(&count);
    if (CWnd* line = GetDlgItem(IDC_COUNT); line != nullptr) {
        line->GetWindowRect(&count);
        ScreenToClient(&count);
    } else {
        count.top = count.bottom;
    }
    return count.top;
}

void CScannerDlg::DrawZoomed() {
    CDC* dc = GetDC();
    if (dc == nullptr) {
        return;
    }
    StationRecord station{};
    const bool found = m_stations.GetByNumber(m_zoomStation, station);
    std::u16string number = MeterNumber(found, station);
    m_meterShown = MeterText();
    OnCtlColor(dc, nullptr, CTLCOLOR_STATIC);
    // The parts share the page's background: none paints over another's margins.
    const int oldMode = dc->SetBkMode(TRANSPARENT);

    CFont big;
    korvyn::CreateTahomaFont(big, kZoomFontHeight, FW_BOLD);
    CFont* previous = dc->SelectObject(&big);
    TEXTMETRIC metrics{};
    korvyn::FigureRows figures;
    if (dc->GetTextMetrics(&metrics)) {
        figures = {static_cast<int>(metrics.tmInternalLeading),
                   static_cast<int>(std::min<LONG>(metrics.tmAscent + 1, kZoomFontHeight))};
    }
    // Everything below the number is twice as large on a double-resolution screen; the
    // number and the name keep their pixel sizes.
    const int scale = std::max(1, dc->GetDeviceCaps(LOGPIXELSY) / 96);
    CFont labels;
    korvyn::CreateTahomaFont(labels, korvyn::kMeterLabelHeight * scale, FW_NORMAL);
    dc->SelectObject(&labels);
    const int labelWidth = dc->GetTextExtent(korvyn::kWidestGraphLabel).cx;
    CRect client;
    GetClientRect(&client);
    m_meterLayout = korvyn::LayoutMeter(client, CountLineTop(), scale, labelWidth, figures);

    dc->SelectObject(&big);
    CRect rect = m_meterLayout.numberCell;
    dc->DrawText(number, &rect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);

    dc->SelectObject(&labels);
    if (found && !m_meterLayout.graph.IsRectEmpty()) {
        std::vector<LONG> samples;
        m_stations.GetHistory(m_zoomStation, korvyn::HistoryScans(GetScanPeriod(m_settings)),
                              samples);
        const COLORREF background = GetBackgroundColor(), text = dc->GetTextColor();
        const korvyn::GraphColors colors{
            korvyn::CaptionColor(), text,
            korvyn::MixColors(background, korvyn::MixColors(background, text))};
        korvyn::DrawSignalGraph(*dc, m_meterLayout, samples, station.bestRssi, station.worstRssi,
                                colors);
    }
    if (found) {
        m_details.Draw(
            *dc, m_meterLayout.details, scale,
            korvyn::StationAirLine(station, m_stations.GetChannelUse(station.number), m_languages),
            korvyn::ProgramOuiMakers().MakerOf(station.mac));
    }

    CFont small;
    korvyn::CreateTahomaFont(small, kNameBandHeight, FW_BOLD);
    dc->SelectObject(&small);
    rect = m_meterLayout.name;
    dc->DrawText(found ? korvyn::StationName(station) : std::u16string(), &rect,
                 DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    dc->SelectObject(previous);
    dc->SetBkMode(oldMode);
    ReleaseDC(dc);
}

// ---- Save ----

void CScannerDlg::ExportStations() {
    ExportStations(korvyn::ReadExportFormat());
}

bool CScannerDlg::ExportStations(int format) {
    // The list's rows as it shows them: its item count, in display order.
    const int rows = m_list.GetItemCount();
    auto rowTexts = [this](int row, korvyn::StationTexts& texts) {
        korvyn::StationRowTexts(m_stations, row, m_languages, texts);
    };
    const korvyn::ExportOutcome outcome =
        korvyn::ExportStationList(korvyn::ExportFormatFromSetting(format),
                                  korvyn::StationHeadings(m_languages), rows, rowTexts);
    if (outcome.saved) {
        MessageBox(korvyn::ExportSavedMessage(outcome).c_str(), u"Saved As",
                   MB_OK | MB_ICONINFORMATION);
    } else {
        MessageBox(korvyn::ExportFailedMessage(outcome).c_str(), u"Korvyn", MB_OK | MB_ICONERROR);
    }
    return outcome.saved;
}
