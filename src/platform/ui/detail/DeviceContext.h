#pragma once
// Private: what an HDC points at. A device context draws with a QPainter: the painter of
// a window's paint event, or its own painter on the bitmap selected into a memory DC.
// Drawing follows the handheld's rules: no antialiasing, LineTo leaves its end point,
// Rectangle covers right - left by bottom - top pixels including its outline.
#include "platform/ui/CDC.h"
#include "platform/ui/WinGdi.h"

#include <QPainter>

#include <cstdint>
#include <functional>
#include <memory>

namespace korvyn::platform {

struct GdiObject;
class Window;
struct FontCell;

class DeviceContext {
public:
    // A DC over a painter owned by someone else (a paint event).
    explicit DeviceContext(QPainter* painter);
    // A memory DC with no bitmap yet.
    DeviceContext();
    // A DC drawing on an image it does not own (a window's overlay), which `surface`
    // makes when the DC first draws or reads pixels: a DC only measuring text or reading
    // the resolution sets up no surface.
    explicit DeviceContext(std::function<QImage*()> surface);
    ~DeviceContext();
    DeviceContext(const DeviceContext&) = delete;
    DeviceContext& operator=(const DeviceContext&) = delete;

    static DeviceContext* From(HDC hdc);
    HDC handle() const { return reinterpret_cast<HDC>(serial_); }
    CDC* wrapper();

    bool isMemory() const { return memory_; }
    // The painter, with this DC's pen, brush and font applied; nullptr when there is no
    // surface (a memory DC without a bitmap).
    QPainter* Ready();
    QPainter* RawPainter() const { return painter_; }
    // The image behind a memory DC or a window's DC, for blits and pixel reads.
    QImage* image();
    // The window's surface this DC has drawn on, if any.
    QImage* target() const { return target_; }

    HGDIOBJ Select(HGDIOBJ object);
    HPEN pen() const { return pen_; }
    HBRUSH brush() const { return brush_; }
    HFONT font() const { return font_; }
    HBITMAP bitmap() const { return bitmap_; }
    const QFont& qfont() const;
    const FontCell& cell() const;

    COLORREF textColor = 0x000000;
    COLORREF bkColor = 0xFFFFFF;
    int bkMode = OPAQUE;
    POINT current{0, 0};
    // The painter's pen, brush or font may no longer be this DC's.
    void Invalidate() { dirty_ = kAll; }
    // Text drawing set the painter's pen to the text colour.
    void PenTouched() { dirty_ |= kPen; }

private:
    void BeginOnBitmap();
    void OpenSurface();

    void Register();

    std::uintptr_t serial_ = 0;
    QImage* target_ = nullptr;
    std::function<QImage*()> surface_;
    bool memory_ = false;
    QPainter* painter_ = nullptr;
    std::unique_ptr<QPainter> ownPainter_;
    HPEN pen_;
    HBRUSH brush_;
    HFONT font_;
    HBITMAP bitmap_ = nullptr;
    std::unique_ptr<CDC> wrapper_;
    // The DC whose state the painter carries now (several DCs may share one painter),
    // and which parts of this DC's state still need applying.
    static DeviceContext* appliedBy_;
    enum : unsigned { kPen = 1, kBrush = 2, kFont = 4, kAll = 7 };
    unsigned dirty_ = kAll;
};

} // namespace korvyn::platform
