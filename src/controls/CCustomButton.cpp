#include "controls/CCustomButton.h"

#include "controls/ControlClass.h"
#include "controls/ThemeColors.h"
#include "controls/TransparentBitmap.h"
#include "platform/ui/CBrush.h"
#include "platform/ui/CFont.h"

#include <algorithm>
#include <vector>

IMPLEMENT_DYNAMIC(CCustomButton, CButton)

namespace {

constexpr int kFrameControlSize = 16;

// Top and left edges in one colour, bottom and right ones (with the corners they
// share with the others) in the other.
void Bevel(CDC& dc, const CRect& r, COLORREF topLeft, COLORREF bottomRight) {
    dc.FillSolidRect(r.left, r.top, r.Width() - 1, 1, topLeft);
    dc.FillSolidRect(r.left, r.top, 1, r.Height() - 1, topLeft);
    dc.FillSolidRect(r.left, r.bottom - 1, r.Width(), 1, bottomRight);
    dc.FillSolidRect(r.right - 1, r.top, 1, r.Height(), bottomRight);
}

// Where two items go along one axis of the given length: the free space split into
// equal gaps, a lone item centred.
struct AxisPlaces {
    int first;
    int second;
};
AxisPlaces PlaceAlong(int length, int firstSize, bool hasFirst, int secondSize, bool hasSecond) {
    int sizes = (hasFirst ? firstSize : 0) + (hasSecond ? secondSize : 0);
    int free = length - sizes;
    int gap = hasFirst && hasSecond ? free / 3 : free / 2;
    return {gap, hasFirst ? firstSize + 2 * gap : gap};
}

bool IsStacked(UINT placement) {
    return placement == CCustomButton::kBitmapBelow || placement == CCustomButton::kBitmapAbove;
}

// Top-left corners of bitmap and caption for a placement: along the placement's axis
// by PlaceAlong, centred across it.
struct Placed {
    CPoint bitmap;
    CPoint caption;
};
Placed Place(UINT placement, CSize client, CSize bitmap, bool hasBitmap, CSize caption,
             bool hasCaption) {
    if (IsStacked(placement)) {
        bool captionFirst = placement == CCustomButton::kBitmapBelow;
        AxisPlaces y = captionFirst
                           ? PlaceAlong(client.cy, caption.cy, hasCaption, bitmap.cy, hasBitmap)
                           : PlaceAlong(client.cy, bitmap.cy, hasBitmap, caption.cy, hasCaption);
        return {{(client.cx - bitmap.cx) / 2, captionFirst ? y.second : y.first},
                {(client.cx - caption.cx) / 2, captionFirst ? y.first : y.second}};
    }
    bool captionFirst = placement == CCustomButton::kBitmapRight;
    AxisPlaces x = captionFirst
                       ? PlaceAlong(client.cx, caption.cx, hasCaption, bitmap.cx, hasBitmap)
                       : PlaceAlong(client.cx, bitmap.cx, hasBitmap, caption.cx, hasCaption);
    return {{captionFirst ? x.second : x.first, (client.cy - bitmap.cy) / 2},
            {captionFirst ? x.first : x.second, (client.cy - caption.cy) / 2}};
}

UINT HorizontalAlignment(DWORD style, UINT fallback) {
    switch (style & BS_CENTER) {
    case BS_LEFT:
        return DT_LEFT;
    case BS_RIGHT:
        return DT_RIGHT;
    case BS_CENTER:
        return DT_CENTER;
    default:
        return fallback;
    }
}

} // namespace

CCustomButton::CCustomButton()
    : m_normalBackground(GetSysColor(COLOR_BTNFACE)),
      m_checkedBackground(GetSysColor(COLOR_BTNFACE)),
      m_normalTextColor(GetSysColor(COLOR_BTNTEXT)), m_checkedTextColor(GetSysColor(COLOR_BTNTEXT)),
      m_frameColor(GetSysColor(COLOR_BTNTEXT)) {
    korvyn::RegisterControlClass(u"CustomButtonClass",
                                 static_cast<HBRUSH>(GetStockObject(HOLLOW_BRUSH)));
}

CCustomButton::~CCustomButton() {
    ReleaseBitmaps(nullptr, nullptr);
    ReleaseFont();
}

// ---- Attaching ----

void CCustomButton::PreSubclassWindow() {
    CButton::PreSubclassWindow();
    DWORD style = GetStyle();
    switch (style & 7) {
    case 7:
        m_kind = Kind::GroupBox;
        break;
    case 2:
    case 3:
        m_kind = Kind::CheckBox;
        break;
    case 4:
        m_kind = Kind::RadioButton;
        break;
    default:
        m_kind = Kind::PushButton;
        m_flat = (style & BS_FLAT) != 0;
        break;
    }
    m_checked = false;
    m_normalCaption = GetWindowText();
    m_checkedCaption = m_normalCaption;
    ModifyStyle(BS_TYPEMASK, BS_OWNERDRAW, SWP_FRAMECHANGED);
    CRect client;
    GetClientRect(&client);
    CDC screen;
    screen.CreateCompatibleDC(nullptr);
    m_surface.Prepare(screen, client.Size());
}

// ---- Setters ----

void CCustomButton::SetCaptions(const std::u16string& normal, const std::u16string& checked) {
    m_normalCaption = normal;
    m_checkedCaption = checked.empty() ? normal : checked;
    ShowStateCaption();
    Redraw();
}

void CCustomButton::SetBitmaps(HBITMAP normal, HBITMAP checked, Ownership ownership) {
    if (checked == nullptr) {
        checked = normal;
    }
    ReleaseBitmaps(normal, checked);
    m_normalBitmap = normal;
    m_checkedBitmap = checked;
    m_ownsBitmaps = ownership == Ownership::Button;
    CSize size = korvyn::BitmapSize(normal);
    m_bitmapWidth = size.cx;
    m_bitmapHeight = size.cy;
    Redraw();
}

void CCustomButton::SetLayout(UINT flags) {
    m_layout = flags;
    m_gradient = (flags & kGradient) != 0;
    Redraw();
}

void CCustomButton::SetFont(HFONT font, Ownership ownership) {
    if (font != m_font) {
        ReleaseFont();
    }
    m_font = font;
    m_ownsFont = ownership == Ownership::Button;
    Redraw();
}

void CCustomButton::ReleaseBitmaps(HBITMAP keep1, HBITMAP keep2) {
    if (m_ownsBitmaps) {
        for (HBITMAP b : {m_normalBitmap, m_checkedBitmap}) {
            if (b != nullptr && b != keep1 && b != keep2) {
                DeleteObject(b);
            }
        }
    }
    m_normalBitmap = m_checkedBitmap = nullptr;
    m_ownsBitmaps = false;
}

void CCustomButton::ReleaseFont() {
    if (m_ownsFont && m_font != nullptr) {
        DeleteObject(m_font);
    }
    m_font = nullptr;
    m_ownsFont = false;
}

void CCustomButton::ShowStateCaption() {
    if (::IsWindow(m_hWnd)) {
        SetWindowText(m_checked ? m_checkedCaption : m_normalCaption);
    }
}

void CCustomButton::Redraw() {
    if (::IsWindow(m_hWnd)) {
        Invalidate();
    }
}

// ---- Messages and the stylus ----

BOOL CCustomButton::OnWndMsg(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    if (msg == BM_GETCHECK) {
        *result = m_checked ? BST_CHECKED : BST_UNCHECKED;
        return TRUE;
    }
    if (msg == BM_SETCHECK) {
        if (m_kind == Kind::CheckBox || m_kind == Kind::RadioButton) {
            m_checked = wParam == BST_CHECKED;
            ShowStateCaption();
            Redraw();
        }
        *result = 0;
        return TRUE;
    }
    return CButton::OnWndMsg(msg, wParam, lParam, result);
}

void CCustomButton::OnLButtonDown(UINT flags, CPoint point) {
    if (!IsWindowEnabled()) {
        return;
    }
    switch (m_kind) {
    case Kind::PushButton:
        m_checked = (GetStyle() & BS_PUSHLIKE) ? !m_checked : true;
        ShowStateCaption();
        Redraw();
        break;
    case Kind::CheckBox:
        m_checked = !m_checked;
        ShowStateCaption();
        SendMessage(BM_SETCHECK, m_checked ? BST_CHECKED : BST_UNCHECKED);
        break;
    case Kind::RadioButton:
        if (!m_checked) {
            m_checked = true;
            ShowStateCaption();
            SendMessage(BM_SETCHECK, BST_CHECKED);
            UncheckGroup();
        }
        break;
    case Kind::GroupBox:
        break;
    }
    CButton::OnLButtonDown(flags, point);
}

void CCustomButton::UncheckGroup() {
    HWND dialog = ::GetParent(m_hWnd);
    // Collected first: a control that goes away on the message cannot break the walk,
    // and a group that never comes back to this button (it is hidden) still ends.
    std::vector<HWND> others;
    for (HWND h = ::GetNextDlgGroupItem(dialog, m_hWnd, FALSE); h != nullptr && h != m_hWnd;
         h = ::GetNextDlgGroupItem(dialog, h, FALSE)) {
        if (std::find(others.begin(), others.end(), h) != others.end()) {
            break;
        }
        others.push_back(h);
    }
    for (HWND h : others) {
        ::SendMessage(h, BM_SETCHECK, BST_UNCHECKED, 0);
    }
}

void CCustomButton::OnLButtonUp(UINT flags, CPoint point) {
    if (m_kind == Kind::PushButton && IsWindowEnabled() && !(GetStyle() & BS_PUSHLIKE)) {
        m_checked = false;
        ShowStateCaption();
        Redraw();
    }
    CButton::OnLButtonUp(flags, point);
}

// ---- Drawing ----

void CCustomButton::DrawItem(LPDRAWITEMSTRUCT drawItem) {
    CDC* screen = drawItem != nullptr ? CDC::FromHandle(drawItem->hDC) : nullptr;
    CRect client;
    GetClientRect(&client);
    if (screen == nullptr || client.IsRectEmpty()) {
        return;
    }
    // A relayout may have resized the button since the surface was made.
    CDC& surface = m_surface.Prepare(*screen, client.Size());
    HGDIOBJ font = m_font;
    if (font == nullptr) {
        CFont* current = screen->GetCurrentFont();
        font = current != nullptr ? current->GetSafeHandle() : nullptr;
    }
    if (m_kind != Kind::GroupBox) {
        font = FitCaption(static_cast<HFONT>(font), GetWindowText());
    }
    HGDIOBJ previousFont = font != nullptr ? surface.SelectObject(font) : nullptr;
    switch (m_kind) {
    case Kind::PushButton:
        DrawPushButton(surface, client);
        break;
    case Kind::CheckBox:
    case Kind::RadioButton:
        DrawCheckButton(surface, client);
        break;
    case Kind::GroupBox:
        DrawGroupBox(surface, client);
        break;
    }
    screen->BitBlt(0, 0, client.Width(), client.Height(), &surface, 0, 0, SRCCOPY);
    if (previousFont != nullptr) {
        surface.SelectObject(previousFont);
    }
}

HFONT CCustomButton::FittedCaptionFont(const std::u16string& text) {
    HFONT base = m_font;
    if (base == nullptr && ::IsWindow(m_hWnd) && GetFont() != nullptr) {
        base = static_cast<HFONT>(GetFont()->m_hObject);
    }
    return FitCaption(base, text);
}

HFONT CCustomButton::FitCaption(HFONT base, const std::u16string& text) {
    if (base == nullptr || !::IsWindow(m_hWnd)) {
        return base;
    }
    // Where the caption goes: inside the frame of a push button, beside the picture or
    // the indicator, one line unless the button wraps.
    CRect area;
    GetClientRect(&area);
    const DWORD style = GetStyle();
    const CSize picture = korvyn::BitmapSize(m_normalBitmap);
    bool wraps = true;
    if (m_kind == Kind::PushButton || (style & BS_PUSHLIKE)) {
        area.DeflateRect(2, 2);
        area.right -= picture.cx;
        wraps = (style & BS_MULTILINE) != 0;
    } else {
        area.left += (picture.cx > 0 ? picture.cx : 13) + 4;
    }
    return m_fittedFonts.For(base, text, area.Size(), wraps);
}

CSize CCustomButton::StateBitmapSize() const {
    return StateBitmap() != nullptr ? CSize(m_bitmapWidth, m_bitmapHeight) : CSize();
}

void CCustomButton::DrawPushButton(CDC& dc, const CRect& client) {
    dc.FillSolidRect(&client, m_checked ? m_checkedBackground : m_normalBackground);
    if (m_gradient) {
        DrawGradient(dc, client);
    }
    DWORD style = GetStyle();
    HBITMAP bitmap = StateBitmap();
    CSize bitmapSize = StateBitmapSize();
    UINT placement = m_layout & kPlacementMask;
    bool vertical = IsStacked(placement);

    std::u16string text = GetWindowText();
    UINT format = HorizontalAlignment(style, DT_CENTER) |
                  ((style & BS_VCENTER) == BS_BOTTOM ? DT_BOTTOM : DT_TOP) |
                  ((style & BS_MULTILINE) ? DT_WORDBREAK : DT_SINGLELINE) | DT_EXPANDTABS;
    CRect measure(client);
    if (vertical) {
        measure.bottom -= bitmapSize.cy;
    } else {
        measure.right -= bitmapSize.cx;
    }
    dc.DrawText(text, &measure, format | DT_CALCRECT);
    CSize captionSize = text.empty() ? CSize() : measure.Size();
    bool hasBitmap = bitmap != nullptr, hasCaption = !text.empty();

    Placed at = Place(placement, client.Size(), bitmapSize, hasBitmap, captionSize, hasCaption);
    CPoint bitmapAt = at.bitmap, captionAt = at.caption;
    if (m_checked && !m_flat) {
        bitmapAt.Offset(1, 1);
        captionAt.Offset(1, 1);
    }
    if (hasBitmap && (style & BS_BITMAP)) {
        korvyn::DrawTransparent(dc, bitmap, bitmapAt.x, bitmapAt.y, korvyn::BitmapSize(bitmap));
    }
    if (hasCaption) {
        dc.SetTextColor(m_checked ? m_checkedTextColor : m_normalTextColor);
        dc.SetBkMode(TRANSPARENT);
        CRect at(captionAt, captionSize);
        dc.DrawText(text, &at, format);
    }
    if (!m_flat) {
        DrawFrame(dc, client);
    }
}

void CCustomButton::DrawGradient(CDC& dc, const CRect& client) const {
    int height = client.Height();
    if (height < 5) {
        return;
    }
    // Pressed buttons run the other way, from colour 2 towards colour 1.
    COLORREF from = m_checked ? m_gradientColor2 : m_gradientColor1;
    COLORREF to = m_checked ? m_gradientColor1 : m_gradientColor2;
    auto component = [height](BYTE a, BYTE b, int row) {
        return static_cast<int>(a + (b - a) * static_cast<double>(row) / height);
    };
    for (int y = 2; y <= height - 3; ++y) {
        int row = y - 2;
        COLORREF c = RGB(component(GetRValue(from), GetRValue(to), row),
                         component(GetGValue(from), GetGValue(to), row),
                         component(GetBValue(from), GetBValue(to), row));
        dc.FillSolidRect(2, y, client.Width() - 4, 1, c);
    }
}

void CCustomButton::DrawFrame(CDC& dc, const CRect& client) const {
    CRect inner(client);
    inner.DeflateRect(1, 1);
    if (!m_gradient) {
        COLORREF base = m_checked ? m_checkedBackground : m_normalBackground;
        COLORREF outerLight = ScaleColor(base, -0.3), innerLight = ScaleColor(base, -0.2);
        COLORREF outerDark = ScaleColor(base, 0.3), innerDark = ScaleColor(base, 0.2);
        if (m_checked) {
            Bevel(dc, client, outerDark, outerLight);
            Bevel(dc, inner, innerDark, innerLight);
        } else {
            Bevel(dc, client, outerLight, outerDark);
            Bevel(dc, inner, innerLight, innerDark);
        }
        return;
    }
    // Rounded: each corner loses the three pixels nearest to it, and one pixel diagonally
    // inside joins the two edges.
    COLORREF base = korvyn::MixColors(m_gradientColor1, m_gradientColor2);
    COLORREF light = ScaleColor(base, -0.1), dark = ScaleColor(base, 0.2);
    COLORREF topLeft = m_checked ? dark : light, bottomRight = m_checked ? light : dark;
    int w = client.Width(), h = client.Height();
    dc.FillSolidRect(2, 1, w - 4, 1, base);
    dc.FillSolidRect(1, 2, 1, h - 4, base);
    dc.FillSolidRect(2, h - 2, w - 4, 1, base);
    dc.FillSolidRect(w - 2, 2, 1, h - 4, base);
    dc.FillSolidRect(2, 0, w - 4, 1, topLeft);
    dc.FillSolidRect(0, 2, 1, h - 4, topLeft);
    dc.FillSolidRect(2, h - 1, w - 4, 1, bottomRight);
    dc.FillSolidRect(w - 1, 2, 1, h - 4, bottomRight);
    dc.SetPixel(1, 1, topLeft);
    dc.SetPixel(w - 2, 1, bottomRight);
    dc.SetPixel(1, h - 2, bottomRight);
    dc.SetPixel(w - 2, h - 2, bottomRight);
}

void CCustomButton::DrawCheckButton(CDC& dc, const CRect& client) {
    COLORREF background = m_checked ? m_checkedBackground : m_normalBackground;
    dc.FillSolidRect(&client, background);
    dc.SetTextColor(m_checked ? m_checkedTextColor : m_normalTextColor);
    dc.SetBkColor(background);
    dc.SetBkMode(TRANSPARENT);

    HBITMAP bitmap = StateBitmap();
    CSize indicator = bitmap != nullptr ? CSize(m_bitmapWidth, m_bitmapHeight)
                                        : CSize(kFrameControlSize, kFrameControlSize);
    std::u16string text = GetWindowText();
    UINT placement = m_layout & kPlacementMask;
    bool stacked = IsStacked(placement);
    UINT format = DT_WORDBREAK | DT_EXPANDTABS | (stacked ? DT_CENTER : DT_LEFT);

    CRect area(client);
    if (!stacked) {
        area.right -= indicator.cx + 4;
    }
    CRect measure(area);
    dc.DrawText(text, &measure, format | DT_CALCRECT);
    CSize captionSize = text.empty() ? CSize() : measure.Size();

    CPoint indicatorAt, captionAt;
    if (stacked) {
        Placed at = Place(placement, client.Size(), indicator, true, captionSize, !text.empty());
        indicatorAt = at.bitmap;
        captionAt = at.caption;
        area = CRect(captionAt, captionSize);
    } else {
        int captionY = (client.Height() - captionSize.cy) / 2 - 1;
        indicatorAt.y = (client.Height() - indicator.cy) / 2;
        if (placement == kBitmapRight) {
            indicatorAt.x = client.right - indicator.cx;
            captionAt = {0, captionY};
        } else {
            indicatorAt.x = 0;
            int space = (GetStyle() & BS_CENTER) == BS_RIGHT ? 2 : 4;
            captionAt = {indicator.cx + space, captionY};
        }
        area = CRect(captionAt.x, captionAt.y, captionAt.x + area.Width(),
                     captionAt.y + captionSize.cy);
    }

    if (bitmap != nullptr) {
        korvyn::DrawTransparent(dc, bitmap, indicatorAt.x, indicatorAt.y,
                                korvyn::BitmapSize(bitmap));
    } else {
        CRect box(indicatorAt, indicator);
        UINT state = (m_kind == Kind::RadioButton ? DFCS_BUTTONRADIO : DFCS_BUTTONCHECK) |
                     (m_checked ? DFCS_CHECKED : 0);
        dc.DrawFrameControl(&box, DFC_BUTTON, state);
    }
    if (!text.empty()) {
        dc.DrawText(text, &area, format);
    }
}

void CCustomButton::DrawGroupBox(CDC& dc, const CRect& client) {
    std::u16string text = GetWindowText();
    int captionHeight = dc.GetTextExtent(text).cy;
    dc.FillSolidRect(&client, m_normalBackground);
    CRect frame(client);
    frame.top += captionHeight / 2;
    if ((m_layout & kPlacementMask) == kBitmapAbove) {
        frame.bottom -= captionHeight / 2;
    }
    CBrush border(m_frameColor);
    dc.FrameRect(&frame, &border);
    if (!text.empty()) {
        CRect band(client.left + 5, client.top, client.right - 5, client.top + captionHeight);
        dc.SetTextColor(m_normalTextColor);
        dc.SetBkColor(m_frameColor);
        dc.SetBkMode(OPAQUE);
        dc.DrawText(text, &band,
                    HorizontalAlignment(GetStyle(), DT_LEFT) | DT_SINGLELINE | DT_EXPANDTABS);
    }
}
