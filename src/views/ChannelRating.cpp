#include "views/ChannelRating.h"

#include <algorithm>

namespace korvyn {
namespace {

constexpr double kCloseToBest = 0.5;

// Extra kHz each side of a channel on the band (see the header).
LONG GuardKhz(Band band) {
    return band == Band::Ghz2_4 ? 1000 : 0;
}

struct Span {
    LONG low;
    LONG high;
};

Span SpanOf(Band band, DWORD centreKhz, DWORD widthMhz) {
    const LONG half = static_cast<LONG>(widthMhz) * 500 + GuardKhz(band);
    return {static_cast<LONG>(centreKhz) - half, static_cast<LONG>(centreKhz) + half};
}

std::vector<DWORD> Channels(DWORD first, DWORD last, DWORD step, std::vector<DWORD> channels = {}) {
    for (DWORD c = first; c <= last; c += step)
        channels.push_back(c);
    return channels;
}

} // namespace

const std::vector<DWORD>& PrimaryChannels(Band band) {
    static const std::vector<DWORD> ghz2_4 = Channels(1, 13, 1);
    static const std::vector<DWORD> ghz5 =
        Channels(149, 177, 4, Channels(100, 144, 4, Channels(36, 64, 4)));
    static const std::vector<DWORD> ghz6 = Channels(1, 233, 4);
    static const std::vector<DWORD> none;
    switch (band) {
    case Band::Ghz2_4:
        return ghz2_4;
    case Band::Ghz5:
        return ghz5;
    case Band::Ghz6:
        return ghz6;
    default:
        return none;
    }
}

std::vector<ChannelScore> RateChannels(Band band, const std::vector<RatedNetwork>& networks) {
    std::vector<ChannelScore> scores;
    for (DWORD channel : PrimaryChannels(band)) {
        const Span own = SpanOf(band, ChannelFrequency(band, channel), 20);
        double score = 0;
        for (const RatedNetwork& n : networks) {
            const Span span = SpanOf(band, n.centreKhz, n.widthMhz);
            const LONG overlap = std::min(own.high, span.high) - std::max(own.low, span.low);
            if (overlap <= 0)
                continue;
            const double weight = std::clamp((n.rssi + 100) / 70.0, 0.0, 1.0);
            score += static_cast<double>(overlap) / (own.high - own.low) * weight;
        }
        scores.push_back({channel, score});
    }
    return scores;
}

std::vector<DWORD> BestChannels(Band band, const std::vector<ChannelScore>& scores,
                                std::size_t most) {
    std::vector<ChannelScore> order = scores;
    std::stable_sort(order.begin(), order.end(), [](const ChannelScore& a, const ChannelScore& b) {
        return a.score < b.score || (a.score == b.score && a.channel < b.channel);
    });
    std::vector<DWORD> best;
    for (const ChannelScore& s : order) {
        if (best.size() >= most)
            break;
        // Two channels are always named; more only when no busier than half a strong
        // network beyond the best.
        if (best.size() >= 2 && s.score > order.front().score + kCloseToBest)
            break;
        const Span span = SpanOf(band, ChannelFrequency(band, s.channel), 20);
        const bool apart = std::none_of(best.begin(), best.end(), [&](DWORD other) {
            const Span o = SpanOf(band, ChannelFrequency(band, other), 20);
            return std::min(o.high, span.high) > std::max(o.low, span.low);
        });
        if (apart)
            best.push_back(s.channel);
    }
    return best;
}

} // namespace korvyn
