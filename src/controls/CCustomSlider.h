#pragma once
// CCustomSlider: a slider skinned with bitmaps. A channel bitmap sits at the top-left
// corner and a thumb bitmap (another one while the stylus drags it) marks the position,
// both drawn with pure black transparent over a solid background on an off-screen
// surface. The stylus sets the position; every stylus event is reported to the parent
// as WM_HSCROLL (WM_VSCROLL for a window with TBS_VERT) with the position in the high
// word and SB_THUMBPOSITION (the final value) or SB_THUMBTRACK (a value while dragging)
// in the low word, the slider's window as the second parameter; parents recognise it
// with IsKindOf(RUNTIME_CLASS(CCustomSlider)).
//
// Minimum, maximum and position are compared as unsigned 32-bit values. A reversed
// slider puts the maximum at the left (horizontal) or at the bottom (vertical); a normal
// vertical slider has its minimum at the bottom. A slider whose minimum equals its
// maximum has nothing to divide: its thumb sits where the minimum would be (the start
// of the run) and every tap gives that one value.
//
// The window is of the registered class "CustomSliderClass", created from a dialog
// template and attached to the object, or created through the object.
#include "controls/OffscreenSurface.h"
#include "platform/ui/CWnd.h"

inline constexpr LPCWSTR CUSTOMSLIDER_CLASSNAME = u"CustomSliderClass";

class CCustomSlider : public CWnd {
    DECLARE_DYNAMIC(CCustomSlider)
public:
    // Registers the window class the first time, unless it exists already.
    CCustomSlider();
    ~CCustomSlider() override;

    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);

    // Stores the range and repaints; the position is left as it is.
    void SetRange(int minimum, int maximum);
    // Clamps the value into the range and repaints.
    void SetPos(int position);
    int GetPos() const { return m_position; }
    int GetRangeMin() const { return m_minimum; }
    int GetRangeMax() const { return m_maximum; }
    void SetReversed(BOOL reversed);
    void SetBackgroundColor(COLORREF color);
    // Takes ownership of the bitmaps given. A channel or thumb replaces (and deletes)
    // the one held; the pressed thumb replaces the held one when given and is the thumb
    // otherwise.
    void SetBitmaps(HBITMAP channel, HBITMAP thumb, HBITMAP pressedThumb = nullptr);

protected:
    void OnPaint() override;
    BOOL OnEraseBkgnd(CDC* dc) override;
    void OnLButtonDown(UINT flags, CPoint point) override;
    void OnLButtonDblClk(UINT flags, CPoint point) override;
    void OnMouseMove(UINT flags, CPoint point) override;
    void OnLButtonUp(UINT flags, CPoint point) override;

private:
    // Centre of the thumb along the run, in client coordinates.
    int ThumbCenter(int extent, int thumbExtent) const;
    // The value for a stylus coordinate along the run, clamped to the range.
    int ValueAt(CPoint point) const;
    // True when the coordinate grows with the value (left to right, or top to bottom
    // for a reversed vertical slider).
    bool Ascending() const { return m_horizontal == !m_reversed; }
    int Clamp(int value) const;
    void Notify(UINT code);
    void Repaint();

    int m_minimum = 0;
    int m_maximum = 100;
    int m_position = 50;
    HBITMAP m_channel = nullptr;
    CSize m_channelSize;
    HBITMAP m_thumb = nullptr;
    CSize m_thumbSize;
    HBITMAP m_pressedThumb = nullptr;
    bool m_horizontal = true;
    bool m_dragging = false;
    bool m_reversed = false;
    bool m_painted = false;
    COLORREF m_background;
    korvyn::OffscreenSurface m_surface;
};
