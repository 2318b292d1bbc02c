#pragma once
// CBitmap: a bitmap loaded from the program's resources or made compatible with a DC
// for drawing off screen.
#include "platform/ui/CGdiObject.h"
#include "platform/ui/Geometry.h"

class CDC;

class CBitmap : public CGdiObject {
    DECLARE_DYNAMIC(CBitmap)
public:
    // Loads a bitmap resource of the program; FALSE when there is none.
    BOOL LoadBitmap(UINT id);
    BOOL LoadBitmap(LPCWSTR name);
    BOOL CreateCompatibleBitmap(CDC* dc, int width, int height);
    int GetBitmap(BITMAP* info) const;
    CSize GetSize() const;
    operator HBITMAP() const { return static_cast<HBITMAP>(m_hObject); }
    static CBitmap* FromHandle(HBITMAP bitmap) {
        return static_cast<CBitmap*>(CGdiObject::FromHandle(bitmap));
    }
};
