#pragma once
// The station table built literally on its data model, as the yardstick for the real one:
// a number index and a MAC index of 17 chained buckets that never grow (new entries at
// the head of their chain), a view rebuilt by walking every chain, and the clock read and
// checked for every observation.
#include "core/StationRecord.h"
#include "wifi/ScanObservation.h"

#include <mutex>
#include <vector>

class CSettings;

class BaselineStationTable {
public:
    explicit BaselineStationTable(const CSettings& settings) : settings_(settings) {}
    ~BaselineStationTable();
    BaselineStationTable(const BaselineStationTable&) = delete;
    BaselineStationTable& operator=(const BaselineStationTable&) = delete;

    void Merge(const ScanObservation* observations, DWORD count);
    void RebuildView(DWORD& total, DWORD& active);
    bool GetViewItem(int position, StationRecord& record) const;
    bool GetByNumber(DWORD number, StationRecord& record) const;
    void Clear();

    // Adds stations known to be new, as if seen in earlier scans, without the lookups that
    // would make filling a large table take minutes. For setting up benchmarks only.
    void Preload(const ScanObservation* observations, DWORD count);

private:
    StationRecord* Add(const ScanObservation& o, double now);

    static constexpr DWORD kBuckets = 17;
    struct NumberNode {
        DWORD number;
        StationRecord* record;
        NumberNode* next;
    };
    struct MacNode {
        DWORD fold;
        StationRecord* record;
        MacNode* next;
    };

    const CSettings& settings_;
    std::mutex lock_;
    NumberNode* numbers_[kBuckets] = {};
    MacNode* macs_[kBuckets] = {};
    DWORD count_ = 0;
    std::vector<StationRecord*> view_;
};
