#pragma once
// Where the zoomed meter puts its parts, from top to bottom: the station's name in a
// 20-pixel band, the signal as a number in a 100-pixel cell, the signal history graph
// and two lines of details above the page's count line. The number stays centred on the
// page as long as the graph below it gets its preferred height; on shorter pages it
// moves up until its figures meet the name band, and the graph takes what is left (none
// when too little). Only the figures' part of the number's cell counts as the number:
// the cell's leading above them and its descent below hold nothing a figure draws.
#include "platform/ui/Geometry.h"

namespace korvyn {

inline constexpr int kMeterNameHeight = 20;
inline constexpr int kMeterNumberHeight = 100;
// At normal resolution; twice as much on a double-resolution screen.
inline constexpr int kMeterLabelHeight = 10;   // the graph's axis labels
inline constexpr int kMeterDetailsHeight = 12; // each details line
inline constexpr int kMeterGraphHeight = 72;   // preferred

// Where a number's figures lie in its cell, from the cell's top: from the font's
// internal leading (the top of the em) to just below the baseline (the ascent).
struct FigureRows {
    int top = 0;
    int bottom = kMeterNumberHeight;
};

struct MeterLayout {
    CRect name;
    CRect numberCell; // the number is centred in it on one line
    CRect number;     // the rows of its figures: nothing else is drawn there
    CRect graph;      // everything the graph draws, its labels included; empty when none
    CRect plot;       // where the points go: the axis's top dBm on its top row
    CRect labels;     // the axis labels, left of the plot
    CRect details;    // two lines
    int scale = 1;    // 2 on a double-resolution screen
};

// The layout of a meter page of client rectangle `client` whose count line starts at
// `countTop`; labelWidth is the width of the widest axis label.
MeterLayout LayoutMeter(const CRect& client, int countTop, int scale, int labelWidth,
                        FigureRows figures);

} // namespace korvyn
