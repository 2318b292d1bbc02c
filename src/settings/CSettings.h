#pragma once
// The user's settings: six numbers and the adapter name, read from the registry once at
// start-up and written back once at exit. Values are kept as read; each reader checks
// the range it needs.
#include "platform/WinTypes.h"

#include <array>
#include <string>
#include <string_view>

class CSettings {
public:
    // Numeric settings by index.
    static constexpr int kFont = 0;
    static constexpr int kRefresh = 1;
    static constexpr int kWep = 2;
    static constexpr int kPeer = 3;
    static constexpr int kSound = 4;
    static constexpr int kLanguage = 5;
    static constexpr int kValueCount = 6;
    // Text settings by index.
    static constexpr int kAdapter = 0;
    static constexpr int kTextCount = 1;
    // The longest adapter name the registry value may hold, terminator excluded.
    static constexpr std::size_t kMaxAdapterLength = 63;

    // Defaults, with the language taken from the user's locale.
    CSettings();

    bool GetValue(int index, DWORD& value) const;
    bool SetValue(int index, DWORD value);
    bool GetText(int index, std::u16string& text) const;
    bool SetText(int index, std::u16string_view text);

    // Reads every value from the registry; a missing or unreadable one takes its default.
    // Always succeeds.
    bool Load();
    // Writes every value; fails only when the key can be neither created nor opened.
    bool Save();

    // The language number for a locale's language identifier given as hex text ("0c07"):
    // the last table code the text begins with decides; 0 when none matches.
    static DWORD LanguageForLocale(std::u16string_view languageId);

private:
    struct Value {
        const char16_t* name;
        DWORD defaultValue;
        DWORD current;
    };
    struct Text {
        const char16_t* name;
        std::u16string defaultValue;
        std::u16string current;
    };
    std::array<Value, kValueCount> values_;
    std::array<Text, kTextCount> texts_;
};

namespace korvyn {

// The registry key of the settings and of the application profile, and the profile value
// that holds the export format (non-zero: workbook, 0: comma-separated text).
inline constexpr const char16_t* kSettingsKey = u"Software\\Brindlemoor\\Korvyn";
inline constexpr const char16_t* kProfileMaker = u"Brindlemoor";
inline constexpr const char16_t* kProfileProgram = u"Korvyn";
inline constexpr const char16_t* kExportSection = u"Initialize";
inline constexpr const char16_t* kExportEntry = u"saveas";

// The export format from the profile, 1 when it holds none.
int ReadExportFormat();
// Writes the export format to the profile at once.
bool WriteExportFormat(int format);

} // namespace korvyn
