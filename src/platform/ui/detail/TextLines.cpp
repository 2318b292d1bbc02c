#include "platform/ui/detail/TextLines.h"

#include <QPainter>
#include <QTextOption>

#include <algorithm>
#include <cmath>

namespace korvyn::platform {
namespace {

// The text without its prefix marks ("&&" stays one "&"), and the underlined positions.
QString StripPrefixes(const QString& text, QList<QTextLayout::FormatRange>& underlines) {
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'&' && i + 1 < text.size()) {
            ++i;
            if (text[i] != u'&') {
                QTextLayout::FormatRange range;
                range.start = static_cast<int>(out.size());
                range.length = 1;
                range.format.setFontUnderline(true);
                underlines.append(range);
            }
        }
        out += text[i];
    }
    return out;
}

} // namespace

TextLines::TextLines(const QString& text, const QFont& font, const FontCell& cell, UINT format,
                     int width)
    : cell_(cell) {
    QList<QTextLayout::FormatRange> underlines;
    QString s = format & DT_NOPREFIX ? text : StripPrefixes(text, underlines);
    s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    s.replace(u'\r', u'\n');
    s.replace(u'\n', (format & DT_SINGLELINE) ? QChar(u' ') : QChar::LineSeparator);
    layout_ = std::make_unique<QTextLayout>(s, font);
    layout_->setFormats(underlines);
    QTextOption option;
    bool wrap = (format & DT_WORDBREAK) && !(format & DT_SINGLELINE);
    option.setWrapMode(wrap ? QTextOption::WordWrap : QTextOption::ManualWrap);
    if (format & DT_EXPANDTABS) {
        // Tab stops every eight average characters.
        option.setTabStopDistance(std::max(1, 8 * cell.averageWidth));
    }
    layout_->setTextOption(option);
    layout_->setCacheEnabled(true);
    layout_->beginLayout();
    int widest = 0;
    for (QTextLine line = layout_->createLine(); line.isValid(); line = layout_->createLine()) {
        line.setLineWidth(wrap ? std::max(1, width) : 1e6);
        widest = std::max(widest, static_cast<int>(std::ceil(line.naturalTextWidth())));
    }
    layout_->endLayout();
    size_ = QSize(s.isEmpty() ? 0 : widest, std::max(1, layout_->lineCount()) * cell.height());
}

QRect TextLines::Place(const QRect& rect, UINT format) {
    int lineHeight = cell_.height();
    int top = rect.top();
    if ((format & DT_SINGLELINE) && (format & DT_VCENTER)) {
        top = rect.top() + (rect.height() - lineHeight) / 2;
    } else if ((format & DT_SINGLELINE) && (format & DT_BOTTOM)) {
        top = rect.bottom() + 1 - lineHeight;
    }
    origin_ = QPointF(rect.left(), top);
    int left = rect.right() + 1, right = rect.left();
    for (int i = 0; i < layout_->lineCount(); ++i) {
        QTextLine line = layout_->lineAt(i);
        int w = static_cast<int>(std::ceil(line.naturalTextWidth()));
        int x = (format & DT_CENTER)  ? (rect.width() - w) / 2
                : (format & DT_RIGHT) ? rect.width() - w
                                      : 0;
        // Baselines one cell apart, each the face's Windows ascent below its line's top.
        line.setPosition(QPointF(x, i * lineHeight + cell_.ascent - line.ascent()));
        left = std::min(left, rect.left() + x);
        right = std::max(right, rect.left() + x + w);
    }
    return QRect(std::min(left, right), top, std::max(0, right - left), size_.height());
}

void TextLines::Draw(QPainter* painter, int overstrike) const {
    for (int i = 0; i <= overstrike; ++i) {
        layout_->draw(painter, origin_ + QPointF(i, 0));
    }
}

} // namespace korvyn::platform
