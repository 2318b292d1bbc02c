// Save from the list page: the stored or named format, the rows the list shows, the notice
// naming the file, failures reported leaving no file, and lists longer than a workbook
// sheet. (The files' cells are read back by the program's end-to-end run.)
#include "PageFixture.h"

#include "platform/registry/Registry.h"
#include "platform/system/DocumentsFolder.h"
#include "support/FileSizeLimit.h"
#include "support/TempDir.h"
#include "views/StationExport.h"

#include <algorithm>
#include <filesystem>

using namespace korvyn::test;
namespace fs = std::filesystem;
using korvyn::platform::Utf16ToUtf8;
using Lines = std::vector<std::string>;

namespace {

class Export : public PageFixture {
protected:
    void SetUp() override {
        PageFixture::SetUp();
        korvyn::platform::SetDocumentsFolderOverride(docs);
        now = Time(2026, 4, 12, 9, 8, 7);
        OpenPage();
        settings.SetValue(CSettings::kWep, 1); // the secured station is not shown
        Merge({Obs(1, -40, u"Alpha"), Obs(2, -45, u"Hidden", 11, 1, 1), Obs(3, -70, u"Bravo")});
        page->RefreshList();
    }
    void TearDown() override {
        korvyn::platform::SetDocumentsFolderOverride({});
        PageFixture::TearDown();
    }

    Lines Files() {
        Lines names;
        for (const auto& e : fs::directory_iterator(docs)) {
            names.push_back(e.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    TempDir dir;
    fs::path docs = dir / "Documents";
    ScopedEnv home{"HOME", dir.path().c_str()}; // the messages name the home folder "~"
    ScriptedMessageBoxes boxes;
};

} // namespace

TEST(ExportNumbers, LeadingNumberReadsLikeTheStandardConversion) {
    const std::pair<std::u16string, double> cases[] = {
        {u"40", 40},         {u"-----", 0},     {u"--", 0},     {u"", 0},
        {u" \t-12abc", -12}, {u"+7", 7},        {u".25", 0.25}, {u"3e", 3},
        {u"3e-1", 0.3},      {u"1.5e3x", 1500}, {u".", 0}};
    for (const auto& [text, value] : cases) {
        EXPECT_EQ(korvyn::LeadingNumber(text), value) << Utf16ToUtf8(text);
    }
}

TEST_F(Export, SaveTakesTheStoredFormatUnlessItIsNamedAndWritesTheListAsShown) {
    korvyn::platform::SetRegistryFile(dir / "registry.reg");
    korvyn::platform::SetProfileKey(korvyn::kProfileMaker, korvyn::kProfileProgram);
    korvyn::WriteExportFormat(0);
    page->ExportStations();
    now.wSecond = 9;
    korvyn::WriteExportFormat(7);
    page->ExportStations();
    now.wSecond = 10;
    page->ExportStations(0);
    EXPECT_EQ(korvyn::ReadExportFormat(), 7);
    EXPECT_EQ(Files(), (Lines{"Korvyn 20260412090807.csv", "Korvyn 20260412090809.xls",
                              "Korvyn 20260412090810.csv"}));
    korvyn::platform::SetProfileKey(u"", u"");
    korvyn::platform::SetRegistryFile({});

    ASSERT_EQ(boxes.shown().size(), 3u);
    EXPECT_EQ(boxes.shown()[0].text, u"~/Documents/Korvyn 20260412090807.csv");
    const std::string text = ReadFileBytes(docs / "Korvyn 20260412090807.csv");
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 3) << "the two rows shown";
}

TEST_F(Export, AFailedSaveIsReportedWithItsReasonAndLeavesNoFile) {
    WriteFileBytes(docs, "a file where the folder should be");
    EXPECT_FALSE(page->ExportStations(0));
    EXPECT_FALSE(page->ExportStations(1));
    fs::remove(docs);
    for (int format : {0, 1}) {
        FileSizeLimit limit(100); // the disk fills up on the way
        EXPECT_FALSE(page->ExportStations(format));
    }
    ASSERT_EQ(boxes.shown().size(), 4u);
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(boxes.shown()[k].type, UINT(MB_OK | MB_ICONERROR));
        const std::string text = Utf16ToUtf8(boxes.shown()[k].text);
        // A Documents folder that cannot be made is named itself; otherwise the file.
        const std::string where = k < 2    ? "~/Documents\n"
                                  : k == 2 ? "~/Documents/Korvyn 20260412090807.csv\n"
                                           : "~/Documents/Korvyn 20260412090807.xls\n";
        EXPECT_EQ(text.find("The file could not be saved.\n" + where), 0u) << text;
        EXPECT_NE(text.find(k < 2 ? "directory" : "File too large"), std::string::npos) << text;
    }
    EXPECT_TRUE(Files().empty());
}

TEST_F(Export, ListsLongerThanASheetFillTheWorkbookAndTheWholeTextFile) {
    page->RestoreList();
    std::vector<ScanObservation> scan;
    for (DWORD i = 0; i < 65540; ++i) {
        scan.push_back(Obs(i, -40 - LONG(i % 50), u"n"));
    }
    Merge(scan);
    page->RefreshList();
    ASSERT_EQ(List().GetItemCount(), 65540);
    ASSERT_TRUE(page->ExportStations(1));
    EXPECT_EQ(boxes.shown()[0].text,
              u"~/Documents/Korvyn 20260412090807.xls\n\nA workbook sheet holds 65535 rows: "
              u"the last 5 rows of the list were left out.");
    ASSERT_TRUE(page->ExportStations(0));
    const std::string text = ReadFileBytes(docs / "Korvyn 20260412090807.csv");
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 1 + 65540) << "the whole list";
}
