#pragma once
// CStatic: a text or picture that the parent colours through WM_CTLCOLORSTATIC. Without
// SS_NOTIFY a static lets stylus taps through to the window under it.
#include "platform/ui/CWnd.h"

class CStatic : public CWnd {
    DECLARE_DYNAMIC(CStatic)
public:
    BOOL Create(LPCWSTR text, DWORD style, const RECT& rect, CWnd* parent, UINT id = 0xFFFF);
    HBITMAP SetBitmap(HBITMAP bitmap);
    HBITMAP GetBitmap() const;
};
