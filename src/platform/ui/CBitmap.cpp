#include "platform/ui/CBitmap.h"

#include "platform/ui/detail/GdiObject.h"

#include <QGuiApplication>

IMPLEMENT_DYNAMIC(CBitmap, CGdiObject)

BOOL CBitmap::LoadBitmap(UINT id) {
    return LoadBitmap(reinterpret_cast<LPCWSTR>(static_cast<std::uintptr_t>(id)));
}

BOOL CBitmap::LoadBitmap(LPCWSTR name) {
    return Attach(::LoadBitmap(nullptr, name));
}

BOOL CBitmap::CreateCompatibleBitmap(CDC* /*dc*/, int width, int height) {
    // Off-screen drawing keeps the screen's pixel density so that zoomed windows stay
    // sharp.
    qreal ratio = qGuiApp ? qGuiApp->devicePixelRatio() : 1.0;
    HBITMAP h = korvyn::platform::CreateBitmapObject(int(width * ratio), int(height * ratio));
    if (h == nullptr) {
        return FALSE;
    }
    korvyn::platform::GdiFrom(h)->image.setDevicePixelRatio(ratio);
    return Attach(h);
}

int CBitmap::GetBitmap(BITMAP* info) const {
    return ::GetObject(m_hObject, sizeof(BITMAP), info);
}

CSize CBitmap::GetSize() const {
    korvyn::platform::GdiObject* o =
        korvyn::platform::GdiFrom(m_hObject, korvyn::platform::GdiObject::Kind::Bitmap);
    if (o == nullptr) {
        return {};
    }
    QSizeF s = o->image.deviceIndependentSize();
    return {int(s.width()), int(s.height())};
}
