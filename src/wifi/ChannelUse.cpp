#include "wifi/ChannelUse.h"

namespace korvyn {

Band BandOf(DWORD f) {
    if (f >= 2400000 && f < 2500000)
        return Band::Ghz2_4;
    // 5935 MHz is 6 GHz channel 2, below the 5950 MHz start of the rest of that band.
    if (f == 5935000 || (f >= 5950000 && f <= 7125000))
        return Band::Ghz6;
    if (f > 5000000 && f < 5925000)
        return Band::Ghz5;
    return Band::Unknown;
}

DWORD FrequencyOfDsConfig(DWORD dsConfig) {
    if (dsConfig == 0)
        return 0;
    if (dsConfig <= 14)
        return ChannelFrequency(Band::Ghz2_4, dsConfig);
    return dsConfig;
}

DWORD ChannelFrequency(Band band, DWORD channel) {
    switch (band) {
    case Band::Ghz2_4:
        return channel == 14 ? 2484000 : 2407000 + 5000 * channel;
    case Band::Ghz5:
        return 5000000 + 5000 * channel;
    case Band::Ghz6:
        return channel == 2 ? 5935000 : 5950000 + 5000 * channel;
    default:
        return 0;
    }
}

} // namespace korvyn
