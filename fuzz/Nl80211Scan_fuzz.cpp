// Arbitrary netlink attributes as an nl80211 scan result. The first byte chooses whether
// the rest is the BSS attribute's nested set (as the kernel nests it) or the message's
// whole attribute set. Whatever becomes a network entry must be one an adapter could
// report, and must read back the same from a scan file.
#include "platform/devices/Nl80211Scan.h"
#include "platform/devices/ScanFile.h"
#include "wifi/SecurityClass.h"

#include <linux/nl80211.h>
#include <netlink/attr.h>
#include <netlink/genl/genl.h>
#include <netlink/msg.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

using namespace korvyn::platform;

void Fail(const char* what) {
    std::fprintf(stderr, "Nl80211Scan_fuzz: %s\n", what);
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1 || size > 60000)
        return 0;
    const bool nested = (data[0] & 1) == 0;
    std::unique_ptr<nl_msg, decltype(&nlmsg_free)> message(nlmsg_alloc_size(size + 256),
                                                           &nlmsg_free);
    genlmsg_put(message.get(), 0, 1, 0x1c, 0, NLM_F_MULTI, NL80211_CMD_NEW_SCAN_RESULTS, 0);
    if (nested) {
        nla_put_u32(message.get(), NL80211_ATTR_IFINDEX, 3);
        if (nla_put(message.get(), NL80211_ATTR_BSS, static_cast<int>(size - 1), data + 1) < 0)
            return 0;
    } else {
        void* payload = nlmsg_reserve(message.get(), size - 1, NLMSG_ALIGNTO);
        if (!payload)
            return 0;
        std::memcpy(payload, data + 1, size - 1);
    }

    const auto entry = TranslateScanResult(message.get());
    if (!entry)
        return 0;
    if (entry->Length != sizeof(NDIS_WLAN_BSSID) ||
        entry->Configuration.Length != sizeof(NDIS_802_11_CONFIGURATION))
        Fail("entry lengths");
    if (entry->Ssid.SsidLength > sizeof entry->Ssid.Ssid)
        Fail("a name longer than 32 bytes");
    for (std::size_t i = entry->Ssid.SsidLength; i < sizeof entry->Ssid.Ssid; ++i)
        if (entry->Ssid.Ssid[i] != 0)
            Fail("bytes after the name");
    if ((entry->Privacy != 0 && korvyn::SecurityName(entry->Privacy).empty()) ||
        entry->InfrastructureMode > Ndis802_11AutoUnknown)
        Fail("privacy or mode out of range");
    const ULONG width = entry->Configuration.FHConfig.HopPattern;
    if (width != 0 && width != 20 && width != 40 && width != 80 && width != 160 && width != 320)
        Fail("a channel width that is none");

    // The scan file keeps every field the adapter layer reads.
    ScanScript script;
    std::string error;
    if (!ParseScanFile(FormatScanFileHeader({{u"wlan0", true}}) + FormatScan({*entry}), script,
                       error))
        Fail(error.c_str());
    const NDIS_WLAN_BSSID& back = script.scans.at(0).at(0);
    if (std::memcmp(back.MacAddress, entry->MacAddress, 6) ||
        back.Ssid.SsidLength != entry->Ssid.SsidLength ||
        std::memcmp(back.Ssid.Ssid, entry->Ssid.Ssid, 32) || back.Rssi != entry->Rssi ||
        back.Privacy != entry->Privacy || back.InfrastructureMode != entry->InfrastructureMode ||
        back.Configuration.DSConfig != entry->Configuration.DSConfig ||
        back.Configuration.FHConfig.HopPattern != width ||
        back.Configuration.FHConfig.HopSet != entry->Configuration.FHConfig.HopSet)
        Fail("the entry reads back otherwise from a scan file");
    return 0;
}
