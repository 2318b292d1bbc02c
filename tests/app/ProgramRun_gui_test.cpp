// Runs as the command line asks for them: ticks back to back, a time, the work done just
// before the end (print, what the window shows), and the one running instance.
#include "AppHarness.h"

#include "app/ProgramRun.h"
#include "platform/ui/ScreenUpdates.h"
#include "settings/COptionsDlg.h"
#include "views/CScannerDlg.h"

#include <QTest>

#include <cstdio>
#include <set>
#include <sstream>

using namespace korvyn::test;
using korvyn::CommandLine;
using korvyn::ProgramRun;
using korvyn::platform::SingleInstance;

namespace {

// A run that also lets the test look at the window at its start and at its end.
class WatchedRun : public ProgramRun {
public:
    using ProgramRun::ProgramRun;
    std::function<void(CMainDlg&)> atStart;
    std::function<void(CMainDlg&)> atEnd;
    int endings = 0;

    void Running(CMainDlg& dlg) override {
        ProgramRun::Running(dlg);
        if (atStart) {
            atStart(dlg);
        }
    }
    void Ending(CMainDlg& dlg) override {
        ++endings;
        ProgramRun::Ending(dlg);
        if (atEnd) {
            atEnd(dlg);
        }
    }
};

class RunTest : public AppTest {
protected:
    std::string printed;

    WatchedRun Watched(const CommandLine& options, bool headless = true) {
        return WatchedRun(options, headless, languages, stations);
    }
    // Runs the program; what it prints lands in `printed`.
    int Launch(WatchedRun& run) {
        std::FILE* out = std::tmpfile();
        run.SetPrintOutput(out);
        Run(run);
        std::rewind(out);
        printed.clear();
        for (int c; (c = std::fgetc(out)) != EOF;) {
            printed += static_cast<char>(c);
        }
        std::fclose(out);
        return exitCode;
    }
};

TEST_F(RunTest, TicksRunBackToBackWithLampTicksBetweenThenEndAsExitDoes) {
    driver->list = Networks(4);
    CommandLine options;
    options.ticks = 0;
    WatchedRun none = Watched(options);
    EXPECT_EQ(Launch(none), 0);
    EXPECT_EQ(none.endings, 1);
    EXPECT_TRUE(driver->scanRequests.empty()) << "zero ticks end at once";

    options.ticks = 5;
    options.print = true;
    WatchedRun run = Watched(options);
    DWORD blinks = 0;
    bool drawn = true;
    run.atEnd = [&](CMainDlg& dlg) {
        blinks = dlg.GetBlinkCount();
        drawn = korvyn::platform::IsWindowOnScreen(dlg.GetListPage()->m_hWnd);
    };
    EXPECT_EQ(Launch(run), 0);
    EXPECT_EQ(run.endings, 1);
    EXPECT_EQ(driver->scanRequests.size(), 5u);
    EXPECT_EQ(blinks, 9u) << "lamp ticks at half the period, between the scan ticks";
    EXPECT_FALSE(drawn) << "a headless run draws no window";
    // The batch clock is gone with the run: timers are the test's again.
    EXPECT_EQ(timers.ArmedCount(), 0u);
    std::istringstream lines(printed);
    std::set<std::string> names;
    std::string line;
    std::getline(lines, line); // the header
    while (std::getline(lines, line)) {
        EXPECT_EQ(std::count(line.begin(), line.end(), '\t'), 9) << line;
        names.insert(line.substr(0, line.find('\t')));
        EXPECT_EQ(line.substr(line.find('\t'), 4), "\t40\t") << line;
    }
    EXPECT_EQ(names, (std::set<std::string>{"n0", "n1", "n2", "n3"}));
    EXPECT_EQ(Stored(CSettings::kFont), 12u) << "the settings were saved";
}

TEST_F(RunTest, ADurationEndsTheRunWhenItsTimerFires) {
    CommandLine options;
    options.duration = 2.5;
    WatchedRun run = Watched(options);
    run.atStart = [&](CMainDlg& dlg) {
        EXPECT_EQ(timers.Period(dlg, ProgramRun::kDurationTimer), 2500u);
        timers.Fire(dlg, CMainDlg::kScanTimer);
        EXPECT_EQ(run.endings, 0);
        EXPECT_TRUE(timers.Fire(dlg, ProgramRun::kDurationTimer));
        EXPECT_EQ(run.endings, 1);
        EXPECT_FALSE(timers.IsArmed(dlg, CMainDlg::kScanTimer));
        EXPECT_FALSE(timers.IsArmed(dlg, ProgramRun::kDurationTimer));
    };
    EXPECT_EQ(Launch(run), 0);
    EXPECT_EQ(run.endings, 1);
}

TEST_F(RunTest, TheWindowShowsTheOptionsOrTheMeterForThePicture) {
    driver->list = Networks(2);
    CommandLine options;
    options.ticks = 1;
    options.show = korvyn::ShowChoice::Options;
    WatchedRun run = Watched(options);
    run.atEnd = [&](CMainDlg& dlg) {
        EXPECT_EQ(dlg.GetTabs().GetCurSel(), 1);
        EXPECT_TRUE(dlg.GetOptionsPage()->IsWindowVisible());
        EXPECT_FALSE(dlg.GetListPage()->IsWindowVisible());
    };
    Launch(run);
    options.show = korvyn::ShowChoice::Meter;
    WatchedRun meter = Watched(options);
    meter.atEnd = [&](CMainDlg& dlg) {
        EXPECT_EQ(dlg.GetTabs().GetCurSel(), 0);
        EXPECT_TRUE(dlg.GetListPage()->IsZoomed());
    };
    Launch(meter);
}

TEST_F(RunTest, ALaterWindowedStartHandsOverAndEndsWithoutTouchingTheSettings) {
    SingleInstance::Options instance;
    instance.programPath = "/opt/korvyn/bin/korvyn";
    instance.folder = dir.path();
    int waits = 0;
    instance.wait = [&](int) { ++waits; };
    SingleInstance running(instance);
    int activations = 0;
    running.SetActivationHandler([&] { ++activations; });
    ASSERT_EQ(running.TryClaim(), SingleInstance::Claim::First);

    CommandLine options;
    WatchedRun later = Watched(options, false);
    later.SetInstanceOptions(instance);
    testing::internal::CaptureStderr();
    EXPECT_EQ(Launch(later), 0);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Korvyn is already running; its window was brought to the front.\n");
    EXPECT_EQ(later.endings, 0) << "no window";
    EXPECT_FALSE(std::filesystem::exists(dir / "registry.reg")) << "settings untouched";
    EXPECT_EQ(waits, 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return activations == 1; }, 5000));

    // Batch runs neither honour nor take the lock.
    options.ticks = 1;
    WatchedRun batch = Watched(options);
    batch.SetInstanceOptions(instance);
    EXPECT_EQ(Launch(batch), 0);
    EXPECT_EQ(batch.endings, 1);
}

} // namespace
