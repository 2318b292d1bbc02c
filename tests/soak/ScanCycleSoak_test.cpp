// The scan cycle for KORVYN_SOAK_TICKS ticks (10,000 unless set) on the churning adapter: the
// table agrees with a plain reference, every new visible station is greeted once, and memory
// grows only while stations arrive (the first half).
#include "core/StationTable.h"
#include "platform/devices/ChurnDriver.h"
#include "platform/devices/DeviceIo.h"
#include "platform/sound/PlaySound.h"
#include "platform/system/SystemTime.h"
#include "settings/CSettings.h"
#include "support/StationModel.h"
#include "wifi/DAvirIzev.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <malloc.h>

#if defined(__SANITIZE_ADDRESS__)
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#endif

namespace {

using korvyn::platform::ChurnDriver;
using korvyn::test::StationModel;

std::size_t HeapInUse() {
#if defined(__SANITIZE_ADDRESS__)
    return __sanitizer_get_current_allocated_bytes();
#else
    return mallinfo2().uordblks;
#endif
}

class CountingPlayer : public korvyn::platform::SoundPlayer {
public:
    std::size_t plays = 0;
    BOOL Play(LPCWSTR, HMODULE, DWORD) override { return ++plays, TRUE; }
};

// One second later per tick, across days and months from 2026-12-06.
SYSTEMTIME Clock(std::uint64_t tick) {
    SYSTEMTIME t{};
    VariantTimeToSystemTime(46362.0 + static_cast<double>(tick) / 86400.0, &t);
    return t;
}
double DateOf(std::uint64_t tick) {
    const SYSTEMTIME t = Clock(tick);
    double date = 0;
    SystemTimeToVariantTime(&t, &date);
    return date;
}

TEST(ScanCycleSoak, StationsKeepComingAndGoing) {
    const char* text = std::getenv("KORVYN_SOAK_TICKS");
    const std::uint64_t ticks = text && *text ? std::strtoull(text, nullptr, 10) : 10000;
    auto driver = std::make_shared<ChurnDriver>(ticks / 2);
    korvyn::platform::SetWifiDriver(driver);
    CountingPlayer player;
    korvyn::platform::SetSoundPlayer(&player);
    std::uint64_t tick = 0;
    korvyn::platform::SetLocalTimeSource([&] { return Clock(tick); });

    CSettings settings;
    settings.SetValue(CSettings::kSound, 0); // greet every new visible station
    StationTable table(settings);
    StationModel model;
    DAvirIzev adapter;

    const std::size_t heapAtStart = HeapInUse();
    std::size_t heapAtPlateau = 0;
    const std::uint64_t checkEvery = std::max<std::uint64_t>(1, ticks / 100);
    std::size_t sounds = 0;
    StationModel::Filter filter{false, false, false};
    ScanObservation observations[128];
    for (tick = 0; tick < ticks; ++tick) {
        if (tick % 2500 == 1250) {
            filter.hideSecured = !filter.hideSecured;
            filter.hidePeers = tick % 5000 == 1250;
            settings.SetValue(CSettings::kWep, filter.hideSecured);
            settings.SetValue(CSettings::kPeer, filter.hidePeers);
        }
        if (tick == ticks / 2) { // a kilobyte a station, and a megabyte to spare
            EXPECT_LE(HeapInUse(), heapAtStart + model.Size() * 1024 + (1 << 20));
        } else if (tick == ticks / 2 + ChurnDriver::kCycle) {
            heapAtPlateau = HeapInUse(); // every station has arrived and been away by now
        }

        DWORD count = 0;
        ASSERT_TRUE(adapter.GetBSSIDs(u"wlan0", observations, sizeof observations, count));
        if (count > 0) {
            table.Merge(observations, count);
            sounds += model.Merge(observations, count, DateOf(tick), filter);
        }
        ASSERT_TRUE(adapter.RefreshBSSIDs(u"wlan0"));
        DWORD total = 0, active = 0;
        table.RebuildView(total, active);
        if (tick % checkEvery == 0 || tick + 1 == ticks) {
            ASSERT_EQ(model.Check(table, total, active, filter), "") << "tick " << tick;
            ASSERT_EQ(player.plays, sounds) << "tick " << tick;
        }
    }
    EXPECT_EQ(model.Size(), driver->ArrivedBy(ticks - 1));
    EXPECT_LE(HeapInUse(), heapAtPlateau + 16 * 1024) << "memory grew while the table did not";

    korvyn::platform::SetLocalTimeSource({});
    korvyn::platform::SetSoundPlayer(nullptr);
    korvyn::platform::SetWifiDriver(nullptr);
}

} // namespace
