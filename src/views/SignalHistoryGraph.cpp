#include "views/SignalHistoryGraph.h"

#include "core/SignalHistory.h"
#include "platform/system/TextCodec.h"
#include "platform/ui/CBrush.h"
#include "platform/ui/CDC.h"
#include "platform/ui/CPen.h"
#include "views/MeterLayout.h"

#include <algorithm>
#include <string>

namespace korvyn {

namespace {

LONG FloorTen(LONG v) {
    return v >= 0 ? v / 10 * 10 : -((-v + 9) / 10 * 10);
}
LONG CeilTen(LONG v) {
    return -FloorTen(-v);
}

// A horizontal line across the plot, inclusive of both ends.
void HorizontalLine(CDC& dc, const CRect& plot, int y) {
    dc.MoveTo(plot.left, y);
    dc.LineTo(plot.right, y);
}

} // namespace

GraphRange RangeFor(const std::vector<LONG>& samples, LONG best, LONG worst) {
    LONG low = worst, high = best;
    for (LONG s : samples) {
        if (s != kNotHeard) {
            low = std::min(low, s);
            high = std::max(high, s);
        }
    }
    GraphRange range{FloorTen(low), CeilTen(high)};
    // At least 20 dB, and a span of whole 20s, widened downwards.
    const LONG span = std::max<LONG>(20, (range.high - range.low + 19) / 20 * 20);
    range.low = range.high - span;
    return range;
}

std::u16string GraphLabel(LONG dbm) {
    return platform::Utf8ToUtf16(std::to_string(dbm));
}

int GraphRow(const CRect& plot, const GraphRange& range, LONG dbm) {
    const int rows = plot.Height() - 1;
    const LONG span = std::max<LONG>(1, range.high - range.low);
    const LONG above = std::clamp<LONG>(range.high - dbm, 0, span);
    return plot.top + static_cast<int>((above * rows + span / 2) / span);
}

int GraphColumn(const CRect& plot, int index, int count) {
    if (count < 2)
        return plot.right - 1;
    return plot.left + (index * (plot.Width() - 1) + (count - 1) / 2) / (count - 1);
}

void DrawSignalGraph(CDC& dc, const MeterLayout& layout, const std::vector<LONG>& samples,
                     LONG best, LONG worst, const GraphColors& colors) {
    const CRect& plot = layout.plot;
    if (plot.IsRectEmpty())
        return;
    const GraphRange range = RangeFor(samples, best, worst);
    const int scale = layout.scale;

    // Grid lines with their labels at the top, middle and bottom of the axis.
    CPen grid(PS_SOLID, scale, colors.faint);
    CPen* previous = dc.SelectObject(&grid);
    const COLORREF oldText = dc.SetTextColor(colors.text);
    const int oldMode = dc.SetBkMode(TRANSPARENT);
    const int labelHeight = kMeterLabelHeight * scale;
    for (LONG dbm : {range.high, range.Middle(), range.low}) {
        const int y = GraphRow(plot, range, dbm);
        HorizontalLine(dc, plot, y);
        CRect label(layout.labels.left, y - labelHeight / 2, layout.labels.right,
                    y - labelHeight / 2 + labelHeight);
        dc.DrawText(GraphLabel(dbm), &label, DT_RIGHT | DT_VCENTER | DT_SINGLELINE | DT_NOCLIP);
    }
    dc.SetBkMode(oldMode);
    dc.SetTextColor(oldText);

    CPen faint(PS_DASH, scale, colors.faint);
    dc.SelectObject(&faint);
    HorizontalLine(dc, plot, GraphRow(plot, range, best));
    HorizontalLine(dc, plot, GraphRow(plot, range, worst));

    // The signal: lines between neighbouring scans in which it was heard, a dot for one
    // heard alone.
    CPen line(PS_SOLID, 2 * scale, colors.line);
    dc.SelectObject(&line);
    const int count = static_cast<int>(samples.size());
    for (int i = 0; i < count; ++i) {
        if (samples[static_cast<std::size_t>(i)] == kNotHeard)
            continue;
        const int x = GraphColumn(plot, i, count);
        const int y = GraphRow(plot, range, samples[static_cast<std::size_t>(i)]);
        const bool before = i > 0 && samples[static_cast<std::size_t>(i) - 1] != kNotHeard;
        const bool after = i + 1 < count && samples[static_cast<std::size_t>(i) + 1] != kNotHeard;
        if (after) {
            dc.MoveTo(x, y);
            dc.LineTo(GraphColumn(plot, i + 1, count),
                      GraphRow(plot, range, samples[static_cast<std::size_t>(i) + 1]));
        } else if (!before) {
            dc.FillSolidRect(x - scale, y - scale, 2 * scale, 2 * scale, colors.line);
        }
    }
    dc.SelectObject(previous);
}

} // namespace korvyn
