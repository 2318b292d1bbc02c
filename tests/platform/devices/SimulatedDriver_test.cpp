#include "platform/devices/SimulatedDriver.h"

#include "platform/devices/ChurnDriver.h"
#include "platform/devices/DeviceIo.h"
#include "platform/devices/SimScenarios.h"
#include "platform/devices/WifiDriverFactory.h"
#include "platform/system/TextCodec.h"
#include "support/TempDir.h"
#include "wifi/DAvirIzev.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace {

using namespace korvyn::platform;

class Installed {
public:
    explicit Installed(std::shared_ptr<WifiDriver> driver) { SetWifiDriver(std::move(driver)); }
    ~Installed() { SetWifiDriver(nullptr); }
};

std::string Mac(const BYTE* m) {
    char text[18];
    std::snprintf(text, sizeof text, "%02x:%02x:%02x:%02x:%02x:%02x", m[0], m[1], m[2], m[3], m[4],
                  m[5]);
    return text;
}

TEST(SimulatedScenarios, DemoStationsComeGoAndDrift) {
    auto driver = std::make_shared<SimulatedDriver>(DemoScenario(), "sim:demo");
    Installed installed(driver);
    DAvirIzev adapter;
    // MAC -> when it was seen ('x' in the tick's place) and the signals it had.
    std::map<std::string, std::pair<std::string, std::set<LONG>>> seen;
    for (std::size_t tick = 0; tick < 60; ++tick) {
        ScanObservation obs[128];
        DWORD count = 0;
        ASSERT_TRUE(adapter.GetBSSIDs(u"wlan0", obs, sizeof obs, count));
        for (DWORD i = 0; i < count; ++i) {
            auto& [when, signals] = seen[Mac(obs[i].mac)];
            when.resize(60, '.');
            when[tick] = 'x';
            signals.insert(obs[i].rssi);
            EXPECT_TRUE(obs[i].rssi < -30 && obs[i].rssi > -100) << obs[i].rssi;
        }
        EXPECT_TRUE(adapter.RefreshBSSIDs(u"wlan0"));
    }
    EXPECT_TRUE(seen.size() >= 20 && seen.size() <= 30) << seen.size();
    int cameBack = 0, drifted = 0, appearedLate = 0;
    for (const auto& [mac, station] : seen) {
        const auto& [when, signals] = station;
        appearedLate += when[0] == '.';
        cameBack += when.find(".x", when.find('x')) != std::string::npos;
        drifted += signals.size() > 2;
    }
    EXPECT_GE(appearedLate, 5);
    EXPECT_GE(cameBack, 5);
    EXPECT_GE(drifted, 20);
}

TEST(SimulatedScenarios, ScansAdvanceOnRequestAndLoop) {
    ScanScript script;
    script.adapters = {{u"wlan0", true}, {u"wlan1", true}};
    for (BYTE id = 1; id <= 3; ++id) {
        const BYTE mac[6] = {0, 0, 0, 0, 0, id};
        script.scans.push_back({MakeBssid(mac, static_cast<DWORD>(-50), 6, 1, 0, "n")});
    }
    SimulatedDriver driver(script, "sim:test");
    std::vector<NDIS_WLAN_BSSID> entries;
    auto current = [&] {
        EXPECT_EQ(driver.ReadNetworkList(u"wlan0", entries), ERROR_SUCCESS);
        return entries.at(0).MacAddress[5];
    };
    EXPECT_EQ(current(), 1);
    EXPECT_EQ(current(), 1) << "reading does not move on";
    std::vector<int> order;
    for (int i = 0; i < 4; ++i) {
        driver.RequestScan(i % 2 ? u"wlan1" : u"wlan0"); // both adapters share the scans
        order.push_back(current());
    }
    EXPECT_EQ(order, (std::vector<int>{2, 3, 1, 2}));
}

TEST(SimulatedScenarios, ChurnKeepsAddingAndDroppingStations) {
    ChurnDriver driver;
    std::vector<NDIS_WLAN_BSSID> entries;
    std::map<std::string, std::vector<int>> seenIn; // MAC -> scans that held it
    const int scans = 6 * static_cast<int>(ChurnDriver::kCycle);
    for (int n = 0; n < scans; ++n) {
        ASSERT_EQ(driver.ReadNetworkList(u"wlan0", entries), ERROR_SUCCESS);
        EXPECT_LE(entries.size(), ChurnDriver::kWindow);
        for (const NDIS_WLAN_BSSID& e : entries)
            seenIn[Mac(e.MacAddress)].push_back(n);
        ASSERT_EQ(driver.RequestScan(u"wlan0"), ERROR_SUCCESS);
    }
    // Ten new stations in each cycle, all in its first ten scans.
    EXPECT_EQ(seenIn.size(), 6 * ChurnDriver::kArrivals);
    int awayAndBack = 0, leftForGood = 0, late = 0;
    for (const auto& [mac, in] : seenIn) {
        late += in.front() % ChurnDriver::kCycle >= ChurnDriver::kArrivals + 8;
        for (std::size_t k = 1; k < in.size(); ++k)
            awayAndBack += in[k] != in[k - 1] + 1;
        leftForGood += in.back() < scans - 1;
    }
    EXPECT_EQ(late, 0);
    EXPECT_GT(awayAndBack, 10);
    EXPECT_GE(leftForGood, 20) << "beyond the latest 40 arrivals stations are gone";
}

TEST(DriverChoice, NamesOnTheCommandLine) {
    std::string error;
    EXPECT_EQ(MakeWifiDriver("sim", {}, error)->Name(), "sim:demo");
    for (const char* name : {"sim:empty", "sim:none", "sim:churn", "nl80211"})
        EXPECT_EQ(MakeWifiDriver(name, {}, error)->Name(), name);
    EXPECT_EQ(MakeWifiDriver("sim:churn:150", {}, error)->Name(), "sim:churn:150"); // tests/soak
    EXPECT_FALSE(MakeWifiDriver("sim:churn:x1", {}, error));
    EXPECT_EQ(error, "sim:churn:N takes a number of scans, not \"x1\"");

    EXPECT_FALSE(MakeWifiDriver("sim:", {}, error)); // more: tests/app
    EXPECT_NE(error.find("unknown driver"), std::string::npos) << error;

    korvyn::test::TempDir dir;
    korvyn::test::WriteFileBytes(dir / "bad.scan", "korvyn-scan 1\nscan\nbss x\nend\n");
    EXPECT_FALSE(MakeWifiDriver("sim:" + (dir / "bad.scan").string(), {}, error));
    EXPECT_EQ(error, (dir / "bad.scan").string() + ": line 3: bad MAC address (expected six hex "
                                                   "pairs such as 00:0a:1b:2c:3d:4e)");
}

} // namespace
