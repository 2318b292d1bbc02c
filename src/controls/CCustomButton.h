#pragma once
// CCustomButton: the program's own look for push buttons, check boxes, radio buttons and
// group boxes. A button from a dialog template is attached (SubclassDlgItem, DDX_Control)
// and from then on drawn by this object: a solid or gradient background, a bevel frame,
// an optional bitmap per state and a second caption shown while the button is checked
// (check box, radio button) or pressed (push button). What it draws as caption is the
// window text, which each state change sets to the state's caption.
//
// Kind. Attaching reads the kind from the low three bits of the button style: 7 group
// box, 2 or 3 check box, 4 radio button, anything else a push button (so an automatic
// radio button, style 9, attaches as a push button: use BS_RADIOBUTTON for radio
// buttons). Attaching then switches the window to owner drawing.
//
// Stylus. A push button is pressed while the stylus is down; with BS_PUSHLIKE each tap
// toggles it instead. A tap toggles a check box and checks a radio button, unchecking
// every other control of its dialog group with BM_SETCHECK. The click then reaches the
// parent as BN_CLICKED, so the parent reads the new state with BM_GETCHECK.
// BM_SETCHECK changes check boxes and radio buttons only (1 checks, anything else
// unchecks); push buttons and group boxes ignore it.
//
// Placement (low four bits of the layout flags) of bitmap and caption:
//  - push buttons: 0 or 2 bitmap left of the caption, 1 caption left of the bitmap,
//    4 caption above the bitmap, 8 bitmap above the caption; other values as 0. The free
//    space along that axis is split into equal gaps (three with both, two with one of
//    them, which is then centred); across it both are centred. The bitmap is drawn
//    only with BS_BITMAP. Checked push buttons with a frame draw their content one
//    pixel right and down.
//  - check boxes and radio buttons: 0 or 2 indicator at the left edge, 1 at the right
//    edge, caption beside it; 4 and 8 stack indicator and caption as a push button
//    does (4 caption above, 8 indicator above), centred across, caption lines centred.
//    The indicator is the state's bitmap, else a 16 x 16 platform check or radio frame.
//  - group boxes: 8 raises the frame's bottom edge by half the caption height.
// Layout flag 16 gives push buttons the gradient style with its rounded frame.
//
// Ownership. SetBitmaps and SetFont take ownership by default: the button deletes what
// it holds when it is given something else and when it goes away, never a handle it is
// given again. With Ownership::Caller the button only refers to the handles and the
// caller keeps them alive for as long as the button may show them (the main window's
// lamp images, handed over again at every blink; a font shared by several buttons).
#include "controls/FittedFont.h"
#include "controls/OffscreenSurface.h"
#include "platform/ui/CButton.h"

#include <string>

class CCustomButton : public CButton {
    DECLARE_DYNAMIC(CCustomButton)
public:
    enum class Kind { PushButton, RadioButton, CheckBox, GroupBox };
    enum class Ownership { Button, Caller };

    static constexpr UINT kPlacementMask = 0x0F;
    static constexpr UINT kBitmapLeft = 0;
    static constexpr UINT kBitmapRight = 1;
    static constexpr UINT kBitmapBelow = 4;
    static constexpr UINT kBitmapAbove = 8;
    static constexpr UINT kGradient = 16;

    // Registers the window class "CustomButtonClass" unless it exists.
    CCustomButton();
    ~CCustomButton() override;

    // An empty checked caption means the normal one. Shows the state's caption.
    void SetCaptions(const std::u16string& normal, const std::u16string& checked = {});
    // A missing checked bitmap means the normal one; the normal bitmap's size is the one
    // the layout uses.
    void SetBitmaps(HBITMAP normal, HBITMAP checked = nullptr,
                    Ownership ownership = Ownership::Button);
    void SetBackgroundColor(COLORREF color) { Recolor(m_normalBackground, color); }
    void SetCheckedBackgroundColor(COLORREF color) { Recolor(m_checkedBackground, color); }
    void SetTextColors(COLORREF normal, COLORREF checked) {
        m_normalTextColor = normal;
        Recolor(m_checkedTextColor, checked);
    }
    // Outline and caption fill of a group box.
    void SetFrameColor(COLORREF color) { Recolor(m_frameColor, color); }
    void SetGradientColors(COLORREF color1, COLORREF color2) {
        m_gradientColor1 = color1;
        Recolor(m_gradientColor2, color2);
    }
    // Placement in the low four bits, kGradient for the gradient style.
    void SetLayout(UINT flags);
    // The caption font; without one the window's font is used.
    void SetFont(HFONT font, Ownership ownership = Ownership::Button);

    Kind GetKind() const { return m_kind; }
    bool IsFlat() const { return m_flat; }
    bool IsChecked() const { return m_checked; }
    const std::u16string& GetCaption(bool checked) const {
        return checked ? m_checkedCaption : m_normalCaption;
    }
    HBITMAP GetStateBitmap(bool checked) const {
        return checked ? m_checkedBitmap : m_normalBitmap;
    }
    UINT GetLayout() const { return m_layout; }
    // The caption font given with SetFont, or nullptr for the window's font.
    HFONT GetCaptionFont() const { return m_font; }
    // The font a caption is drawn with: the caption font, or when the caption would not
    // fit inside the frame beside the picture, the largest smaller one down to
    // 8 pixels in which it does (see FittedFont.h).
    HFONT FittedCaptionFont(const std::u16string& text);

    void DrawItem(LPDRAWITEMSTRUCT drawItem) override;

protected:
    void PreSubclassWindow() override;
    BOOL OnWndMsg(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    void OnLButtonDown(UINT flags, CPoint point) override;
    void OnLButtonUp(UINT flags, CPoint point) override;

private:
    void Recolor(COLORREF& field, COLORREF color) {
        field = color;
        Redraw();
    }
    void ShowStateCaption();
    void Redraw();
    void ReleaseBitmaps(HBITMAP keep1, HBITMAP keep2);
    void ReleaseFont();
    void UncheckGroup();

    void DrawPushButton(CDC& dc, const CRect& client);
    void DrawGradient(CDC& dc, const CRect& client) const;
    void DrawFrame(CDC& dc, const CRect& client) const;
    void DrawCheckButton(CDC& dc, const CRect& client);
    void DrawGroupBox(CDC& dc, const CRect& client);
    HFONT FitCaption(HFONT base, const std::u16string& text);
    HBITMAP StateBitmap() const { return m_checked ? m_checkedBitmap : m_normalBitmap; }
    CSize StateBitmapSize() const;

    Kind m_kind = Kind::PushButton;
    bool m_flat = true;
    bool m_checked = false;
    std::u16string m_normalCaption;
    std::u16string m_checkedCaption;
    HBITMAP m_normalBitmap = nullptr;
    HBITMAP m_checkedBitmap = nullptr;
    int m_bitmapWidth = 0;
    int m_bitmapHeight = 0;
    bool m_ownsBitmaps = false;
    COLORREF m_normalBackground;
    COLORREF m_checkedBackground;
    COLORREF m_normalTextColor;
    COLORREF m_checkedTextColor;
    COLORREF m_frameColor;
    COLORREF m_gradientColor1 = RGB(0, 0, 0);
    COLORREF m_gradientColor2 = RGB(255, 255, 255);
    UINT m_layout = 0;
    bool m_gradient = false;
    HFONT m_font = nullptr;
    bool m_ownsFont = false;
    korvyn::FittedFont m_fittedFonts;
    // Every drawing goes to it first.
    korvyn::OffscreenSurface m_surface;
};
