#include "controls/CColoredDlg.h"

#include "controls/ThemeColors.h"
#include "platform/ui/CDC.h"
#include "platform/ui/CStatic.h"

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

HFONT CColoredDlg::LabelFont(CWnd& label, const std::u16string& text) {
    CFont* own = label.GetFont();
    CRect client;
    label.GetClientRect(&client);
    return m_labelFonts.For(own != nullptr ? static_cast<HFONT>(own->m_hObject) : nullptr, text,
                            client.Size(), true); // labels wrap their words
}

HBRUSH CColoredDlg::OnCtlColor(CDC* dc, CWnd* wnd, UINT ctlColor) {
    // A label draws its text in the font found in the colour request's context.
    if (dc != nullptr && wnd != nullptr && ctlColor == CTLCOLOR_STATIC &&
        wnd->IsKindOf(RUNTIME_CLASS(CStatic))) {
        if (HFONT font = LabelFont(*wnd, wnd->GetWindowText()); font != nullptr) {
            dc->SelectObject(font);
        }
    }
    if (dc != nullptr) {
        dc->SetBkColor(m_backgroundColor);
        dc->SetTextColor(RGB(0, 0, 0));
        dc->SetBkMode(TRANSPARENT);
    }
    return m_brush;
}
