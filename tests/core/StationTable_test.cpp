#include "core/StationTable.h"

#include "platform/sound/PlaySound.h"
#include "platform/system/SystemTime.h"
#include "settings/CSettings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <tuple>

#include "support/Observations.h"
#include "support/StationModel.h"

namespace {

using korvyn::test::Obs;
using korvyn::test::StationModel;

constexpr int kHideSecured = 2, kHidePeers = 3, kMute = 4;

struct RecordingPlayer : korvyn::platform::SoundPlayer {
    std::vector<std::tuple<LPCWSTR, HMODULE, DWORD>> requests;
    BOOL Play(LPCWSTR name, HMODULE module, DWORD flags) override {
        requests.emplace_back(name, module, flags);
        return TRUE;
    }
};

class StationTableTest : public ::testing::Test {
protected:
    void SetUp() override {
        Set({false, false, false});
        korvyn::platform::SetSoundPlayer(&player);
        korvyn::platform::SetLocalTimeSource([this] { return now; });
    }
    void TearDown() override {
        korvyn::platform::SetSoundPlayer(nullptr);
        korvyn::platform::SetLocalTimeSource({});
    }

    void Set(const StationModel::Filter& f) {
        settings.SetValue(kHideSecured, f.hideSecured);
        settings.SetValue(kHidePeers, f.hidePeers);
        settings.SetValue(kMute, f.mute);
    }
    void Merge(std::vector<ScanObservation> scan) {
        table.Merge(scan.data(), static_cast<DWORD>(scan.size()));
    }
    double Date(SYSTEMTIME t) {
        t.wMilliseconds = 0;
        double d = 0;
        SystemTimeToVariantTime(&t, &d);
        return d;
    }

    CSettings settings;
    StationTable table{settings};
    RecordingPlayer player;
    SYSTEMTIME now{2026, 3, 0, 14, 9, 30, 0, 250};
};

// Each walk group runs from its highest number down: stations 272 to 287 share the first
// group with 0 to 15 (the model sorts with the same rule). Until the next rebuild the view
// keeps its order while the records move on.
TEST_F(StationTableTest, ActiveStationsFirstEachInWalkOrder) {
    std::vector<ScanObservation> scan;
    for (DWORD i = 0; i < 300; ++i)
        scan.push_back(Obs(i, -50));
    Merge(scan);
    ASSERT_EQ(player.requests.size(), 300u);
    EXPECT_EQ(player.requests[0], std::make_tuple(MAKEINTRESOURCE(157), GetModuleHandle(nullptr),
                                                  DWORD{SND_RESOURCE | SND_ASYNC}));
    DWORD total = 0, active = 0;
    table.RebuildView(total, active);
    StationRecord r{};
    for (const auto& [at, number] : {std::pair{0, 287}, {15, 272}, {16, 15}, {31, 0}, {32, 299}})
        EXPECT_TRUE(table.GetViewItem(at, r) && r.number == DWORD(number)) << at;
    Merge({Obs(4, -70), Obs(1, -70)});
    EXPECT_TRUE(table.GetViewItem(31, r));
    EXPECT_EQ(r.number, 0u);
    EXPECT_EQ(r.active, 0);
    EXPECT_TRUE(table.GetViewItem(30, r)); // station 1
    EXPECT_EQ(r.rssi, -70);
    table.Clear();
    EXPECT_FALSE(table.GetViewItem(0, r)) << "the view is emptied too";
}

// The table against the plain model: every record, the view and the greetings after each
// of a seeded mix of scans (stations coming, going and changing, names emptied, the same
// station twice in one scan, every kind of security, empty scans), hide and mute settings,
// one or two merges between rebuilds, time passing, and a Clear half way.
TEST_F(StationTableTest, MatchesTheModelThroughRandomScans) {
    const DWORD kinds[] = {0, 0, 1, 5, 7, 0x13, 0x16, 0xFFFFFFFF};
    const char16_t* names[] = {u"net", u"", u"Caf\u00e9", u"ABCDEFGHIJKLMNOPQRSTUVWXYZ012345"};
    StationModel model;
    StationModel::Filter filter{false, false, false};
    std::mt19937 random(4);
    for (int round = 0; round < 90; ++round) {
        if (round % 4 == 3) {
            filter = {random() % 2 == 0, random() % 3 == 0, random() % 4 == 0};
            Set(filter);
        }
        now.wMinute = static_cast<WORD>(30 + round % 2); // a new minute, the same second
        now.wSecond = static_cast<WORD>(round / 3);
        std::vector<ScanObservation> scan;
        for (DWORD i = 0; i < 330 && round % 10 != 9; ++i)
            if (random() % 4 == 0)
                scan.push_back(Obs(i, -static_cast<LONG>(random() % 90), names[random() % 4],
                                   1 + random() % 13, random() % 3, kinds[random() % 8]));
        if (!scan.empty()) { // the same station again: the later sighting wins
            scan.push_back(scan.front());
            scan.back().rssi = -20;
        }
        const std::size_t greeted = player.requests.size();
        Merge(scan);
        EXPECT_EQ(player.requests.size() - greeted,
                  model.Merge(scan.data(), static_cast<DWORD>(scan.size()), Date(now), filter));
        if (round % 2) {
            DWORD total = 0, active = 0;
            table.RebuildView(total, active);
            ASSERT_EQ(model.Check(table, total, active, filter), "") << "round " << round;
        }
        if (round == 45) {
            table.Clear();
            model.Clear();
        }
    }
}

TEST_F(StationTableTest, ChannelUseIsKeptBesideEachRecord) {
    const ScanObservation scan[] = {Obs(1, -50), Obs(2, -50)};
    const korvyn::ChannelUse uses[] = {{5180000, 80, 5210000}, {6135000, 320, 6105000}};
    table.Merge(scan, 2, uses);
    EXPECT_EQ(table.GetChannelUse(1).centreKhz, 6105000u);
    EXPECT_EQ(table.GetChannelUse(0).widthMhz, 80u);
    const korvyn::ChannelUse moved[] = {{2412000, 20, 2412000}};
    table.Merge(scan + 1, 1, moved);
    EXPECT_EQ(table.GetChannelUse(1).frequencyKhz, 2412000u) << "the latest sighting's";
    EXPECT_EQ(table.GetChannelUse(0).frequencyKhz, 5180000u) << "an absent station keeps its";
    EXPECT_EQ(table.GetChannelUse(2).widthMhz, 0u) << "no such station";
    table.Clear();
    Merge({Obs(3, -50)});
    EXPECT_EQ(table.GetChannelUse(0).frequencyKhz, 0u) << "none given after Clear";
}

} // namespace

// The signal history against a plain record of every scan: stations heard in some scans
// and not others, empty scans, a long absence that gives the ring back, the ring wrapping
// many times; and what an older or larger request sees.
TEST_F(StationTableTest, SignalHistoryHoldsTheLastScansWithGaps) {
    using korvyn::kHistoryScans;
    using korvyn::kNotHeard;
    constexpr DWORD kStations = 5;
    std::vector<std::vector<LONG>> heard(kStations); // per station, one entry per scan
    std::vector<LONG> got;
    for (int scan = 1; scan <= 3 * kHistoryScans; ++scan) {
        std::vector<ScanObservation> obs;
        for (DWORD k = 0; k < kStations; ++k) {
            const bool away = k == 4 && scan > 100 && scan < 100 + kHistoryScans + 30;
            const bool there = scan == 1 || (!away && (scan * 7 + k * 3) % 5 != 0);
            const LONG rssi = -(30 + (scan + static_cast<LONG>(k)) % 60);
            if (there) {
                obs.push_back(Obs(k, rssi - 5)); // a second sighting in the scan wins
                obs.push_back(Obs(k, rssi));
            }
            heard[k].push_back(there && scan % 37 ? rssi : kNotHeard);
        }
        if (scan % 37)
            Merge(obs);
        else
            table.SkipScan();
        for (DWORD k = 0; k < kStations; ++k) {
            const int n = std::min<int>(scan, kHistoryScans);
            table.GetHistory(k, n, got);
            ASSERT_EQ(got, std::vector<LONG>(heard[k].end() - n, heard[k].end()))
                << "station " << k << " at scan " << scan;
        }
        if (scan == 100 + kHistoryScans + 10) {
            EXPECT_EQ(table.HistoryRingsInUse(), kStations - 1) << "an absence gives it back";
        }
    }
    table.GetHistory(0, 10 * kHistoryScans, got);
    EXPECT_EQ(got.size(), std::size_t(kHistoryScans));
    table.GetHistory(kStations, 4, got);
    EXPECT_EQ(got, std::vector<LONG>(4, kNotHeard)) << "no such station";
    Merge({Obs(9, -400)});
    table.GetHistory(kStations, 1, got);
    EXPECT_EQ(got, std::vector<LONG>{-127}) << "kept within a byte, apart from the gap mark";
    table.Clear();
    EXPECT_EQ(table.HistoryRingsInUse(), 0u);
    Merge({Obs(1, -50)});
    table.GetHistory(0, 2, got);
    EXPECT_EQ(got, (std::vector<LONG>{kNotHeard, -50})) << "before the first scan";
}

// Rings are kept only for stations heard within the window: a full table of stations
// that have gone costs none.
TEST_F(StationTableTest, SignalHistoryKeepsNoRingForStationsLongGone) {
    std::vector<ScanObservation> many;
    for (DWORD id = 0; id < 3000; ++id)
        many.push_back(Obs(id, -70));
    Merge(many);
    EXPECT_EQ(table.HistoryRingsInUse(), 3000u);
    for (int scan = 1; scan < korvyn::kHistoryScans; ++scan)
        Merge({Obs(1, -60)});
    EXPECT_EQ(table.HistoryRingsInUse(), 3000u) << "the first scan is still in view";
    table.SkipScan();
    EXPECT_EQ(table.HistoryRingsInUse(), 1u);
}
