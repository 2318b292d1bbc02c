// The scan cycle against a driver that fails: on open, on each kind of request, and with
// a network list that shrinks between its item count and its entries. Whatever fails,
// the station table must stay exactly what the successful reads made it.
#include "core/StationTable.h"
#include "platform/devices/DeviceIo.h"
#include "platform/devices/SimScenarios.h"
#include "platform/devices/SimulatedDriver.h"
#include "platform/system/SystemTime.h"
#include "settings/CSettings.h"
#include "support/StationModel.h"
#include "wifi/DAvirIzev.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>

namespace {

using namespace korvyn::platform;
using korvyn::test::StationModel;

// The demo scenario with faults by tick: a failing list read or scan request, or a list
// whose entries fall short of its item count.
class FaultyDriver : public SimulatedDriver {
public:
    enum class Shrink { Cut, Zeroed }; // entries missing, or left as zero bytes
    std::map<int, DWORD> listErrors, scanErrors;
    std::map<int, Shrink> shrinking;
    int reads = 0, scans = 0;
    ULONG claimed = 0; // the item count of the latest shrunk list

    FaultyDriver() : SimulatedDriver(DemoScenario(), "faulty") {}

    DWORD RequestScan(std::u16string_view adapter) override {
        const auto e = scanErrors.find(scans++);
        return e != scanErrors.end() ? e->second : SimulatedDriver::RequestScan(adapter);
    }
    DWORD ReadNetworkListBytes(std::u16string_view adapter, BYTE* area, DWORD capacity,
                               DWORD& written) override {
        const int tick = reads++;
        if (const auto e = listErrors.find(tick); e != listErrors.end())
            return e->second;
        const DWORD error = SimulatedDriver::ReadNetworkListBytes(adapter, area, capacity, written);
        const auto s = shrinking.find(tick);
        if (error || s == shrinking.end())
            return error;
        // The list lost its second half after the count was written.
        std::memcpy(&claimed, area, sizeof claimed);
        const DWORD kept = 4 + claimed / 2 * sizeof(NDIS_WLAN_BSSID);
        if (s->second == Shrink::Cut)
            written = kept;
        else
            std::memset(area + kept, 0, written - kept);
        return ERROR_SUCCESS;
    }
};

class AdapterFaults : public ::testing::Test {
protected:
    // Every merge happens at the OLE date 0, which the reference uses too.
    void SetUp() override {
        SetLocalTimeSource([] { return SYSTEMTIME{1899, 12, 0, 30, 0, 0, 0, 0}; });
        SetWifiDriver(driver);
    }
    void TearDown() override {
        SetWifiDriver(nullptr);
        SetLocalTimeSource({});
    }

    // One tick of the scan cycle; the number of observations read, or -1 when the read
    // failed (then with GetLastError() of the read in error).
    int Tick(DAvirIzev& adapter, DWORD& error) {
        DWORD count = 0;
        const bool read = adapter.GetBSSIDs(u"wlan0", observations, sizeof observations, count);
        error = GetLastError();
        if (read && count > 0) {
            table.Merge(observations, count);
            model.Merge(observations, count, 0, filter);
        }
        adapter.RefreshBSSIDs(u"wlan0");
        DWORD total = 0, active = 0;
        table.RebuildView(total, active);
        const std::string differs = model.Check(table, total, active, filter, 1);
        EXPECT_EQ(differs, "");
        return read ? static_cast<int>(count) : -1;
    }

    std::shared_ptr<FaultyDriver> driver = std::make_shared<FaultyDriver>();
    CSettings settings;
    StationTable table{settings};
    StationModel model;
    StationModel::Filter filter{false, false, true};
    ScanObservation observations[128];
};

TEST_F(AdapterFaults, EveryRequestFailingInTurnLeavesTheTableAsTheReadsMadeIt) {
    driver->listErrors = {{2, ERROR_GEN_FAILURE}, {3, ERROR_BUSY}, {9, ERROR_ACCESS_DENIED}};
    driver->scanErrors = {{4, ERROR_BUSY}, {5, ERROR_ACCESS_DENIED}, {9, ERROR_GEN_FAILURE}};
    driver->shrinking = {{6, FaultyDriver::Shrink::Cut}, {7, FaultyDriver::Shrink::Zeroed}};
    DAvirIzev adapter;
    std::vector<int> counts;
    for (int tick = 0; tick < 12; ++tick) {
        DWORD error = 0;
        counts.push_back(Tick(adapter, error));
        if (driver->listErrors.count(tick)) {
            EXPECT_EQ(error, driver->listErrors[tick]) << "tick " << tick;
        }
        if (driver->shrinking.count(tick)) {
            EXPECT_EQ(counts.back(), static_cast<int>(driver->claimed / 2)) << "tick " << tick;
        }
    }
    EXPECT_EQ(counts[2], -1);
    EXPECT_EQ(counts[3], -1);
    EXPECT_EQ(counts[9], -1);
    EXPECT_GT(counts[6], 0);
    EXPECT_GT(model.Size(), 10u);
}

} // namespace
