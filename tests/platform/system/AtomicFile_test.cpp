#include "platform/system/AtomicFile.h"

#include "support/FileSizeLimit.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

using korvyn::platform::AtomicFile;
using korvyn::test::ReadFileBytes;
namespace fs = std::filesystem;

// Folders that cannot take the file are covered with the compound document's tests.
namespace {

std::size_t EntryCount(const fs::path& folder) {
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder), {}));
}

TEST(AtomicFileTest, TargetChangesOnlyOnCommit) {
    korvyn::test::TempDir dir;
    const fs::path target = dir / "list.csv";
    korvyn::test::WriteFileBytes(target, "earlier");
    {
        AtomicFile file;
        ASSERT_TRUE(file.Open(target));
        file.Stream() << "new content\n" << std::flush;
        ASSERT_TRUE(file.WriteAt(0, "N", 1));
        EXPECT_EQ(ReadFileBytes(target), "earlier");
        EXPECT_EQ(EntryCount(dir.path()), 2u); // the target and the hidden temporary file
        ASSERT_TRUE(file.Commit());
        EXPECT_FALSE(file.Commit());
    }
    EXPECT_EQ(ReadFileBytes(target), "New content\n");
    {
        AtomicFile abandoned;
        ASSERT_TRUE(abandoned.Open(target));
        abandoned.Stream() << "never seen";
    }
    AtomicFile failing;
    ASSERT_TRUE(failing.Open(target));
    {
        korvyn::test::FileSizeLimit limit(4096); // the disk fills up mid-way
        failing.Stream() << std::string(200000, 'x');
        EXPECT_FALSE(failing.Commit());
    }
    EXPECT_EQ(failing.Error(), std::errc::file_too_large);
    EXPECT_EQ(ReadFileBytes(target), "New content\n");
    EXPECT_EQ(EntryCount(dir.path()), 1u);
}

TEST(AtomicFileTest, DeviceIsWrittenInPlaceAndFullDeviceReported) {
    struct stat st {};
    ASSERT_EQ(stat("/dev/full", &st), 0);
    ASSERT_TRUE(S_ISCHR(st.st_mode));
    AtomicFile file;
    ASSERT_TRUE(file.Open("/dev/full"));
    file.Stream() << std::string(100000, 'x');
    EXPECT_FALSE(file.Stream());
    EXPECT_FALSE(file.Commit());
    EXPECT_EQ(file.Error(), std::errc::no_space_on_device);
    ASSERT_EQ(stat("/dev/full", &st), 0);
    EXPECT_TRUE(S_ISCHR(st.st_mode));
}

} // namespace
