#include "platform/ui/detail/GdiObject.h"

#include "platform/ui/CGdiObject.h"
#include "platform/ui/DeviceScreen.h"
#include "platform/ui/detail/DeviceContext.h"

#include <unordered_map>

namespace korvyn::platform {
namespace {

std::unordered_map<std::uintptr_t, std::unique_ptr<GdiObject>>& Live() {
    // Never destroyed: objects of static lifetime may release handles during exit.
    static auto* live = new std::unordered_map<std::uintptr_t, std::unique_ptr<GdiObject>>;
    return *live;
}
std::uintptr_t nextSerial = 0x20000;

} // namespace

GdiObject::~GdiObject() = default;

GdiObject* NewGdiObject(GdiObject::Kind kind) {
    std::uintptr_t serial = nextSerial;
    nextSerial += 4;
    auto o = std::make_unique<GdiObject>(kind, serial);
    GdiObject* raw = o.get();
    Live()[serial] = std::move(o);
    return raw;
}

void DestroyGdiObject(GdiObject* object) {
    if (object != nullptr) {
        Live().erase(object->serial);
    }
}

GdiObject* GdiFrom(HGDIOBJ handle) {
    auto it = Live().find(reinterpret_cast<std::uintptr_t>(handle));
    return it == Live().end() ? nullptr : it->second.get();
}

GdiObject* GdiFrom(HGDIOBJ handle, GdiObject::Kind kind) {
    GdiObject* o = GdiFrom(handle);
    return o != nullptr && o->kind == kind ? o : nullptr;
}

QColor ToQColor(COLORREF c) {
    return QColor(GetRValue(c), GetGValue(c), GetBValue(c));
}

COLORREF FromQColor(QColor c) {
    return RGB(c.red(), c.green(), c.blue());
}

HBITMAP CreateBitmapObject(int width, int height) {
    if (width <= 0 || height <= 0 || width > 16384 || height > 16384) {
        return nullptr;
    }
    GdiObject* o = NewGdiObject(GdiObject::Kind::Bitmap);
    o->image = QImage(width, height, QImage::Format_RGB32);
    o->image.fill(Qt::black);
    return static_cast<HBITMAP>(o->handle());
}

HBITMAP BitmapFromPixels(int width, int height, const DWORD* pixels) {
    HBITMAP h = CreateBitmapObject(width, height);
    if (h == nullptr) {
        return nullptr;
    }
    QImage& img = GdiFrom(h)->image;
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < width; ++x) {
            line[x] = 0xFF000000u | (pixels[y * width + x] & 0x00FFFFFFu);
        }
    }
    return h;
}

HFONT DialogFont() {
    static HFONT font = [] {
        LOGFONT lf{};
        lf.lfHeight = 0;
        lf.lfWeight = FW_NORMAL;
        GdiObject* o = NewGdiObject(GdiObject::Kind::Font);
        o->stock = true;
        o->logFont = lf;
        o->font = QtFontFor(lf, o->cell);
        return static_cast<HFONT>(o->handle());
    }();
    return font;
}

const FontCell& FontCellOf(HFONT font) {
    GdiObject* f = GdiFrom(font, GdiObject::Kind::Font);
    return (f != nullptr ? f : GdiFrom(DialogFont()))->cell;
}

} // namespace korvyn::platform

using korvyn::platform::GdiFrom;
using korvyn::platform::GdiObject;
using korvyn::platform::NewGdiObject;

HGDIOBJ GetStockObject(int index) {
    static HGDIOBJ objects[18] = {};
    if (index < 0 || index >= 18) {
        return nullptr;
    }
    if (objects[index] != nullptr) {
        return objects[index];
    }
    GdiObject* o = nullptr;
    auto brush = [&](COLORREF c) {
        o = NewGdiObject(GdiObject::Kind::Brush);
        o->color = c;
    };
    auto pen = [&](int style, COLORREF c) {
        o = NewGdiObject(GdiObject::Kind::Pen);
        o->penStyle = style;
        o->color = c;
    };
    switch (index) {
    case WHITE_BRUSH:
        brush(RGB(255, 255, 255));
        break;
    case LTGRAY_BRUSH:
        brush(RGB(192, 192, 192));
        break;
    case GRAY_BRUSH:
        brush(RGB(128, 128, 128));
        break;
    case DKGRAY_BRUSH:
        brush(RGB(64, 64, 64));
        break;
    case BLACK_BRUSH:
        brush(RGB(0, 0, 0));
        break;
    case NULL_BRUSH:
        brush(0);
        o->hollow = true;
        break;
    case WHITE_PEN:
        pen(PS_SOLID, RGB(255, 255, 255));
        break;
    case BLACK_PEN:
        pen(PS_SOLID, RGB(0, 0, 0));
        break;
    case NULL_PEN:
        pen(PS_NULL, 0);
        break;
    case SYSTEM_FONT:
    case DEFAULT_GUI_FONT:
        return objects[index] = korvyn::platform::DialogFont();
    default:
        return nullptr;
    }
    o->stock = true;
    return objects[index] = o->handle();
}

BOOL DeleteObject(HGDIOBJ handle) {
    GdiObject* o = GdiFrom(handle);
    if (o == nullptr || o->stock || o->selectedInto != nullptr) {
        return FALSE;
    }
    korvyn::platform::DestroyGdiObject(o);
    return TRUE;
}

HPEN CreatePen(int style, int width, COLORREF color) {
    GdiObject* o = NewGdiObject(GdiObject::Kind::Pen);
    o->penStyle = style;
    o->penWidth = std::max(1, width);
    o->color = color & 0x00FFFFFF;
    return static_cast<HPEN>(o->handle());
}

HBRUSH CreateSolidBrush(COLORREF color) {
    GdiObject* o = NewGdiObject(GdiObject::Kind::Brush);
    o->color = color & 0x00FFFFFF;
    return static_cast<HBRUSH>(o->handle());
}

HFONT CreateFontIndirect(const LOGFONT* lf) {
    if (lf == nullptr) {
        return nullptr;
    }
    GdiObject* o = NewGdiObject(GdiObject::Kind::Font);
    o->logFont = *lf;
    o->logFont.lfFaceName[LF_FACESIZE - 1] = 0;
    o->font = korvyn::platform::QtFontFor(o->logFont, o->cell);
    return static_cast<HFONT>(o->handle());
}

int GetObject(HGDIOBJ handle, int size, LPVOID out) {
    GdiObject* o = GdiFrom(handle);
    if (o == nullptr) {
        return 0;
    }
    if (o->kind == GdiObject::Kind::Bitmap && out != nullptr && size >= int(sizeof(BITMAP))) {
        auto* bm = static_cast<BITMAP*>(out);
        QSizeF logical = o->image.deviceIndependentSize();
        *bm = BITMAP{
            0, int(logical.width()), int(logical.height()), o->image.width() * 4, 1, 32, nullptr};
        return sizeof(BITMAP);
    }
    if (o->kind == GdiObject::Kind::Font && out != nullptr && size >= int(sizeof(LOGFONT))) {
        *static_cast<LOGFONT*>(out) = o->logFont;
        return sizeof(LOGFONT);
    }
    return 0;
}
