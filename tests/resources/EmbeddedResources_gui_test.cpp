// The program's own resources, as compiled from resources/korvyn.rc and built into it.
#include "platform/resources/IconGroup.h"
#include "platform/resources/Resources.h"
#include "platform/system/CaseFold.h"
#include "platform/ui/ApplicationIcon.h"
#include "platform/ui/DialogTemplate.h"
#include "resource.h"

#include <QGuiApplication>
#include <QIcon>
#include <algorithm>
#include <fstream>
#include <gtest/gtest.h>
#include <optional>
#include <string>

using namespace korvyn::platform;

namespace {

DialogTemplate LoadDialog(int id) {
    const BYTE* data = nullptr;
    std::size_t size = 0;
    std::optional<DialogTemplate> parsed;
    if (LoadResourceBytes(nullptr, MAKEINTRESOURCE(id), RT_DIALOG, data, size))
        parsed = ParseDialogTemplate(data, size);
    if (!parsed) {
        ADD_FAILURE() << "dialog " << id << " missing or unreadable";
        return {};
    }
    EXPECT_TRUE(parsed->menu.empty() && parsed->windowClass.empty()) << id;
    for (const auto& item : parsed->items)
        EXPECT_TRUE(item.creationData.empty()) << "creation data in " << id;
    return *parsed;
}

struct ExpectedItem {
    int id;
    int x, y, cx, cy;
    const char16_t* className;
    const char16_t* text;
    DWORD styleBits; // all of them must be set
};

void ExpectItems(int id, int cx, int cy, const std::vector<ExpectedItem>& expected) {
    const DialogTemplate d = LoadDialog(id);
    SCOPED_TRACE("dialog " + std::to_string(id));
    EXPECT_EQ(d.cx, cx);
    EXPECT_EQ(d.cy, cy);
    EXPECT_EQ(d.faceName, u"MS Shell Dlg");
    EXPECT_EQ(d.pointSize, 8);
    ASSERT_EQ(d.items.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const auto& got = d.items[i];
        const auto& want = expected[i];
        SCOPED_TRACE("item " + std::to_string(i));
        EXPECT_EQ(static_cast<WORD>(got.id), static_cast<WORD>(want.id));
        EXPECT_EQ(got.x, want.x);
        EXPECT_EQ(got.y, want.y);
        EXPECT_EQ(got.cx, want.cx);
        EXPECT_EQ(got.cy, want.cy);
        EXPECT_TRUE(EqualIgnoringCase(got.ClassName(), want.className));
        EXPECT_EQ(got.text.text, want.text);
        EXPECT_EQ(got.style & want.styleBits, want.styleBits);
        EXPECT_TRUE(got.style & WS_CHILD);
        EXPECT_TRUE(got.style & WS_VISIBLE);
    }
}

constexpr DWORD kLamp = BS_AUTOCHECKBOX | BS_PUSHLIKE | BS_MULTILINE;

TEST(EmbeddedResources, MainWindowTemplates) {
    struct Layout {
        int id, cx, cy;
        int tab[4], exit[4], lamp[4], suspend[4], save[4];
    };
    const Layout layouts[] = {
        {IDD_MAIN_PORTRAIT,
         162,
         169,
         {3, 1, 155, 148},
         {3, 151, 40, 13},
         {46, 150, 44, 14},
         {90, 151, 39, 13},
         {132, 151, 24, 13}},
        {IDD_MAIN_LANDSCAPE,
         210,
         115,
         {2, 0, 166, 113},
         {171, 81, 36, 13},
         {171, 50, 35, 21},
         {171, 30, 37, 13},
         {170, 99, 38, 14}},
        {IDD_MAIN_SQUARE,
         157,
         118,
         {3, 0, 149, 98},
         {3, 100, 39, 13},
         {43, 103, 47, 10},
         {91, 101, 41, 13},
         {135, 101, 20, 13}},
    };
    for (const auto& l : layouts) {
        auto item = [](int id, const int* r, const char16_t* cls, const char16_t* text,
                       DWORD style) {
            return ExpectedItem{id, r[0], r[1], r[2], r[3], cls, text, style};
        };
        ExpectItems(l.id, l.cx, l.cy,
                    {item(IDC_TAB, l.tab, u"CCustomTabCtrl", u"Tab", WS_TABSTOP),
                     item(IDC_EXIT, l.exit, u"Button", u"Exit", 0),
                     item(IDC_LAMP, l.lamp, u"Button", u"Radio ON", kLamp),
                     item(IDC_SUSPEND, l.suspend, u"Button", u"Suspend", BS_CENTER),
                     item(IDC_SAVE, l.save, u"Button", u"Save", 0)});
        const DialogTemplate d = LoadDialog(l.id);
        EXPECT_EQ(d.caption, u"Korvyn");
        EXPECT_EQ(d.items[1].style & BS_TYPEMASK, static_cast<DWORD>(BS_PUSHBUTTON));
    }
}

TEST(EmbeddedResources, NetworkListTemplates) {
    constexpr DWORD kList = LVS_REPORT | LVS_OWNERDATA | LVS_ALIGNLEFT | WS_TABSTOP;
    ExpectItems(IDD_SCANNER_PORTRAIT, 157, 133,
                {{IDC_LIST, 4, 3, 147, 119, u"SysListView32", u"", kList},
                 {IDC_COUNT, 0, 124, 53, 8, u"Static", u"Static", SS_LEFT},
                 {IDC_HINT, 70, 124, 79, 8, u"Static", u"Static", SS_RIGHT}});
    ExpectItems(IDD_SCANNER_LANDSCAPE, 168, 104,
                {{IDC_LIST, 3, 3, 160, 88, u"SysListView32", u"", kList | LVS_SINGLESEL},
                 {IDC_COUNT, 6, 91, 53, 8, u"Static", u"Static", SS_LEFT},
                 {IDC_HINT, 84, 91, 79, 8, u"Static", u"Static", SS_RIGHT}});
    ExpectItems(IDD_SCANNER_SQUARE, 157, 112,
                {{IDC_LIST, 3, 4, 151, 95, u"SysListView32", u"", kList},
                 {IDC_COUNT, 1, 100, 53, 8, u"Static", u"Static", SS_LEFT},
                 {IDC_HINT, 75, 100, 79, 8, u"Static", u"Static", SS_RIGHT}});
    EXPECT_FALSE(LoadDialog(IDD_SCANNER_PORTRAIT).items[0].style & LVS_SINGLESEL);
    EXPECT_EQ(LoadDialog(IDD_SCANNER_SQUARE).items[1].style & 3, static_cast<DWORD>(SS_LEFT));
}

TEST(EmbeddedResources, OptionsTemplate) {
    constexpr DWORD kCheck = BS_AUTOCHECKBOX | BS_BITMAP;
    ExpectItems(
        IDD_OPTIONS, 159, 92,
        {{IDC_ADAPTER_LABEL, 7, 4, 58, 8, u"Static", u"WiFi Adapter:", 0},
         {IDC_ADAPTER, 67, 2, 83, 30, u"ComboBox", u"", CBS_DROPDOWN | CBS_SORT | WS_VSCROLL},
         {IDC_SPEED_LABEL, 7, 20, 50, 8, u"Static", u"Scan:", 0},
         {IDC_SPEED_SLIDER, 61, 15, 56, 18, u"CustomSliderClass", u"Custom1", 0},
         {IDC_SPEED_NAME, 115, 20, 39, 8, u"Static", u"xxx", 0},
         {IDC_FONT_LABEL, 7, 37, 51, 8, u"Static", u"Font size:", 0},
         {IDC_FONT_SLIDER, 61, 32, 56, 18, u"CustomSliderClass", u"Custom2", 0},
         {IDC_HIDE_SECURED, 9, 49, 65, 10, u"Button", u"Hide secured", kCheck},
         {IDC_SOUND, 9, 59, 69, 10, u"Button", u"Sound enabled", kCheck},
         {IDC_HIDE_PEERS, 9, 69, 67, 10, u"Button", u"Hide peers", kCheck},
         {IDC_LANGUAGE, 77, 50, 18, 10, u"Button", u"", BS_BITMAP | BS_FLAT},
         {IDC_STATIC, 97, 51, 32, 8, u"Static", u"Language", 0},
         {IDC_STATIC, 52, 78, 33, 8, u"Static", u"Save as:", 0},
         {IDC_SAVE_CSV, 87, 78, 29, 10, u"Button", u" .csv", BS_AUTORADIOBUTTON | WS_GROUP},
         {IDC_SAVE_XLS, 120, 78, 29, 10, u"Button", u" .xls", BS_AUTORADIOBUTTON}});
    const DialogTemplate d = LoadDialog(IDD_OPTIONS);
    EXPECT_EQ(d.items[1].style & 3, static_cast<DWORD>(CBS_DROPDOWN));
    EXPECT_EQ(d.items[10].style & BS_TYPEMASK, static_cast<DWORD>(BS_PUSHBUTTON));
    EXPECT_FALSE(d.items[14].style & WS_GROUP);
}

TEST(EmbeddedResources, Menus) {
    std::vector<MenuItem> zoom;
    ASSERT_TRUE(LoadMenuResource(nullptr, IDR_ZOOM_MENU, zoom));
    ASSERT_EQ(zoom.size(), 1u);
    EXPECT_EQ(zoom[0].text, u"POPUP");
    ASSERT_EQ(zoom[0].children.size(), 1u);
    EXPECT_EQ(zoom[0].children[0].id, ID_ZOOM);
    EXPECT_EQ(zoom[0].children[0].text, u"ZOOM");

    std::vector<MenuItem> languages;
    ASSERT_TRUE(LoadMenuResource(nullptr, IDR_LANGUAGE_MENU, languages));
    ASSERT_EQ(languages.size(), 1u);
    EXPECT_EQ(languages[0].text, u"POPUP");
    const std::pair<int, std::u16string> expected[] = {
        {32774, u"&English"},         {32785, u"E&nglish Australia"},
        {32784, u"En&glish Canada"},  {32782, u"Eng&lish UK"},
        {32783, u"English &USA"},     {32775, u"&Français"},
        {32786, u"Français &Québec"}, {32776, u"&Magyar"},
        {32777, u"&Polski"},          {32779, u"P&ortuguês"},
        {32780, u"P&усский"},         {32781, u"&Deutsch"},
        {32787, u"Italiano"},
    };
    const auto& items = languages[0].children;
    ASSERT_EQ(items.size(), std::size(expected));
    for (std::size_t i = 0; i < items.size(); ++i) {
        EXPECT_EQ(items[i].id, expected[i].first) << i;
        EXPECT_EQ(items[i].text, expected[i].second) << i;
        EXPECT_EQ(items[i].flags, 0) << i;
    }
    EXPECT_EQ(items[10].text[0], u'P'); // the Latin letter, not the Cyrillic Р
}

std::size_t BitsPerPixel(int id) {
    const BYTE* data = nullptr;
    std::size_t size = 0;
    if (!LoadResourceBytes(nullptr, MAKEINTRESOURCE(id), RT_BITMAP, data, size) || size < 16)
        return 0;
    return data[14];
}

TEST(EmbeddedResources, BitmapsHaveTheirSizes) {
    const std::tuple<int, int, int> sizes[] = {
        {IDB_SLIDER_CHANNEL, 80, 30},
        {IDB_SLIDER_THUMB_PRESSED, 20, 30},
        {IDB_SLIDER_THUMB, 20, 30},
        {IDB_SECURED, 16, 16},
        {IDB_SECURED_HIDDEN, 16, 16},
        {IDB_SOUND_ON, 16, 16},
        {IDB_SOUND_OFF, 16, 16},
        {IDB_PEERS_HIDDEN, 16, 16},
        {IDB_PEERS, 16, 16},
        {IDB_FLAG_PORTUGUESE, 16, 10},
        {IDB_FLAG_FRENCH, 16, 10},
        {IDB_FLAG_ENGLISH, 16, 10},
        {IDB_FLAG_HUNGARIAN, 16, 10},
        {IDB_FLAG_POLISH, 16, 10},
        {IDB_FLAG_RUSSIAN, 16, 10},
        {IDB_FLAG_GERMAN, 16, 10},
        {IDB_FLAG_ENGLISH_UK, 16, 10},
        {IDB_FLAG_ENGLISH_USA, 16, 11},
        {IDB_FLAG_ENGLISH_CANADA, 16, 10},
        {IDB_FLAG_ENGLISH_AUSTRALIA, 16, 10},
        {IDB_FLAG_FRENCH_CANADA, 16, 10},
        {IDB_FLAG_ITALIAN, 17, 10},
        {IDB_LAMP_OLIVE, 16, 16},
        {IDB_LAMP_RED, 16, 16},
        {IDB_LAMP_GREEN, 16, 16},
    };
    for (const auto& [id, width, height] : sizes) {
        Bitmap b;
        ASSERT_TRUE(LoadBitmapResource(nullptr, id, b)) << id;
        EXPECT_EQ(b.width, width) << id;
        EXPECT_EQ(b.height, height) << id;
        const bool flag =
            (id >= IDB_FLAG_PORTUGUESE && id <= IDB_FLAG_FRENCH_CANADA) || id == IDB_FLAG_ITALIAN;
        // Flags are opaque; everything else is drawn on a transparent (pure black) ground.
        const bool hasBlack = std::find(b.pixels.begin(), b.pixels.end(), 0u) != b.pixels.end();
        EXPECT_EQ(hasBlack, !flag) << id;
        if (!flag) {
            EXPECT_EQ(b.At(0, 0), 0u) << id;
        }
    }
}

TEST(EmbeddedResources, LampsAreRoundAndColoured) {
    const std::tuple<int, int, int, int> lamps[] = {
        // id, then which of red, green, blue must lead at the centre (1) or not (0)
        {IDB_LAMP_GREEN, 0, 1, 0},
        {IDB_LAMP_RED, 1, 0, 0},
        {IDB_LAMP_OLIVE, 1, 1, 0},
    };
    for (const auto& [id, r, g, bl] : lamps) {
        EXPECT_EQ(BitsPerPixel(id), 24u) << id;
        Bitmap b;
        ASSERT_TRUE(LoadBitmapResource(nullptr, id, b));
        for (auto corner : {b.At(0, 0), b.At(15, 0), b.At(0, 15), b.At(15, 15)})
            EXPECT_EQ(corner, 0u) << id;
        const std::uint32_t centre = b.At(9, 10);
        const int red = centre >> 16, green = (centre >> 8) & 0xFF, blue = centre & 0xFF;
        EXPECT_EQ(red > 100, r == 1) << id;
        EXPECT_EQ(green > 100, g == 1) << id;
        EXPECT_EQ(blue > 100, bl == 1) << id;
        const std::uint32_t rim = b.At(8, 1); // grey: all three channels alike
        EXPECT_EQ(rim >> 16, rim & 0xFF) << id;
        EXPECT_GT(rim & 0xFF, 60u) << id;
    }
    Bitmap olive;
    Bitmap green;
    ASSERT_TRUE(LoadBitmapResource(nullptr, IDB_LAMP_OLIVE, olive));
    ASSERT_TRUE(LoadBitmapResource(nullptr, IDB_LAMP_GREEN, green));
    EXPECT_LT((olive.At(9, 10) >> 8) & 0xFF, (green.At(9, 10) >> 8) & 0xFF); // dull, bright
}

TEST(EmbeddedResources, NewStationSound) {
    HMODULE module = GetModuleHandle(nullptr);
    HRSRC found = FindResource(module, MAKEINTRESOURCE(IDR_NEWSTATION_WAVE), u"WAVE");
    ASSERT_TRUE(found);
    const auto* data = static_cast<const BYTE*>(LockResource(LoadResource(module, found)));
    WaveFormat wave;
    ASSERT_TRUE(ParseWave(data, SizeofResource(module, found), wave));
    EXPECT_EQ(wave.formatTag, WAVE_FORMAT_PCM);
    EXPECT_EQ(wave.channels, 1);
    EXPECT_EQ(wave.samplesPerSecond, 11025u);
    EXPECT_EQ(wave.bitsPerSample, 8);
    EXPECT_EQ(wave.blockAlign, 1);
    ASSERT_EQ(wave.samples.size(), 13780u);
    // Audible, unclipped, and silent at the end so it stops without a click.
    const auto [low, high] = std::minmax_element(wave.samples.begin(), wave.samples.end());
    EXPECT_LT(*low, 90);
    EXPECT_GT(*high, 166);
    EXPECT_GT(*low, 0);
    EXPECT_LT(*high, 255);
    EXPECT_EQ(wave.samples.back(), 128);
}

// The windows' icon is the artwork the install puts in the icon theme, byte for byte, at
// every size up to 256 pixels.
TEST(EmbeddedResources, TheIconIsTheInstalledArtworkAtEverySize) {
    const std::vector<int> expected{16, 24, 32, 48, 64, 128, 256};
    std::vector<IconImage> images;
    ASSERT_TRUE(LoadIconGroup(nullptr, MAKEINTRESOURCE(IDR_MAINFRAME), images));
    std::vector<int> sizes;
    for (const IconImage& image : images) {
        sizes.push_back(image.width);
        EXPECT_EQ(image.height, image.width);
        std::ifstream in(std::string(KORVYN_SOURCE_DIR) + "/resources/art/korvyn-" +
                             std::to_string(image.width) + ".png",
                         std::ios::binary);
        const std::string file((std::istreambuf_iterator<char>(in)), {});
        EXPECT_TRUE(!file.empty() &&
                    std::string_view(reinterpret_cast<const char*>(image.data), image.size) == file)
            << image.width;
    }
    EXPECT_EQ(sizes, expected);

    ASSERT_TRUE(SetApplicationIcon(nullptr, MAKEINTRESOURCE(IDR_MAINFRAME)));
    sizes.clear();
    for (const QSize& size : QGuiApplication::windowIcon().availableSizes()) {
        sizes.push_back(size.width());
    }
    std::sort(sizes.begin(), sizes.end());
    EXPECT_EQ(sizes, expected);
    EXPECT_FALSE(SetApplicationIcon(nullptr, MAKEINTRESOURCE(IDR_MAINFRAME + 1)));
}

} // namespace
