#pragma once
// CClientDC: a device context for a window's client area outside its paint handler
// (the same as CWnd::GetDC, released when the object goes away).
#include "platform/ui/CDC.h"

class CClientDC : public CDC {
    DECLARE_DYNAMIC(CClientDC)
public:
    explicit CClientDC(CWnd* wnd);
    ~CClientDC() override;

private:
    CWnd* m_wnd;
    CDC* m_dc = nullptr;
};
