#pragma once
// The recent signal of each station, one slot per scan: what the meter's graph starts
// from when it opens. Only stations heard within the last kHistoryScans scans hold a
// ring (a station out of range for that long has nothing but gaps to show), so a table
// of a hundred thousand stations keeps rings for the few heard lately, and a scan writes
// one slot per station heard: the gaps of a station that was not heard are filled in
// when it is heard again, or seen as gaps when read.
#include "platform/WinTypes.h"

#include <cstdint>
#include <deque>
#include <vector>

namespace korvyn {

// Two minutes at the fastest scan period (500 ms).
inline constexpr int kHistoryScans = 240;
// A scan in which the station was not heard.
inline constexpr LONG kNotHeard = -128;

// How many scans two minutes hold at a scan period in milliseconds: what the meter's
// graph shows.
inline int HistoryScans(unsigned periodMs) {
    const unsigned scans = periodMs == 0 ? kHistoryScans : 120000 / periodMs;
    return scans < 2 ? 2 : scans > kHistoryScans ? kHistoryScans : static_cast<int>(scans);
}

class SignalHistory {
public:
    // A new scan begins; rings whose last sample has scrolled out are given back.
    void BeginScan();
    // Station `number` was heard at rssi dBm in the current scan (kept within -127 to
    // 127); a later sighting in the same scan replaces it.
    void Heard(DWORD number, LONG rssi);
    // The last `count` scans (at most kHistoryScans) of station `number`, oldest first,
    // kNotHeard where it was not heard or the history does not reach back.
    void Recent(DWORD number, int count, std::vector<LONG>& out) const;
    void Clear();

    std::size_t RingsInUse() const { return rings_.size() - free_.size(); }

private:
    struct Ring {
        std::uint32_t lastScan = 0; // the scan of the latest sample
        std::int8_t samples[kHistoryScans];
    };
    static constexpr std::uint32_t kNoRing = 0xFFFFFFFF;

    std::uint32_t scan_ = 0; // scans begun since the last Clear
    std::vector<Ring> rings_;
    std::vector<std::uint32_t> free_;
    std::vector<std::uint32_t> ringOf_; // by station number; kNoRing for none
    // Every sighting in scan order, to find the rings that fall out of the window.
    std::deque<std::pair<std::uint32_t, DWORD>> heard_;
};

} // namespace korvyn
