#include "platform/registry/Registry.h"

#include "support/ResBuilder.h"
#include "support/TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace korvyn::platform;
using korvyn::test::ReadFileBytes;
using korvyn::test::ScopedEnv;
using korvyn::test::TempDir;
using korvyn::test::TextBytes;
using korvyn::test::WriteFileBytes;
namespace fs = std::filesystem;

namespace {

class Registry : public ::testing::Test {
protected:
    void SetUp() override { SetRegistryFile(file_); }
    void TearDown() override {
        SetRegistrySaveHook(nullptr);
        SetRegistryFile({});
        SetProfileKey(u"", u"");
    }

    // Forgets what was read, so the next call reads the file again.
    void Reread() { SetRegistryFile(file_); }

    HKEY Create(LPCWSTR path) {
        HKEY key = nullptr;
        EXPECT_EQ(RegCreateKeyEx(HKEY_CURRENT_USER, path, 0, nullptr, REG_OPTION_NON_VOLATILE,
                                 KEY_ALL_ACCESS, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        return key;
    }

    static LONG Set(HKEY key, LPCWSTR name, DWORD type, std::vector<BYTE> data) {
        return RegSetValueEx(key, name, 0, type, data.data(), static_cast<DWORD>(data.size()));
    }

    static std::vector<BYTE> Query(HKEY key, LPCWSTR name, DWORD& type) {
        DWORD size = 0;
        if (RegQueryValueEx(key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
            return {0xEE};
        std::vector<BYTE> data(size);
        EXPECT_EQ(RegQueryValueEx(key, name, nullptr, &type, data.data(), &size), ERROR_SUCCESS);
        return data;
    }

    std::vector<std::string> FolderEntries() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(file_.parent_path()))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    TempDir dir_;
    fs::path file_ = dir_ / "config/korvyn/registry.reg";
};

// Values of every type, named case-blind, live through the file. (How each is written,
// quoted and escaped is checked with the file format.)
TEST_F(Registry, EveryTypeSurvivesTheFile) {
    // Written under one name, read under another case of it.
    const std::tuple<LPCWSTR, LPCWSTR, DWORD, std::vector<BYTE>> values[] = {
        {u"Font", u"FONT", REG_DWORD, {0x0c, 0, 0, 0}},
        {u"Name", u"name", REG_SZ, TextBytes(u"Kрупно")},
        {u"Empty", u"Empty", REG_SZ, {}},
        {u"Bin", u"Bin", REG_BINARY, {}},
        {u"Multi", u"Multi", REG_MULTI_SZ, {0x41, 0, 0, 0}},
        {u"Odd", u"Odd", REG_DWORD, {1, 2, 3, 4, 5}},
        {nullptr, u"", REG_SZ, TextBytes(u"default")}};
    HKEY key = Create(u"Software\\Brindlemoor\\Korvyn");
    for (const auto& [name, other, type, data] : values)
        ASSERT_EQ(Set(key, name, type, data), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);

    // The file is the owner's alone, and no temporary is left beside it.
    struct stat info {};
    ASSERT_EQ(::stat(file_.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    EXPECT_EQ(FolderEntries(), std::vector<std::string>{"registry.reg"});

    Reread();
    HKEY again = nullptr;
    ASSERT_EQ(
        RegOpenKeyEx(HKEY_CURRENT_USER, u"SOFTWARE\\brindlemoor\\KORVYN", 0, KEY_READ, &again),
        ERROR_SUCCESS);
    for (const auto& [name, other, type, data] : values) {
        DWORD read = 0;
        EXPECT_EQ(Query(again, other, read), data) << type;
        EXPECT_EQ(read, type);
    }
    RegCloseKey(again);
}

TEST_F(Registry, AFailedSaveKeepsTheOldFile) {
    HKEY key = Create(u"Software\\Test");
    ASSERT_EQ(Set(key, u"old", REG_DWORD, {1, 0, 0, 0}), ERROR_SUCCESS);
    const std::string before = ReadFileBytes(file_);

    for (auto failing :
         {RegistrySaveStep::Write, RegistrySaveStep::Flush, RegistrySaveStep::Rename}) {
        int calls = 0;
        SetRegistrySaveHook([&](RegistrySaveStep step) {
            ++calls;
            return step != failing;
        });
        testing::internal::CaptureStderr();
        EXPECT_EQ(Set(key, u"new", REG_DWORD, {2, 0, 0, 0}), ERROR_REGISTRY_IO_FAILED);
        EXPECT_NE(testing::internal::GetCapturedStderr().find("registry.reg"), std::string::npos);
        EXPECT_EQ(calls, static_cast<int>(failing) + 1);
        EXPECT_EQ(ReadFileBytes(file_), before);
        EXPECT_EQ(FolderEntries(), std::vector<std::string>{"registry.reg"});
    }
    // The value lives on in memory and reaches the file with the next save that works.
    SetRegistrySaveHook(nullptr);
    DWORD type = 0;
    EXPECT_EQ(Query(key, u"new", type), (std::vector<BYTE>{2, 0, 0, 0}));
    ASSERT_EQ(Set(key, u"later", REG_DWORD, {3, 0, 0, 0}), ERROR_SUCCESS);
    RegCloseKey(key);
    EXPECT_NE(ReadFileBytes(file_).find("\"new\"=dword:00000002"), std::string::npos);
}

// A batch whose save fails is reported by the settings (tests/app).
TEST_F(Registry, ABatchOfChangesReachesTheFileInOneSave) {
    int renames = 0;
    SetRegistrySaveHook([&](RegistrySaveStep step) {
        renames += step == RegistrySaveStep::Rename;
        return true;
    });
    HKEY key = Create(u"Software\\Test");
    ASSERT_EQ(renames, 1);
    {
        RegistryBatch outer;
        ASSERT_EQ(Set(key, u"a", REG_DWORD, {1, 0, 0, 0}), ERROR_SUCCESS);
        {
            RegistryBatch inner;
            ASSERT_EQ(Set(key, u"b", REG_DWORD, {2, 0, 0, 0}), ERROR_SUCCESS);
        }
        EXPECT_EQ(renames, 1) << "only the last batch to end writes";
        EXPECT_TRUE(outer.End());
        EXPECT_EQ(renames, 2);
        EXPECT_TRUE(outer.End()) << "a batch ends once";
    }
    { RegistryBatch unchanged; }
    EXPECT_EQ(renames, 2) << "a batch without changes writes nothing";
    ASSERT_EQ(Set(key, u"b", REG_DWORD, {2, 0, 0, 0}), ERROR_SUCCESS);
    EXPECT_EQ(renames, 2) << "the file already holds the value";

    // Someone else's change to the file is overwritten by the next save, even of a value
    // that the program had already written.
    const std::string saved = ReadFileBytes(file_);
    WriteFileBytes(file_, "REGEDIT4\n");
    ASSERT_EQ(Set(key, u"b", REG_DWORD, {2, 0, 0, 0}), ERROR_SUCCESS);
    EXPECT_EQ(renames, 3);
    EXPECT_EQ(ReadFileBytes(file_), saved);
    fs::remove(file_);
    ASSERT_EQ(Set(key, u"b", REG_DWORD, {2, 0, 0, 0}), ERROR_SUCCESS);
    EXPECT_EQ(ReadFileBytes(file_), saved) << "a file removed meanwhile is written again";
    RegCloseKey(key);
}

TEST_F(Registry, ADamagedFileIsKeptAsideAndTheDefaultsAreUsed) {
    fs::create_directories(file_.parent_path());
    const std::string damaged = "REGEDIT4\n[HKEY_CURRENT_USER\\Software\\Test]\n\"a\"=dword:zz\n";
    WriteFileBytes(file_, damaged);
    testing::internal::CaptureStderr();
    HKEY key = nullptr;
    EXPECT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, u"Software\\Test", 0, KEY_READ, &key),
              ERROR_FILE_NOT_FOUND);
    const std::string message = testing::internal::GetCapturedStderr();
    EXPECT_NE(message.find("line 3"), std::string::npos) << message;
    EXPECT_NE(message.find("registry.reg.corrupt"), std::string::npos) << message;
    EXPECT_EQ(ReadFileBytes(file_.string() + ".corrupt"), damaged);

    // A fresh file is written by the next change; a second damaged file gets a new name.
    key = Create(u"Software\\Test");
    ASSERT_EQ(Set(key, u"a", REG_DWORD, {1, 0, 0, 0}), ERROR_SUCCESS);
    RegCloseKey(key);
    // A file beyond the limits is damaged too; a fault of the whole file has no line.
    const std::string large = "REGEDIT4\n" + std::string(1024 * 1024, ';');
    WriteFileBytes(file_, large);
    Reread();
    testing::internal::CaptureStderr();
    EXPECT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, u"Software\\Test", 0, KEY_READ, &key),
              ERROR_FILE_NOT_FOUND);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("damaged (larger than 1 MiB)"),
              std::string::npos);
    EXPECT_EQ(ReadFileBytes(file_.string() + ".corrupt.1"), large);
}

TEST_F(Registry, FileLocation) {
    SetRegistryFile({});
    {
        ScopedEnv registry("KORVYN_REGISTRY", nullptr);
        ScopedEnv config("XDG_CONFIG_HOME", "/somewhere/config");
        EXPECT_EQ(RegistryFilePath(), fs::path("/somewhere/config/korvyn/registry.reg"));
        ScopedEnv noConfig("XDG_CONFIG_HOME", nullptr);
        ScopedEnv home("HOME", "/home/someone");
        EXPECT_EQ(RegistryFilePath(), fs::path("/home/someone/.config/korvyn/registry.reg"));
    }
    ScopedEnv registry("KORVYN_REGISTRY", "/elsewhere/r.reg");
    EXPECT_EQ(RegistryFilePath(), fs::path("/elsewhere/r.reg"));
    SetRegistryFile("/given/on/the/command/line.reg");
    EXPECT_EQ(RegistryFilePath(), fs::path("/given/on/the/command/line.reg"));
}

TEST_F(Registry, ProfileValuesReachTheFileAtOnce) {
    EXPECT_EQ(GetProfileInt(u"Initialize", u"saveas", 1), 1);
    EXPECT_FALSE(WriteProfileInt(u"Initialize", u"saveas", 0)); // no profile key yet

    SetProfileKey(u"Brindlemoor", u"Korvyn");
    EXPECT_EQ(GetProfileInt(u"Initialize", u"saveas", 1), 1);
    ASSERT_TRUE(WriteProfileInt(u"Initialize", u"saveas", 0));
    EXPECT_NE(ReadFileBytes(file_).find("[HKEY_CURRENT_USER\\Software\\Brindlemoor\\Korvyn\\"
                                        "Initialize]\n\"saveas\"=dword:00000000\n"),
              std::string::npos);
    ASSERT_TRUE(WriteProfileInt(u"Initialize", u"negative", -5));
    Reread();
    EXPECT_EQ(GetProfileInt(u"Initialize", u"negative", 0), -5);

    // Only a four-byte number counts.
    HKEY key = Create(u"Software\\Brindlemoor\\Korvyn\\Initialize");
    ASSERT_EQ(Set(key, u"text", REG_SZ, TextBytes(u"1")), ERROR_SUCCESS);
    RegCloseKey(key);
    EXPECT_EQ(GetProfileInt(u"Initialize", u"text", 7), 7);
}

} // namespace
