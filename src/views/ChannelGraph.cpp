#include "views/ChannelGraph.h"

#include "views/ChannelRating.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <iterator>

namespace korvyn {

AxisSpan AxisOf(Band band) {
    switch (band) {
    case Band::Ghz2_4:
        return {2402000 - 1000, 2494000 + 1000}; // channel 1 - 11 MHz to 14 + 11 MHz
    case Band::Ghz5:
        return {5170000, 5895000};
    case Band::Ghz6:
        return {5945000, 7125000};
    default:
        return {};
    }
}

std::vector<DWORD> AxisChannels(Band band) {
    std::vector<DWORD> channels = PrimaryChannels(band);
    if (band == Band::Ghz2_4)
        channels.push_back(14);
    return channels;
}

Band NextBand(Band band) {
    return band == Band::Ghz2_4 ? Band::Ghz5 : band == Band::Ghz5 ? Band::Ghz6 : Band::Ghz2_4;
}

namespace {

// The position across the area as a real number, for outlines finer than a pixel.
double XExact(Band band, const PlotArea& area, double khz) {
    const AxisSpan axis = AxisOf(band);
    if (axis.highKhz <= axis.lowKhz)
        return area.left;
    return area.left +
           (khz - axis.lowKhz) * (area.right - 1 - area.left) / (axis.highKhz - axis.lowKhz);
}

bool Overlap(const LabelBox& a, const LabelBox& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

} // namespace

int XOfFrequency(Band band, const PlotArea& area, DWORD khz) {
    return static_cast<int>(std::lround(XExact(band, area, khz)));
}

int YOfSignal(const PlotArea& area, LONG dbm) {
    const LONG held = std::clamp(dbm, kFloorDbm, kCeilingDbm);
    const double share = static_cast<double>(held - kFloorDbm) / (kCeilingDbm - kFloorDbm);
    return static_cast<int>(std::lround(area.bottom - 1 - share * (area.bottom - 1 - area.top)));
}

std::optional<Hill> HillOf(Band band, const PlotArea& area, DWORD centreKhz, DWORD widthMhz,
                           LONG dbm) {
    const double half = (widthMhz == 0 ? 20 : widthMhz) * 500.0;
    const double from = XExact(band, area, centreKhz - half);
    const double to = XExact(band, area, centreKhz + half);
    const int left = std::max(area.left, static_cast<int>(std::ceil(from)));
    const int right = std::min(area.right - 1, static_cast<int>(std::floor(to)));
    if (left > right || to <= from)
        return std::nullopt;
    Hill hill;
    hill.left = left;
    hill.right = right;
    hill.centreX = XOfFrequency(band, area, centreKhz);
    hill.peakY = YOfSignal(area, dbm);
    const int floor = area.bottom - 1;
    // Steep flanks and a broad top, as a channel's spectrum looks: 1 - (2t - 1)^4.
    for (int x = left; x <= right; ++x) {
        const double t = 2 * (x - from) / (to - from) - 1;
        const double rise = 1 - t * t * t * t;
        hill.outline.push_back(
            {x, static_cast<int>(std::lround(floor - rise * (floor - hill.peakY)))});
    }
    // A column short of the channel's edge still starts on the floor unless cut off.
    if (from >= area.left)
        hill.outline.front().y = floor;
    if (to <= area.right - 1)
        hill.outline.back().y = floor;
    return hill;
}

LabelBox NameBox(const Hill& hill, const PlotArea& area, int textWidth, int textHeight) {
    LabelBox box;
    box.bottom = std::max(hill.peakY, area.top);
    box.top = box.bottom - textHeight;
    const int visibleCentre = std::clamp(hill.centreX, hill.left, hill.right);
    box.left = std::clamp(visibleCentre - textWidth / 2, area.left,
                          std::max(area.left, area.right - textWidth));
    box.right = box.left + textWidth;
    return box;
}

std::vector<bool> PlaceLabels(const std::vector<LabelBox>& byPriority) {
    std::vector<bool> shown(byPriority.size(), false);
    for (std::size_t i = 0; i < byPriority.size(); ++i) {
        shown[i] = true;
        for (std::size_t j = 0; j < i && shown[i]; ++j)
            shown[i] = !(shown[j] && Overlap(byPriority[i], byPriority[j]));
    }
    return shown;
}

std::vector<DWORD> SpacedChannels(Band band, const PlotArea& area,
                                  const std::vector<DWORD>& channels, int labelWidth, int gap) {
    for (std::size_t stride = 1; stride <= channels.size(); ++stride) {
        std::vector<DWORD> picked;
        bool apart = true;
        int last = 0;
        for (std::size_t i = 0; i < channels.size(); i += stride) {
            const int x = XOfFrequency(band, area, ChannelFrequency(band, channels[i]));
            apart = apart && (picked.empty() || x - last >= labelWidth + gap);
            picked.push_back(channels[i]);
            last = x;
        }
        if (apart)
            return picked;
    }
    return channels.empty() ? channels : std::vector<DWORD>{channels.front()};
}

std::optional<std::size_t> HitHill(const std::vector<Hill>& hills, GraphPoint tap, int slack) {
    std::optional<std::size_t> nearest;
    int best = slack + 1;
    for (std::size_t i = 0; i < hills.size(); ++i) {
        const Hill& h = hills[i];
        if (tap.x < h.left || tap.x > h.right)
            continue;
        const int distance =
            std::abs(h.outline[static_cast<std::size_t>(tap.x - h.left)].y - tap.y);
        if (distance <= best) {
            best = distance;
            nearest = i;
        }
    }
    return nearest;
}

COLORREF StationColour(const BYTE (&mac)[6]) {
    // Twelve colours that tell apart on the page's light tint and from the best channels'
    // green, picked by a well-mixed hash of the address (FNV-1a, then a finaliser so that
    // neighbouring addresses land far apart).
    static constexpr COLORREF kPalette[] = {
        RGB(200, 30, 30), RGB(30, 60, 200),  RGB(230, 110, 0), RGB(130, 40, 170),
        RGB(0, 130, 140), RGB(200, 0, 140),  RGB(130, 75, 20), RGB(20, 20, 110),
        RGB(110, 110, 0), RGB(225, 60, 100), RGB(0, 95, 170),  RGB(70, 70, 70),
    };
    std::uint32_t hash = 2166136261u;
    for (BYTE b : mac)
        hash = (hash ^ b) * 16777619u;
    hash ^= hash >> 16;
    hash *= 0x7feb352du;
    hash ^= hash >> 15;
    hash *= 0x846ca68bu;
    hash ^= hash >> 16;
    return kPalette[hash % std::size(kPalette)];
}

COLORREF Blend(COLORREF colour, COLORREF background, int percent) {
    DWORD out = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        const int c = static_cast<int>(colour >> shift & 0xFF);
        const int g = static_cast<int>(background >> shift & 0xFF);
        out |= static_cast<DWORD>((c * percent + g * (100 - percent) + 50) / 100) << shift;
    }
    return out;
}

} // namespace korvyn
