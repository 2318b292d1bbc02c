#include "core/SignalHistory.h"

#include <algorithm>
#include <new>

namespace korvyn {

void SignalHistory::BeginScan() {
    ++scan_;
    while (!heard_.empty() && scan_ - heard_.front().first >= kHistoryScans) {
        const DWORD number = heard_.front().second;
        const std::uint32_t ring = ringOf_[number];
        // Only the station's latest sighting frees its ring.
        if (ring != kNoRing && rings_[ring].lastScan == heard_.front().first) {
            free_.push_back(ring);
            ringOf_[number] = kNoRing;
        }
        heard_.pop_front();
    }
}

void SignalHistory::Heard(DWORD number, LONG rssi) {
    const auto sample = static_cast<std::int8_t>(std::clamp<LONG>(rssi, -127, 127));
    try {
        if (ringOf_.size() <= number)
            ringOf_.resize(number + 1, kNoRing);
        std::uint32_t& ring = ringOf_[number];
        if (ring != kNoRing && rings_[ring].lastScan == scan_) {
            rings_[ring].samples[scan_ % kHistoryScans] = sample;
            return;
        }
        heard_.emplace_back(scan_, number);
        if (ring == kNoRing) {
            if (free_.empty()) {
                rings_.emplace_back();
                free_.push_back(static_cast<std::uint32_t>(rings_.size() - 1));
            }
            ring = free_.back();
            free_.pop_back();
            std::fill(std::begin(rings_[ring].samples), std::end(rings_[ring].samples),
                      static_cast<std::int8_t>(kNotHeard));
        } else {
            // The scans since the last sample were gaps; at most a whole ring of them.
            Ring& r = rings_[ring];
            const std::uint32_t gaps = std::min<std::uint32_t>(scan_ - r.lastScan, kHistoryScans);
            for (std::uint32_t s = scan_ - gaps + 1; s != scan_; ++s)
                r.samples[s % kHistoryScans] = static_cast<std::int8_t>(kNotHeard);
        }
        rings_[ring].lastScan = scan_;
        rings_[ring].samples[scan_ % kHistoryScans] = sample;
    } catch (const std::bad_alloc&) {
        // The station goes without history; the table itself is unaffected.
    }
}

void SignalHistory::Recent(DWORD number, int count, std::vector<LONG>& out) const {
    count = std::clamp(count, 0, kHistoryScans);
    out.assign(static_cast<std::size_t>(count), kNotHeard);
    const std::uint32_t ring = number < ringOf_.size() ? ringOf_[number] : kNoRing;
    if (ring == kNoRing)
        return;
    const Ring& r = rings_[ring];
    for (int i = 0; i < count; ++i) {
        const std::uint32_t back = static_cast<std::uint32_t>(count - 1 - i);
        const std::uint32_t s = scan_ - back;
        // Scans after the last sample, and before the first scan, were not heard.
        if (back >= scan_ || s > r.lastScan)
            continue;
        out[static_cast<std::size_t>(i)] = r.samples[s % kHistoryScans];
    }
}

void SignalHistory::Clear() {
    scan_ = 0;
    rings_ = {};
    free_ = {};
    ringOf_ = {};
    heard_ = {};
}

} // namespace korvyn
