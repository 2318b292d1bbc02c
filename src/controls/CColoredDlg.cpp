#include "controls/CColoredDlg.h"

#include "controls/ThemeColors.h"
#include "platform/ui/CDC.h"

IMPLEMENT_DYNAMIC(CColoredDlg, CDialog)

CColoredDlg::CColoredDlg() : m_backgroundColor(korvyn::LightTint()) {
    m_brush.CreateSolidBrush(m_backgroundColor);
}

CColoredDlg::CColoredDlg(UINT templateId, CWnd* parent)
    : CDialog(templateId, parent), m_backgroundColor(korvyn::LightTint()) {
    m_brush.CreateSolidBrush(m_backgroundColor);
}

void CColoredDlg::SetBackgroundColor(COLORREF color) {
    m_backgroundColor = color;
    m_brush.DeleteObject();
    m_brush.CreateSolidBrush(color);
    if (::IsWindow(m_hWnd)) {
        Invalidate();
    }
}

HBRUSH CColoredDlg::OnCtlColor(CDC* dc, CWnd* /*wnd*/, UINT /*ctlColor*/) {
    if (dc != nullptr) {
        dc->SetBkColor(m_backgroundColor);
        dc->SetTextColor(RGB(0, 0, 0));
        dc->SetBkMode(TRANSPARENT);
    }
    return m_brush;
}
