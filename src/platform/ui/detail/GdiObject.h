#pragma once
// Private: pens, brushes, fonts and bitmaps behind the GDI handles.
#include "platform/ui/CGdiObject.h"
#include "platform/ui/WinGdi.h"
#include "platform/ui/detail/FontMapping.h"

#include <QColor>
#include <QFont>
#include <QImage>

#include <cstdint>
#include <memory>

namespace korvyn::platform {

class DeviceContext;

struct GdiObject {
    enum class Kind { Pen, Brush, Font, Bitmap };

    GdiObject(Kind k, std::uintptr_t serialNumber) : kind(k), serial(serialNumber) {}
    ~GdiObject();

    Kind kind;
    bool stock = false;
    COLORREF color = 0;
    // Pen
    int penStyle = PS_SOLID;
    int penWidth = 1;
    // Brush
    bool hollow = false;
    // Font
    LOGFONT logFont{};
    QFont font;
    FontCell cell;
    // Bitmap: RGB32 pixels, device pixel ratio of the screen for compatible bitmaps.
    QImage image;
    DeviceContext* selectedInto = nullptr;
    // The C++ object holding the handle, which FromHandle returns; else a wrapper.
    CGdiObject* holder = nullptr;
    std::unique_ptr<CGdiObject> wrapper;

    // Handles are serial numbers that are never reused, so a stale handle finds nothing.
    const std::uintptr_t serial;
    HGDIOBJ handle() const { return reinterpret_cast<HGDIOBJ>(serial); }
};

// Checked conversion: nullptr unless the handle is a live object of that kind.
GdiObject* GdiFrom(HGDIOBJ handle);
GdiObject* GdiFrom(HGDIOBJ handle, GdiObject::Kind kind);
// Registers a new object.
GdiObject* NewGdiObject(GdiObject::Kind kind);
// Unregisters and frees an object.
void DestroyGdiObject(GdiObject* object);

QColor ToQColor(COLORREF c);
COLORREF FromQColor(QColor c);

// A bitmap object over pixels (0x00RRGGBB, row by row, top row first).
HBITMAP BitmapFromPixels(int width, int height, const DWORD* pixels);
HBITMAP CreateBitmapObject(int width, int height);

// The font of dialogs and controls without a font of their own.
HFONT DialogFont();
// The cell of a font; the dialog font's for a handle that is no font.
const FontCell& FontCellOf(HFONT font);

} // namespace korvyn::platform
