#include "platform/devices/DeviceIo.h"

#include "platform/devices/Ndis.h"
#include "platform/devices/ScanScript.h"
#include "platform/devices/WifiDriver.h"
#include "support/FakeWifiDriver.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

using korvyn::platform::SetWifiDriver;
using korvyn::test::FakeWifiDriver;

HANDLE Open(LPCWSTR name) {
    return CreateFile(name, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

struct Query {
    alignas(NDISUIO_QUERY_OID) BYTE bytes[64] = {};
    Query(NDIS_OID oid, const WCHAR* name) {
        auto* n = const_cast<WCHAR*>(name);
        std::memcpy(bytes + offsetof(NDISUIO_QUERY_OID, Oid), &oid, 4);
        std::memcpy(bytes + offsetof(NDISUIO_QUERY_OID, ptcDeviceName), &n, sizeof n);
    }
};

class DeviceIoTest : public ::testing::Test {
protected:
    void SetUp() override { SetWifiDriver(driver); }
    void TearDown() override { SetWifiDriver(nullptr); }
    std::shared_ptr<FakeWifiDriver> driver = std::make_shared<FakeWifiDriver>();
};

// The program sends only well-formed requests: what can still fail is an adapter that has
// gone, and a request sent to the wrong device.
TEST_F(DeviceIoTest, GoneAdaptersAndTheWrongDeviceAreRefused) {
    HANDLE uio = Open(u"UIO1:");
    HANDLE nds = Open(u"NDS0:");
    Query medium(OID_GEN_PHYSICAL_MEDIUM, u"wlan0");
    DWORD n = 0;
    auto query = [&](HANDLE h) {
        return DeviceIoControl(h, IOCTL_NDISUIO_QUERY_OID_VALUE, medium.bytes, 24, medium.bytes, 24,
                               &n, nullptr);
    };
    EXPECT_FALSE(query(uio));
    EXPECT_EQ(GetLastError(), ERROR_DEV_NOT_EXIST);
    EXPECT_FALSE(query(nds));
    EXPECT_EQ(GetLastError(), ERROR_NOT_SUPPORTED);
    CloseHandle(uio);
    CloseHandle(nds);
}

TEST_F(DeviceIoTest, AdapterNamesEndWithAnEmptyNameAndAreCutWhole) {
    driver->adapters = {{u"lo", 0}, {u"eth0", 0}, {u"wlan0", 1}};
    HANDLE nds = Open(u"NDS0:");
    WCHAR names[32];
    DWORD returned = 0;
    ASSERT_TRUE(DeviceIoControl(nds, IOCTL_NDIS_GET_ADAPTER_NAMES, nullptr, 0, names, sizeof names,
                                &returned, nullptr));
    EXPECT_EQ(std::u16string(names, returned / 2), std::u16string(u"lo\0eth0\0wlan0\0\0", 15));
    // Room for "lo", "eth0" and the final empty name, not for "wlan0".
    ASSERT_TRUE(DeviceIoControl(nds, IOCTL_NDIS_GET_ADAPTER_NAMES, nullptr, 0, names, 20, &returned,
                                nullptr));
    EXPECT_EQ(std::u16string(names, returned / 2), std::u16string(u"lo\0eth0\0\0", 9));
    CloseHandle(nds);
}

// --- network lists as the device hands them out ---

NDIS_WLAN_BSSID Entry(BYTE id, LONG rssi) {
    const BYTE mac[6] = {2, 0, 0, 0, 0, id};
    return korvyn::platform::MakeBssid(mac, static_cast<DWORD>(rssi), 6, 1, 0, "x");
}

std::vector<BYTE> IdsIn(const BYTE* area, DWORD bytes) {
    ULONG items = 0;
    std::memcpy(&items, area, 4);
    EXPECT_EQ(bytes, 4 + items * sizeof(NDIS_WLAN_BSSID));
    std::vector<BYTE> ids;
    for (ULONG i = 0; i < items; ++i)
        ids.push_back(
            area[4 + i * sizeof(NDIS_WLAN_BSSID) + offsetof(NDIS_WLAN_BSSID, MacAddress) + 5]);
    return ids;
}

TEST(NetworkList, WeakestEntriesAreLeftOutWhole) {
    // -70 shifted, -40, -90, -40 (a tie: the earlier one stays), -55 shifted.
    const std::vector<NDIS_WLAN_BSSID> entries = {Entry(1, static_cast<LONG>(0xFFBA0000)),
                                                  Entry(2, -40), Entry(3, -90), Entry(4, -40),
                                                  Entry(5, static_cast<LONG>(0xFFC90000))};
    BYTE area[4 + 5 * 104];
    using korvyn::platform::WriteNetworkList;
    EXPECT_EQ(IdsIn(area, WriteNetworkList(entries, area, sizeof area)),
              (std::vector<BYTE>{1, 2, 3, 4, 5}));
    EXPECT_EQ(IdsIn(area, WriteNetworkList(entries, area, 4 + 3 * 104 + 103)),
              (std::vector<BYTE>{2, 4, 5}));
}

} // namespace
