#pragma once
// CColoredDlg: the dialog base of the main window and the pages. It paints itself and
// the backgrounds of its plain controls in one solid colour: every control colour
// request (the dialog's own included) gets that colour as text background, black text
// drawn transparently, and the dialog's brush. Controls that choose their own colours
// (the owner-drawn ones) do not ask.
#include "controls/FittedFont.h"
#include "platform/ui/CBrush.h"
#include "platform/ui/CDialog.h"

class CColoredDlg : public CDialog {
    DECLARE_DYNAMIC(CColoredDlg)
public:
    // The background starts as the theme's light tint.
    CColoredDlg();
    explicit CColoredDlg(UINT templateId, CWnd* parent = nullptr);

    // Replaces the brush by one of the new colour and repaints an open window.
    void SetBackgroundColor(COLORREF color);
    // Kept for the owner; the dialog's own painting does not use it.
    void SetTextColor(COLORREF color) { m_textColor = color; }
    COLORREF GetBackgroundColor() const { return m_backgroundColor; }
    COLORREF GetTextColor() const { return m_textColor; }
    // The font a label of the dialog draws `text` in: its own, or a smaller one when the
    // text would not fit the label (see FittedFont.h).
    HFONT LabelFont(CWnd& label, const std::u16string& text);

protected:
    HBRUSH OnCtlColor(CDC* dc, CWnd* wnd, UINT ctlColor) override;

private:
    COLORREF m_backgroundColor;
    COLORREF m_textColor = RGB(0, 0, 0);
    CBrush m_brush;
    korvyn::FittedFont m_labelFonts;
};
