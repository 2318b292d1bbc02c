// Saving the comma-separated export where it cannot be saved: each failure is reported,
// leaves no partial or temporary file, and an earlier export of the same name stays as it
// was. (The workbook's own failures are tested with the compound document and the
// workbook; here it joins in only for the Documents folder that cannot be created.)
#include "ExportSamples.h"
#include "platform/system/AtomicFile.h"
#include "platform/system/DocumentsFolder.h"
#include "support/FileSizeLimit.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <set>
#include <sys/stat.h>

namespace fs = std::filesystem;
using korvyn::platform::AtomicFile;
using korvyn::platform::SetDocumentsFolderOverride;
using korvyn::test::ReadFileBytes;

namespace {

constexpr const char* kName = "My Documents\\Korvyn 20261206201931.csv";

// The text export as the Save command writes it.
bool SaveCsv(const XlsWorksheet& sheet, const char* name, std::error_code& error) {
    AtomicFile file;
    const bool ok =
        file.OpenDevicePath(name) && sheet.WriteDelimited(file.Stream(), ',', '"') && file.Commit();
    error = file.Error();
    return ok;
}

std::set<std::string> Entries(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        names.insert(fs::relative(entry.path(), folder).string());
    return names;
}

class ExportFaults : public ::testing::Test {
protected:
    void SetUp() override {
        SetDocumentsFolderOverride(documents_);
        korvyn::test::MakeStationWorkbook(small_, 2, false);
        korvyn::test::MakeStationWorkbook(large_, 3000, false);
        std::error_code error;
        ASSERT_TRUE(SaveCsv(Sheet(small_), kName, error));
        earlier_ = ReadFileBytes(documents_ / "Korvyn 20261206201931.csv");
        korvyn::test::WriteFileBytes(documents_ / "plain", "a file, not a folder");
        fs::create_directory(documents_ / "folder.csv");
        before_ = Entries(documents_);
    }
    void TearDown() override { SetDocumentsFolderOverride({}); }

    static const XlsWorksheet& Sheet(XlsWorkbook& book) { return *book.FindSheet("WI-FI"); }

    // The save fails with the given error and leaves the folder as it was.
    void ExpectRefused(const char* name, std::errc expected, const char* what) {
        std::error_code error;
        EXPECT_FALSE(SaveCsv(Sheet(large_), name, error)) << what;
        EXPECT_EQ(error, expected) << what << ": " << error.message();
        EXPECT_EQ(Entries(documents_), before_) << what;
        EXPECT_EQ(ReadFileBytes(documents_ / "Korvyn 20261206201931.csv"), earlier_) << what;
    }

    korvyn::test::TempDir home_;
    fs::path documents_ = home_ / "Documents";
    XlsWorkbook small_, large_;
    std::string earlier_;
    std::set<std::string> before_;
};

TEST_F(ExportFaults, EachFailureIsReportedAndLeavesNoPartialFile) {
    {
        korvyn::test::FileSizeLimit limit(16 * 1024); // the disk fills up mid-way
        ExpectRefused(kName, std::errc::file_too_large, "full disk");
    }
    ExpectRefused("My Documents\\plain\\Korvyn.csv", std::errc::not_a_directory,
                  "a folder that is a file");
    ExpectRefused("My Documents\\folder.csv", std::errc::is_a_directory, "a name that is a folder");
    EXPECT_TRUE(fs::is_empty(documents_ / "folder.csv"));

    SetDocumentsFolderOverride("/dev");
    std::error_code error;
    EXPECT_FALSE(SaveCsv(Sheet(large_), "My Documents\\full", error));
    EXPECT_EQ(error, std::errc::no_space_on_device);
    struct stat st {};
    ASSERT_EQ(stat("/dev/full", &st), 0);
    EXPECT_TRUE(S_ISCHR(st.st_mode)) << "the device is written in place, not replaced";

    SetDocumentsFolderOverride(documents_);
    ASSERT_TRUE(SaveCsv(Sheet(large_), kName, error)) << "the same save where it can be made";
    EXPECT_GT(ReadFileBytes(documents_ / "Korvyn 20261206201931.csv").size(), earlier_.size());
}

TEST_F(ExportFaults, ADocumentsFolderThatCannotBeCreatedIsReported) {
    // The Documents folder would have to be made inside a regular file.
    SetDocumentsFolderOverride(documents_ / "plain" / "Documents");
    std::error_code error;
    EXPECT_FALSE(SaveCsv(Sheet(small_), kName, error));
    EXPECT_EQ(error, std::errc::not_a_directory) << error.message();
    EXPECT_FALSE(small_.SaveToFile("My Documents\\Korvyn 20261206201931.xls"));
    EXPECT_EQ(Entries(documents_), before_);
    EXPECT_EQ(ReadFileBytes(documents_ / "plain"), "a file, not a folder");
}

} // namespace
