#include "StationModel.h"

#include "core/StationTable.h"
#include "core/WalkOrderIndex.h"

#include <algorithm>
#include <cstring>

namespace korvyn::test {
namespace {

std::uint64_t Key(const BYTE* mac) {
    std::uint64_t key = 0;
    for (int i = 0; i < 6; ++i)
        key = key << 8 | mac[i];
    return key;
}

bool Visible(const StationRecord& r, const StationModel::Filter& f) {
    return !(f.hideSecured && r.privacy != 0) && !(f.hidePeers && r.mode != 1);
}

// The fields a record takes from an observation; the name always ends at unit 32.
void Take(const ScanObservation& o, StationRecord& r) {
    std::memcpy(r.ssid, o.ssid, sizeof r.ssid);
    r.ssid[32] = 0;
    r.rssi = o.rssi;
    r.channel = o.channel;
    r.mode = o.mode;
    r.privacy = o.privacy;
}

} // namespace

std::size_t StationModel::Merge(const ScanObservation* observations, DWORD count, double now,
                                const Filter& filter) {
    for (DWORD n : active_)
        records_[n].active = 0;
    active_.clear();
    std::size_t sounds = 0;
    for (DWORD i = 0; i < count; ++i) {
        const ScanObservation& o = observations[i];
        const auto [at, added] =
            byMac_.try_emplace(Key(o.mac), static_cast<DWORD>(records_.size()));
        if (added) {
            StationRecord& r = records_.emplace_back();
            std::memcpy(r.mac, o.mac, sizeof r.mac);
            Take(o, r);
            r.number = at->second;
            r.bestRssi = r.worstRssi = o.rssi;
            r.firstSeen = now;
            if (Visible(r, filter) && !filter.mute)
                ++sounds;
        } else {
            Take(o, records_[at->second]);
        }
        StationRecord& r = records_[at->second];
        r.bestRssi = std::max(r.bestRssi, r.rssi);
        r.worstRssi = std::min(r.worstRssi, r.rssi);
        r.lastSeen = now;
        if (!r.active)
            active_.push_back(r.number);
        r.active = 1;
    }
    return sounds;
}

void StationModel::Clear() {
    records_.clear();
    byMac_.clear();
    active_.clear();
}

std::string StationModel::Check(const StationTable& table, DWORD total, DWORD active,
                                const Filter& filter) const {
    StationRecord got{};
    for (std::size_t n = 0; n < records_.size(); ++n) {
        if (!table.GetByNumber(static_cast<DWORD>(n), got))
            return "station " + std::to_string(n) + " is missing";
        if (std::memcmp(&records_[n], &got, sizeof got))
            return "station " + std::to_string(n) + " differs";
    }
    if (table.GetByNumber(static_cast<DWORD>(records_.size()), got))
        return "more stations than scanned";

    std::vector<DWORD> shown, inactive;
    for (DWORD n : active_)
        if (Visible(records_[n], filter))
            shown.push_back(n);
    for (const StationRecord& r : records_)
        if (!r.active && Visible(r, filter))
            inactive.push_back(r.number);
    std::sort(shown.begin(), shown.end(), WalkOrderIndex::WalkBefore);
    std::sort(inactive.begin(), inactive.end(), WalkOrderIndex::WalkBefore);
    if (active != shown.size() || total != shown.size() + inactive.size())
        return "counts " + std::to_string(active) + "/" + std::to_string(total) + ", expected " +
               std::to_string(shown.size()) + "/" + std::to_string(shown.size() + inactive.size());
    shown.insert(shown.end(), inactive.begin(), inactive.end());
    for (std::size_t i = 0; i < shown.size(); ++i) {
        if (!table.GetViewItem(static_cast<int>(i), got) || got.number != shown[i])
            return "view position " + std::to_string(i) + " is not station " +
                   std::to_string(shown[i]);
    }
    if (table.GetViewItem(-1, got) || table.GetViewItem(static_cast<int>(shown.size()), got))
        return "view positions outside the view answer";
    return {};
}

} // namespace korvyn::test
