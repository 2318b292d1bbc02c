#include "platform/system/AtomicFile.h"

#include "platform/system/DocumentsFolder.h"
#include "support/FileSizeLimit.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

using korvyn::platform::AtomicFile;
using korvyn::test::ReadFileBytes;
using korvyn::test::TempDir;
using korvyn::test::WriteFileBytes;
namespace fs = std::filesystem;

namespace {

std::size_t EntryCount(const fs::path& folder) {
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder), {}));
}

TEST(AtomicFileTest, TargetChangesOnlyOnCommit) {
    TempDir dir;
    const fs::path target = dir / "list.csv";
    WriteFileBytes(target, "earlier");
    {
        AtomicFile file;
        ASSERT_TRUE(file.Open(target));
        file.Stream() << "new content\n" << std::flush;
        ASSERT_TRUE(file.WriteAt(0, "N", 1));
        EXPECT_EQ(ReadFileBytes(target), "earlier");
        EXPECT_EQ(EntryCount(dir.path()), 2u); // the target and the hidden temporary file
        ASSERT_TRUE(file.Commit());
    }
    EXPECT_EQ(ReadFileBytes(target), "New content\n");
    EXPECT_EQ(EntryCount(dir.path()), 1u);

    {
        AtomicFile abandoned;
        ASSERT_TRUE(abandoned.Open(target));
        abandoned.Stream() << "never seen";
    }
    AtomicFile discarded;
    ASSERT_TRUE(discarded.Open(target));
    discarded.Discard();
    EXPECT_FALSE(discarded.Commit());
    EXPECT_EQ(ReadFileBytes(target), "New content\n");
    EXPECT_EQ(EntryCount(dir.path()), 1u);
}

TEST(AtomicFileTest, FoldersThatCannotTakeTheFile) {
    TempDir dir;
    WriteFileBytes(dir / "plain", "x");
    AtomicFile file;
    EXPECT_FALSE(file.Open(dir / "plain" / "list.csv"));
    EXPECT_EQ(file.Error(), std::errc::not_a_directory);

    fs::create_directory(dir / "taken.csv");
    EXPECT_FALSE(file.Open(dir / "taken.csv"));
    EXPECT_EQ(file.Error(), std::errc::is_a_directory);
    EXPECT_EQ(EntryCount(dir.path()), 2u);

    korvyn::platform::SetDocumentsFolderOverride(dir / "plain" / "Documents");
    EXPECT_FALSE(file.OpenDevicePath("My Documents\\list.csv"));
    EXPECT_TRUE(file.Error());
    korvyn::platform::SetDocumentsFolderOverride({});
}

TEST(AtomicFileTest, DevicePathsLandInTheDocumentsFolderCreatedOnFirstUse) {
    TempDir dir;
    korvyn::platform::SetDocumentsFolderOverride(dir / "Docs");
    AtomicFile file;
    ASSERT_TRUE(file.OpenDevicePath("My Documents\\Korvyn 20261206201931.csv"));
    file.Stream() << "a";
    ASSERT_TRUE(file.Commit());
    EXPECT_EQ(ReadFileBytes(dir / "Docs" / "Korvyn 20261206201931.csv"), "a");
    korvyn::platform::SetDocumentsFolderOverride({});
}

TEST(AtomicFileTest, FullDeviceIsReported) {
    struct stat st {};
    ASSERT_EQ(stat("/dev/full", &st), 0);
    ASSERT_TRUE(S_ISCHR(st.st_mode));
    AtomicFile file;
    ASSERT_TRUE(file.Open("/dev/full")); // a device is written in place, never replaced
    file.Stream() << std::string(100000, 'x');
    EXPECT_FALSE(file.Stream());
    EXPECT_FALSE(file.Commit());
    EXPECT_EQ(file.Error(), std::errc::no_space_on_device);
    ASSERT_EQ(stat("/dev/full", &st), 0);
    EXPECT_TRUE(S_ISCHR(st.st_mode));
}

TEST(AtomicFileTest, FailedWriteLeavesEarlierFileAndNoTemporaryFile) {
    TempDir dir;
    const fs::path target = dir / "list.csv";
    WriteFileBytes(target, "earlier");
    AtomicFile file;
    ASSERT_TRUE(file.Open(target));
    {
        korvyn::test::FileSizeLimit limit(4096);
        file.Stream() << std::string(200000, 'x');
        EXPECT_FALSE(file.Commit());
    }
    EXPECT_EQ(file.Error(), std::errc::file_too_large);
    EXPECT_EQ(ReadFileBytes(target), "earlier");
    EXPECT_EQ(EntryCount(dir.path()), 1u);
}

} // namespace
