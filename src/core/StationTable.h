#pragma once
// The program's memory of every station seen since start-up. Each merged scan updates
// known stations or adds new ones (which may be greeted with a short sound); the view
// gives the display order: stations of the latest scan first, then the others, each
// group in the table's walk order (see WalkOrderIndex), leaving out what the hide
// settings hide.
//
// The view is kept up to date incrementally: a merge notes which stations it touched,
// and the next rebuild revisits only those, so a scan tick costs about the same with a
// hundred stations as with a hundred thousand. A change of the hide settings rebuilds
// the view from scratch.
#include "core/SignalHistory.h"
#include "core/StationRecord.h"
#include "core/WalkOrderIndex.h"
#include "platform/system/SystemTime.h"
#include "wifi/ChannelUse.h"
#include "wifi/ScanObservation.h"

#include <cstdint>
#include <deque>
#include <mutex>
#include <unordered_map>
#include <vector>

class CSettings;

class StationTable {
public:
    explicit StationTable(const CSettings& settings);
    ~StationTable();
    StationTable(const StationTable&) = delete;
    StationTable& operator=(const StationTable&) = delete;

    // Updates the table from one scan of count observations. uses, when given, holds the
    // channel use of each observation, kept beside its station's record.
    void Merge(const ScanObservation* observations, DWORD count,
               const korvyn::ChannelUse* uses = nullptr);

    // A scan that heard nothing (a failed read or an empty list): the stations keep their
    // state, and their signal history gets a gap.
    void SkipScan();

    // Rebuilds the view; total is the number of stations in it, active those of the
    // latest scan.
    void RebuildView(DWORD& total, DWORD& active);

    // Copies of records: false, the record untouched, when there is no such one.
    bool GetViewItem(int position, StationRecord& record) const;
    bool GetByNumber(DWORD number, StationRecord& record) const;

    // The channel use of station `number` as its latest observation gave it; all zero
    // when none was given or there is no such station.
    korvyn::ChannelUse GetChannelUse(DWORD number) const;

    // The signal of station `number` in the last `scans` scans (at most kHistoryScans),
    // oldest first, korvyn::kNotHeard where it was not heard.
    void GetHistory(DWORD number, int scans, std::vector<LONG>& out) const {
        history_.Recent(number, scans, out);
    }
    std::size_t HistoryRingsInUse() const { return history_.RingsInUse(); }

    // Deletes every station; numbering starts again at 0.
    void Clear();

    // While held (the meter sounds each scan its own way), new stations come in silently.
    void HoldNewStationSound(bool hold) { newStationSoundHeld_ = hold; }

private:
    bool Visible(const StationRecord& r) const {
        return !(viewHidesSecured_ && r.privacy != 0) && !(viewHidesPeers_ && r.mode != 1);
    }
    void Touch(DWORD number);
    void KeepUse(DWORD number, const korvyn::ChannelUse& use);
    StationRecord* Add(const ScanObservation& o, double now);
    double Now();

    const CSettings& settings_;
    std::mutex lock_;

    // The number index: the record of number n is records_[n]; a deque keeps every record
    // where it is while the table grows.
    std::deque<StationRecord> records_;
    std::unordered_map<std::uint64_t, DWORD> byMac_; // the MAC index
    std::deque<korvyn::ChannelUse> uses_;            // by number, as far as known
    korvyn::SignalHistory history_;

    std::vector<DWORD> active_;   // stations marked active by the latest merge
    std::vector<DWORD> touched_;  // stations changed since the view was built
    std::vector<BYTE> isTouched_; // by number

    // The view: active visible stations in walk order, then the inactive visible ones,
    // held in walk order by inactiveView_.
    std::vector<const StationRecord*> activeView_;
    korvyn::WalkOrderIndex inactiveView_;
    bool viewBuilt_ = false;
    bool viewHidesSecured_ = false;
    bool viewHidesPeers_ = false;

    bool newStationSoundHeld_ = false;

    // The last local time read, and its date: conversions only when the second changes.
    SYSTEMTIME lastTime_{};
    double lastDate_ = 0;
};
