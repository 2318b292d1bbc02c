#include "core/StationTable.h"

#include "platform/sound/PlaySound.h"
#include "platform/system/SystemTime.h"
#include "settings/CSettings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>

#include "support/Observations.h"

namespace {

using korvyn::test::Obs;

constexpr int kHideSecured = 2, kHidePeers = 3, kMute = 4;

std::array<BYTE, 6> Mac(DWORD id) {
    std::array<BYTE, 6> mac;
    std::memcpy(mac.data(), Obs(id, 0).mac, 6);
    return mac;
}

// Records each play request with the number of stations the table held at that moment.
class RecordingPlayer : public korvyn::platform::SoundPlayer {
public:
    struct Request {
        LPCWSTR name;
        HMODULE module;
        DWORD flags;
        DWORD stations;
    };
    const StationTable* table = nullptr;
    std::vector<Request> requests;

    BOOL Play(LPCWSTR name, HMODULE module, DWORD flags) override {
        StationRecord r;
        DWORD stations = 0;
        while (table && table->GetByNumber(stations, r))
            ++stations;
        requests.push_back({name, module, flags, stations});
        return TRUE;
    }
    std::vector<DWORD> StationsAtEachRequest() const {
        std::vector<DWORD> out;
        for (const Request& r : requests)
            out.push_back(r.stations);
        return out;
    }
};

class StationTableTest : public ::testing::Test {
protected:
    void SetUp() override {
        settings.SetValue(kHideSecured, 0);
        settings.SetValue(kHidePeers, 0);
        settings.SetValue(kMute, 0);
        player.table = &table;
        korvyn::platform::SetSoundPlayer(&player);
        korvyn::platform::SetLocalTimeSource([this] { return now; });
    }
    void TearDown() override {
        korvyn::platform::SetSoundPlayer(nullptr);
        korvyn::platform::SetLocalTimeSource({});
    }

    void Merge(std::vector<ScanObservation> scan) {
        table.Merge(scan.data(), static_cast<DWORD>(scan.size()));
    }
    StationRecord Station(DWORD number) {
        StationRecord r{};
        EXPECT_TRUE(table.GetByNumber(number, r)) << number;
        return r;
    }
    // The view's station numbers after a rebuild.
    std::vector<DWORD> View(DWORD* activeCount = nullptr) {
        DWORD total = 0, active = 0;
        table.RebuildView(total, active);
        if (activeCount)
            *activeCount = active;
        return ViewAsIs(total);
    }
    std::vector<DWORD> ViewAsIs(DWORD size) {
        std::vector<DWORD> numbers;
        StationRecord r{};
        for (DWORD i = 0; i < size; ++i) {
            EXPECT_TRUE(table.GetViewItem(static_cast<int>(i), r)) << i;
            numbers.push_back(r.number);
        }
        EXPECT_FALSE(table.GetViewItem(static_cast<int>(size), r));
        return numbers;
    }
    double Date(SYSTEMTIME t) {
        t.wMilliseconds = 0;
        double d = 0;
        SystemTimeToVariantTime(&t, &d);
        return d;
    }
    void Tick() { now.wSecond = static_cast<WORD>(now.wSecond + 1); }

    CSettings settings;
    StationTable table{settings};
    RecordingPlayer player;
    SYSTEMTIME now{2026, 3, 0, 14, 9, 30, 0, 250};
};

TEST_F(StationTableTest, FirstSighting) {
    Merge({Obs(1, -60, u"Café", 11, 1, 1)});
    const StationRecord r = Station(0);
    EXPECT_EQ(std::memcmp(r.mac, Mac(1).data(), 6), 0);
    EXPECT_EQ(std::u16string(r.ssid), u"Café");
    EXPECT_EQ(r.number, 0u);
    EXPECT_EQ(r.active, 1);
    EXPECT_EQ(r.rssi, -60);
    EXPECT_EQ(r.bestRssi, -60);
    EXPECT_EQ(r.worstRssi, -60);
    EXPECT_EQ(r.channel, 11u);
    EXPECT_EQ(r.privacy, 1u);
    EXPECT_EQ(r.mode, 1u);
    EXPECT_EQ(r.firstSeen, Date(now));
    EXPECT_EQ(r.lastSeen, r.firstSeen);
    StationRecord untouched{};
    untouched.number = 77;
    EXPECT_FALSE(table.GetByNumber(1, untouched));
    EXPECT_EQ(untouched.number, 77u);
}

TEST_F(StationTableTest, StatisticsOverMerges) {
    const double first = Date(now);
    for (LONG rssi : {-60, -50, -70}) {
        Merge({Obs(1, rssi)});
        Tick();
    }
    const StationRecord r = Station(0);
    EXPECT_EQ(r.rssi, -70);
    EXPECT_EQ(r.bestRssi, -50);
    EXPECT_EQ(r.worstRssi, -70);
    EXPECT_EQ(r.firstSeen, first);
    now.wSecond = static_cast<WORD>(now.wSecond - 1);
    EXPECT_EQ(r.lastSeen, Date(now));
    EXPECT_FALSE(table.GetByNumber(1, const_cast<StationRecord&>(r)));
}

TEST_F(StationTableTest, AbsentStationKeepsItsValuesAndTurnsInactive) {
    Merge({Obs(1, -55, u"Ritz", 3), Obs(2, -80)});
    const StationRecord before = Station(0);
    Tick();
    Merge({Obs(2, -81)});
    StationRecord after = Station(0);
    EXPECT_EQ(after.active, 0);
    after.active = 1;
    EXPECT_EQ(std::memcmp(&after, &before, sizeof after), 0) << "only the mark changes";
    Tick();
    Merge({Obs(1, -65, u"", 3)});
    after = Station(0);
    EXPECT_EQ(after.active, 1);
    EXPECT_EQ(after.lastSeen, Date(now));
    EXPECT_EQ(std::u16string(after.ssid), u"") << "an empty name replaces the old one";
    EXPECT_EQ(after.bestRssi, -55);
    EXPECT_EQ(Station(1).active, 0);

    table.Merge(nullptr, 0); // an empty merge marks every station inactive
    EXPECT_EQ(Station(0).active, 0);
}

TEST_F(StationTableTest, SameMacTwiceInOneScan) {
    Merge({Obs(1, -60), Obs(1, -40, u"second")});
    const StationRecord r = Station(0);
    EXPECT_EQ(r.rssi, -40);
    EXPECT_EQ(r.bestRssi, -40);
    EXPECT_EQ(r.worstRssi, -60);
    EXPECT_EQ(std::u16string(r.ssid), u"second");
    EXPECT_FALSE(table.GetByNumber(1, const_cast<StationRecord&>(r)));
    EXPECT_EQ(player.requests.size(), 1u);
    DWORD active = 0;
    EXPECT_EQ(View(&active), (std::vector<DWORD>{0}));
    EXPECT_EQ(active, 1u);
}

TEST_F(StationTableTest, MacsWithEqualFoldsAreTwoStations) {
    auto fold = [](const std::array<BYTE, 6>& m) {
        DWORD h = 0;
        for (BYTE b : m)
            h = h * 33 + b;
        return h;
    };
    const DWORD a = 0x100, b = 0x21;
    ASSERT_EQ(fold(Mac(a)), fold(Mac(b)));
    Merge({Obs(a, -50), Obs(b, -60)});
    Merge({Obs(b, -61)});
    EXPECT_EQ(Station(0).rssi, -50);
    EXPECT_EQ(Station(1).rssi, -61);
}

TEST_F(StationTableTest, FiltersDecideSoundAndViewNotMembership) {
    settings.SetValue(kHideSecured, 1);
    Merge({Obs(1, -50, u"net", 6, 1, 1), Obs(2, -50)});
    EXPECT_EQ(Station(0).number, 0u) << "a hidden station is still counted";
    EXPECT_EQ(player.StationsAtEachRequest(), (std::vector<DWORD>{2}));
    EXPECT_EQ(View(), (std::vector<DWORD>{1}));

    settings.SetValue(kHideSecured, 0);
    settings.SetValue(kHidePeers, 1);
    Merge({Obs(3, -50, u"net", 6, 2), Obs(4, -50, u"net", 6, 0), Obs(5, -50, u"net", 6, 1, 1)});
    EXPECT_EQ(player.StationsAtEachRequest(), (std::vector<DWORD>{2, 5}));
    DWORD active = 0;
    EXPECT_EQ(View(&active), (std::vector<DWORD>{4, 1, 0})) << "peers and mode 2 hidden";
    EXPECT_EQ(active, 1u);

    settings.SetValue(kHidePeers, 0);
    settings.SetValue(kMute, 1);
    Merge({Obs(6, -50), Obs(7, -50, u"net", 6, 0, 1)});
    EXPECT_EQ(player.requests.size(), 2u) << "muted";
    EXPECT_EQ(View(&active), (std::vector<DWORD>{6, 5, 4, 3, 2, 1, 0}));
    EXPECT_EQ(active, 2u);
}

TEST_F(StationTableTest, FiveNewStationsPlayFiveTimesInArrayOrder) {
    Merge({Obs(1, -50), Obs(2, -50), Obs(3, -50), Obs(4, -50), Obs(5, -50), Obs(1, -40)});
    EXPECT_EQ(player.StationsAtEachRequest(), (std::vector<DWORD>{1, 2, 3, 4, 5}));
    for (const auto& request : player.requests) {
        EXPECT_EQ(request.name, MAKEINTRESOURCE(157));
        EXPECT_EQ(request.module, GetModuleHandle(nullptr));
        EXPECT_EQ(request.flags, SND_RESOURCE | SND_ASYNC);
    }
    Merge({Obs(1, -50), Obs(6, -50)});
    EXPECT_EQ(player.requests.size(), 6u) << "a known station is not greeted again";
}

TEST_F(StationTableTest, ActiveStationsComeFirst) {
    Merge({Obs(0, -50), Obs(1, -50), Obs(2, -50), Obs(3, -50), Obs(4, -50)});
    Merge({Obs(3, -50), Obs(0, -50), Obs(1, -50)});
    DWORD total = 0, active = 0;
    table.RebuildView(total, active);
    EXPECT_EQ(total, 5u);
    EXPECT_EQ(active, 3u);
    EXPECT_EQ(ViewAsIs(total), (std::vector<DWORD>{3, 1, 0, 4, 2}));

    StationRecord r{};
    r.number = 99;
    EXPECT_FALSE(table.GetViewItem(-1, r));
    EXPECT_FALSE(table.GetViewItem(5, r));
    EXPECT_EQ(r.number, 99u);

    // Until the next rebuild the view keeps its order while the records move on.
    Merge({Obs(4, -70), Obs(9, -70)});
    EXPECT_TRUE(table.GetViewItem(0, r));
    EXPECT_EQ(r.number, 3u);
    EXPECT_EQ(r.active, 0);
    EXPECT_TRUE(table.GetViewItem(3, r));
    EXPECT_EQ(r.rssi, -70);
    EXPECT_FALSE(table.GetViewItem(5, r));
    EXPECT_EQ(View(), (std::vector<DWORD>{5, 4, 3, 2, 1, 0}));
}

// The view against a model computed from the records: visible ones, active first, each
// group in walk order. Merges, hide settings and rebuilds in a seeded random mix keep the
// incremental view honest.
TEST_F(StationTableTest, WalkOrderWithThreeHundredStations) {
    std::vector<ScanObservation> scan;
    for (DWORD i = 0; i < 300; ++i)
        scan.push_back(Obs(i, -50, u"net", 6, i % 5 == 0 ? 0 : 1, i % 7 == 0));
    for (std::size_t at = 0; at < scan.size(); at += 100)
        Merge(std::vector<ScanObservation>(scan.begin() + static_cast<long>(at),
                                           scan.begin() + static_cast<long>(at) + 100));
    Merge(scan); // all active
    const std::vector<DWORD> view = View();
    ASSERT_EQ(view.size(), 300u);
    std::vector<DWORD> expected;
    for (DWORD i = 272; i < 288; ++i)
        expected.insert(expected.begin(), i);
    for (DWORD i = 0; i < 16; ++i)
        expected.insert(expected.begin() + 16, i);
    EXPECT_EQ(std::vector<DWORD>(view.begin(), view.begin() + 32), expected)
        << "stations 272 to 287 come before 15 to 0";
    EXPECT_EQ(std::vector<DWORD>(view.begin() + 32, view.begin() + 35),
              (std::vector<DWORD>{299, 298, 297}));

    std::mt19937 random(4);
    for (int round = 0; round < 40; ++round) {
        std::vector<ScanObservation> next;
        for (DWORD i = 0; i < 330; ++i) // now and then a new station, and a changed one
            if (random() % 4 == 0)
                next.push_back(Obs(i, -50, u"net", 6, i % 5 == 0 ? 0 : 1, (i + round) % 7 == 0));
        Merge(next);
        if (round % 3 == 0)
            settings.SetValue(kHideSecured, random() % 2);
        if (round % 4 == 0)
            settings.SetValue(kHidePeers, random() % 2);
        if (round % 2 == 0)
            continue; // merged twice before the view is rebuilt

        DWORD hideSecured = 0, hidePeers = 0, active = 0;
        settings.GetValue(kHideSecured, hideSecured);
        settings.GetValue(kHidePeers, hidePeers);
        std::vector<DWORD> model[2];
        StationRecord r{};
        for (DWORD n = 0; table.GetByNumber(n, r); ++n)
            if (!(hideSecured && r.privacy) && !(hidePeers && r.mode != 1))
                model[r.active ? 0 : 1].push_back(n);
        auto walk = [](DWORD a, DWORD b) {
            return (a >> 4) % 17 != (b >> 4) % 17 ? (a >> 4) % 17 < (b >> 4) % 17 : a > b;
        };
        std::sort(model[0].begin(), model[0].end(), walk);
        std::sort(model[1].begin(), model[1].end(), walk);
        const std::size_t activeModel = model[0].size();
        model[0].insert(model[0].end(), model[1].begin(), model[1].end());
        ASSERT_EQ(View(&active), model[0]) << "round " << round;
        EXPECT_EQ(active, activeModel);
    }
}

// The kinds of security are non-zero Privacy values: each one is secured to the filter
// and the sound, OWE included.
TEST_F(StationTableTest, EveryKindOfSecurityIsSecured) {
    settings.SetValue(kHideSecured, 1);
    const DWORD kinds[] = {1, 2, 3, 4, 5, 6, 7, 0x13, 0x14, 0x15, 0x16, 0xFFFFFFFF};
    std::vector<ScanObservation> scan = {Obs(0, -50)};
    for (BYTE i = 0; i < std::size(kinds); ++i)
        scan.push_back(Obs(static_cast<BYTE>(i + 1), -50, u"net", 6, 1, kinds[i]));
    Merge(scan);
    EXPECT_EQ(player.StationsAtEachRequest(), (std::vector<DWORD>{1})) << "only the open one";
    EXPECT_EQ(View(), (std::vector<DWORD>{0}));
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

TEST_F(StationTableTest, ClearStartsNumberingAgain) {
    Merge({Obs(1, -50), Obs(2, -50)});
    EXPECT_EQ(View().size(), 2u);
    table.Clear();
    StationRecord r{};
    EXPECT_FALSE(table.GetViewItem(0, r)) << "the view is emptied too";
    EXPECT_FALSE(table.GetByNumber(0, r));
    Merge({Obs(2, -40)});
    EXPECT_EQ(Station(0).rssi, -40);
    EXPECT_EQ(Station(0).number, 0u);
    EXPECT_EQ(player.requests.size(), 3u) << "a station is new again after Clear";
    EXPECT_EQ(View(), (std::vector<DWORD>{0}));
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
            table.GetHistory(k, kHistoryScans, got);
            ASSERT_EQ(got.size(), std::size_t(kHistoryScans));
            EXPECT_TRUE(
                std::all_of(got.begin(), got.end() - n, [](LONG s) { return s == kNotHeard; }))
                << "before the first scan, at scan " << scan;
            ASSERT_TRUE(std::equal(got.end() - n, got.end(), heard[k].end() - n))
                << "station " << k << " at scan " << scan;
        }
        if (scan == 100 + kHistoryScans + 10) {
            EXPECT_EQ(table.HistoryRingsInUse(), kStations - 1) << "an absence gives it back";
        }
    }
    table.GetHistory(0, 3, got);
    EXPECT_EQ(got, std::vector<LONG>(heard[0].end() - 3, heard[0].end()));
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
    EXPECT_EQ(got, (std::vector<LONG>{kNotHeard, -50}));
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
