#pragma once
// What a network's Privacy value says about its security. 0 is an open network and any
// other value a secured one, as adapters have always reported it; the adapters of this
// program use the values from 2 on to name the kind of security they read from the
// network's information elements, and 1 stays "secured, kind unknown".
#include "platform/WinTypes.h"

#include <string_view>

namespace korvyn {

enum SecurityClass : DWORD {
    kSecurityOpen = 0,
    kSecurityUnknown = 1, // secured, kind unknown
    kSecurityWep = 2,
    kSecurityWpa = 3,
    kSecurityWpa2 = 4,
    kSecurityWpa3 = 5,
    kSecurityWpa2Wpa3 = 6, // transition: WPA2 and WPA3 side by side
    kSecurityOwe = 7,      // opportunistic wireless encryption: no password, yet encrypted
};
// Added to WPA, WPA2, WPA3 and WPA2/3 when authentication goes through 802.1X.
inline constexpr DWORD kSecurityEnterprise = 0x10;

// The short name of a Privacy value ("WPA2", "WPA2-E", "OWE", "Open", "WEP", "secured" for
// 1); empty for values that name no class.
std::string_view SecurityName(DWORD privacy);

// The value of a short name in any case ("wpa2-e"); false when the name is unknown.
bool SecurityFromName(std::string_view name, DWORD& privacy);

} // namespace korvyn
