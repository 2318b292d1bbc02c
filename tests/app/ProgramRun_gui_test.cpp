// Runs as the command line asks for them: ticks back to back, a time, the work done just
// before the end (print, export, picture, what the window shows), and the one running
// instance.
#include "AppHarness.h"

#include "app/ListPrinter.h"
#include "app/ProgramRun.h"
#include "platform/ui/ScreenUpdates.h"
#include "settings/COptionsDlg.h"
#include "views/CScannerDlg.h"

#include <QTest>

#include <cstdio>
#include <set>

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

    // Runs the program with these options (headless unless said otherwise).
    int Launch(CommandLine options, WatchedRun* watched = nullptr, bool headless = true) {
        WatchedRun own(options, headless, languages, stations);
        WatchedRun& run = watched != nullptr ? *watched : own;
        std::FILE* out = std::tmpfile();
        run.SetPrintOutput(out);
        Run(settings, languages, stations, run);
        std::rewind(out);
        printed.clear();
        char buffer[4096];
        for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, out)) > 0;) {
            printed.append(buffer, n);
        }
        std::fclose(out);
        return exitCode;
    }

    std::vector<std::string> PrintedLines() const {
        std::vector<std::string> lines;
        for (std::size_t start = 0; start < printed.size();) {
            std::size_t end = printed.find('\n', start);
            lines.push_back(printed.substr(start, end - start));
            start = end + 1;
        }
        return lines;
    }
};

TEST_F(RunTest, TicksRunBackToBackWithLampTicksBetweenThenEndAsExitDoes) {
    driver->list = Networks(4);
    CommandLine options;
    options.ticks = 5;
    options.print = true;
    WatchedRun run(options, true, languages, stations);
    DWORD blinks = 0;
    bool drawn = true;
    run.atEnd = [&](CMainDlg& dlg) {
        blinks = dlg.GetBlinkCount();
        drawn = korvyn::platform::IsWindowOnScreen(dlg.GetListPage()->m_hWnd);
    };
    EXPECT_EQ(Launch(options, &run), 0);
    EXPECT_EQ(run.endings, 1);
    EXPECT_EQ(driver->scanRequests.size(), 5u);
    EXPECT_EQ(blinks, 9u) << "lamp ticks at half the period, between the scan ticks";
    EXPECT_FALSE(drawn) << "a headless run draws no window";
    // The batch clock is gone with the run: timers are the test's again.
    EXPECT_EQ(timers.ArmedCount(), 0u);
    std::vector<std::string> lines = PrintedLines();
    ASSERT_EQ(lines.size(), 5u);
    std::set<std::string> names;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        EXPECT_EQ(std::count(lines[i].begin(), lines[i].end(), '\t'), 9) << lines[i];
        names.insert(lines[i].substr(0, lines[i].find('\t')));
        EXPECT_EQ(lines[i].substr(lines[i].find('\t'), 4), "\t40\t") << lines[i];
    }
    EXPECT_EQ(names, (std::set<std::string>{"n0", "n1", "n2", "n3"}));
    EXPECT_EQ(Stored(CSettings::kFont), 12u) << "the settings were saved";
}

TEST_F(RunTest, ZeroTicksEndsAtOnce) {
    CommandLine options;
    options.ticks = 0;
    WatchedRun run(options, true, languages, stations);
    EXPECT_EQ(Launch(options, &run), 0);
    EXPECT_EQ(run.endings, 1);
    EXPECT_TRUE(driver->scanRequests.empty());
}

TEST_F(RunTest, ADurationEndsTheRunWhenItsTimerFires) {
    CommandLine options;
    options.duration = 2.5;
    WatchedRun run(options, true, languages, stations);
    run.atStart = [&](CMainDlg& dlg) {
        EXPECT_EQ(timers.Period(dlg, ProgramRun::kDurationTimer), 2500u);
        timers.Fire(dlg, CMainDlg::kScanTimer);
        EXPECT_EQ(run.endings, 0);
        EXPECT_TRUE(timers.Fire(dlg, ProgramRun::kDurationTimer));
        EXPECT_EQ(run.endings, 1);
        EXPECT_FALSE(timers.IsArmed(dlg, CMainDlg::kScanTimer));
        EXPECT_FALSE(timers.IsArmed(dlg, ProgramRun::kDurationTimer));
    };
    EXPECT_EQ(Launch(options, &run), 0);
    EXPECT_EQ(run.endings, 1);
}

TEST_F(RunTest, TheWindowShowsTheOptionsOrTheMeterForThePicture) {
    driver->list = Networks(2);
    CommandLine options;
    options.ticks = 1;
    options.show = korvyn::ShowChoice::Options;
    WatchedRun run(options, true, languages, stations);
    run.atEnd = [&](CMainDlg& dlg) {
        EXPECT_EQ(dlg.GetTabs().GetCurSel(), 1);
        EXPECT_TRUE(dlg.GetOptionsPage()->IsWindowVisible());
        EXPECT_FALSE(dlg.GetListPage()->IsWindowVisible());
    };
    Launch(options, &run);

    options.show = korvyn::ShowChoice::Meter;
    WatchedRun meter(options, true, languages, stations);
    meter.atEnd = [&](CMainDlg& dlg) {
        EXPECT_EQ(dlg.GetTabs().GetCurSel(), 0);
        EXPECT_TRUE(dlg.GetListPage()->IsZoomed());
    };
    Launch(options, &meter);
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
    WatchedRun later(options, false, languages, stations);
    later.SetInstanceOptions(instance);
    testing::internal::CaptureStderr();
    EXPECT_EQ(Launch(options, &later, false), 0);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Korvyn is already running; its window was brought to the front.\n");
    EXPECT_EQ(later.endings, 0) << "no window";
    EXPECT_FALSE(std::filesystem::exists(dir / "registry.reg")) << "settings untouched";
    EXPECT_EQ(waits, 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return activations == 1; }, 5000));

    // Batch runs neither honour nor take the lock.
    options.ticks = 1;
    WatchedRun batch(options, true, languages, stations);
    batch.SetInstanceOptions(instance);
    EXPECT_EQ(Launch(options, &batch), 0);
    EXPECT_EQ(batch.endings, 1);
}

TEST_F(RunTest, TheFirstWindowedRunAnswersLaterStarts) {
    SingleInstance::Options instance;
    instance.programPath = "/opt/korvyn/bin/korvyn";
    instance.folder = dir.path();
    instance.wait = [](int) {};
    CommandLine options;
    WatchedRun first(options, false, languages, stations);
    first.SetInstanceOptions(instance);
    first.atStart = [&](CMainDlg& dlg) {
        SingleInstance later(instance);
        EXPECT_EQ(later.TryClaim(), SingleInstance::Claim::HandedOver);
        dlg.Exit();
    };
    EXPECT_EQ(Launch(options, &first, false), 0);
    EXPECT_EQ(first.endings, 1);
}

TEST(ListPrinter, OneLinePerRowOfTenTabSeparatedFields) {
    CSettings settings;
    CLanguageTable languages;
    languages.Load(0);
    StationTable stations(settings);
    ScanObservation o{};
    o.mac[5] = 1;
    const char16_t name[] = u"a\tb\nc\x1b[2J\x85\x7f\u00e9";
    std::copy(std::begin(name), std::end(name), o.ssid);
    o.rssi = -70;
    o.channel = 6;
    o.mode = 1;
    stations.Merge(&o, 1);
    DWORD total = 0, active = 0;
    stations.RebuildView(total, active);
    std::string text = korvyn::ListAsText(languages, stations, static_cast<int>(total));
    std::string header =
        "Name\tSig\tCh\tType\tSec\tMAC\tBest sig\tWorst sig\tFirst seen\tLast seen\n";
    ASSERT_EQ(text.substr(0, header.size()), header);
    std::string row = text.substr(header.size());
    EXPECT_EQ(row.substr(0, row.find("\t00-")),
              "a\\x09b\\x0ac\\x1b[2J\\x85\\x7f\u00e9\t30\t6\tAP\tOpen");
    EXPECT_EQ(std::count(row.begin(), row.end(), '\t'), 9);
    EXPECT_EQ(std::count(row.begin(), row.end(), '\n'), 1);
    EXPECT_EQ(korvyn::ListAsText(languages, stations, 0), header);
}

} // namespace
