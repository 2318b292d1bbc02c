#include "platform/registry/Registry.h"

#include "platform/registry/RegFileFormat.h"
#include "platform/system/TextCodec.h"

namespace korvyn::platform {

namespace {

std::u16string& ProfileKey() {
    static std::u16string key;
    return key;
}

std::u16string SectionPath(LPCWSTR section) {
    return JoinKeyPath(ProfileKey(), std::u16string_view(section, WideLength(section)));
}

} // namespace

void SetProfileKey(std::u16string_view registryKey, std::u16string_view profileName) {
    if (registryKey.empty()) {
        ProfileKey().clear();
        return;
    }
    ProfileKey() = NormalizeKeyPath(std::u16string(u"Software\\") + std::u16string(registryKey) +
                                    u"\\" + std::u16string(profileName));
}

std::u16string ProfileKeyPath() {
    return ProfileKey();
}

int GetProfileInt(LPCWSTR section, LPCWSTR entry, int defaultValue) {
    if (ProfileKey().empty() || !section || !entry)
        return defaultValue;
    HKEY key = nullptr;
    if (RegOpenKeyEx(HKEY_CURRENT_USER, SectionPath(section).c_str(), 0, KEY_READ, &key) !=
        ERROR_SUCCESS)
        return defaultValue;
    DWORD type = 0;
    DWORD value = 0;
    DWORD size = sizeof value;
    const LONG status =
        RegQueryValueEx(key, entry, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS || type != REG_DWORD || size != sizeof value)
        return defaultValue;
    return static_cast<int>(value);
}

bool WriteProfileInt(LPCWSTR section, LPCWSTR entry, int value) {
    if (ProfileKey().empty() || !section || !entry)
        return false;
    HKEY key = nullptr;
    if (RegCreateKeyEx(HKEY_CURRENT_USER, SectionPath(section).c_str(), 0, nullptr,
                       REG_OPTION_NON_VOLATILE, KEY_WRITE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return false;
    const DWORD data = static_cast<DWORD>(value);
    const LONG status =
        RegSetValueEx(key, entry, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data), sizeof data);
    RegCloseKey(key);
    return status == ERROR_SUCCESS;
}

} // namespace korvyn::platform
