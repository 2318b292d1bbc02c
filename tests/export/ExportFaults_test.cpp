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

#include <optional>
#include <set>
#include <sys/stat.h>

namespace fs = std::filesystem;
using korvyn::platform::SetDocumentsFolderOverride;
using korvyn::test::ReadFileBytes;

namespace {

constexpr const char* kName = "My Documents\\Korvyn 20261206201931.csv";

// The text export as the Save command writes it.
bool SaveCsv(XlsWorkbook& book, const char* name, std::error_code& error) {
    korvyn::platform::AtomicFile file;
    const bool ok = file.OpenDevicePath(name) &&
                    book.FindSheet("WI-FI")->WriteDelimited(file.Stream(), ',', '"') &&
                    file.Commit();
    error = file.Error();
    return ok;
}

std::set<std::string> Entries(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        names.insert(fs::relative(entry.path(), folder).string());
    return names;
}

TEST(ExportFaults, EachFailureIsReportedAndLeavesNoPartialFile) {
    korvyn::test::TempDir home;
    const fs::path documents = home / "Documents";
    SetDocumentsFolderOverride(documents);
    XlsWorkbook small, large;
    korvyn::test::MakeStationWorkbook(small, 2, false);
    korvyn::test::MakeStationWorkbook(large, 3000, false);
    std::error_code error;
    ASSERT_TRUE(SaveCsv(small, kName, error));
    const std::string earlier = ReadFileBytes(documents / "Korvyn 20261206201931.csv");
    korvyn::test::WriteFileBytes(documents / "plain", "a file, not a folder");
    fs::create_directory(documents / "folder.csv");
    const std::set<std::string> before = Entries(documents);

    const struct {
        const char* what;
        fs::path folder;
        const char* name;
        std::errc expected;
        rlim_t diskLimit; // 0: as much as the disk holds
    } cases[] = {
        {"full disk", documents, kName, std::errc::file_too_large, 16 * 1024},
        {"a folder that is a file", documents, "My Documents\\plain\\Korvyn.csv",
         std::errc::not_a_directory, 0},
        {"a name that is a folder", documents, "My Documents\\folder.csv",
         std::errc::is_a_directory, 0},
        {"Documents inside a file", documents / "plain" / "Documents", kName,
         std::errc::not_a_directory, 0},
        {"full device", "/dev", "My Documents\\full", std::errc::no_space_on_device, 0},
    };
    for (const auto& c : cases) {
        SetDocumentsFolderOverride(c.folder);
        {
            std::optional<korvyn::test::FileSizeLimit> limit;
            if (c.diskLimit)
                limit.emplace(c.diskLimit);
            EXPECT_FALSE(SaveCsv(large, c.name, error)) << c.what;
        }
        EXPECT_EQ(error, c.expected) << c.what << ": " << error.message();
        EXPECT_EQ(Entries(documents), before) << c.what;
        EXPECT_EQ(ReadFileBytes(documents / "Korvyn 20261206201931.csv"), earlier) << c.what;
    }
    SetDocumentsFolderOverride(documents / "plain" / "Documents");
    EXPECT_FALSE(small.SaveToFile("My Documents\\Korvyn 20261206201931.xls"));
    EXPECT_EQ(Entries(documents), before);
    struct stat st {};
    ASSERT_EQ(stat("/dev/full", &st), 0);
    EXPECT_TRUE(S_ISCHR(st.st_mode)) << "the device is written in place, not replaced";

    SetDocumentsFolderOverride(documents);
    ASSERT_TRUE(SaveCsv(large, kName, error)) << "the same save where it can be made";
    EXPECT_GT(ReadFileBytes(documents / "Korvyn 20261206201931.csv").size(), earlier.size());
    SetDocumentsFolderOverride({});
}

} // namespace
