#include "platform/ui/CDC.h"

#include "platform/ui/CBitmap.h"
#include "platform/ui/CBrush.h"
#include "platform/ui/CFont.h"
#include "platform/ui/CPen.h"
#include "platform/ui/DeviceScreen.h"
#include "platform/ui/detail/DeviceContext.h"
#include "platform/ui/detail/GdiObject.h"
#include "platform/ui/detail/TextLines.h"

#include <QFontMetrics>
#include <QHash>
#include <QStaticText>

#include <cstdlib>

using korvyn::platform::DeviceContext;
using korvyn::platform::FontCell;
using korvyn::platform::GdiFrom;
using korvyn::platform::GdiObject;
using korvyn::platform::TextLines;
using korvyn::platform::ToQColor;

IMPLEMENT_DYNAMIC(CDC, CObject)

namespace {

DeviceContext* Dc(HDC hdc) {
    return DeviceContext::From(hdc);
}

QRect ToQRect(const RECT& r) {
    return QRect(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

QString ToQString(LPCWSTR text, int count) {
    if (text == nullptr) {
        return {};
    }
    return count < 0 ? QString::fromUtf16(text) : QString::fromUtf16(text, count);
}

QColor PenColor(DeviceContext* dc, int* width, int* style) {
    GdiObject* p = GdiFrom(dc->pen(), GdiObject::Kind::Pen);
    if (p == nullptr || p->penStyle == PS_NULL) {
        *style = PS_NULL;
        *width = 0;
        return {};
    }
    *style = p->penStyle;
    *width = p->penWidth;
    return ToQColor(p->color);
}

// The pixels of a line without its end point (Bresenham), for lines that are neither
// horizontal nor vertical.
void PlotLine(QPainter* p, QColor c, int x0, int y0, int x1, int y1) {
    int dx = std::abs(x1 - x0), sx = x0 < x1 ? 1 : -1;
    int dy = -std::abs(y1 - y0), sy = y0 < y1 ? 1 : -1;
    int err = dx + dy;
    while (x0 != x1 || y0 != y1) {
        p->fillRect(x0, y0, 1, 1, c);
        int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x0 += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y0 += sy;
        }
    }
}

// Shaped single lines of text, with their advance width, by font and content. Lists
// draw the same cell texts at every repaint, so shaping each once keeps a repaint cheap.
struct ShapedText {
    QStaticText text;
    int width = 0;
};

const ShapedText& ShapedLine(std::uintptr_t fontKey, const QString& text, const QFont& font) {
    static QHash<QPair<quintptr, QString>, ShapedText> cache;
    auto key = qMakePair(quintptr(fontKey), text);
    auto it = cache.find(key);
    if (it != cache.end()) {
        return *it;
    }
    if (cache.size() > 4096) {
        cache.clear();
    }
    ShapedText shaped{QStaticText(text), QFontMetrics(font).horizontalAdvance(text)};
    shaped.text.setTextFormat(Qt::PlainText);
    shaped.text.setPerformanceHint(QStaticText::AggressiveCaching);
    shaped.text.prepare(QTransform(), font);
    return *cache.insert(key, shaped);
}

} // namespace

CDC::~CDC() {
    if (m_ownsDC) {
        DeleteDC();
    }
}

CDC* CDC::FromHandle(HDC hdc) {
    DeviceContext* dc = Dc(hdc);
    return dc != nullptr ? dc->wrapper() : nullptr;
}

BOOL CDC::CreateCompatibleDC(CDC* /*dc*/) {
    if (m_hDC != nullptr) {
        return FALSE;
    }
    auto* dc = new DeviceContext();
    m_hDC = dc->handle();
    m_ownsDC = true;
    return TRUE;
}

BOOL CDC::DeleteDC() {
    DeviceContext* dc = Dc(m_hDC);
    if (dc == nullptr || !m_ownsDC) {
        return FALSE;
    }
    delete dc;
    m_hDC = nullptr;
    m_ownsDC = false;
    return TRUE;
}

HGDIOBJ CDC::SelectObject(HGDIOBJ object) {
    DeviceContext* dc = Dc(m_hDC);
    return dc != nullptr ? dc->Select(object) : nullptr;
}

CPen* CDC::SelectObject(CPen* pen) {
    return pen ? CPen::FromHandle(static_cast<HPEN>(SelectObject(pen->m_hObject))) : nullptr;
}

CBrush* CDC::SelectObject(CBrush* brush) {
    return brush ? CBrush::FromHandle(static_cast<HBRUSH>(SelectObject(brush->m_hObject)))
                 : nullptr;
}

CFont* CDC::SelectObject(CFont* font) {
    return font ? CFont::FromHandle(static_cast<HFONT>(SelectObject(font->m_hObject))) : nullptr;
}

CBitmap* CDC::SelectObject(CBitmap* bitmap) {
    return bitmap ? CBitmap::FromHandle(static_cast<HBITMAP>(SelectObject(bitmap->m_hObject)))
                  : nullptr;
}

CGdiObject* CDC::SelectStockObject(int index) {
    return CGdiObject::FromHandle(SelectObject(GetStockObject(index)));
}

CFont* CDC::GetCurrentFont() const {
    DeviceContext* dc = Dc(m_hDC);
    return dc ? CFont::FromHandle(dc->font()) : nullptr;
}

COLORREF CDC::SetTextColor(COLORREF color) {
    DeviceContext* dc = Dc(m_hDC);
    if (dc == nullptr) {
        return CLR_NONE;
    }
    return std::exchange(dc->textColor, color & 0x00FFFFFF);
}

COLORREF CDC::GetTextColor() const {
    DeviceContext* dc = Dc(m_hDC);
    return dc ? dc->textColor : CLR_NONE;
}

COLORREF CDC::SetBkColor(COLORREF color) {
    DeviceContext* dc = Dc(m_hDC);
    if (dc == nullptr) {
        return CLR_NONE;
    }
    return std::exchange(dc->bkColor, color & 0x00FFFFFF);
}

COLORREF CDC::GetBkColor() const {
    DeviceContext* dc = Dc(m_hDC);
    return dc ? dc->bkColor : CLR_NONE;
}

int CDC::SetBkMode(int mode) {
    DeviceContext* dc = Dc(m_hDC);
    if (dc == nullptr || (mode != TRANSPARENT && mode != OPAQUE)) {
        return 0;
    }
    return std::exchange(dc->bkMode, mode);
}

int CDC::GetBkMode() const {
    DeviceContext* dc = Dc(m_hDC);
    return dc ? dc->bkMode : 0;
}

void CDC::FillRect(LPCRECT rect, CBrush* brush) {
    DeviceContext* dc = Dc(m_hDC);
    GdiObject* b = brush ? GdiFrom(brush->m_hObject, GdiObject::Kind::Brush) : nullptr;
    QPainter* p = dc ? dc->Ready() : nullptr;
    if (p == nullptr || rect == nullptr || b == nullptr || b->hollow) {
        return;
    }
    p->fillRect(ToQRect(*rect), ToQColor(b->color));
}

void CDC::FillSolidRect(LPCRECT rect, COLORREF color) {
    if (rect != nullptr) {
        FillSolidRect(rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top,
                      color);
    }
}

void CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF color) {
    DeviceContext* dc = Dc(m_hDC);
    QPainter* p = dc ? dc->Ready() : nullptr;
    if (p != nullptr) {
        p->fillRect(QRect(x, y, cx, cy), ToQColor(color));
        dc->bkColor = color & 0x00FFFFFF;
    }
}

void CDC::FrameRect(LPCRECT rect, CBrush* brush) {
    DeviceContext* dc = Dc(m_hDC);
    GdiObject* b = brush ? GdiFrom(brush->m_hObject, GdiObject::Kind::Brush) : nullptr;
    QPainter* p = dc ? dc->Ready() : nullptr;
    if (p == nullptr || rect == nullptr || b == nullptr || b->hollow) {
        return;
    }
    CRect r(*rect);
    if (r.IsRectEmpty()) {
        return;
    }
    QColor c = ToQColor(b->color);
    p->fillRect(r.left, r.top, r.Width(), 1, c);
    p->fillRect(r.left, r.bottom - 1, r.Width(), 1, c);
    p->fillRect(r.left, r.top, 1, r.Height(), c);
    p->fillRect(r.right - 1, r.top, 1, r.Height(), c);
}

CPoint CDC::MoveTo(int x, int y) {
    DeviceContext* dc = Dc(m_hDC);
    if (dc == nullptr) {
        return {};
    }
    CPoint old(dc->current);
    dc->current = POINT{x, y};
    return old;
}

BOOL CDC::LineTo(int x, int y) {
    DeviceContext* dc = Dc(m_hDC);
    if (dc == nullptr) {
        return FALSE;
    }
    POINT from = dc->current;
    dc->current = POINT{x, y};
    QPainter* p = dc->Ready();
    int width = 0, style = PS_NULL;
    QColor c = PenColor(dc, &width, &style);
    if (p == nullptr || style == PS_NULL || (from.x == x && from.y == y)) {
        return p != nullptr;
    }
    if (width == 1 && style == PS_SOLID) {
        if (from.y == y) {
            int l = std::min<int>(from.x, from.x < x ? x - 1 : x + 1);
            p->fillRect(l, y, std::abs(x - from.x), 1, c);
        } else if (from.x == x) {
            int t = std::min<int>(from.y, from.y < y ? y - 1 : y + 1);
            p->fillRect(x, t, 1, std::abs(y - from.y), c);
        } else {
            PlotLine(p, c, from.x, from.y, x, y);
        }
        return TRUE;
    }
    p->drawLine(from.x, from.y, x, y);
    return TRUE;
}

BOOL CDC::Rectangle(int left, int top, int right, int bottom) {
    DeviceContext* dc = Dc(m_hDC);
    QPainter* p = dc ? dc->Ready() : nullptr;
    if (p == nullptr) {
        return FALSE;
    }
    CRect r(left, top, right, bottom);
    r.NormalizeRect();
    GdiObject* b = GdiFrom(dc->brush(), GdiObject::Kind::Brush);
    bool fill = b != nullptr && !b->hollow;
    int width = 0, style = PS_NULL;
    QColor pen = PenColor(dc, &width, &style);
    if (style == PS_NULL) {
        if (fill && r.Width() > 1 && r.Height() > 1) {
            p->fillRect(r.left, r.top, r.Width() - 1, r.Height() - 1, ToQColor(b->color));
        }
        return TRUE;
    }
    if (r.Width() < 1 || r.Height() < 1) {
        return TRUE;
    }
    if (fill && r.Width() > 2 && r.Height() > 2) {
        p->fillRect(r.left + 1, r.top + 1, r.Width() - 2, r.Height() - 2, ToQColor(b->color));
    }
    if (width == 1 && style == PS_SOLID) {
        p->fillRect(r.left, r.top, r.Width(), 1, pen);
        p->fillRect(r.left, r.bottom - 1, r.Width(), 1, pen);
        p->fillRect(r.left, r.top, 1, r.Height(), pen);
        p->fillRect(r.right - 1, r.top, 1, r.Height(), pen);
    } else {
        p->save();
        p->setBrush(Qt::NoBrush);
        p->drawRect(r.left, r.top, r.Width() - 1, r.Height() - 1);
        p->restore();
    }
    return TRUE;
}

COLORREF CDC::SetPixel(int x, int y, COLORREF color) {
    DeviceContext* dc = Dc(m_hDC);
    QPainter* p = dc ? dc->Ready() : nullptr;
    if (p == nullptr) {
        return CLR_NONE;
    }
    p->fillRect(x, y, 1, 1, ToQColor(color));
    return color & 0x00FFFFFF;
}

COLORREF CDC::GetPixel(int x, int y) const {
    DeviceContext* dc = Dc(m_hDC);
    QImage* img = dc ? dc->image() : nullptr;
    if (img == nullptr) {
        return CLR_NONE;
    }
    qreal ratio = img->devicePixelRatio();
    int px = int(x * ratio), py = int(y * ratio);
    if (px < 0 || py < 0 || px >= img->width() || py >= img->height()) {
        return CLR_NONE;
    }
    return korvyn::platform::FromQColor(img->pixelColor(px, py));
}

int CDC::DrawText(LPCWSTR text, int count, LPRECT rect, UINT format) {
    DeviceContext* dc = Dc(m_hDC);
    if (dc == nullptr || rect == nullptr) {
        return 0;
    }
    QString s = ToQString(text, count);
    QRect r = ToQRect(*rect);
    // Measuring draws nothing, so it sets up no surface for a window's DC.
    QPainter* p = (format & DT_CALCRECT) ? nullptr : dc->Ready();
    const FontCell& cell = dc->cell();
    QFontMetrics fm = p ? p->fontMetrics() : QFontMetrics(dc->qfont());
    bool simpleLine = (format & DT_SINGLELINE) && !(format & DT_CALCRECT) && p != nullptr &&
                      !s.contains(u'\t') && !s.contains(u'\n') && !s.contains(u'\r') &&
                      ((format & DT_NOPREFIX) || !s.contains(u'&'));
    bool elide = (format & DT_END_ELLIPSIS) && (format & DT_SINGLELINE);
    if (simpleLine) {
        // One line: placed by hand and shaped once per font and text, which spares a
        // text layout per cell of a list.
        auto fontKey = reinterpret_cast<std::uintptr_t>(dc->font());
        const ShapedText* shaped = &ShapedLine(fontKey, s, p->font());
        if (elide && shaped->width > r.width()) {
            s = fm.elidedText(s, Qt::ElideRight, std::max(0, r.width()));
            shaped = &ShapedLine(fontKey, s, p->font());
        }
        int width = shaped->width;
        int x = (format & DT_CENTER)  ? r.left() + (r.width() - width) / 2
                : (format & DT_RIGHT) ? r.right() + 1 - width
                                      : r.left();
        int y = (format & DT_VCENTER)  ? r.top() + (r.height() - cell.height()) / 2
                : (format & DT_BOTTOM) ? r.bottom() + 1 - cell.height()
                                       : r.top();
        QRect drawn(x, y, width, cell.height());
        if (dc->bkMode == OPAQUE && !s.isEmpty()) {
            p->fillRect(drawn.intersected(r), ToQColor(dc->bkColor));
        }
        bool clip = !(format & DT_NOCLIP) && !r.contains(drawn);
        if (clip) {
            p->save();
            p->setClipRect(r, Qt::IntersectClip);
        }
        p->setPen(ToQColor(dc->textColor));
        // The baseline lies the face's Windows ascent below the top of the cell.
        int top = y + cell.ascent - fm.ascent();
        for (int i = 0; i <= cell.overstrike; ++i) {
            p->drawStaticText(QPoint(x + i, top), shaped->text);
        }
        if (clip) {
            p->restore();
        }
        dc->PenTouched();
        return cell.height();
    }
    if (elide && fm.horizontalAdvance(s) > r.width()) {
        s = fm.elidedText(s, Qt::ElideRight, std::max(0, r.width()));
    }
    TextLines lines(s, p != nullptr ? p->font() : dc->qfont(), cell, format, r.width());
    if (format & DT_CALCRECT) {
        rect->right = rect->left + lines.size().width();
        rect->bottom = rect->top + lines.size().height();
        return lines.size().height();
    }
    if (p == nullptr) {
        return 0;
    }
    QRect drawn = lines.Place(r, format);
    if (dc->bkMode == OPAQUE && !s.isEmpty()) {
        p->fillRect(drawn.intersected(r), ToQColor(dc->bkColor));
    }
    bool clip = !(format & DT_NOCLIP);
    if (clip) {
        p->save();
        p->setClipRect(r, Qt::IntersectClip);
    }
    p->setPen(ToQColor(dc->textColor));
    lines.Draw(p, cell.overstrike);
    if (clip) {
        p->restore();
    }
    dc->PenTouched();
    return drawn.height();
}

BOOL CDC::TextOut(int x, int y, LPCWSTR text, int count) {
    return ExtTextOut(x, y, 0, nullptr, text, count);
}

BOOL CDC::ExtTextOut(int x, int y, UINT options, LPCRECT rect, LPCWSTR text, int count,
                     const int* /*dx*/) {
    DeviceContext* dc = Dc(m_hDC);
    QPainter* p = dc ? dc->Ready() : nullptr;
    if (p == nullptr) {
        return FALSE;
    }
    QString s = ToQString(text, count);
    QFontMetrics fm = p->fontMetrics();
    const FontCell& cell = dc->cell();
    if ((options & ETO_OPAQUE) && rect != nullptr) {
        p->fillRect(ToQRect(*rect), ToQColor(dc->bkColor));
    } else if (dc->bkMode == OPAQUE && !s.isEmpty()) {
        p->fillRect(x, y, fm.horizontalAdvance(s), cell.height(), ToQColor(dc->bkColor));
    }
    if ((options & ETO_CLIPPED) && rect != nullptr) {
        p->save();
        p->setClipRect(ToQRect(*rect), Qt::IntersectClip);
    }
    p->setPen(ToQColor(dc->textColor));
    for (int i = 0; i <= cell.overstrike; ++i) {
        p->drawText(QPoint(x + i, y + cell.ascent), s);
    }
    if ((options & ETO_CLIPPED) && rect != nullptr) {
        p->restore();
    }
    dc->PenTouched();
    return TRUE;
}

CSize CDC::GetTextExtent(LPCWSTR text, int count) const {
    DeviceContext* dc = Dc(m_hDC);
    if (dc == nullptr) {
        return {};
    }
    QFontMetrics fm(dc->qfont());
    return {fm.horizontalAdvance(ToQString(text, count)), dc->cell().height()};
}

BOOL CDC::GetTextMetrics(TEXTMETRIC* tm) const {
    DeviceContext* dc = Dc(m_hDC);
    if (dc == nullptr || tm == nullptr) {
        return FALSE;
    }
    QFontMetrics fm(dc->qfont());
    const FontCell& cell = dc->cell();
    *tm = TEXTMETRIC{cell.height(),
                     cell.ascent,
                     cell.descent,
                     cell.internalLeading,
                     0,
                     cell.averageWidth,
                     fm.maxWidth(),
                     dc->qfont().bold() ? FW_BOLD : FW_NORMAL};
    return TRUE;
}

BOOL CDC::BitBlt(int x, int y, int width, int height, CDC* src, int xSrc, int ySrc, DWORD rop) {
    return StretchBlt(x, y, width, height, src, xSrc, ySrc, width, height, rop);
}

BOOL CDC::StretchBlt(int x, int y, int width, int height, CDC* src, int xSrc, int ySrc,
                     int srcWidth, int srcHeight, DWORD /*rop*/) {
    DeviceContext* dc = Dc(m_hDC);
    DeviceContext* from = src ? Dc(src->m_hDC) : nullptr;
    QPainter* p = dc ? dc->Ready() : nullptr;
    QImage* img = from ? from->image() : nullptr;
    if (p == nullptr || img == nullptr) {
        return FALSE;
    }
    qreal ratio = img->devicePixelRatio();
    QRectF source(xSrc * ratio, ySrc * ratio, srcWidth * ratio, srcHeight * ratio);
    p->drawImage(QRectF(x, y, width, height), *img, source);
    return TRUE;
}

BOOL CDC::TransparentBlt(int x, int y, int width, int height, CDC* src, int xSrc, int ySrc,
                         int srcWidth, int srcHeight, UINT transparent) {
    DeviceContext* dc = Dc(m_hDC);
    DeviceContext* from = src ? Dc(src->m_hDC) : nullptr;
    QPainter* p = dc ? dc->Ready() : nullptr;
    QImage* img = from ? from->image() : nullptr;
    if (p == nullptr || img == nullptr || srcWidth <= 0 || srcHeight <= 0) {
        return FALSE;
    }
    qreal ratio = img->devicePixelRatio();
    QRect source =
        QRect(int(xSrc * ratio), int(ySrc * ratio), int(srcWidth * ratio), int(srcHeight * ratio))
            .intersected(img->rect());
    if (source.isEmpty()) {
        return FALSE;
    }
    QImage part = img->copy(source).convertToFormat(QImage::Format_ARGB32);
    const QRgb key = 0xFF000000u | (GetRValue(transparent) << 16) | (GetGValue(transparent) << 8) |
                     GetBValue(transparent);
    for (int row = 0; row < part.height(); ++row) {
        auto* line = reinterpret_cast<QRgb*>(part.scanLine(row));
        for (int col = 0; col < part.width(); ++col) {
            if ((line[col] | 0xFF000000u) == key) {
                line[col] = 0;
            }
        }
    }
    part.setDevicePixelRatio(ratio);
    p->drawImage(QRectF(x, y, width, height), part);
    return TRUE;
}

BOOL CDC::DrawFrameControl(LPRECT rect, UINT type, UINT state) {
    DeviceContext* dc = Dc(m_hDC);
    QPainter* p = dc ? dc->Ready() : nullptr;
    if (p == nullptr || rect == nullptr || type != DFC_BUTTON) {
        return FALSE;
    }
    CRect r(*rect);
    int side = std::min(r.Width(), r.Height());
    QRect box(r.left + (r.Width() - side) / 2, r.top + (r.Height() - side) / 2, side, side);
    QColor frame = (state & DFCS_INACTIVE) ? QColor(128, 128, 128) : QColor(0, 0, 0);
    QColor fill = (state & DFCS_PUSHED) ? QColor(192, 192, 192) : QColor(255, 255, 255);
    p->save();
    p->setRenderHint(QPainter::Antialiasing, false);
    if (state & DFCS_BUTTONRADIO) {
        p->setPen(frame);
        p->setBrush(fill);
        p->drawEllipse(box.adjusted(0, 0, -1, -1));
        if (state & DFCS_CHECKED) {
            int d = std::max(2, side / 3);
            p->setBrush(frame);
            p->drawEllipse(QRect(box.center().x() - d / 2, box.center().y() - d / 2, d, d));
        }
    } else {
        p->fillRect(box, frame);
        p->fillRect(box.adjusted(1, 1, -1, -1), fill);
        if (state & DFCS_CHECKED) {
            // A tick from the lower left to the upper right.
            int s = side;
            QPoint a(box.left() + s * 3 / 16, box.top() + s / 2);
            QPoint b(box.left() + s * 7 / 16, box.top() + s * 11 / 16);
            QPoint c(box.left() + s * 12 / 16, box.top() + s * 4 / 16);
            p->setPen(QPen(frame, std::max(1, s / 8)));
            p->drawLine(a, b);
            p->drawLine(b, c);
        }
    }
    p->restore();
    return TRUE;
}

int CDC::GetDeviceCaps(int index) const {
    if (index == LOGPIXELSX || index == LOGPIXELSY) {
        return korvyn::platform::ScreenLogPixels();
    }
    return 0;
}
