#pragma once
// Where on the air a station sends: the frequency of its primary channel, and the width
// and centre of the whole channel it uses (20 MHz at its primary channel unless its
// operation elements say more). The station table keeps one beside each record, for the
// pages that show band and channel use.
#include "platform/WinTypes.h"

namespace korvyn {

enum class Band { Unknown, Ghz2_4, Ghz5, Ghz6 };

struct ChannelUse {
    DWORD frequencyKhz = 0; // primary channel; 0 when unknown
    DWORD widthMhz = 0;     // 20, 40, 80, 160 or 320; 0 when unknown
    DWORD centreKhz = 0;    // centre of the whole channel; 0 when unknown
};

// The band of a frequency in kHz by the 802.11 band plans of 2.4, 5 and 6 GHz.
Band BandOf(DWORD frequencyKhz);

// An adapter's DSConfig as a frequency: a channel number 1 to 14 is a 2.4 GHz channel,
// anything above 14 is already kHz; 0 stays unknown.
DWORD FrequencyOfDsConfig(DWORD dsConfig);

// The frequency in kHz of channel number `channel` in a band; 0 for Band::Unknown.
DWORD ChannelFrequency(Band band, DWORD channel);

} // namespace korvyn
