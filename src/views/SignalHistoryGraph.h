#pragma once
// The zoomed meter's graph of one station's recent signal: one point per scan, oldest at
// the left, the newest at the plot's right edge; scans in which the station was not
// heard leave a gap in the line. Three grid lines labelled in dBm span the samples and
// the station's best and worst, which are drawn as faint dashed lines.
#include "platform/WinTypes.h"
#include "platform/ui/Geometry.h"

#include <string>
#include <vector>

class CDC;

namespace korvyn {

struct MeterLayout;

// The dBm at the plot's top and bottom rows: multiples of 10 at least 20 dB apart, their
// span a multiple of 20 so that the middle grid line falls on a multiple of 10 too.
struct GraphRange {
    LONG low;
    LONG high;
    LONG Middle() const { return (low + high) / 2; }
};
GraphRange RangeFor(const std::vector<LONG>& samples, LONG best, LONG worst);

// The axis labels: "-30", "-60", "-90".
std::u16string GraphLabel(LONG dbm);
// The widest label any range can have.
inline constexpr const char16_t* kWidestGraphLabel = u"-120";

// The row of a dBm value and the column of sample `index` of `count` in the plot.
int GraphRow(const CRect& plot, const GraphRange& range, LONG dbm);
int GraphColumn(const CRect& plot, int index, int count);

struct GraphColors {
    COLORREF line;  // the signal
    COLORREF text;  // the labels
    COLORREF faint; // grid lines, best and worst
};

// Draws the graph into layout.graph with the DC's current font for the labels. samples
// are the last scans, oldest first, kNotHeard where not heard; best and worst are the
// station's own.
void DrawSignalGraph(CDC& dc, const MeterLayout& layout, const std::vector<LONG>& samples,
                     LONG best, LONG worst, const GraphColors& colors);

} // namespace korvyn
