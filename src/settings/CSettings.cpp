#include "settings/CSettings.h"

#include "platform/registry/Registry.h"
#include "platform/system/Locale.h"

#include <algorithm>
#include <cstring>

namespace {

struct LocaleLanguage {
    const char16_t* code;
    DWORD language;
};

// Tried in order; a later match replaces an earlier one.
constexpr LocaleLanguage kLocaleLanguages[] = {
    {u"0c09", 1},  {u"1009", 2},  {u"0809", 3},  {u"0409", 4},  {u"040e", 5},  {u"0415", 6},
    {u"040c", 7},  {u"0c0c", 8},  {u"0816", 9},  {u"0419", 10}, {u"0407", 11}, {u"0c07", 11},
    {u"1407", 11}, {u"1007", 11}, {u"0807", 11}, {u"0410", 12}, {u"0810", 12},
};

// Room for the adapter name and its terminator.
constexpr DWORD kAdapterBytes = (CSettings::kMaxAdapterLength + 1) * sizeof(WCHAR);

} // namespace

CSettings::CSettings()
    : values_{{{u"Font", 12, 12},
               {u"Refresh", 2, 2},
               {u"WEP", 0, 0},
               {u"Peer", 0, 0},
               {u"Sound", 1, 1},
               {u"Language", 0, 0}}},
      texts_{{{u"Adapter", u"", u""}}} {
    WCHAR id[5] = {};
    std::u16string_view locale = u"0409";
    if (GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_ILANGUAGE, id, 5) != 0)
        locale = std::u16string_view(id, std::find(id, id + 5, u'\0') - id);
    values_[kLanguage].defaultValue = LanguageForLocale(locale);
    values_[kLanguage].current = values_[kLanguage].defaultValue;
}

DWORD CSettings::LanguageForLocale(std::u16string_view languageId) {
    DWORD language = 0;
    for (const auto& entry : kLocaleLanguages)
        if (languageId.starts_with(entry.code))
            language = entry.language;
    return language;
}

bool CSettings::GetValue(int index, DWORD& value) const {
    if (index < 0 || index >= kValueCount)
        return false;
    value = values_[index].current;
    return true;
}

bool CSettings::SetValue(int index, DWORD value) {
    if (index < 0 || index >= kValueCount)
        return false;
    values_[index].current = value;
    return true;
}

bool CSettings::GetText(int index, std::u16string& text) const {
    if (index < 0 || index >= kTextCount)
        return false;
    text = texts_[index].current;
    return true;
}

bool CSettings::SetText(int index, std::u16string_view text) {
    if (index < 0 || index >= kTextCount)
        return false;
    texts_[index].current = text;
    return true;
}

bool CSettings::Load() {
    HKEY key = nullptr;
    if (RegOpenKeyEx(HKEY_CURRENT_USER, korvyn::kSettingsKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        key = nullptr;
    for (auto& value : values_) {
        // The stored bytes go straight into the value, as the registry delivers them;
        // only data longer than four bytes is refused.
        DWORD size = sizeof value.current;
        if (!key ||
            RegQueryValueEx(key, value.name, nullptr, nullptr,
                            reinterpret_cast<BYTE*>(&value.current), &size) != ERROR_SUCCESS)
            value.current = value.defaultValue;
    }
    for (auto& text : texts_) {
        WCHAR buffer[kMaxAdapterLength + 1] = {};
        DWORD size = kAdapterBytes;
        if (key && RegQueryValueEx(key, text.name, nullptr, nullptr,
                                   reinterpret_cast<BYTE*>(buffer), &size) == ERROR_SUCCESS) {
            const WCHAR* begin = buffer;
            const WCHAR* end = begin + size / sizeof(WCHAR);
            text.current.assign(begin, std::find(begin, end, u'\0'));
        } else {
            text.current = text.defaultValue;
        }
    }
    if (key)
        RegCloseKey(key);
    return true;
}

bool CSettings::Save() {
    // All seven values reach the file in one write: a crash during the save leaves the
    // settings of before or after it, never a mixture.
    korvyn::platform::RegistryBatch batch;
    HKEY key = nullptr;
    if (RegCreateKeyEx(HKEY_CURRENT_USER, korvyn::kSettingsKey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                       KEY_WRITE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return false;
    for (const auto& value : values_)
        RegSetValueEx(key, value.name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value.current),
                      sizeof value.current);
    for (const auto& text : texts_)
        RegSetValueEx(key, text.name, 0, REG_SZ,
                      reinterpret_cast<const BYTE*>(text.current.c_str()),
                      static_cast<DWORD>((text.current.size() + 1) * sizeof(WCHAR)));
    RegCloseKey(key);
    return true;
}

namespace korvyn {

int ReadExportFormat() {
    return platform::GetProfileInt(kExportSection, kExportEntry, 1);
}

bool WriteExportFormat(int format) {
    return platform::WriteProfileInt(kExportSection, kExportEntry, format);
}

} // namespace korvyn
