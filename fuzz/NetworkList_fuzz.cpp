// Arbitrary bytes as the network lists the "UIO1:" device hands out, read through
// DAvirIzev::GetBSSIDs into the scan cycle's 128 observations, merged into a station table
// and shown through its view, which must agree with a plain reference of the table.
//
// Input: a byte of hide settings, then lists, each a 16-bit length and its bytes.
// The bytes past what the device returned are poisoned, so that reading them is caught.
#include "core/StationTable.h"
#include "platform/WinError.h"
#include "platform/devices/WifiDriver.h"
#include "platform/system/SystemTime.h"
#include "settings/CSettings.h"
#include "support/FuzzInput.h"
#include "support/StationModel.h"
#include "wifi/DAvirIzev.h"

#include <sanitizer/asan_interface.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

using namespace korvyn::platform;

constexpr DWORD kObservations = 128; // what the scan cycle passes

class ListDriver : public WifiDriver {
public:
    std::string_view list;
    BYTE* poisoned = nullptr;
    std::size_t poisonedSize = 0;

    std::string Name() const override { return "fuzz"; }
    std::vector<std::u16string> AdapterNames() override { return {u"wlan0"}; }
    DWORD QueryPhysicalMedium(std::u16string_view, ULONG& medium) override {
        medium = NdisPhysicalMediumWirelessLan;
        return 0;
    }
    DWORD RequestScan(std::u16string_view) override { return 0; }
    DWORD ReadNetworkList(std::u16string_view, std::vector<NDIS_WLAN_BSSID>&) override {
        return ERROR_NOT_SUPPORTED;
    }
    DWORD ReadNetworkListBytes(std::u16string_view, BYTE* area, DWORD capacity,
                               DWORD& written) override {
        const std::size_t n = std::min<std::size_t>(list.size(), capacity);
        std::memcpy(area, list.data(), n);
        written = static_cast<DWORD>(n);
        poisoned = area + n;
        poisonedSize = capacity - n;
        ASAN_POISON_MEMORY_REGION(poisoned, poisonedSize);
        return 0;
    }
};

void Fail(const std::string& what) {
    std::fprintf(stderr, "NetworkList_fuzz: %s\n", what.c_str());
    std::abort();
}

// One second later for every list, so that each merge has its own time.
SYSTEMTIME Clock(unsigned tick) {
    return SYSTEMTIME{2026,
                      12,
                      0,
                      6,
                      static_cast<WORD>(tick / 3600 % 24),
                      static_cast<WORD>(tick / 60 % 60),
                      static_cast<WORD>(tick % 60),
                      0};
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const auto driver = [] {
        auto d = std::make_shared<ListDriver>();
        SetWifiDriver(d);
        return d;
    }();
    korvyn::fuzz::FuzzInput in(data, size);
    const std::uint8_t flags = in.U8();
    korvyn::test::StationModel::Filter filter{(flags & 1) != 0, (flags & 2) != 0, true};
    CSettings settings;
    settings.SetValue(CSettings::kWep, filter.hideSecured);
    settings.SetValue(CSettings::kPeer, filter.hidePeers);
    StationTable table(settings);
    korvyn::test::StationModel model;
    DAvirIzev adapter;

    unsigned tick = 0;
    while (!in.Empty()) {
        driver->list = in.Chunk();
        ScanObservation observations[kObservations + 1];
        std::memset(observations, 0xA5, sizeof observations);
        DWORD count = 0;
        const bool read = adapter.GetBSSIDs(u"wlan0", observations,
                                            kObservations * sizeof(ScanObservation), count);
        ASAN_UNPOISON_MEMORY_REGION(driver->poisoned, driver->poisonedSize);
        if (!read)
            Fail("the list read failed");
        if (count > kObservations || observations[kObservations].rssi != LONG(0xA5A5A5A5))
            Fail("more observations than room");
        for (DWORD i = 0; i < count; ++i) {
            const WCHAR* name = observations[i].ssid;
            const auto end = std::find(name, name + 33, u'\0');
            if (end == name + 33 || std::any_of(end, name + 33, [](WCHAR c) { return c != 0; }))
                Fail("a name without its terminator or with bytes after it");
        }

        ++tick;
        SetLocalTimeSource([tick] { return Clock(tick); });
        double now = 0;
        const SYSTEMTIME t = Clock(tick);
        SystemTimeToVariantTime(&t, &now);
        if (count > 0) { // the scan cycle merges only lists with entries
            table.Merge(observations, count);
            model.Merge(observations, count, now, filter);
        }
        adapter.RefreshBSSIDs(u"wlan0");
        DWORD total = 0, active = 0;
        table.RebuildView(total, active);
        if (const std::string d = model.Check(table, total, active, filter); !d.empty())
            Fail(d);
    }
    SetLocalTimeSource({});
    return 0;
}
