#include "platform/system/DocumentsFolder.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

using korvyn::test::ScopedEnv;
using korvyn::test::TempDir;
namespace fs = std::filesystem;
using namespace korvyn::platform;

namespace {

class DocumentsFolderTest : public ::testing::Test {
protected:
    TempDir home;
    ScopedEnv homeVar{"HOME", home.path().c_str()};
    ScopedEnv config{"XDG_CONFIG_HOME", nullptr};
    ScopedEnv korvynDocs{"KORVYN_DOCUMENTS", nullptr};
    ScopedEnv xdgDocs{"XDG_DOCUMENTS_DIR", nullptr};
};

// The folder given on the command line comes first: tests/app.
TEST_F(DocumentsFolderTest, ResolutionOrder) {
    EXPECT_EQ(DocumentsFolder(), home.path() / "Documents");

    fs::create_directories(home / ".config");
    korvyn::test::WriteFileBytes(home / ".config/user-dirs.dirs",
                                 "# written by xdg-user-dirs-update\n"
                                 "XDG_DESKTOP_DIR=\"$HOME/Desktop\"\n"
                                 "XDG_DOCUMENTS_DIR=\"$HOME/Dokumente\"\n");
    EXPECT_EQ(DocumentsFolder(), home.path() / "Dokumente");
    fs::create_directories(home / "cfg");
    korvyn::test::WriteFileBytes(home / "cfg/user-dirs.dirs",
                                 "XDG_DOCUMENTS_DIR=\"/data/papers\"\n");
    ScopedEnv cfg("XDG_CONFIG_HOME", (home / "cfg").c_str());
    EXPECT_EQ(DocumentsFolder(), fs::path("/data/papers"));

    ScopedEnv xdg("XDG_DOCUMENTS_DIR", "/srv/docs");
    EXPECT_EQ(DocumentsFolder(), fs::path("/srv/docs"));
    ScopedEnv own("KORVYN_DOCUMENTS", "/srv/korvyn");
    EXPECT_EQ(DocumentsFolder(), fs::path("/srv/korvyn"));
}

// A folder that cannot be made: tests/app.
TEST_F(DocumentsFolderTest, CreatedWhenFirstWrittenAndPathsMapped) {
    const fs::path docs = home / "deep/er/Docs";
    ScopedEnv own("KORVYN_DOCUMENTS", docs.c_str());
    EXPECT_FALSE(fs::exists(docs));
    std::error_code ec;
    EXPECT_TRUE(EnsureDocumentsFolder(ec));
    EXPECT_TRUE(fs::is_directory(docs));

    EXPECT_EQ(HostPathForDevicePath("My Documents\\Korvyn 20261206201931.csv"),
              docs / "Korvyn 20261206201931.csv");
    EXPECT_EQ(HostPathForDevicePath("\\My Documents\\dizov.txt"), docs / "dizov.txt");
    EXPECT_EQ(HostPathForDevicePath("My Documents\\..\\..\\x"), docs / "x");
    EXPECT_EQ(HostPathForDevicePath("/etc/passwd"), docs / "etc" / "passwd");
}

TEST_F(DocumentsFolderTest, PathsInMessagesShortenTheHomeFolder) {
    ScopedEnv own("HOME", "/home/ann");
    const std::pair<std::string, std::string> cases[] = {
        {"/home/ann/Documents/Korvyn 1.csv", "~/Documents/Korvyn 1.csv"},
        {"/home/ann/./x/../Docs", "~/Docs"},
        {"/home/anna/Documents", "/home/anna/Documents"},
        {"/srv/share/Korvyn 1.xls", "/srv/share/Korvyn 1.xls"}};
    for (const auto& [path, shown] : cases) {
        EXPECT_EQ(korvyn::platform::PathForDisplay(path), shown) << path;
    }
}

} // namespace
