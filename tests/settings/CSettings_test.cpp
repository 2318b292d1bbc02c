#include "settings/CSettings.h"

#include "platform/registry/Registry.h"
#include "support/TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>

using korvyn::test::ReadFileBytes;
using korvyn::test::ScopedEnv;
using korvyn::test::TempDir;
namespace fs = std::filesystem;

namespace {

class Settings : public ::testing::Test {
protected:
    void SetUp() override { korvyn::platform::SetRegistryFile(file_); }
    void TearDown() override { korvyn::platform::SetRegistryFile({}); }

    // Writes one value straight into the settings key.
    static void Store(LPCWSTR name, DWORD type, const void* data, DWORD size) {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyEx(HKEY_CURRENT_USER, korvyn::kSettingsKey, 0, nullptr, 0, KEY_WRITE,
                                 nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        ASSERT_EQ(RegSetValueEx(key, name, 0, type, static_cast<const BYTE*>(data), size),
                  ERROR_SUCCESS);
        RegCloseKey(key);
    }
    static void StoreText(LPCWSTR name, const std::u16string& text) {
        Store(name, REG_SZ, text.c_str(), static_cast<DWORD>((text.size() + 1) * 2));
    }

    static DWORD Value(const CSettings& s, int index) {
        DWORD v = 0xDEAD;
        EXPECT_TRUE(s.GetValue(index, v));
        return v;
    }
    static std::u16string Adapter(const CSettings& s) {
        std::u16string text = u"unset";
        EXPECT_TRUE(s.GetText(0, text));
        return text;
    }

    TempDir dir_;
    fs::path file_ = dir_ / "registry.reg";
};

TEST_F(Settings, FirstRunUnderAustrianGermanSavesAllSevenValues) {
    ScopedEnv locale("LC_ALL", "de_AT.UTF-8");
    CSettings settings;
    ASSERT_TRUE(settings.Load()); // no file yet: defaults
    EXPECT_EQ(Value(settings, CSettings::kLanguage), 11u);
    ASSERT_TRUE(settings.SetText(CSettings::kAdapter, u"wlan0"));
    ASSERT_TRUE(settings.Save());

    EXPECT_NE(ReadFileBytes(file_).find("[HKEY_CURRENT_USER\\Software\\Brindlemoor\\Korvyn]\n"
                                        "\"Font\"=dword:0000000c\n"
                                        "\"Refresh\"=dword:00000002\n"
                                        "\"WEP\"=dword:00000000\n"
                                        "\"Peer\"=dword:00000000\n"
                                        "\"Sound\"=dword:00000001\n"
                                        "\"Language\"=dword:0000000b\n"
                                        "\"Adapter\"=\"wlan0\"\n"),
              std::string::npos)
        << ReadFileBytes(file_);
}

TEST_F(Settings, DefaultLanguageFromTheLocale) {
    const std::pair<const char16_t*, DWORD> codes[] = {
        {u"0c09", 1},  {u"1009", 2},  {u"0809", 3},  {u"0409", 4},  {u"040e", 5},  {u"0415", 6},
        {u"040c", 7},  {u"0c0c", 8},  {u"0816", 9},  {u"0419", 10}, {u"0407", 11}, {u"0c07", 11},
        {u"1407", 11}, {u"1007", 11}, {u"0807", 11}, {u"0410", 12}, {u"0810", 12}, {u"0416", 0},
        {u"0411", 0},  {u"0C07", 0},  {u"", 0},      {u"0c0", 0},
    };
    for (const auto& [code, language] : codes)
        EXPECT_EQ(CSettings::LanguageForLocale(code), language) << static_cast<int>(code[0]);

    const std::pair<const char*, DWORD> locales[] = {
        {"it_CH.UTF-8", 12}, {"pt_BR.UTF-8", 0}, {"ja_JP.UTF-8", 0},
        {"fr_CA.UTF-8", 8},  {"C", 4},           {"xx_YY", 4}, // an unknown locale counts as 0409
    };
    for (const auto& [name, language] : locales) {
        ScopedEnv locale("LC_ALL", name);
        EXPECT_EQ(Value(CSettings(), CSettings::kLanguage), language) << name;
    }
}

TEST_F(Settings, StoredValuesAreKeptAsReadAndMissingOnesTakeTheirDefaults) {
    ScopedEnv locale("LC_ALL", "hu_HU.UTF-8");
    const DWORD refresh = 7, font = 25, language = 13;
    Store(u"Refresh", REG_DWORD, &refresh, 4);
    Store(u"Font", REG_DWORD, &font, 4);
    Store(u"language", REG_DWORD, &language, 4); // names are compared ignoring case
    const BYTE five[5] = {1, 0, 0, 0, 0};
    Store(u"WEP", REG_BINARY, five, 5); // longer than a number
    StoreText(u"Sound", u"1");          // four bytes: taken as they are, type unchecked

    CSettings settings;
    settings.SetValue(CSettings::kPeer, 9);
    ASSERT_TRUE(settings.Load());
    std::vector<DWORD> values;
    for (int i = 0; i < 6; ++i)
        values.push_back(Value(settings, i));
    // Font, Refresh, WEP, Peer, Sound, Language.
    EXPECT_EQ(values, (std::vector<DWORD>{25, 7, 0, 0, 0x31, 13}));
    EXPECT_EQ(Adapter(settings), u"");
}

TEST_F(Settings, AdapterNamesUpToSixtyThreeCharacters) {
    const std::u16string longest(63, u'a');
    StoreText(u"Adapter", longest);
    CSettings settings;
    settings.Load();
    EXPECT_EQ(Adapter(settings), longest);
    ASSERT_TRUE(settings.Save());
    EXPECT_NE(ReadFileBytes(file_).find("\"Adapter\"=\"" + std::string(63, 'a') + "\"\n"),
              std::string::npos);

    settings.SetText(0, std::u16string(64, u'b'));
    ASSERT_TRUE(settings.Save());
    CSettings reread;
    reread.SetText(0, u"previous");
    reread.Load();
    EXPECT_EQ(Adapter(reread), u"");
}

TEST_F(Settings, IndicesOutOfRangeAreRefused) {
    CSettings settings;
    DWORD value = 77;
    std::u16string text = u"kept";
    EXPECT_FALSE(settings.GetValue(6, value) || settings.GetValue(-1, value) ||
                 settings.SetValue(6, 1) || settings.GetText(1, text) || settings.SetText(1, u"x"));
    EXPECT_EQ(value, 77u);
    EXPECT_EQ(text, u"kept");
    EXPECT_TRUE(settings.SetValue(5, 8));
    EXPECT_EQ(Value(settings, 5), 8u);
}

} // namespace
