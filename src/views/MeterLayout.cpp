#include "views/MeterLayout.h"

#include <algorithm>

namespace korvyn {

MeterLayout LayoutMeter(const CRect& client, int countTop, int scale, int labelWidth,
                        FigureRows figures) {
    MeterLayout m;
    m.scale = scale;
    const int gap = 2 * scale;
    const int labelHeight = kMeterLabelHeight * scale;
    m.name = CRect(client.left, client.top, client.right, client.top + kMeterNameHeight);

    const int bottom = std::min<int>(countTop, client.bottom);
    m.details = CRect(client.left + gap, bottom - gap - 2 * kMeterDetailsHeight * scale,
                      client.right - gap, bottom - gap);

    // Where the number was before the meter had a graph: centred between the bands.
    const int centred = client.top + kMeterNameHeight +
                        (client.Height() - 2 * kMeterNameHeight - kMeterNumberHeight) / 2;
    const int graphBottom = m.details.top - gap;
    const int room = graphBottom - kMeterGraphHeight * scale - gap - figures.bottom;
    const int highest = m.name.bottom + gap - figures.top;
    const int top = std::max(highest, std::min(centred, room));
    m.numberCell = CRect(client.left, top, client.right, top + kMeterNumberHeight);
    m.number = CRect(client.left, top + figures.top, client.right, top + figures.bottom);
    if (m.details.top < m.number.bottom + gap)
        m.details = CRect(); // a page too short for them

    // Half a label above the top grid line and below the bottom one, so that no label is
    // cut; three grid lines need two labels' height between the outer ones.
    m.graph = CRect(client.left + gap, m.number.bottom + gap, client.right - gap, graphBottom);
    if (m.details.IsRectEmpty() || m.graph.Height() < 3 * labelHeight ||
        m.graph.Width() < labelWidth + 16 * scale) {
        m.graph = m.plot = m.labels = CRect();
        return m;
    }
    m.labels = CRect(m.graph.left, m.graph.top, m.graph.left + labelWidth, m.graph.bottom);
    m.plot = CRect(m.labels.right + 2 * gap, m.graph.top + labelHeight / 2 + scale,
                   m.graph.right - gap, m.graph.bottom - labelHeight / 2 - scale);
    return m;
}

} // namespace korvyn
