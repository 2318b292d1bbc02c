// Saving the settings when the process dies half-way: the registry file must load as the
// settings before the save or as those after it, never a mixture, never damaged, and the
// next start must leave no temporary file behind. (A step that fails without a death is
// tested with the registry.) Deaths are real: a child process saves, and is killed with
// SIGKILL at chosen steps of its saves or racing with them.
#include "platform/registry/Registry.h"
#include "settings/CSettings.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <random>
#include <sys/wait.h>
#include <unistd.h>

using korvyn::platform::RegistrySaveStep;
using korvyn::platform::SetRegistryFile;
using korvyn::platform::SetRegistrySaveHook;
namespace fs = std::filesystem;

namespace {

// Generation g of the settings: every number and the adapter name differ between
// generations, so a file holding parts of two is told apart from either.
void Apply(CSettings& s, int g) {
    for (int i = 0; i < CSettings::kValueCount; ++i)
        s.SetValue(i, static_cast<DWORD>(100 * g + i));
    s.SetText(CSettings::kAdapter, u"wlan" + std::u16string(static_cast<std::size_t>(g), u'x'));
}

// The generation the file holds, or -1 when it holds none whole.
int StoredGeneration(const fs::path& file) {
    SetRegistryFile(file); // forget what was read: the file decides
    CSettings s;
    s.Load();
    DWORD font = 0;
    s.GetValue(0, font);
    const int g = static_cast<int>(font / 100);
    CSettings expected;
    Apply(expected, g);
    for (int i = 0; i < CSettings::kValueCount; ++i) {
        DWORD a = 0, b = 1;
        s.GetValue(i, a);
        expected.GetValue(i, b);
        if (a != b)
            return -1;
    }
    std::u16string a, b;
    s.GetText(0, a);
    expected.GetText(0, b);
    return a == b ? g : -1;
}

class SettingsSaveFaults : public ::testing::Test {
protected:
    void SetUp() override {
        SetRegistryFile(file_);
        CSettings first;
        Apply(first, 0);
        ASSERT_TRUE(first.Save());
        ASSERT_EQ(StoredGeneration(file_), 0);
    }
    void TearDown() override {
        SetRegistrySaveHook(nullptr);
        SetRegistryFile({});
    }

    std::vector<std::string> Leftovers() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir_.path()))
            if (entry.path() != file_)
                names.push_back(entry.path().filename().string());
        return names;
    }

    korvyn::test::TempDir dir_;
    fs::path file_ = dir_ / "registry.reg";
};

// The child's side: saves generations 1 to kSaves, reporting 'S' before each save, one
// letter per step of it (then waiting for the parent's go-ahead) and 'E' after it.
constexpr int kSaves = 3;

[[noreturn]] void SaveInChild(int report, int goAhead) {
    SetRegistrySaveHook([&](RegistrySaveStep step) {
        const char letter = "WFR"[static_cast<int>(step)];
        char go = 0;
        if (write(report, &letter, 1) != 1 || read(goAhead, &go, 1) != 1)
            _exit(0); // the parent is gone
        return true;
    });
    for (int g = 1; g <= kSaves; ++g) {
        CSettings s;
        Apply(s, g);
        if (write(report, "S", 1) != 1)
            _exit(0);
        s.Save();
        if (write(report, "E", 1) != 1)
            _exit(0);
    }
    _exit(0);
}

TEST_F(SettingsSaveFaults, KilledAtTwoHundredPointsTheFileHoldsTheOldOrTheNewSettings) {
    std::mt19937 random(20261206);
    int stepsPerRun = 0;
    // Run -1 counts the steps of all saves; then 200 kill points.
    for (int point = -1; point < 200; ++point) {
        // A point: the step at which to kill, and whether the child may go ahead with it
        // first (the kill then races with the write, the flush or the rename).
        const int target = point < 0 ? -1 : static_cast<int>(random() % stepsPerRun);
        const bool racing = random() % 2;

        SetRegistryFile(file_);
        int report[2], goAhead[2];
        ASSERT_EQ(pipe(report), 0);
        ASSERT_EQ(pipe(goAhead), 0);
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            close(report[0]);
            close(goAhead[1]);
            SaveInChild(report[1], goAhead[0]);
        }
        close(report[1]);
        close(goAhead[0]);

        int started = 0, ended = 0, steps = 0;
        bool killed = false;
        char letter = 0;
        while (read(report[0], &letter, 1) == 1) {
            if (letter == 'S') {
                ++started;
            } else if (letter == 'E') {
                ++ended;
            } else if (!killed && steps++ == target) {
                if (racing)
                    (void)!write(goAhead[1], "g", 1);
                kill(child, SIGKILL);
                killed = true;
            } else if (!killed) {
                ASSERT_EQ(write(goAhead[1], "g", 1), 1);
            }
        }
        close(report[0]);
        close(goAhead[1]);
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        if (target < 0) { // the first run only counts the steps of all saves
            ASSERT_TRUE(WIFEXITED(status));
            ASSERT_EQ(ended, kSaves);
            stepsPerRun = steps;
            ASSERT_GT(stepsPerRun, 0);
        } else {
            ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
        }

        testing::internal::CaptureStderr();
        const int stored = StoredGeneration(file_);
        const std::string complaints = testing::internal::GetCapturedStderr();
        EXPECT_TRUE(stored == ended || stored == started)
            << "point " << point << " (step " << target << (racing ? ", racing" : "")
            << "): the file holds generation " << stored << " after " << started
            << " saves begun and " << ended << " ended";
        EXPECT_EQ(complaints, "");
        EXPECT_FALSE(fs::exists(file_.string() + ".corrupt"));
        // Reading the file, as the next start does, removed what the killed save left.
        EXPECT_EQ(Leftovers(), std::vector<std::string>{}) << "point " << point;
        if (HasFailure())
            return;

        // Start the next point from generation 0.
        SetRegistryFile(file_);
        CSettings first;
        Apply(first, 0);
        ASSERT_TRUE(first.Save());
    }
}

} // namespace
