#include "platform/ui/detail/DeviceContext.h"

#include "platform/ui/CDC.h"
#include "platform/ui/detail/GdiObject.h"

#include <unordered_map>
#include <utility>

namespace korvyn::platform {
namespace {

std::unordered_map<std::uintptr_t, DeviceContext*>& Live() {
    static auto* live = new std::unordered_map<std::uintptr_t, DeviceContext*>;
    return *live;
}
std::uintptr_t nextSerial = 0x40000001;

} // namespace

DeviceContext* DeviceContext::appliedBy_ = nullptr;

DeviceContext::DeviceContext(QPainter* painter)
    : painter_(painter), pen_(static_cast<HPEN>(GetStockObject(BLACK_PEN))),
      brush_(static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH))),
      font_(static_cast<HFONT>(GetStockObject(SYSTEM_FONT))) {
    Register();
}

DeviceContext::DeviceContext() : DeviceContext(static_cast<QPainter*>(nullptr)) {
    memory_ = true;
}

DeviceContext::DeviceContext(std::function<QImage*()> surface)
    : DeviceContext(static_cast<QPainter*>(nullptr)) {
    surface_ = std::move(surface);
}

void DeviceContext::OpenSurface() {
    if (!surface_) {
        return;
    }
    target_ = std::exchange(surface_, nullptr)();
    if (target_ != nullptr) {
        ownPainter_ = std::make_unique<QPainter>(target_);
        painter_ = ownPainter_.get();
        Invalidate();
    }
}

DeviceContext::~DeviceContext() {
    Live().erase(serial_);
    if (appliedBy_ == this) {
        appliedBy_ = nullptr;
    }
    ownPainter_.reset();
    if (GdiObject* b = GdiFrom(bitmap_)) {
        b->selectedInto = nullptr;
    }
}

void DeviceContext::Register() {
    serial_ = nextSerial;
    nextSerial += 2;
    Live()[serial_] = this;
}

DeviceContext* DeviceContext::From(HDC hdc) {
    auto it = Live().find(reinterpret_cast<std::uintptr_t>(hdc));
    return it == Live().end() ? nullptr : it->second;
}

CDC* DeviceContext::wrapper() {
    if (!wrapper_) {
        wrapper_ = std::make_unique<CDC>();
        wrapper_->m_hDC = handle();
    }
    return wrapper_.get();
}

QImage* DeviceContext::image() {
    OpenSurface();
    if (target_ != nullptr) {
        return target_;
    }
    GdiObject* b = GdiFrom(bitmap_, GdiObject::Kind::Bitmap);
    return b != nullptr ? &b->image : nullptr;
}

const QFont& DeviceContext::qfont() const {
    GdiObject* f = GdiFrom(font_, GdiObject::Kind::Font);
    if (f == nullptr) {
        f = GdiFrom(DialogFont());
    }
    return f->font;
}

const FontCell& DeviceContext::cell() const {
    return FontCellOf(font_);
}

void DeviceContext::BeginOnBitmap() {
    ownPainter_.reset();
    painter_ = nullptr;
    if (QImage* img = image()) {
        ownPainter_ = std::make_unique<QPainter>(img);
        painter_ = ownPainter_.get();
    }
    Invalidate();
}

HGDIOBJ DeviceContext::Select(HGDIOBJ object) {
    GdiObject* o = GdiFrom(object);
    if (o == nullptr) {
        return nullptr;
    }
    HGDIOBJ old = nullptr;
    switch (o->kind) {
    case GdiObject::Kind::Pen:
        old = pen_;
        pen_ = static_cast<HPEN>(object);
        dirty_ |= kPen;
        return old;
    case GdiObject::Kind::Brush:
        old = brush_;
        brush_ = static_cast<HBRUSH>(object);
        dirty_ |= kBrush;
        return old;
    case GdiObject::Kind::Font:
        old = font_;
        font_ = static_cast<HFONT>(object);
        dirty_ |= old != font_ ? kFont : 0u;
        return old;
    case GdiObject::Kind::Bitmap:
        // A bitmap can be in one memory DC at a time, and only memory DCs take one.
        if (!memory_ || (o->selectedInto != nullptr && o->selectedInto != this)) {
            return nullptr;
        }
        old = bitmap_;
        if (GdiObject* prev = GdiFrom(bitmap_)) {
            prev->selectedInto = nullptr;
        }
        ownPainter_.reset();
        bitmap_ = static_cast<HBITMAP>(object);
        o->selectedInto = this;
        BeginOnBitmap();
        break;
    }
    Invalidate();
    return old;
}

QPainter* DeviceContext::Ready() {
    OpenSurface();
    if (painter_ == nullptr) {
        return nullptr;
    }
    if (appliedBy_ != this) {
        dirty_ = kAll;
        appliedBy_ = this;
    }
    if (dirty_ & kPen) {
        GdiObject* p = GdiFrom(pen_, GdiObject::Kind::Pen);
        if (p == nullptr || p->penStyle == PS_NULL) {
            painter_->setPen(Qt::NoPen);
        } else {
            QPen pen(ToQColor(p->color), p->penWidth,
                     p->penStyle == PS_DASH ? Qt::DashLine : Qt::SolidLine, Qt::SquareCap,
                     Qt::MiterJoin);
            painter_->setPen(pen);
        }
    }
    if (dirty_ & kBrush) {
        GdiObject* b = GdiFrom(brush_, GdiObject::Kind::Brush);
        if (b == nullptr || b->hollow) {
            painter_->setBrush(Qt::NoBrush);
        } else {
            painter_->setBrush(ToQColor(b->color));
        }
    }
    if (dirty_ & kFont) {
        painter_->setFont(qfont());
        painter_->setRenderHint(QPainter::Antialiasing, false);
        painter_->setRenderHint(QPainter::SmoothPixmapTransform, false);
    }
    dirty_ = 0;
    return painter_;
}

} // namespace korvyn::platform
