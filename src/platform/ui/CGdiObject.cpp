#include "platform/ui/CGdiObject.h"

#include "platform/ui/CBitmap.h"
#include "platform/ui/CBrush.h"
#include "platform/ui/CFont.h"
#include "platform/ui/CPen.h"
#include "platform/ui/detail/GdiObject.h"

using korvyn::platform::GdiFrom;
using korvyn::platform::GdiObject;

IMPLEMENT_DYNAMIC(CGdiObject, CObject)
IMPLEMENT_DYNAMIC(CPen, CGdiObject)
IMPLEMENT_DYNAMIC(CBrush, CGdiObject)

CGdiObject::~CGdiObject() {
    if (!m_wrapperOnly) {
        DeleteObject();
    }
}

BOOL CGdiObject::Attach(HGDIOBJ object) {
    if (m_hObject != nullptr || object == nullptr) {
        return FALSE;
    }
    m_hObject = object;
    if (GdiObject* o = GdiFrom(object); o != nullptr && o->holder == nullptr) {
        o->holder = this;
    }
    return TRUE;
}

HGDIOBJ CGdiObject::Detach() {
    if (GdiObject* o = GdiFrom(m_hObject); o != nullptr && o->holder == this) {
        o->holder = nullptr;
    }
    return std::exchange(m_hObject, nullptr);
}

BOOL CGdiObject::DeleteObject() {
    if (m_hObject == nullptr) {
        return FALSE;
    }
    HGDIOBJ handle = Detach();
    BOOL ok = ::DeleteObject(handle);
    if (!ok) {
        // Still selected somewhere: it is deleted with nobody holding it.
        if (GdiObject* o = GdiFrom(handle)) {
            o->holder = nullptr;
        }
    }
    return ok;
}

BOOL CGdiObject::CreateStockObject(int index) {
    return Attach(GetStockObject(index));
}

int CGdiObject::GetObject(int size, LPVOID out) const {
    return ::GetObject(m_hObject, size, out);
}

CGdiObject* CGdiObject::FromHandle(HGDIOBJ object) {
    GdiObject* o = GdiFrom(object);
    if (o == nullptr) {
        return nullptr;
    }
    if (o->holder != nullptr) {
        return o->holder;
    }
    if (!o->wrapper) {
        switch (o->kind) {
        case GdiObject::Kind::Pen:
            o->wrapper = std::make_unique<CPen>();
            break;
        case GdiObject::Kind::Brush:
            o->wrapper = std::make_unique<CBrush>();
            break;
        case GdiObject::Kind::Font:
            o->wrapper = std::make_unique<CFont>();
            break;
        case GdiObject::Kind::Bitmap:
            o->wrapper = std::make_unique<CBitmap>();
            break;
        }
        o->wrapper->m_hObject = object;
        o->wrapper->m_wrapperOnly = true;
    }
    return o->wrapper.get();
}

BOOL CPen::CreatePen(int style, int width, COLORREF color) {
    return Attach(::CreatePen(style, width, color));
}

BOOL CBrush::CreateSolidBrush(COLORREF color) {
    return Attach(::CreateSolidBrush(color));
}
