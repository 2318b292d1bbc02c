#include "platform/system/AtomicFile.h"

#include "support/FileSizeLimit.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <set>
#include <sys/wait.h>
#include <unistd.h>

using korvyn::platform::AtomicFile;
using korvyn::platform::RemoveStaleTemporaryFiles;
using korvyn::test::ReadFileBytes;
namespace fs = std::filesystem;

// A full device and folders that cannot take the file: the exports' tests (tests/export).
namespace {

std::set<std::string> Names(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.insert(entry.path().filename().string());
    return names;
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
        EXPECT_EQ(Names(dir.path()).size(), 2u); // the target and the hidden temporary file
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
    EXPECT_EQ(ReadFileBytes(target), "New content\n");
    EXPECT_EQ(Names(dir.path()).size(), 1u) << "no temporary file, even before it is destroyed";

    AtomicFile device; // written in place: nothing to rename, nothing to sync
    ASSERT_TRUE(device.Open("/dev/null"));
    EXPECT_TRUE(device.Commit());
}

// A save that never ended (its process killed) leaves its temporary file behind; the next
// start, or the next save into the folder, removes it, and nothing else: not the file saved
// before, not the temporary file of a process that still runs, not a name that only looks
// alike.
TEST(AtomicFileTest, KilledSavesLeaveNoTemporaryFileAfterTheNextStartOrSave) {
    korvyn::test::TempDir dir;
    const fs::path target = dir / "list.csv";
    korvyn::test::WriteFileBytes(target, "earlier");
    const std::string alive = std::to_string(::getpid());
    for (const std::string& name : std::vector<std::string>{
             ".list.csv.korvyn-1-abcdef.tmp", ".list.csv.korvyn-" + alive + "-abcdef.tmp",
             "notes.tmp", "list.csv.korvyn-999999-abcdef.tmp", ".x.korvyn-12a-abcdef.tmp",
             ".x.korvyn-999999-abc.tmp", ".x.korvyn-0999999-abcdef.tmp"})
        korvyn::test::WriteFileBytes(dir / name, "kept");
    fs::create_directory(dir / ".folder.korvyn-999999-abcdef.tmp");
    const std::set<std::string> before = Names(dir.path());

    for (bool nextSave : {false, true}) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) { // ends part-way through the save, as if killed
            AtomicFile file;
            if (file.Open(target))
                file.Stream() << std::string(100000, 'n') << std::flush;
            ::_exit(0);
        }
        ASSERT_EQ(::waitpid(child, nullptr, 0), child);
        ASSERT_EQ(Names(dir.path()).size(), before.size() + 1);
        if (nextSave) {
            AtomicFile next;
            ASSERT_TRUE(next.Open(dir / "next.csv"));
            ASSERT_TRUE(next.Commit());
            fs::remove(dir / "next.csv");
        } else {
            RemoveStaleTemporaryFiles(dir.path()); // as the program does at start
        }
        EXPECT_EQ(Names(dir.path()), before) << (nextSave ? "save" : "start");
        EXPECT_EQ(ReadFileBytes(target), "earlier");
    }
}

} // namespace
