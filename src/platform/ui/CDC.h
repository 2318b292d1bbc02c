#pragma once
// CDC: drawing on a window or on a bitmap, with the handheld's semantics.
//  - MoveTo/LineTo: the line stops one pixel short of its end point.
//  - Rectangle(l, t, r, b): outline with the pen and fill with the brush over exactly
//    the pixels l..r-1 by t..b-1 (one less each way with the null pen).
//  - FillRect: exactly l..r-1 by t..b-1, without outline.
//  - TransparentBlt: pixels of the key colour (the program uses pure black) stay as
//    they were.
//  - DrawText: the DT_ flags the program uses (single line, centring, vertical centre,
//    bottom, right, word break, tab expansion, calc-rect, no prefix, end ellipsis).
// No antialiasing is applied to shapes.
#include "platform/ui/CObject.h"
#include "platform/ui/Geometry.h"
#include "platform/ui/WinGdi.h"

#include <string>

class CBitmap;
class CBrush;
class CFont;
class CGdiObject;
class CPen;
class CWnd;

class CDC : public CObject {
    DECLARE_DYNAMIC(CDC)
public:
    CDC() = default;
    ~CDC() override;
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    HDC m_hDC = nullptr;
    HDC GetSafeHdc() const { return m_hDC; }
    operator HDC() const { return m_hDC; }
    // A wrapper that lives as long as the device context.
    static CDC* FromHandle(HDC hdc);

    // A memory DC; select a bitmap into it before drawing.
    BOOL CreateCompatibleDC(CDC* dc);
    BOOL DeleteDC();

    CPen* SelectObject(CPen* pen);
    CBrush* SelectObject(CBrush* brush);
    CFont* SelectObject(CFont* font);
    CBitmap* SelectObject(CBitmap* bitmap);
    HGDIOBJ SelectObject(HGDIOBJ object);
    CGdiObject* SelectStockObject(int index);
    CFont* GetCurrentFont() const;

    COLORREF SetTextColor(COLORREF color);
    COLORREF GetTextColor() const;
    COLORREF SetBkColor(COLORREF color);
    COLORREF GetBkColor() const;
    int SetBkMode(int mode);
    int GetBkMode() const;

    void FillRect(LPCRECT rect, CBrush* brush);
    void FillSolidRect(LPCRECT rect, COLORREF color);
    void FillSolidRect(int x, int y, int cx, int cy, COLORREF color);
    void FrameRect(LPCRECT rect, CBrush* brush);
    CPoint MoveTo(int x, int y);
    CPoint MoveTo(POINT point) { return MoveTo(point.x, point.y); }
    BOOL LineTo(int x, int y);
    BOOL LineTo(POINT point) { return LineTo(point.x, point.y); }
    BOOL Rectangle(int left, int top, int right, int bottom);
    BOOL Rectangle(LPCRECT rect) {
        return Rectangle(rect->left, rect->top, rect->right, rect->bottom);
    }
    COLORREF SetPixel(int x, int y, COLORREF color);
    // CLR_NONE where the pixel cannot be read (window DCs).
    COLORREF GetPixel(int x, int y) const;

    // Returns the height of the text drawn; with DT_CALCRECT only measures and widens or
    // heightens the rectangle to fit.
    int DrawText(LPCWSTR text, int count, LPRECT rect, UINT format);
    int DrawText(const std::u16string& text, LPRECT rect, UINT format) {
        return DrawText(text.c_str(), static_cast<int>(text.size()), rect, format);
    }
    BOOL TextOut(int x, int y, LPCWSTR text, int count);
    BOOL TextOut(int x, int y, const std::u16string& text) {
        return TextOut(x, y, text.c_str(), static_cast<int>(text.size()));
    }
    BOOL ExtTextOut(int x, int y, UINT options, LPCRECT rect, LPCWSTR text, int count,
                    const int* dx = nullptr);
    CSize GetTextExtent(LPCWSTR text, int count) const;
    CSize GetTextExtent(const std::u16string& text) const {
        return GetTextExtent(text.c_str(), static_cast<int>(text.size()));
    }
    BOOL GetTextMetrics(TEXTMETRIC* metrics) const;

    BOOL BitBlt(int x, int y, int width, int height, CDC* src, int xSrc, int ySrc, DWORD rop);
    BOOL StretchBlt(int x, int y, int width, int height, CDC* src, int xSrc, int ySrc, int srcWidth,
                    int srcHeight, DWORD rop);
    // Copies all but the pixels of the key colour.
    BOOL TransparentBlt(int x, int y, int width, int height, CDC* src, int xSrc, int ySrc,
                        int srcWidth, int srcHeight, UINT transparent);
    // Check box and radio frames (DFC_BUTTON with DFCS_BUTTONCHECK or DFCS_BUTTONRADIO).
    BOOL DrawFrameControl(LPRECT rect, UINT type, UINT state);
    int GetDeviceCaps(int index) const;

protected:
    // Set by CPaintDC / CClientDC for DCs they release themselves.
    bool m_ownsDC = false;
    bool m_wrapper = false;
};
