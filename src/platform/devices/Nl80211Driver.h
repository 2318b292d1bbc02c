#pragma once
// The system's Wi-Fi through nl80211: adapters are the network interfaces, wireless when
// nl80211 knows them; a scan request triggers an nl80211 scan, or asks NetworkManager
// when the kernel refuses (scanning needs CAP_NET_ADMIN, which Korvyn does not have); the
// network list is the kernel's cached scan results, readable without privileges.
#include "platform/devices/NetworkManagerScan.h"
#include "platform/devices/WifiDriver.h"

#include <filesystem>
#include <set>

struct nl_sock;

namespace korvyn::platform {

struct NetlinkLibrary;

class Nl80211Driver : public WifiDriver {
public:
    // interfaces: where the network interfaces are listed (/sys/class/net).
    explicit Nl80211Driver(std::filesystem::path interfaces = "/sys/class/net");
    ~Nl80211Driver() override;

    // True when nl80211 knows at least one interface.
    bool HasWirelessInterface();

    std::string Name() const override { return "nl80211"; }
    std::vector<std::u16string> AdapterNames() override;
    DWORD QueryPhysicalMedium(std::u16string_view adapter, ULONG& medium) override;
    DWORD RequestScan(std::u16string_view adapter) override;
    DWORD ReadNetworkList(std::u16string_view adapter,
                          std::vector<NDIS_WLAN_BSSID>& entries) override;

private:
    bool Connect();
    void Disconnect();
    std::set<int> WirelessInterfaces();
    // The interface index of a wireless adapter, or 0 with the error code set.
    int WirelessIndex(std::u16string_view adapter, DWORD& error);

    std::filesystem::path interfaces_;
    const NetlinkLibrary* nl_ = nullptr; // loaded on the first connection
    nl_sock* socket_ = nullptr;
    int family_ = -1;
    bool triggerRefused_ = false; // the kernel said EPERM once: go to NetworkManager directly
    NetworkManagerScan networkManager_;
};

} // namespace korvyn::platform
