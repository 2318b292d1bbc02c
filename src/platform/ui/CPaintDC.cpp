#include "platform/ui/CPaintDC.h"

#include "platform/ui/CClientDC.h"
#include "platform/ui/CWnd.h"
#include "platform/ui/detail/DeviceContext.h"
#include "platform/ui/detail/Window.h"

IMPLEMENT_DYNAMIC(CPaintDC, CDC)
IMPLEMENT_DYNAMIC(CClientDC, CDC)

CPaintDC::CPaintDC(CWnd* wnd) : m_wnd(wnd) {
    CDC* dc = wnd != nullptr ? wnd->GetDC() : nullptr;
    if (dc != nullptr) {
        m_hDC = dc->m_hDC;
        m_ps.hdc = m_hDC;
        RECT r{};
        wnd->GetClientRect(&r);
        m_ps.rcPaint = r;
    }
}

CPaintDC::~CPaintDC() {
    if (m_wnd != nullptr && m_hDC != nullptr) {
        m_wnd->ReleaseDC(CDC::FromHandle(m_hDC));
    }
    m_hDC = nullptr;
}

CClientDC::CClientDC(CWnd* wnd) : m_wnd(wnd) {
    m_dc = wnd != nullptr ? wnd->GetDC() : nullptr;
    if (m_dc != nullptr) {
        m_hDC = m_dc->m_hDC;
    }
}

CClientDC::~CClientDC() {
    if (m_wnd != nullptr && m_dc != nullptr) {
        m_wnd->ReleaseDC(m_dc);
    }
    m_hDC = nullptr;
}
