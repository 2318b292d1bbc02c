#pragma once
// Private: text laid out in lines as DrawText places them on the handheld: broken at
// line feeds and, with DT_WORDBREAK, between words within the width; one font cell
// apart; an "&" marks the next character for underlining unless DT_NOPREFIX.
#include "platform/ui/WinGdi.h"
#include "platform/ui/detail/FontMapping.h"

#include <QFont>
#include <QRect>
#include <QString>
#include <QTextLayout>

#include <memory>

class QPainter;

namespace korvyn::platform {

class TextLines {
public:
    TextLines(const QString& text, const QFont& font, const FontCell& cell, UINT format, int width);
    int count() const { return layout_->lineCount(); }
    // The widest line and the lines' total height.
    QSize size() const { return size_; }
    // Draws the lines in the rectangle, aligned by the format's DT_CENTER and DT_RIGHT,
    // and for one line by DT_VCENTER and DT_BOTTOM; returns the rectangle drawn over.
    QRect Place(const QRect& rect, UINT format);
    // Draws the placed lines in the painter's pen, then overstrike more copies one pixel
    // further right each.
    void Draw(QPainter* painter, int overstrike) const;

private:
    std::unique_ptr<QTextLayout> layout_;
    FontCell cell_;
    QSize size_;
    QPointF origin_;
};

} // namespace korvyn::platform
