// One scan tick's data path: GetBSSIDs on a full 8,192-byte list (78 entries) through the
// device layer, Merge, RebuildView and 30 rows read with GetViewItem, at tables of 100,
// 10,000 and 100,000 stations; the same ticks against the baseline table, with the ratio.
// The table's tick keeps every heard station's signal history; ScanTickWithMeter adds
// what an open meter reads each tick (two minutes of one station's history), and the
// counters give the history's rings and their memory.
#include "baseline/BaselineStationTable.h"
#include "core/StationTable.h"
#include "settings/CSettings.h"
#include "support/TickScans.h"
#include "support/Timing.h"
#include "wifi/DAvirIzev.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <map>

namespace {

using namespace korvyn::platform;
using korvyn::bench::kTickEntries;
using korvyn::bench::kTickScans;
using korvyn::bench::ThreadSeconds;
using korvyn::bench::TickDriver;
using korvyn::bench::TickMac;

constexpr int kRows = 30;

std::map<long, double>& OwnTickSeconds() {
    static std::map<long, double> seconds;
    return seconds;
}

// Fills the table with stations 0 to stations - 1, 78 new ones per merge.
template <typename Table> void Fill(Table& table, DWORD stations) {
    std::vector<ScanObservation> batch;
    for (DWORD id = 0; id < stations; ++id) {
        ScanObservation o{};
        std::memcpy(o.mac, TickMac(id).data(), 6);
        o.rssi = -70;
        o.mode = 1;
        o.ssid[0] = u'n';
        batch.push_back(o);
        if (batch.size() == kTickEntries || id + 1 == stations) {
            if constexpr (std::is_same_v<Table, BaselineStationTable>)
                table.Preload(batch.data(), static_cast<DWORD>(batch.size()));
            else
                table.Merge(batch.data(), static_cast<DWORD>(batch.size()));
            batch.clear();
        }
    }
}

template <typename Table, bool kMeter = false> void ScanTick(benchmark::State& state) {
    const auto stations = static_cast<DWORD>(state.range(0));
    CSettings settings;
    settings.SetValue(4, 1); // mute: the tick is measured, not the sound
    Table table(settings);
    Fill(table, stations);
    SetWifiDriver(std::make_shared<TickDriver>(stations));
    DAvirIzev adapter;
    ScanObservation observations[128];
    StationRecord row{};
    DWORD total = 0, active = 0;
    std::vector<LONG> history;

    const double start = ThreadSeconds();
    for (auto _ : state) {
        DWORD count = 0;
        adapter.GetBSSIDs(u"wlan0", observations, sizeof observations, count);
        table.Merge(observations, count);
        table.RebuildView(total, active);
        for (int i = 0; i < kRows; ++i)
            table.GetViewItem(static_cast<int>(total / 2) + i, row);
        benchmark::DoNotOptimize(row);
        if constexpr (kMeter) {
            table.GetHistory(row.number, 120, history);
            benchmark::DoNotOptimize(history.data());
        }
    }
    const double seconds = (ThreadSeconds() - start) / static_cast<double>(state.iterations());
    SetWifiDriver(nullptr);
    if (total != stations || active != kTickEntries) {
        state.SkipWithError("the tick did not merge what it read");
        return;
    }
    state.counters["stations"] = total;
    if constexpr (std::is_same_v<Table, StationTable>) {
        state.counters["rings"] = static_cast<double>(table.HistoryRingsInUse());
        state.counters["ringKiB"] =
            static_cast<double>(table.HistoryRingsInUse() * (korvyn::kHistoryScans + 4)) / 1024;
    }
    if constexpr (kMeter) {
        return;
    } else if constexpr (std::is_same_v<Table, StationTable>) {
        OwnTickSeconds()[state.range(0)] = seconds;
    } else if (const auto own = OwnTickSeconds().find(state.range(0));
               own != OwnTickSeconds().end()) {
        state.counters["ratio"] = korvyn::bench::Ratio(seconds, own->second); // times slower
    }
}

// Both tables must agree before their speeds are compared.
bool SameViews(DWORD stations) {
    CSettings settings;
    settings.SetValue(4, 1);
    StationTable table(settings);
    BaselineStationTable baseline(settings);
    Fill(table, stations);
    Fill(baseline, stations);
    TickDriver driver(stations);
    std::vector<NDIS_WLAN_BSSID> entries;
    for (DWORD tick = 0; tick < kTickScans + 1; ++tick) {
        driver.ReadNetworkList(u"wlan0", entries);
        std::vector<ScanObservation> scan;
        for (const auto& e : entries) {
            ScanObservation o{};
            std::memcpy(o.mac, e.MacAddress, 6);
            o.rssi = e.Rssi;
            o.privacy = e.Privacy;
            o.mode = e.InfrastructureMode;
            scan.push_back(o);
        }
        table.Merge(scan.data(), static_cast<DWORD>(scan.size()));
        baseline.Merge(scan.data(), static_cast<DWORD>(scan.size()));
        DWORD t1 = 0, a1 = 0, t2 = 0, a2 = 0;
        table.RebuildView(t1, a1);
        baseline.RebuildView(t2, a2);
        if (t1 != t2 || a1 != a2)
            return false;
        StationRecord x{}, y{};
        for (int i = 0; i < static_cast<int>(t1); ++i)
            if (!table.GetViewItem(i, x) || !baseline.GetViewItem(i, y) || x.number != y.number ||
                x.rssi != y.rssi || x.active != y.active)
                return false;
    }
    return true;
}

void CheckAgreement(benchmark::State& state) {
    bool same = false;
    for (auto _ : state)
        same = SameViews(1000);
    if (!same)
        state.SkipWithError("the table and the baseline disagree");
}

} // namespace

BENCHMARK(CheckAgreement)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(ScanTick, StationTable)
    ->Arg(100)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_TEMPLATE(ScanTick, StationTable, true)
    ->Name("ScanTickWithMeter")
    ->Arg(100)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_TEMPLATE(ScanTick, BaselineStationTable)
    ->Arg(100)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMicrosecond);
