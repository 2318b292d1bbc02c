#include "core/StationTable.h"

#include "platform/resources/Resources.h"
#include "platform/sound/PlaySound.h"
#include "settings/CSettings.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace {

constexpr int kHideSecured = 2; // "WEP"
constexpr int kHidePeers = 3;   // "Peer"
constexpr int kMute = 4;        // "Sound"
constexpr UINT kNewStationSound = 157;

DWORD Setting(const CSettings& settings, int index) {
    DWORD value = 0;
    return settings.GetValue(index, value) ? value : 0;
}

std::uint64_t MacKey(const BYTE* mac) {
    std::uint64_t key = 0;
    for (int i = 0; i < 6; ++i)
        key = key << 8 | mac[i];
    return key;
}

// The fields a scan observation shares with the record.
void CopyObservation(const ScanObservation& o, StationRecord& r) {
    r.channel = o.channel;
    r.mode = o.mode;
    r.privacy = o.privacy;
    r.rssi = o.rssi;
    std::memcpy(r.ssid, o.ssid, sizeof r.ssid);
    r.ssid[32] = 0;
}

bool SameSecond(const SYSTEMTIME& a, const SYSTEMTIME& b) {
    return a.wYear == b.wYear && a.wMonth == b.wMonth && a.wDay == b.wDay && a.wHour == b.wHour &&
           a.wMinute == b.wMinute && a.wSecond == b.wSecond;
}

} // namespace

StationTable::StationTable(const CSettings& settings) : settings_(settings) {}

StationTable::~StationTable() {
    Clear();
}

// The current local time as an OLE date. The conversion ignores milliseconds, so within
// one second the previous result stands.
double StationTable::Now() {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    if (!SameSecond(now, lastTime_)) {
        double date = 0;
        SystemTimeToVariantTime(&now, &date);
        lastTime_ = now;
        lastDate_ = date;
    }
    return lastDate_;
}

void StationTable::Touch(DWORD number) {
    if (!isTouched_[number]) {
        isTouched_[number] = 1;
        touched_.push_back(number);
    }
}

// A new record for the observation, or nullptr when it cannot be made; nothing of a
// failed addition stays behind.
StationRecord* StationTable::Add(const ScanObservation& o, double now) {
    const auto number = static_cast<DWORD>(records_.size());
    bool inMacIndex = false;
    try {
        StationRecord& r = records_.emplace_back();
        r.active = 1;
        CopyObservation(o, r);
        r.bestRssi = r.worstRssi = o.rssi;
        r.firstSeen = r.lastSeen = now;
        std::memcpy(r.mac, o.mac, sizeof r.mac);
        r.number = number;
        isTouched_.push_back(0);
        inMacIndex = byMac_.emplace(MacKey(o.mac), number).second;
        active_.push_back(number);
        Touch(number);
        return &r;
    } catch (const std::bad_alloc&) {
        if (inMacIndex)
            byMac_.erase(MacKey(o.mac));
        if (active_.size() && active_.back() == number)
            active_.pop_back();
        if (isTouched_.size() > number)
            isTouched_.resize(number);
        if (records_.size() > number)
            records_.pop_back();
        return nullptr;
    }
}

void StationTable::KeepUse(DWORD number, const korvyn::ChannelUse& use) {
    try {
        if (uses_.size() <= number)
            uses_.resize(number + 1);
        uses_[number] = use;
    } catch (const std::bad_alloc&) {
        // The station stays without its channel use; the next sighting tries again.
    }
}

korvyn::ChannelUse StationTable::GetChannelUse(DWORD number) const {
    return number < uses_.size() ? uses_[number] : korvyn::ChannelUse{};
}

void StationTable::Merge(const ScanObservation* observations, DWORD count,
                         const korvyn::ChannelUse* uses) {
    const DWORD hideSecured = Setting(settings_, kHideSecured);
    const DWORD hidePeers = Setting(settings_, kHidePeers);
    const DWORD mute = Setting(settings_, kMute);
    std::lock_guard hold(lock_);
    history_.BeginScan();

    // Only the stations of the previous merge can be active.
    for (DWORD number : active_) {
        records_[number].active = 0;
        Touch(number);
    }
    active_.clear();

    for (DWORD i = 0; i < count && observations; ++i) {
        const ScanObservation& o = observations[i];
        const auto found = byMac_.find(MacKey(o.mac));
        if (found != byMac_.end()) {
            StationRecord& r = records_[found->second];
            if (!r.active) {
                active_.push_back(r.number);
                Touch(r.number);
            }
            r.active = 1;
            CopyObservation(o, r);
            r.bestRssi = std::max(r.bestRssi, r.rssi);
            r.worstRssi = std::min(r.worstRssi, r.rssi);
            r.lastSeen = Now();
            history_.Heard(r.number, r.rssi);
            if (uses)
                KeepUse(r.number, uses[i]);
            continue;
        }
        const StationRecord* added = Add(o, Now());
        if (!added)
            continue;
        history_.Heard(added->number, added->rssi);
        if (uses)
            KeepUse(added->number, uses[i]);
        if (hideSecured && added->privacy)
            continue;
        if (hidePeers && added->mode != 1)
            continue;
        if (mute || newStationSoundHeld_)
            continue;
        PlaySound(MAKEINTRESOURCE(kNewStationSound), GetModuleHandle(nullptr),
                  SND_RESOURCE | SND_ASYNC);
    }
}

void StationTable::SkipScan() {
    std::lock_guard hold(lock_);
    history_.BeginScan();
}

void StationTable::RebuildView(DWORD& total, DWORD& active) {
    const bool hideSecured = Setting(settings_, kHideSecured) != 0;
    const bool hidePeers = Setting(settings_, kHidePeers) != 0;
    total = active = 0;

    if (!viewBuilt_ || hideSecured != viewHidesSecured_ || hidePeers != viewHidesPeers_) {
        viewHidesSecured_ = hideSecured;
        viewHidesPeers_ = hidePeers;
        inactiveView_.Clear();
        for (const StationRecord& r : records_)
            if (!r.active && Visible(r))
                inactiveView_.Insert(r.number);
        viewBuilt_ = true;
    } else {
        for (DWORD number : touched_) {
            const StationRecord& r = records_[number];
            if (!r.active && Visible(r))
                inactiveView_.Insert(number);
            else
                inactiveView_.Erase(number);
        }
    }
    for (DWORD number : touched_)
        isTouched_[number] = 0;
    touched_.clear();

    activeView_.clear();
    for (DWORD number : active_)
        if (Visible(records_[number]))
            activeView_.push_back(&records_[number]);
    std::sort(activeView_.begin(), activeView_.end(),
              [](const StationRecord* a, const StationRecord* b) {
                  return korvyn::WalkOrderIndex::WalkBefore(a->number, b->number);
              });

    active = static_cast<DWORD>(activeView_.size());
    total = static_cast<DWORD>(activeView_.size() + inactiveView_.Size());
}

bool StationTable::GetViewItem(int position, StationRecord& record) const {
    if (position < 0)
        return false;
    const auto at = static_cast<std::size_t>(position);
    if (at < activeView_.size()) {
        record = *activeView_[at];
        return true;
    }
    if (at - activeView_.size() >= inactiveView_.Size())
        return false;
    record = records_[inactiveView_.Select(at - activeView_.size())];
    return true;
}

bool StationTable::GetByNumber(DWORD number, StationRecord& record) const {
    if (number >= records_.size())
        return false;
    record = records_[number];
    return true;
}

void StationTable::Clear() {
    records_ = {};
    byMac_ = {};
    uses_ = {};
    history_.Clear();
    active_ = {};
    touched_ = {};
    isTouched_ = {};
    activeView_ = {};
    inactiveView_.Clear();
    viewBuilt_ = false;
}
