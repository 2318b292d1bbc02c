#include "baseline/BaselineStationTable.h"

#include "platform/resources/Resources.h"
#include "platform/sound/PlaySound.h"
#include "platform/system/SystemTime.h"
#include "settings/CSettings.h"

#include <cstring>
#include <new>

namespace {

DWORD Fold(const BYTE* mac) {
    DWORD h = 0;
    for (int i = 0; i < 6; ++i)
        h = h * 33 + mac[i];
    return h;
}

double Now() {
    SYSTEMTIME st{};
    GetLocalTime(&st);
    double date = 0;
    SYSTEMTIME back{};
    const bool valid = SystemTimeToVariantTime(&st, &date) &&
                       VariantTimeToSystemTime(date, &back) && back.wYear == st.wYear &&
                       back.wMonth == st.wMonth && back.wDay == st.wDay && back.wHour == st.wHour &&
                       back.wMinute == st.wMinute && back.wSecond == st.wSecond;
    (void)valid; // the record keeps the date either way
    return date;
}

} // namespace

BaselineStationTable::~BaselineStationTable() {
    Clear();
}

void BaselineStationTable::Merge(const ScanObservation* observations, DWORD count) {
    DWORD hideSecured = 0, hidePeers = 0, mute = 0;
    settings_.GetValue(2, hideSecured);
    settings_.GetValue(3, hidePeers);
    settings_.GetValue(4, mute);
    std::lock_guard hold(lock_);
    for (NumberNode* head : numbers_)
        for (NumberNode* n = head; n; n = n->next)
            n->record->active = 0;
    for (DWORD i = 0; i < count; ++i) {
        const ScanObservation& o = observations[i];
        const DWORD fold = Fold(o.mac);
        StationRecord* found = nullptr;
        for (MacNode* m = macs_[fold % kBuckets]; m && !found; m = m->next)
            if (m->fold == fold && std::memcmp(m->record->mac, o.mac, 6) == 0)
                found = m->record;
        if (found) {
            found->active = 1;
            found->channel = o.channel;
            found->mode = o.mode;
            found->privacy = o.privacy;
            found->rssi = o.rssi;
            std::memcpy(found->ssid, o.ssid, sizeof found->ssid);
            if (found->bestRssi < o.rssi)
                found->bestRssi = o.rssi;
            if (found->worstRssi > o.rssi)
                found->worstRssi = o.rssi;
            found->lastSeen = Now();
            continue;
        }
        StationRecord* r = Add(o, Now());
        if (!r)
            continue;
        if (!(hideSecured && r->privacy) && !(hidePeers && r->mode != 1) && !mute)
            PlaySound(MAKEINTRESOURCE(157), GetModuleHandle(nullptr), SND_RESOURCE | SND_ASYNC);
    }
}

StationRecord* BaselineStationTable::Add(const ScanObservation& o, double now) {
    auto* r = new (std::nothrow) StationRecord{};
    if (!r)
        return nullptr;
    r->active = 1;
    r->channel = o.channel;
    r->mode = o.mode;
    r->privacy = o.privacy;
    r->rssi = r->bestRssi = r->worstRssi = o.rssi;
    r->firstSeen = r->lastSeen = now;
    std::memcpy(r->mac, o.mac, 6);
    std::memcpy(r->ssid, o.ssid, sizeof r->ssid);
    r->number = count_;
    const DWORD fold = Fold(o.mac);
    macs_[fold % kBuckets] = new MacNode{fold, r, macs_[fold % kBuckets]};
    const DWORD bucket = (count_ >> 4) % kBuckets;
    numbers_[bucket] = new NumberNode{count_, r, numbers_[bucket]};
    ++count_;
    return r;
}

void BaselineStationTable::Preload(const ScanObservation* observations, DWORD count) {
    for (DWORD i = 0; i < count; ++i)
        if (StationRecord* r = Add(observations[i], Now()))
            r->active = 0;
}

void BaselineStationTable::RebuildView(DWORD& total, DWORD& active) {
    DWORD hideSecured = 0, hidePeers = 0;
    settings_.GetValue(2, hideSecured);
    settings_.GetValue(3, hidePeers);
    total = active = 0;
    std::vector<StationRecord*> activeList, inactiveList;
    for (NumberNode* head : numbers_) {
        for (NumberNode* n = head; n; n = n->next) {
            StationRecord* r = n->record;
            if ((hideSecured && r->privacy) || (hidePeers && r->mode != 1))
                continue;
            ++total;
            if (r->active) {
                ++active;
                activeList.push_back(r);
            } else {
                inactiveList.push_back(r);
            }
        }
    }
    view_ = std::move(activeList);
    view_.insert(view_.end(), inactiveList.begin(), inactiveList.end());
}

bool BaselineStationTable::GetViewItem(int position, StationRecord& record) const {
    if (position < 0 || static_cast<std::size_t>(position) >= view_.size())
        return false;
    record = *view_[static_cast<std::size_t>(position)];
    return true;
}

bool BaselineStationTable::GetByNumber(DWORD number, StationRecord& record) const {
    for (NumberNode* n = numbers_[(number >> 4) % kBuckets]; n; n = n->next)
        if (n->number == number) {
            record = *n->record;
            return true;
        }
    return false;
}

void BaselineStationTable::Clear() {
    for (NumberNode*& head : numbers_) {
        while (head) {
            NumberNode* next = head->next;
            delete head->record;
            delete head;
            head = next;
        }
    }
    for (MacNode*& head : macs_) {
        while (head) {
            MacNode* next = head->next;
            delete head;
            head = next;
        }
    }
    count_ = 0;
    view_ = {};
}
