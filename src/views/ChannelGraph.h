#pragma once
// The channel graph's geometry in pixels: the band's channels along the x axis, the
// signal (dBm) up the y axis, the hill each station is drawn as (over its whole channel,
// around the channel's centre, as high as its signal), which labels can be shown
// without overlapping, which hill a tap meets, and the colour of each station. Plain
// arithmetic, so that the page only draws what these functions give.
#include "wifi/ChannelUse.h"

#include <cstddef>
#include <optional>
#include <vector>

namespace korvyn {

// The graph's plotting rectangle: x from left to right - 1, y from top (the ceiling)
// to bottom - 1 (the floor, where the axis is).
struct PlotArea {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

struct GraphPoint {
    int x = 0;
    int y = 0;
};

struct LabelBox {
    int left = 0;
    int top = 0;
    int right = 0; // exclusive
    int bottom = 0;
};

// The graph's floor and ceiling: weaker signals sit on the floor, stronger ones at the top.
constexpr LONG kFloorDbm = -100;
constexpr LONG kCeilingDbm = -20;

// The frequencies the x axis spans: from 10 MHz below the band's first channel to 10 MHz
// above its last (2.4 GHz: channels 1 to 14; 5 GHz: 36 to 177; 6 GHz: 1 to 233).
struct AxisSpan {
    DWORD lowKhz = 0;
    DWORD highKhz = 0;
};
AxisSpan AxisOf(Band band);
// The channels the axis names: the primary channels, and 14 on 2.4 GHz.
std::vector<DWORD> AxisChannels(Band band);
// The band after this one when the band caption is tapped: 2.4 -> 5 -> 6 -> 2.4 GHz.
Band NextBand(Band band);

// Where a frequency lies across the area (outside it for frequencies off the axis).
int XOfFrequency(Band band, const PlotArea& area, DWORD khz);
// Where a signal lies up the area, held between floor and ceiling.
int YOfSignal(const PlotArea& area, LONG dbm);

// A station's hill: its outline from left to right, one point per pixel column, cut off
// at the area's sides.
struct Hill {
    int left = 0;
    int right = 0;   // the outline's last column
    int centreX = 0; // the channel's centre, which may lie off the area when cut off
    int peakY = 0;
    std::vector<GraphPoint> outline;
};
// The hill of a channel `widthMhz` wide (20 when 0) around centreKhz; none when it lies
// wholly off the band's axis.
std::optional<Hill> HillOf(Band band, const PlotArea& area, DWORD centreKhz, DWORD widthMhz,
                           LONG dbm);

// A name's box: centred over the hill's peak, just above it (at most textHeight above the
// area), moved sideways to stay within the area.
LabelBox NameBox(const Hill& hill, const PlotArea& area, int textWidth, int textHeight);

// Which boxes are shown, given in priority order: each one unless it overlaps a box
// shown before it (boxes that only touch do not overlap).
std::vector<bool> PlaceLabels(const std::vector<LabelBox>& byPriority);

// The channels to name along the axis, every stride-th of `channels` with the smallest
// stride at which labels `labelWidth` wide (centred on their channels) keep `gap` pixels
// apart.
std::vector<DWORD> SpacedChannels(Band band, const PlotArea& area,
                                  const std::vector<DWORD>& channels, int labelWidth, int gap);

// The hill whose outline passes nearest a tap within `slack` pixels; of equals the later
// one (drawn on top). None when no outline is that close.
std::optional<std::size_t> HitHill(const std::vector<Hill>& hills, GraphPoint tap, int slack);

// A colour of a station's own, the same in every scan and every run: one of twelve,
// picked by the MAC address.
COLORREF StationColour(const BYTE (&mac)[6]);
// The colour a part of the way towards the background: `percent` of colour, the rest
// background.
COLORREF Blend(COLORREF colour, COLORREF background, int percent);

} // namespace korvyn
