// The main window and the scan cycle as the program runs them, timers fired by hand; and runs
// as the command line asks for them.
#include "AppHarness.h"
#include "support/gui/ScriptedPopupMenus.h"
#include "support/gui/WindowPixels.h"

#include "app/ProgramRun.h"
#include "platform/ui/ScreenUpdates.h"
#include "settings/COptionsDlg.h"
#include "views/CChannelsDlg.h"
#include "views/CScannerDlg.h"

#include <QTest>

#include <utility>

using namespace korvyn::test;
using korvyn::CommandLine;
using korvyn::ProgramRun;
using korvyn::platform::SingleInstance;

namespace {

constexpr UINT_PTR kScan = CMainDlg::kScanTimer;
constexpr UINT_PTR kLamp = CMainDlg::kLampTimer;

enum class Lamp { Green, Olive, Red, Other };

// What the lamp shows: the image of its current state.
Lamp Shown(CMainDlg& dlg) {
    CCustomButton& lamp = dlg.GetLamp();
    HBITMAP image = lamp.GetStateBitmap(lamp.IsChecked());
    for (auto [id, shown] : {std::pair{IDB_LAMP_GREEN, Lamp::Green},
                             {IDB_LAMP_OLIVE, Lamp::Olive},
                             {IDB_LAMP_RED, Lamp::Red}}) {
        if (image == dlg.GetLampImage(id))
            return shown;
    }
    return Lamp::Other;
}

CWnd& Control(CMainDlg& dlg, int id) {
    return *dlg.GetDlgItem(id);
}

int ListRows(CMainDlg& dlg) {
    return dynamic_cast<CListCtrl*>(dlg.GetListPage()->GetDlgItem(IDC_LIST))->GetItemCount();
}

TEST_F(AppTest, TheCycleTheLampSuspendAndAMissingAdapterName) {
    driver->list = Networks(3);
    Run([&](CMainDlg& dlg) {
        EXPECT_EQ(timers.Period(dlg, kScan), 1000u);
        EXPECT_EQ(timers.Period(dlg, kLamp), 500u);
        EXPECT_EQ(Shown(dlg), Lamp::Olive);

        // The first tick reads what the adapter holds already, then asks for a new scan.
        ASSERT_TRUE(timers.Fire(dlg, kScan));
        EXPECT_EQ(driver->scanRequests, std::vector<std::u16string>{u"wlan0"});
        EXPECT_EQ(ListRows(dlg), 3);

        // Each lamp tick blinks and keeps the device awake.
        for (auto [shown, text] :
             {std::pair{Lamp::Green, u"Scan"}, {Lamp::Olive, u"Idle"}, {Lamp::Green, u"Scan"}}) {
            timers.Fire(dlg, kLamp);
            EXPECT_EQ(Shown(dlg), shown);
            EXPECT_EQ(dlg.GetLamp().GetWindowText(), text);
        }
        EXPECT_EQ(dlg.GetBlinkCount(), 3u);
        EXPECT_EQ(idleResets, 3);

        // Suspend stops both timers; Resume lights the lamp at once, at the new periods.
        CWnd& suspend = Control(dlg, IDC_SUSPEND);
        Tap(suspend);
        EXPECT_FALSE(dlg.IsScanning() || timers.IsArmed(dlg, kScan) || timers.IsArmed(dlg, kLamp));
        EXPECT_EQ(Shown(dlg), Lamp::Olive);
        EXPECT_EQ(dlg.GetLamp().GetWindowText(), u"Idle");
        EXPECT_EQ(suspend.GetWindowText(), u"Resume");
        settings.SetValue(CSettings::kRefresh, 4);
        Tap(suspend);
        EXPECT_EQ(timers.Period(dlg, kScan), 2000u);
        EXPECT_EQ(timers.Period(dlg, kLamp), 1000u);
        EXPECT_EQ(suspend.GetWindowText(), u"Pause");
        EXPECT_EQ(dlg.GetBlinkCount(), 0u);
        EXPECT_EQ(Shown(dlg), Lamp::Green) << "green at once";
        timers.Fire(dlg, kLamp);
        EXPECT_EQ(Shown(dlg), Lamp::Green) << "still green at the first lamp tick";
        timers.Fire(dlg, kLamp);
        EXPECT_EQ(Shown(dlg), Lamp::Olive) << "olive at the second";

        // A tap on the lamp only flips its own look.
        Tap(dlg.GetLamp());
        EXPECT_EQ(Shown(dlg), Lamp::Green);
        EXPECT_EQ(dlg.GetBlinkCount(), 2u);
        EXPECT_TRUE(dlg.IsScanning() && timers.IsArmed(dlg, kLamp) && timers.IsArmed(dlg, kScan));
        EXPECT_EQ(driver->scanRequests.size(), 1u);

        // Without an adapter name the lamp turns red and stops while scans go on; with one
        // chosen again, a resume brings the blinking back.
        settings.SetText(CSettings::kAdapter, u"");
        timers.Fire(dlg, kLamp);
        EXPECT_EQ(Shown(dlg), Lamp::Red);
        EXPECT_FALSE(timers.IsArmed(dlg, kLamp));
        BITMAP info{};
        EXPECT_NE(::GetObject(dlg.GetLampImage(IDB_LAMP_GREEN), sizeof info, &info), 0)
            << "the green image outlives the lamp's change to red";
        timers.Fire(dlg, kScan);
        EXPECT_TRUE(timers.IsArmed(dlg, kScan)) << "scans go on";
        settings.SetText(CSettings::kAdapter, u"wlan0");
        Tap(suspend);
        Tap(suspend);
        ASSERT_TRUE(timers.Fire(dlg, kLamp));
        EXPECT_EQ(Shown(dlg), Lamp::Green);

        // Every tick reads the Refresh setting afresh; a change waits for the pending tick.
        UINT pending = 2000;
        for (auto [refresh, expected] :
             {std::pair<DWORD, UINT>{0, 1000}, {1, 500}, {5, 2500}, {6, 1000}}) {
            settings.SetValue(CSettings::kRefresh, refresh);
            EXPECT_EQ(timers.Period(dlg, kScan), std::exchange(pending, expected)) << refresh;
            ASSERT_TRUE(timers.Fire(dlg, kScan));
            EXPECT_EQ(timers.Period(dlg, kScan), expected) << refresh;
            ASSERT_TRUE(timers.Fire(dlg, kLamp));
            EXPECT_EQ(timers.Period(dlg, kLamp), expected / 2) << refresh;
        }
    });
    EXPECT_EQ(session.endings, 1);
}

TEST_F(AppTest, SaveWritesTheListInTheChosenFormat) {
    driver->list = Networks(2);
    Run([&](CMainDlg& dlg) {
        ASSERT_TRUE(korvyn::WriteExportFormat(0));
        timers.Fire(dlg, kScan);
        Tap(Control(dlg, IDC_SAVE));
        ASSERT_EQ(boxes.shown().size(), 1u);
        EXPECT_EQ(boxes.shown()[0].caption, u"Saved As");
        std::filesystem::directory_iterator files(dir / "Documents");
        ASSERT_EQ(files->path().extension(), ".csv");
        std::string text = ReadFileBytes(files->path());
        EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 3) << "header and two rows";
    });
}

TEST_F(AppTest, AFailedReadKeepsTheTableWhileTheListIsRefreshed) {
    driver->list = Networks(2, -60, 1);
    Run([&](CMainDlg& dlg) {
        timers.Fire(dlg, kScan);
        ASSERT_EQ(ListRows(dlg), 2);
        // The adapter goes away: reads fail, and an empty list reads as nothing at all.
        driver->listError = ERROR_GEN_FAILURE;
        settings.SetValue(CSettings::kWep, 1); // hide the secured ones from now on
        timers.Fire(dlg, kScan);
        EXPECT_EQ(ListRows(dlg), 0) << "refreshed although nothing was merged";
        settings.SetValue(CSettings::kWep, 0);
        driver->listError = 0;
        driver->list = Networks(0);
        timers.Fire(dlg, kScan);
        EXPECT_EQ(ListRows(dlg), 2);
        StationRecord r{};
        ASSERT_TRUE(stations.GetViewItem(1, r));
        EXPECT_EQ(r.active, 1) << "still marked active after failed and empty reads";
        EXPECT_EQ(driver->scanRequests.size(), 3u) << "a new scan is asked for every tick";
    });
}

TEST_F(AppTest, WirelessAdaptersAreListedSortedAndTheFirstIsChosenWhateverWasSaved) {
    CSettings earlier;
    earlier.SetText(CSettings::kAdapter, u"wlan9");
    earlier.Save();
    driver->adapters = {{u"eth0", 0},
                        {u"wlanB", NdisPhysicalMediumWirelessLan},
                        {u"WLANC", NdisPhysicalMediumWirelessLan},
                        {u"wlanA", NdisPhysicalMediumWirelessLan}};
    driver->list = Networks(2);
    Run([&](CMainDlg& dlg) {
        // The options page is made when first shown; the adapter is chosen before, as
        // the box will show it (sorted whatever the case).
        EXPECT_EQ(dlg.GetTabs().GetPage(1)->m_hWnd, nullptr);
        EXPECT_EQ(Adapter(settings), u"wlanA");
        CComboBox& box = dlg.GetOptionsPage()->GetAdapterBox();
        ASSERT_EQ(box.GetCount(), 3);
        std::u16string second;
        box.GetLBText(1, second);
        EXPECT_EQ(second, u"wlanB");
        EXPECT_EQ(box.GetCurSel(), 0);
        timers.Fire(dlg, kScan);

        // The user picks the other one: the next tick asks it, the stations stay.
        box.SetCurSel(1);
        dlg.GetOptionsPage()->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_ADAPTER, CBN_SELCHANGE),
                                          reinterpret_cast<LPARAM>(box.m_hWnd));
        driver->list = Networks(0);
        timers.Fire(dlg, kScan);
        EXPECT_EQ(driver->scanRequests.back(), u"wlanB");
        EXPECT_EQ(ListRows(dlg), 2);
    });
    EXPECT_EQ(Adapter(), u"wlanB");
}

// The stored language names the tabs and buttons, also after a resize; one out of range
// shows English and is kept as stored. The lamp keeps telling the truth. Without a wireless
// adapter the program says so, and its ticks and Suspend do nothing.
TEST_F(AppTest, TheChosenLanguageNamesTabsAndButtonsAfterEveryResize) {
    struct Case {
        DWORD language;
        bool adapter;
        std::u16string setup, exit;
    };
    for (const Case& c :
         {Case{0, false, u"Setup", u"Exit"}, Case{11, true, u"Optionen", u"Beenden"},
          Case{13, true, u"Setup", u"Exit"}}) {
        SCOPED_TRACE(c.language);
        CSettings stored;
        stored.SetValue(CSettings::kLanguage, c.language);
        stored.Save();
        driver->adapters = {{c.adapter ? u"wlan0" : u"eth0",
                             c.adapter ? static_cast<ULONG>(NdisPhysicalMediumWirelessLan) : 0u}};
        Run([&](CMainDlg& dlg) {
            EXPECT_EQ(dlg.GetTabs().GetItemText(1), c.setup);
            if (!c.adapter) {
                EXPECT_EQ(
                    boxes.shown().at(0).text,
                    u"Could not locate a Wi-Fi Adapter, please ensure that the adapter is "
                    u"enabled\nSync cable should be disconnected.\nYou must restart the program");
                EXPECT_EQ(boxes.shown()[0].caption, u"Korvyn");
                EXPECT_TRUE(timers.Fire(dlg, kScan) && timers.Fire(dlg, kLamp));
                EXPECT_EQ(driver->scanRequests.size() + idleResets, 0u);
            }
            for (const CSize& size : {CSize(320, 240), CSize(240, 240), CSize(240, 320)}) {
                korvyn::platform::SetDeviceScreenSize(size.cx, size.cy);
                EXPECT_EQ(Control(dlg, IDC_EXIT).GetWindowText(), c.exit);
                EXPECT_EQ(Control(dlg, IDC_SUSPEND).GetWindowText(), languages.Text(3));
                EXPECT_EQ(dlg.GetLamp().GetWindowText(), c.adapter ? u"Idle" : u"NO RADIO");
            }
            Tap(Control(dlg, IDC_SUSPEND)); // checked: "Resume" survives a resize too
            EXPECT_NE(dlg.IsScanning(), c.adapter);
            EXPECT_EQ(Shown(dlg) == Lamp::Red, !c.adapter);
            korvyn::platform::SetDeviceScreenSize(320, 240);
            EXPECT_EQ(Control(dlg, IDC_SUSPEND).GetWindowText(), languages.Text(4));
        });
        EXPECT_EQ(Stored(CSettings::kLanguage), c.language) << "kept as stored";
    }
    EXPECT_EQ(CMainApp::LanguageToLoad(12), 12);
    EXPECT_EQ(CMainApp::LanguageToLoad(0xFFFFFFFF), 0) << "-1";
}

// Keys reach whichever control has the focus; each goes to the list and the window.
// Enter and Esc leave the program running; every way of ending it stops both timers and
// saves the settings once, in a single write.
TEST_F(AppTest, EveryWayOfEndingSavesTheSettingsOnceAndEnterAndEscDoNot) {
    struct Case {
        const char* what;
        std::function<void(CMainDlg&, QWidget*)> press;
        bool ends;
    };
    const Case cases[] = {
        {"Enter", [](CMainDlg&, QWidget* w) { QTest::keyClick(w, Qt::Key_Return); }, false},
        {"Esc", [](CMainDlg&, QWidget* w) { QTest::keyClick(w, Qt::Key_Escape); }, false},
        {"Exit", [](CMainDlg& dlg, QWidget*) { Tap(Control(dlg, IDC_EXIT)); }, true},
        {"Ctrl+Q",
         [](CMainDlg&, QWidget* w) { QTest::keyClick(w, Qt::Key_Q, Qt::ControlModifier); }, true},
        {"the title bar's close button", [](CMainDlg&, QWidget* w) { w->window()->close(); }, true},
    };
    session.exitAfterScript = false;
    DWORD sound = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        session.endings = 0;
        registryWrites = 0;
        sound = 1 - sound; // a changed setting, so that the end has something to write
        Run([&](CMainDlg& dlg) {
            settings.SetValue(CSettings::kSound, sound);
            CWnd* list = dlg.GetListPage()->GetDlgItem(IDC_LIST);
            for (QWidget* target : {WidgetOf(*list), WidgetOf(dlg)}) {
                c.press(dlg, target);
                if (c.ends) {
                    break;
                }
                EXPECT_EQ(session.endings, 0);
                EXPECT_TRUE(dlg.GetListPage()->IsWindowVisible()) << "the page stays";
            }
            if (std::string_view(c.what) == "Exit") {
                EXPECT_FALSE(timers.IsArmed(dlg, kScan) || timers.IsArmed(dlg, kLamp));
            }
            EXPECT_EQ(registryWrites, 0) << "nothing is written while running";
            if (!c.ends) {
                dlg.Exit();
            }
        });
        EXPECT_EQ(session.endings, 1);
        EXPECT_EQ(exitCode, 0);
        EXPECT_EQ(registryWrites, 1);
        EXPECT_EQ(Stored(CSettings::kSound), sound) << "the settings were saved";
    }
    registryWrites = 0;
    Run([&](CMainDlg& dlg) { dlg.Exit(); });
    EXPECT_EQ(registryWrites, 0) << "settings that did not change are not written again";
}

TEST_F(AppTest, ZoomOnTheChannelsPageOpensTheListPagesMeterOnThatStation) {
    driver->list = Networks(3);
    Run([&](CMainDlg& dlg) {
        timers.Fire(dlg, kScan);
        dlg.GetTabs().SetCurSel(2);
        dlg.GetTabs().ShowPages();
        CChannelsDlg& page = *dlg.GetChannelsPage();
        Shot(page);
        ASSERT_EQ(page.GetShown().size(), 3u);
        const auto& top = page.GetShown().back(); // all on channel 6: the one drawn last
        ScriptedPopupMenus menus({ID_ZOOM});
        const korvyn::PlotArea& area = page.GetPlotArea();
        page.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(area.right - 2, area.top));
        EXPECT_TRUE(menus.shown().empty()) << "far from every outline";
        page.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(top.hill.centreX, top.hill.peakY));
        QCoreApplication::processEvents();
        ASSERT_EQ(menus.shown().size(), 1u);
        EXPECT_EQ(menus.shown()[0].items.at(0).text, languages.Text(22));
        EXPECT_EQ(dlg.GetTabs().GetCurSel(), 0);
        EXPECT_TRUE(dlg.GetListPage()->IsZoomed() && dlg.GetListPage()->IsWindowVisible());
        DWORD selected = 0;
        ASSERT_TRUE(page.GetSelected(selected));
        EXPECT_EQ(selected, top.number);
    });
}

// A run that also lets the test look at the window at its end.
class WatchedRun : public ProgramRun {
public:
    using ProgramRun::ProgramRun;
    std::function<void(CMainDlg&)> atEnd;
    int endings = 0;

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
    WatchedRun Watched(const CommandLine& options, bool headless = true) {
        return WatchedRun(options, headless, languages, stations);
    }
    int Launch(WatchedRun& run) { return Run(run), exitCode; }
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
    WatchedRun run = Watched(options);
    DWORD blinks = 0;
    bool drawn = true;
    run.atEnd = [&](CMainDlg& dlg) {
        blinks = dlg.GetBlinkCount();
        drawn = korvyn::platform::IsWindowOnScreen(dlg.GetListPage()->m_hWnd);
    };
    EXPECT_EQ(Launch(run), 0);
    EXPECT_EQ(driver->scanRequests.size(), 5u);
    EXPECT_EQ(blinks, 9u) << "lamp ticks at half the period, between the scan ticks";
    EXPECT_FALSE(drawn) << "a headless run draws no window";
    EXPECT_EQ(timers.ArmedCount(), 0u) << "the batch clock is gone with the run";
}

TEST_F(RunTest, ALaterWindowedStartHandsOverAndEndsWithoutTouchingTheSettings) {
    SingleInstance::Options instance;
    instance.programPath = "/opt/korvyn/bin/korvyn";
    instance.folder = dir.path();
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
    EXPECT_TRUE(QTest::qWaitFor([&] { return activations == 1; }, 5000));

    // Batch runs neither honour nor take the lock.
    options.ticks = 1;
    WatchedRun batch = Watched(options);
    batch.SetInstanceOptions(instance);
    EXPECT_EQ(Launch(batch), 0);
    EXPECT_EQ(batch.endings, 1);
}

} // namespace
