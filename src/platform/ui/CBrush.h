#pragma once
// CBrush: a solid brush, or the hollow stock brush that fills nothing.
#include "platform/ui/CGdiObject.h"

class CBrush : public CGdiObject {
    DECLARE_DYNAMIC(CBrush)
public:
    CBrush() = default;
    explicit CBrush(COLORREF color) { CreateSolidBrush(color); }
    BOOL CreateSolidBrush(COLORREF color);
    operator HBRUSH() const { return static_cast<HBRUSH>(m_hObject); }
    static CBrush* FromHandle(HBRUSH brush) {
        return static_cast<CBrush*>(CGdiObject::FromHandle(brush));
    }
};
