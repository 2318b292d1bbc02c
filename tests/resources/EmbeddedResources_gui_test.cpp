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

// The code finds each control by its id and class: the templates hold them in tab order.
// Their places are checked where they are drawn (the main window and text-fit tests).
TEST(EmbeddedResources, DialogTemplatesHoldTheControlsTheCodeLooksFor) {
    const std::u16string button = u"Button", stat = u"Static", list = u"SysListView32";
    const std::vector<std::pair<int, std::u16string>> main = {{IDC_TAB, u"CCustomTabCtrl"},
                                                              {IDC_EXIT, button},
                                                              {IDC_LAMP, button},
                                                              {IDC_SUSPEND, button},
                                                              {IDC_SAVE, button}};
    const std::vector<std::pair<int, std::u16string>> scanner = {
        {IDC_LIST, list}, {IDC_COUNT, stat}, {IDC_HINT, stat}};
    const struct {
        int id;
        std::vector<std::pair<int, std::u16string>> items;
    } dialogs[] = {
        {IDD_MAIN_PORTRAIT, main},
        {IDD_MAIN_LANDSCAPE, main},
        {IDD_MAIN_SQUARE, main},
        {IDD_SCANNER_PORTRAIT, scanner},
        {IDD_SCANNER_LANDSCAPE, scanner},
        {IDD_SCANNER_SQUARE, scanner},
        {IDD_OPTIONS,
         {{IDC_ADAPTER_LABEL, stat},
          {IDC_ADAPTER, u"ComboBox"},
          {IDC_SPEED_LABEL, stat},
          {IDC_SPEED_SLIDER, u"CustomSliderClass"},
          {IDC_SPEED_NAME, stat},
          {IDC_FONT_LABEL, stat},
          {IDC_FONT_SLIDER, u"CustomSliderClass"},
          {IDC_HIDE_SECURED, button},
          {IDC_SOUND, button},
          {IDC_HIDE_PEERS, button},
          {IDC_LANGUAGE, button},
          {IDC_STATIC, stat},
          {IDC_STATIC, stat},
          {IDC_SAVE_CSV, button},
          {IDC_SAVE_XLS, button}}},
    };
    for (const auto& dialog : dialogs) {
        const DialogTemplate d = LoadDialog(dialog.id);
        EXPECT_EQ(d.faceName, u"MS Shell Dlg") << dialog.id;
        ASSERT_EQ(d.items.size(), dialog.items.size()) << dialog.id;
        for (std::size_t i = 0; i < d.items.size(); ++i) {
            EXPECT_EQ(static_cast<WORD>(d.items[i].id), static_cast<WORD>(dialog.items[i].first))
                << dialog.id << " item " << i;
            EXPECT_TRUE(EqualIgnoringCase(d.items[i].ClassName(), dialog.items[i].second))
                << dialog.id << " item " << i;
            EXPECT_TRUE(d.items[i].style & WS_CHILD) << dialog.id << " item " << i;
        }
    }
    // The list's data comes from the page, the lamp is a push-like check box.
    EXPECT_TRUE(LoadDialog(IDD_SCANNER_SQUARE).items[0].style & LVS_OWNERDATA);
    EXPECT_TRUE(LoadDialog(IDD_MAIN_SQUARE).items[2].style & BS_PUSHLIKE);
}

TEST(EmbeddedResources, MenusBitmapsAndTheSound) {
    std::vector<MenuItem> zoom, languages;
    ASSERT_TRUE(LoadMenuResource(nullptr, IDR_ZOOM_MENU, zoom));
    ASSERT_EQ(zoom.size(), 1u);
    EXPECT_EQ(zoom[0].children.at(0).id, ID_ZOOM);
    ASSERT_TRUE(LoadMenuResource(nullptr, IDR_LANGUAGE_MENU, languages));
    ASSERT_EQ(languages.size(), 1u);
    EXPECT_EQ(languages[0].children.size(), 13u);
    EXPECT_EQ(languages[0].children.at(10).text, u"P&усский"); // the Latin P, then Cyrillic

    // The artwork check keeps the pixels; here each of the 25 images is built in whole.
    HMODULE module = GetModuleHandle(nullptr);
    int bitmaps = 0;
    for (UINT id = 1; id < 1000; ++id) {
        Bitmap b;
        if (FindResource(module, MAKEINTRESOURCE(id), RT_BITMAP) == nullptr) {
            continue;
        }
        ++bitmaps;
        ASSERT_TRUE(LoadBitmapResource(nullptr, id, b)) << id;
        EXPECT_GE(b.width, 16) << id;
        EXPECT_EQ(b.pixels.size(), static_cast<std::size_t>(b.width) * b.height) << id;
    }
    EXPECT_EQ(bitmaps, 25);

    HRSRC found = FindResource(module, MAKEINTRESOURCE(IDR_NEWSTATION_WAVE), u"WAVE");
    ASSERT_TRUE(found);
    const auto* data = static_cast<const BYTE*>(LockResource(LoadResource(module, found)));
    WaveFormat wave;
    ASSERT_TRUE(ParseWave(data, SizeofResource(module, found), wave));
    EXPECT_EQ(wave.formatTag, WAVE_FORMAT_PCM);
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
