#include "wifi/SecurityClass.h"

#include <array>
#include <cctype>

namespace korvyn {
namespace {

struct Named {
    DWORD value;
    std::string_view name;
};

constexpr std::array<Named, 12> kNames = {{
    {kSecurityOpen, "Open"},
    {kSecurityWep, "WEP"},
    {kSecurityWpa, "WPA"},
    {kSecurityWpa2, "WPA2"},
    {kSecurityWpa3, "WPA3"},
    {kSecurityWpa2Wpa3, "WPA2/3"},
    {kSecurityOwe, "OWE"},
    {kSecurityWpa | kSecurityEnterprise, "WPA-E"},
    {kSecurityWpa2 | kSecurityEnterprise, "WPA2-E"},
    {kSecurityWpa3 | kSecurityEnterprise, "WPA3-E"},
    {kSecurityWpa2Wpa3 | kSecurityEnterprise, "WPA2/3-E"},
    {kSecurityUnknown, "secured"},
}};

bool SameIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

} // namespace

std::string_view SecurityName(DWORD privacy) {
    for (const Named& n : kNames)
        if (n.value == privacy)
            return n.name;
    return {};
}

bool SecurityFromName(std::string_view name, DWORD& privacy) {
    for (const Named& n : kNames) {
        if (SameIgnoringCase(n.name, name)) {
            privacy = n.value;
            return true;
        }
    }
    return false;
}

} // namespace korvyn
