#include "controls/CCustomSlider.h"

#include "controls/ControlClass.h"
#include "controls/TransparentBitmap.h"
#include "platform/ui/CPaintDC.h"

#include <cstdint>

IMPLEMENT_DYNAMIC(CCustomSlider, CWnd)

namespace {

// (track * part) / span in unsigned arithmetic, without overflowing the product.
UINT Scale(UINT track, UINT part, UINT span) {
    return span == 0 ? 0 : static_cast<UINT>(std::uint64_t(track) * part / span);
}

} // namespace

CCustomSlider::CCustomSlider() : m_background(GetSysColor(COLOR_WINDOW)) {
    korvyn::RegisterControlClass(CUSTOMSLIDER_CLASSNAME,
                                 static_cast<HBRUSH>(GetStockObject(HOLLOW_BRUSH)));
}

CCustomSlider::~CCustomSlider() {
    if (m_pressedThumb != m_thumb) {
        ::DeleteObject(m_pressedThumb);
    }
    ::DeleteObject(m_thumb);
    ::DeleteObject(m_channel);
}

BOOL CCustomSlider::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
    return CWnd::Create(CUSTOMSLIDER_CLASSNAME, u"", style, rect, parent, id);
}

void CCustomSlider::SetRange(int minimum, int maximum) {
    m_minimum = minimum;
    m_maximum = maximum;
    Repaint();
}

int CCustomSlider::Clamp(int value) const {
    if (static_cast<UINT>(value) > static_cast<UINT>(m_maximum)) {
        value = m_maximum;
    }
    if (static_cast<UINT>(value) < static_cast<UINT>(m_minimum)) {
        value = m_minimum;
    }
    return value;
}

void CCustomSlider::SetPos(int position) {
    m_position = Clamp(position);
    Repaint();
}

void CCustomSlider::SetReversed(BOOL reversed) {
    m_reversed = reversed != FALSE;
    Repaint();
}

void CCustomSlider::SetBackgroundColor(COLORREF color) {
    m_background = color;
    Repaint();
}

void CCustomSlider::SetBitmaps(HBITMAP channel, HBITMAP thumb, HBITMAP pressedThumb) {
    HBITMAP oldThumb = m_thumb;
    HBITMAP oldPressed = m_pressedThumb;
    if (channel != nullptr && channel != m_channel) {
        ::DeleteObject(m_channel);
        m_channel = channel;
        m_channelSize = korvyn::BitmapSize(channel);
    }
    if (thumb != nullptr) {
        m_thumb = thumb;
        m_thumbSize = korvyn::BitmapSize(thumb);
    }
    m_pressedThumb = pressedThumb != nullptr ? pressedThumb : m_thumb;
    // Free the bitmaps no longer held (the pressed thumb may have been the thumb).
    if (oldThumb != nullptr && oldThumb != m_thumb && oldThumb != m_pressedThumb) {
        ::DeleteObject(oldThumb);
    }
    if (oldPressed != nullptr && oldPressed != oldThumb && oldPressed != m_thumb &&
        oldPressed != m_pressedThumb) {
        ::DeleteObject(oldPressed);
    }
    Repaint();
}

void CCustomSlider::Repaint() {
    if (m_hWnd != nullptr) {
        Invalidate(FALSE);
    }
}

int CCustomSlider::ThumbCenter(int extent, int thumbExtent) const {
    UINT track = extent > thumbExtent ? UINT(extent - thumbExtent) : 0;
    UINT span = UINT(m_maximum) - UINT(m_minimum);
    // A position left outside a range set after it stays drawn within the run.
    UINT offset = std::min(track, Scale(track, UINT(m_position) - UINT(m_minimum), span));
    return Ascending() ? int(offset) + thumbExtent / 2 : extent - int(offset) - thumbExtent / 2;
}

int CCustomSlider::ValueAt(CPoint point) const {
    CRect client;
    GetClientRect(&client);
    int at = m_horizontal ? point.x : point.y;
    int extent = m_horizontal ? client.Width() : client.Height();
    int thumbExtent = m_horizontal ? m_thumbSize.cx : m_thumbSize.cy;
    int half = thumbExtent / 2;
    int low = Ascending() ? m_minimum : m_maximum;
    int high = Ascending() ? m_maximum : m_minimum;
    if (at < half) {
        return Clamp(low);
    }
    if (at > extent - half) {
        return Clamp(high);
    }
    UINT track = extent > thumbExtent ? UINT(extent - thumbExtent) : 0;
    UINT step = track == 0 ? 0 : Scale(UINT(at - half), UINT(m_maximum) - UINT(m_minimum), track);
    return Clamp(Ascending() ? int(UINT(m_minimum) + step) : int(UINT(m_maximum) - step));
}

BOOL CCustomSlider::OnEraseBkgnd(CDC*) {
    // The off-screen surface covers the whole window.
    return TRUE;
}

void CCustomSlider::OnPaint() {
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    if (!m_painted) {
        m_painted = true;
        m_horizontal = (GetStyle() & TBS_VERT) == 0;
    }
    CDC& surface = m_surface.Prepare(dc, client.Size());
    surface.FillSolidRect(&client, m_background);
    if (m_channel != nullptr) {
        korvyn::DrawTransparent(surface, m_channel, 0, 0, m_channelSize);
    }
    HBITMAP thumb = m_dragging && m_pressedThumb != nullptr ? m_pressedThumb : m_thumb;
    if (thumb != nullptr) {
        CSize size = thumb == m_thumb ? m_thumbSize : korvyn::BitmapSize(thumb);
        int x, y;
        if (m_horizontal) {
            x = ThumbCenter(client.Width(), m_thumbSize.cx) - size.cx / 2;
            y = (client.Height() - size.cy) / 2;
        } else {
            x = (client.Width() - size.cx) / 2;
            y = ThumbCenter(client.Height(), m_thumbSize.cy) - size.cy / 2;
        }
        korvyn::DrawTransparent(surface, thumb, x, y, size);
    }
    dc.BitBlt(0, 0, client.Width(), client.Height(), &surface, 0, 0, SRCCOPY);
}

void CCustomSlider::Notify(UINT code) {
    if (CWnd* parent = GetParent()) {
        parent->SendMessage(m_horizontal ? WM_HSCROLL : WM_VSCROLL,
                            MAKEWPARAM(WORD(code), WORD(m_position)),
                            reinterpret_cast<LPARAM>(m_hWnd));
    }
}

void CCustomSlider::OnLButtonDown(UINT, CPoint point) {
    m_dragging = true;
    SetCapture();
    m_position = ValueAt(point);
    Notify(SB_THUMBPOSITION);
    Repaint();
}

void CCustomSlider::OnLButtonDblClk(UINT flags, CPoint point) {
    // The second tap of a quick pair is a tap like the first.
    OnLButtonDown(flags, point);
}

void CCustomSlider::OnMouseMove(UINT, CPoint point) {
    if (!m_dragging) {
        return;
    }
    CRect client;
    GetClientRect(&client);
    if (client.PtInRect(point)) {
        m_position = ValueAt(point);
        Notify(SB_THUMBTRACK);
    } else {
        m_dragging = false;
        ::ReleaseCapture();
        Notify(SB_THUMBPOSITION);
    }
    Repaint();
}

void CCustomSlider::OnLButtonUp(UINT, CPoint point) {
    CRect client;
    GetClientRect(&client);
    // Once a drag has left the window the stylus is no longer the slider's: a release
    // elsewhere belongs to whatever lies under it.
    if (!m_dragging && !client.PtInRect(point)) {
        return;
    }
    m_dragging = false;
    ::ReleaseCapture();
    Repaint();
    Notify(SB_THUMBPOSITION);
}
