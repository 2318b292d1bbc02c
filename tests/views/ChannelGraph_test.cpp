// The channel graph's geometry and the channel rating on hand-made stations. The plot
// areas are one pixel per MHz from the axis' low end, so positions read as MHz.
#include "views/ChannelGraph.h"
#include "views/ChannelRating.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace korvyn;

namespace {

// An area one pixel per MHz wide, 81 pixels high (one per dBm from -100 to -20).
PlotArea MhzArea(Band band) {
    const AxisSpan axis = AxisOf(band);
    return {0, 0, static_cast<int>((axis.highKhz - axis.lowKhz) / 1000) + 1, 81};
}

int Mhz(Band band, DWORD khz) {
    return static_cast<int>((static_cast<LONG>(khz) - static_cast<LONG>(AxisOf(band).lowKhz)) /
                            1000);
}

TEST(ChannelGraph, HillsSpanTheirWholeChannelAroundItsCentre) {
    struct Case {
        const char* name;
        Band band;
        DWORD centreKhz;
        DWORD widthMhz;
    };
    const Case cases[] = {
        {"2.4 GHz 40 MHz above 1", Band::Ghz2_4, 2422000, 40},
        {"2.4 GHz width unknown", Band::Ghz2_4, 2462000, 0},
        {"5 GHz 160 MHz", Band::Ghz5, 5570000, 160},
        {"6 GHz 320 MHz", Band::Ghz6, 6905000, 320},
        {"6 GHz channel 233", Band::Ghz6, 7115000, 20},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const PlotArea area = MhzArea(c.band);
        const auto hill = HillOf(c.band, area, c.centreKhz, c.widthMhz, -60);
        ASSERT_TRUE(hill);
        const int centre = Mhz(c.band, c.centreKhz);
        const int half = (c.widthMhz == 0 ? 20 : c.widthMhz) / 2;
        EXPECT_EQ(std::make_pair(hill->left, hill->right),
                  std::make_pair(centre - half, centre + half));
        // On the floor at both ends, at the signal's height over the centre, never above it.
        ASSERT_EQ(hill->outline.size(), std::size_t(hill->right - hill->left + 1));
        EXPECT_EQ(hill->outline.front().y, 80);
        EXPECT_EQ(hill->outline.back().y, 80);
        EXPECT_EQ(hill->outline[std::size_t(centre - hill->left)].y, 40);
        for (const GraphPoint& p : hill->outline)
            EXPECT_GE(p.y, 40);
    }
}

TEST(ChannelGraph, SignalsHeldBetweenFloorAndCeilingAndHillsCutAtTheBandsEdges) {
    const PlotArea area = MhzArea(Band::Ghz2_4);
    const std::pair<LONG, int> heights[] = {{-100, 80}, {-120, 80}, {-20, 0}, {0, 0}, {-75, 55}};
    for (auto [dbm, y] : heights)
        EXPECT_EQ(YOfSignal(area, dbm), y) << dbm;

    struct Case {
        const char* name;
        Band band;
        DWORD centreKhz;
        DWORD widthMhz;
        int left, right; // -1: no hill
    };
    const Case cases[] = {
        {"40 MHz over the top of 2.4 GHz", Band::Ghz2_4, 2484000, 40, 63, 94},
        {"160 MHz below 5 GHz channel 36", Band::Ghz5, 5180000, 160, 0, 90},
        {"6 GHz channel 2, under the axis' start", Band::Ghz6, 5935000, 20, 0, 0},
        {"wholly below the band", Band::Ghz5, 5000000, 80, -1, -1},
        {"wholly above the band", Band::Ghz2_4, 2600000, 20, -1, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const PlotArea a = MhzArea(c.band);
        const auto hill = HillOf(c.band, a, c.centreKhz, c.widthMhz, -50);
        if (c.left < 0) {
            EXPECT_FALSE(hill);
            continue;
        }
        ASSERT_TRUE(hill);
        EXPECT_EQ(std::make_pair(hill->outline.front().x, hill->outline.back().x),
                  std::make_pair(c.left, c.right));
        // A name stays over the part that is shown, inside the area.
        const LabelBox name = NameBox(*hill, a, 30, 10);
        EXPECT_GE(name.left, a.left);
        EXPECT_LE(name.right, a.right);
    }
}

TEST(ChannelGraph, LabelsThatWouldCollideAreLeftOut) {
    struct Case {
        const char* name;
        std::vector<LabelBox> boxes;
        std::vector<bool> shown;
    };
    const Case cases[] = {
        {"touching", {{0, 0, 10, 10}, {10, 0, 20, 10}, {0, 10, 10, 20}}, {true, true, true}},
        {"overlapping: the first wins", {{0, 0, 10, 10}, {5, 5, 15, 15}}, {true, false}},
        {"only shown labels block",
         {{0, 0, 10, 10}, {8, 0, 18, 10}, {16, 0, 26, 10}},
         {true, false, true}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PlaceLabels(c.boxes), c.shown) << c.name;

    // The axis names channels whose labels keep apart, on every band.
    for (Band band : {Band::Ghz2_4, Band::Ghz5, Band::Ghz6}) {
        const PlotArea area{20, 10, 236, 200};
        const auto named = SpacedChannels(band, area, AxisChannels(band), 14, 4);
        ASSERT_GE(named.size(), 3u);
        for (std::size_t i = 1; i < named.size(); ++i)
            EXPECT_GE(XOfFrequency(band, area, ChannelFrequency(band, named[i])) -
                          XOfFrequency(band, area, ChannelFrequency(band, named[i - 1])),
                      18);
    }
}

TEST(ChannelGraph, ATapMeetsTheNearestOutline) {
    const PlotArea area = MhzArea(Band::Ghz2_4);
    const std::vector<Hill> hills = {*HillOf(Band::Ghz2_4, area, 2437000, 20, -40),
                                     *HillOf(Band::Ghz2_4, area, 2442000, 20, -80)};
    const std::pair<GraphPoint, int> taps[] = {{{36, 21}, 0}, {{41, 61}, 1}, {{41, 40}, -1},
                                               {{5, 80}, -1}, {{51, 79}, 1}, {{50, 79}, -1}};
    for (auto [tap, expected] : taps) {
        const auto hit = HitHill(hills, tap, 4);
        EXPECT_EQ(hit ? int(*hit) : -1, expected) << tap.x << "," << tap.y;
    }
}

TEST(ChannelGraph, ColoursStayWithTheirStation) {
    const BYTE a[6] = {0, 0x1a, 0x2b, 0x3c, 0x4d, 1};
    const BYTE b[6] = {0, 0x1a, 0x2b, 0x3c, 0x4d, 2};
    EXPECT_NE(StationColour(a), StationColour(b));
    EXPECT_EQ(Blend(RGB(200, 100, 0), RGB(0, 0, 100), 100), RGB(200, 100, 0));
    EXPECT_EQ(Blend(RGB(200, 100, 0), RGB(0, 0, 100), 50), RGB(100, 50, 50));
}

double ScoreOf(const std::vector<ChannelScore>& scores, DWORD channel) {
    for (const ChannelScore& s : scores)
        if (s.channel == channel)
            return s.score;
    ADD_FAILURE() << "no channel " << channel;
    return -1;
}

TEST(ChannelRating, ScoresOnHandMadeBands) {
    using Networks = std::vector<RatedNetwork>;
    struct Case {
        const char* name;
        Band band;
        Networks networks;
        std::vector<std::pair<DWORD, double>> scores; // of some channels
        std::vector<DWORD> best;
    };
    const Case cases[] = {
        {"empty 2.4 GHz", Band::Ghz2_4, {}, {{1, 0}, {7, 0}, {13, 0}}, {1, 6, 11}},
        {"empty 5 GHz", Band::Ghz5, {}, {{36, 0}, {177, 0}}, {36, 40, 44}},
        {"empty 6 GHz", Band::Ghz6, {}, {{1, 0}, {233, 0}}, {1, 5, 9}},
        {"one strong network on 6",
         Band::Ghz2_4,
         {{2437000, 20, -30}},
         {{6, 1}, {1, 0}, {11, 0}, {4, 12.0 / 22}, {8, 12.0 / 22}},
         {1, 11}},
        {"weights follow the signal",
         Band::Ghz5,
         {{5180000, 20, -65}, {5200000, 20, -100}, {5220000, 20, -10}},
         {{36, 0.5}, {40, 0}, {44, 1}, {48, 0}},
         {40, 48, 52}},
        {"40 MHz over channels 1 to 5",
         Band::Ghz2_4,
         {{2422000, 40, -30}},
         {{1, 1}, {3, 1}, {5, 1}, {7, 12.0 / 22}, {9, 2.0 / 22}, {10, 0}},
         {10, 1}},
        {"an 80 MHz network on 5 GHz",
         Band::Ghz5,
         {{5210000, 80, -30}},
         {{36, 1}, {48, 1}, {52, 0}},
         {52, 56, 60}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto scores = RateChannels(c.band, c.networks);
        EXPECT_EQ(scores.size(), PrimaryChannels(c.band).size());
        for (auto [channel, score] : c.scores)
            EXPECT_NEAR(ScoreOf(scores, channel), score, 1e-9) << channel;
        EXPECT_EQ(BestChannels(c.band, scores), c.best);
    }
}

} // namespace
