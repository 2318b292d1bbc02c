// The program's own resources, as compiled from resources/korvyn.rc and built into it.
#include "platform/resources/IconGroup.h"
#include "platform/resources/Resources.h"
#include "platform/system/CaseFold.h"
#include "platform/ui/ApplicationIcon.h"
#include "platform/ui/DialogTemplate.h"
#include "resource.h"

#include <QGuiApplication>
#include <QIcon>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
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
    return *parsed;
}

// The code finds each control by its id and class: the templates hold them in tab order.
// Their places are checked where they are drawn (the main window and text-fit tests).
TEST(EmbeddedResources, DialogTemplatesHoldTheControlsTheCodeLooksFor) {
    // One letter a control: its class.
    const std::map<char, std::u16string> classes = {
        {'T', u"CCustomTabCtrl"}, {'B', u"Button"},   {'S', u"Static"},
        {'L', u"SysListView32"},  {'C', u"ComboBox"}, {'D', u"CustomSliderClass"}};
    const std::vector<int> main = {IDC_TAB, IDC_EXIT, IDC_LAMP, IDC_SUSPEND, IDC_SAVE};
    const std::vector<int> scanner = {IDC_LIST, IDC_COUNT, IDC_HINT};
    const std::vector<int> options = {
        IDC_ADAPTER_LABEL, IDC_ADAPTER,     IDC_SPEED_LABEL,  IDC_SPEED_SLIDER, IDC_SPEED_NAME,
        IDC_FONT_LABEL,    IDC_FONT_SLIDER, IDC_HIDE_SECURED, IDC_SOUND,        IDC_HIDE_PEERS,
        IDC_LANGUAGE,      IDC_STATIC,      IDC_STATIC,       IDC_SAVE_CSV,     IDC_SAVE_XLS};
    const struct {
        int id;
        const std::vector<int>& items;
        std::string kinds;
    } dialogs[] = {{IDD_MAIN_PORTRAIT, main, "TBBBB"},       {IDD_MAIN_LANDSCAPE, main, "TBBBB"},
                   {IDD_MAIN_SQUARE, main, "TBBBB"},         {IDD_SCANNER_PORTRAIT, scanner, "LSS"},
                   {IDD_SCANNER_LANDSCAPE, scanner, "LSS"},  {IDD_SCANNER_SQUARE, scanner, "LSS"},
                   {IDD_OPTIONS, options, "SCSDSSDBBBBSSBB"}};
    for (const auto& dialog : dialogs) {
        const DialogTemplate d = LoadDialog(dialog.id);
        EXPECT_EQ(d.faceName, u"MS Shell Dlg") << dialog.id;
        ASSERT_EQ(d.items.size(), dialog.items.size()) << dialog.id;
        for (std::size_t i = 0; i < d.items.size(); ++i) {
            EXPECT_EQ(static_cast<WORD>(d.items[i].id), static_cast<WORD>(dialog.items[i]))
                << dialog.id << " item " << i;
            EXPECT_TRUE(EqualIgnoringCase(d.items[i].ClassName(), classes.at(dialog.kinds[i])))
                << dialog.id << " item " << i;
            EXPECT_TRUE(d.items[i].style & WS_CHILD) << dialog.id << " item " << i;
        }
    }
    // The list's data comes from the page, the lamp is a push-like check box.
    EXPECT_TRUE(LoadDialog(IDD_SCANNER_SQUARE).items[0].style & LVS_OWNERDATA);
    EXPECT_TRUE(LoadDialog(IDD_MAIN_SQUARE).items[2].style & BS_PUSHLIKE);
}

// The menus are checked with the pages that offer them, the bitmaps' pixels by the artwork
// check: here each of the 25 images is built in whole and the sound reads.
TEST(EmbeddedResources, BitmapsAndTheSound) {
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
    EXPECT_EQ(wave.samples.size(), 13780u);
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
    EXPECT_EQ(QGuiApplication::windowIcon().availableSizes().size(), expected.size());
    EXPECT_FALSE(SetApplicationIcon(nullptr, MAKEINTRESOURCE(IDR_MAINFRAME + 1)));
}

} // namespace
