#pragma once
// How busy each primary channel of a band is, and the channels best left for a new
// access point.
//
// A channel c (centre f_c) occupies F_c = [f_c - 10 MHz, f_c + 10 MHz]; on 2.4 GHz one
// more MHz each side (the 22 MHz spectral mask of 802.11b), and a network's whole
// channel [centre - width/2, centre + width/2] widens the same way there. Its score is
//
//     score(c) = sum over networks n of  overlap(n, F_c) / |F_c|  x  w(rssi_n),
//     w(rssi) = (rssi + 100) / 70, kept within 0 and 1 (-30 dBm or stronger counts 1,
//               -100 dBm or weaker 0),
//
// so 0 is a free channel and 1 one strong network sitting on it; a 40 MHz network counts
// on every channel it covers, a neighbour half-way over a channel counts half. The best
// channels are the lowest scores (the lower channel first between equals) that do not
// overlap one another: the two lowest, and a third when it scores at most 0.5 above the
// best (on an empty 2.4 GHz band 1, 6 and 11).
#include "wifi/ChannelUse.h"

#include <cstddef>
#include <vector>

namespace korvyn {

struct RatedNetwork {
    DWORD centreKhz = 0; // of the whole channel
    DWORD widthMhz = 20;
    LONG rssi = 0; // dBm
};

struct ChannelScore {
    DWORD channel = 0;
    double score = 0;
};

// The primary 20 MHz channels of a band, in frequency order: 1 to 13 on 2.4 GHz, 36 to
// 64, 100 to 144 and 149 to 177 on 5 GHz, 1 to 233 in steps of 4 on 6 GHz.
const std::vector<DWORD>& PrimaryChannels(Band band);

// One score per primary channel of the band, in the order of PrimaryChannels.
std::vector<ChannelScore> RateChannels(Band band, const std::vector<RatedNetwork>& networks);

// The best channels of the scores, best first, none overlapping another: two, and a
// third when close to the best.
std::vector<DWORD> BestChannels(Band band, const std::vector<ChannelScore>& scores,
                                std::size_t most = 3);

} // namespace korvyn
