// The main window and the scan cycle, run as the program runs them: start-up, the two
// timers fired by hand, Suspend, the adapter box, the languages and the end.
#include "AppHarness.h"
#include "support/gui/WindowPixels.h"

#include "settings/COptionsDlg.h"
#include "support/gui/ScriptedPopupMenus.h"
#include "views/CChannelsDlg.h"
#include "views/CScannerDlg.h"

#include <QTest>
#include <QWidget>

#include <csignal>

using namespace korvyn::test;

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

std::u16string LampText(CMainDlg& dlg) {
    return dlg.GetLamp().GetWindowText();
}

CWnd& Control(CMainDlg& dlg, int id) {
    return *dlg.GetDlgItem(id);
}

CComboBox& AdapterBox(CMainDlg& dlg) {
    return dlg.GetOptionsPage()->GetAdapterBox();
}

int ListRows(CMainDlg& dlg) {
    return dynamic_cast<CListCtrl*>(dlg.GetListPage()->GetDlgItem(IDC_LIST))->GetItemCount();
}

std::u16string Chosen(CSettings& settings) {
    std::u16string name;
    settings.GetText(CSettings::kAdapter, name);
    return name;
}

TEST_F(AppTest, TheCycleTheLampAndSuspend) {
    driver->list = Networks(3);
    Run([&](CMainDlg& dlg) {
        EXPECT_TRUE(dlg.IsAdapterFound() && dlg.IsScanning());
        EXPECT_EQ(timers.Period(dlg, kScan), 1000u);
        EXPECT_EQ(timers.Period(dlg, kLamp), 500u);
        EXPECT_EQ(Shown(dlg), Lamp::Olive);
        EXPECT_EQ(LampText(dlg), u"Idle");
        EXPECT_TRUE(boxes.shown().empty());

        // The first tick reads what the adapter holds already, then asks for a new scan.
        ASSERT_TRUE(timers.Fire(dlg, kScan));
        EXPECT_EQ(driver->scanRequests, std::vector<std::u16string>{u"wlan0"});
        EXPECT_EQ(ListRows(dlg), 3);
        EXPECT_EQ(dlg.GetListPage()->GetDlgItem(IDC_COUNT)->GetWindowText(), u"3/3 active");

        // Each lamp tick blinks and keeps the device awake.
        for (auto [shown, text] :
             {std::pair{Lamp::Green, u"Scan"}, {Lamp::Olive, u"Idle"}, {Lamp::Green, u"Scan"}}) {
            timers.Fire(dlg, kLamp);
            EXPECT_EQ(Shown(dlg), shown);
            EXPECT_EQ(LampText(dlg), text);
        }
        EXPECT_EQ(dlg.GetBlinkCount(), 3u);
        EXPECT_EQ(idleResets, 3);

        // Suspend stops both timers; Resume lights the lamp at once, at the new periods.
        CWnd& suspend = Control(dlg, IDC_SUSPEND);
        EXPECT_EQ(suspend.GetWindowText(), u"Pause");
        Tap(suspend);
        EXPECT_FALSE(dlg.IsScanning() || timers.IsArmed(dlg, kScan) || timers.IsArmed(dlg, kLamp));
        EXPECT_EQ(Shown(dlg), Lamp::Olive);
        EXPECT_EQ(LampText(dlg), u"Idle");
        EXPECT_EQ(suspend.GetWindowText(), u"Resume");
        settings.SetValue(CSettings::kRefresh, 4);
        Tap(suspend);
        EXPECT_TRUE(dlg.IsScanning());
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
        EXPECT_EQ(++files, std::filesystem::directory_iterator()) << "one file";
    });
}

TEST_F(AppTest, EveryTickReadsTheRefreshSettingAfresh) {
    Run([&](CMainDlg& dlg) {
        const std::pair<DWORD, UINT> periods[] = {{0, 1000}, {1, 500},          {2, 1000},
                                                  {3, 1500}, {4, 2000},         {5, 2500},
                                                  {6, 1000}, {0xFFFFFFFF, 1000}};
        for (auto [refresh, expected] : periods) {
            settings.SetValue(CSettings::kRefresh, refresh);
            ASSERT_TRUE(timers.Fire(dlg, kScan));
            EXPECT_EQ(timers.Period(dlg, kScan), expected) << refresh;
            ASSERT_TRUE(timers.Fire(dlg, kLamp));
            EXPECT_EQ(timers.Period(dlg, kLamp), expected / 2) << refresh;
        }
        // A change waits for the tick already pending: 2 -> 5 leaves 1000 ms armed.
        settings.SetValue(CSettings::kRefresh, 2);
        timers.Fire(dlg, kScan);
        settings.SetValue(CSettings::kRefresh, 5);
        EXPECT_EQ(timers.Period(dlg, kScan), 1000u);
        timers.Fire(dlg, kScan);
        EXPECT_EQ(timers.Period(dlg, kScan), 2500u);
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
        for (int row = 0; row < 2; ++row) {
            StationRecord r{};
            ASSERT_TRUE(stations.GetViewItem(row, r));
            EXPECT_EQ(r.active, 1) << "still marked active after failed and empty reads";
        }
        EXPECT_EQ(driver->scanRequests.size(), 3u) << "a new scan is asked for every tick";
        EXPECT_TRUE(timers.IsArmed(dlg, kScan));
    });
}

TEST_F(AppTest, WithoutAnAdapterNameTheLampTurnsRedAndStopsWhileScansGoOn) {
    Run([&](CMainDlg& dlg) {
        settings.SetText(CSettings::kAdapter, u"");
        timers.Fire(dlg, kLamp);
        EXPECT_EQ(Shown(dlg), Lamp::Red);
        EXPECT_FALSE(timers.IsArmed(dlg, kLamp));
        EXPECT_EQ(idleResets, 1);
        BITMAP info{};
        EXPECT_NE(::GetObject(dlg.GetLampImage(IDB_LAMP_GREEN), sizeof info, &info), 0)
            << "the green image outlives the lamp's change to red";

        driver->list = Networks(1);
        timers.Fire(dlg, kScan);
        EXPECT_TRUE(timers.IsArmed(dlg, kScan)) << "scans go on";
        EXPECT_FALSE(timers.IsArmed(dlg, kLamp));

        // With an adapter chosen again, a resume brings the blinking back.
        settings.SetText(CSettings::kAdapter, u"wlan0");
        Tap(Control(dlg, IDC_SUSPEND));
        Tap(Control(dlg, IDC_SUSPEND));
        ASSERT_TRUE(timers.Fire(dlg, kLamp));
        EXPECT_EQ(Shown(dlg), Lamp::Green);
    });
}

TEST_F(AppTest, WithoutAWirelessAdapterItSaysSoAndNeverScans) {
    driver->adapters = {{u"eth0", 0}};
    driver->list = Networks(2);
    Run([&](CMainDlg& dlg) {
        ASSERT_EQ(boxes.shown().size(), 1u);
        EXPECT_EQ(boxes.shown()[0].text,
                  u"Could not locate a Wi-Fi Adapter, please ensure that the adapter is enabled\n"
                  u"Sync cable should be disconnected.\nYou must restart the program");
        EXPECT_EQ(boxes.shown()[0].caption, u"Korvyn");
        EXPECT_EQ(boxes.shown()[0].type, static_cast<UINT>(MB_OK));
        EXPECT_FALSE(dlg.IsAdapterFound());
        EXPECT_EQ(Shown(dlg), Lamp::Red);
        EXPECT_EQ(LampText(dlg), u"NO RADIO");
        EXPECT_EQ(AdapterBox(dlg).GetCount(), 0);

        // The timers stay armed; their ticks and Suspend do nothing.
        EXPECT_TRUE(timers.Fire(dlg, kScan));
        EXPECT_TRUE(timers.Fire(dlg, kLamp));
        EXPECT_TRUE(driver->scanRequests.empty());
        EXPECT_EQ(idleResets, 0);
        Tap(Control(dlg, IDC_SUSPEND));
        EXPECT_EQ(Shown(dlg), Lamp::Red);
        EXPECT_TRUE(dlg.IsScanning() && timers.IsArmed(dlg, kScan));
        EXPECT_EQ(ListRows(dlg), 0);
    });
}

TEST_F(AppTest, TheOnlyAdapterIsStoredWhateverWasSaved) {
    CSettings earlier;
    earlier.SetText(CSettings::kAdapter, u"wlan9");
    earlier.Save();
    driver->adapters = {{u"eth0", 0}, {u"wlx00c0ca", NdisPhysicalMediumWirelessLan}};
    Run([&](CMainDlg& dlg) {
        EXPECT_EQ(AdapterBox(dlg).GetCount(), 1);
        EXPECT_EQ(Chosen(settings), u"wlx00c0ca");
    });
    EXPECT_EQ(StoredAdapter(), u"wlx00c0ca");
}

TEST_F(AppTest, AdaptersAreListedSortedAndTheFirstIsChosen) {
    driver->adapters = {{u"wlanB", NdisPhysicalMediumWirelessLan},
                        {u"WLANC", NdisPhysicalMediumWirelessLan},
                        {u"wlanA", NdisPhysicalMediumWirelessLan}};
    driver->list = Networks(2);
    Run([&](CMainDlg& dlg) {
        // The options page is made when first shown; the adapter is chosen before, as
        // the box will show it (sorted whatever the case).
        EXPECT_EQ(dlg.GetTabs().GetPage(1)->m_hWnd, nullptr);
        EXPECT_EQ(Chosen(settings), u"wlanA");
        CComboBox& box = AdapterBox(dlg);
        ASSERT_EQ(box.GetCount(), 3);
        for (auto [row, name] : {std::pair{0, u"wlanA"}, {1, u"wlanB"}}) {
            std::u16string text;
            box.GetLBText(row, text);
            EXPECT_EQ(text, name);
        }
        EXPECT_EQ(box.GetCurSel(), 0);
        timers.Fire(dlg, kScan);
        ASSERT_EQ(ListRows(dlg), 2);

        // The user picks the other one: the next tick asks it, the stations stay.
        box.SetCurSel(1);
        dlg.GetOptionsPage()->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_ADAPTER, CBN_SELCHANGE),
                                          reinterpret_cast<LPARAM>(box.m_hWnd));
        EXPECT_EQ(Chosen(settings), u"wlanB");
        driver->list = Networks(0);
        timers.Fire(dlg, kScan);
        EXPECT_EQ(driver->scanRequests.back(), u"wlanB");
        EXPECT_EQ(ListRows(dlg), 2);
    });
    EXPECT_EQ(StoredAdapter(), u"wlanB");
}

TEST_F(AppTest, TheTemplateFollowsTheScreenShape) {
    struct Case {
        int width, height;
        UINT main, list;
    };
    for (const Case& c : {Case{240, 320, IDD_MAIN_PORTRAIT, IDD_SCANNER_PORTRAIT},
                          Case{320, 240, IDD_MAIN_LANDSCAPE, IDD_SCANNER_LANDSCAPE},
                          Case{240, 240, IDD_MAIN_SQUARE, IDD_SCANNER_SQUARE},
                          Case{480, 640, IDD_MAIN_PORTRAIT, IDD_SCANNER_PORTRAIT},
                          Case{640, 480, IDD_MAIN_PORTRAIT, IDD_SCANNER_PORTRAIT}}) {
        EXPECT_EQ(CMainDlg::TemplateForScreen(c.width, c.height), c.main) << c.width;
        korvyn::platform::SetDeviceScreenSize(c.width, c.height);
        CMainDlg dlg(settings, languages, stations);
        EXPECT_EQ(dlg.GetTemplateId(), c.main) << c.width << "x" << c.height;
        CScannerDlg page(stations, settings, languages);
        EXPECT_EQ(page.GetTemplateId(), c.list) << c.width << "x" << c.height;
    }
    EXPECT_EQ(CMainDlg::TemplateForRotation(480, 640), static_cast<UINT>(IDD_MAIN_PORTRAIT));
    EXPECT_EQ(CMainDlg::TemplateForRotation(640, 480), static_cast<UINT>(IDD_MAIN_LANDSCAPE));
    EXPECT_EQ(CMainDlg::TemplateForRotation(300, 300), static_cast<UINT>(IDD_MAIN_SQUARE));
}

// The stored language names the tabs and buttons, also after a resize; one out of range
// shows English and is kept as stored. The lamp keeps telling the truth.
TEST_F(AppTest, TheChosenLanguageNamesTabsAndButtonsAfterEveryResize) {
    struct Case {
        DWORD language;
        bool adapter;
        std::u16string scan, setup, channels, exit;
    };
    for (const Case& c : {Case{0, false, u"Scan", u"Setup", u"Channels", u"Exit"},
                          Case{11, true, u"Scanner", u"Optionen", u"Kanäle", u"Beenden"},
                          Case{11, false, u"Scanner", u"Optionen", u"Kanäle", u"Beenden"},
                          Case{13, true, u"Scan", u"Setup", u"Channels", u"Exit"}}) {
        SCOPED_TRACE("language " + std::to_string(c.language) + (c.adapter ? "" : " no adapter"));
        CSettings stored;
        stored.SetValue(CSettings::kLanguage, c.language);
        stored.Save();
        driver->adapters = {{c.adapter ? u"wlan0" : u"eth0",
                             c.adapter ? static_cast<ULONG>(NdisPhysicalMediumWirelessLan) : 0u}};
        Run([&](CMainDlg& dlg) {
            EXPECT_EQ(dlg.GetTabs().GetItemText(0), c.scan);
            EXPECT_EQ(dlg.GetTabs().GetItemText(1), c.setup);
            EXPECT_EQ(dlg.GetTabs().GetItemText(2), c.channels);
            EXPECT_EQ(Control(dlg, IDC_SAVE).GetWindowText(), u"Save") << "the template's word";
            for (const CSize& size : {CSize(320, 240), CSize(240, 240), CSize(240, 320)}) {
                korvyn::platform::SetDeviceScreenSize(size.cx, size.cy);
                EXPECT_EQ(Control(dlg, IDC_EXIT).GetWindowText(), c.exit);
                EXPECT_EQ(Control(dlg, IDC_SUSPEND).GetWindowText(), languages.Text(3));
                EXPECT_NE(Control(dlg, IDC_SUSPEND).GetWindowText(), u"Suspend");
                EXPECT_EQ(LampText(dlg), c.adapter ? u"Idle" : u"NO RADIO");
            }
            Tap(Control(dlg, IDC_SUSPEND)); // checked: "Resume" survives a resize too
            korvyn::platform::SetDeviceScreenSize(320, 240);
            EXPECT_EQ(Control(dlg, IDC_SUSPEND).GetWindowText(), languages.Text(4));
        });
        EXPECT_EQ(Stored(CSettings::kLanguage), c.language) << "kept as stored";
    }
    EXPECT_EQ(languages.Language(), 0);
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
        {"keypad Enter", [](CMainDlg&, QWidget* w) { QTest::keyClick(w, Qt::Key_Enter); }, false},
        {"Esc", [](CMainDlg&, QWidget* w) { QTest::keyClick(w, Qt::Key_Escape); }, false},
        {"Exit", [](CMainDlg& dlg, QWidget*) { Tap(Control(dlg, IDC_EXIT)); }, true},
        {"Ctrl+Q",
         [](CMainDlg&, QWidget* w) { QTest::keyClick(w, Qt::Key_Q, Qt::ControlModifier); }, true},
        {"the title bar's close button", [](CMainDlg&, QWidget* w) { w->window()->close(); }, true},
        {"SIGTERM", [](CMainDlg&, QWidget*) { std::raise(SIGTERM); }, true},
    };
    session.exitAfterScript = false;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        session.endings = 0;
        int writesAtEnd = -1;
        Run([&](CMainDlg& dlg) {
            settings.SetValue(CSettings::kSound, 0);
            CWnd* list = dlg.GetListPage()->GetDlgItem(IDC_LIST);
            for (QWidget* target : {WidgetOf(*list), WidgetOf(dlg)}) {
                c.press(dlg, target);
                if (c.ends) {
                    break;
                }
                EXPECT_EQ(session.endings, 0);
                EXPECT_TRUE(timers.IsArmed(dlg, kScan)) << "still scanning";
                EXPECT_TRUE(dlg.GetListPage()->IsWindowVisible()) << "the page stays";
            }
            if (std::string_view(c.what) == "Exit") {
                EXPECT_FALSE(timers.IsArmed(dlg, kScan) || timers.IsArmed(dlg, kLamp));
            }
            EXPECT_EQ(registryWrites, 0) << "nothing is written while running";
            writesAtEnd = registryWrites;
            if (!c.ends) {
                dlg.Exit();
            }
        });
        EXPECT_EQ(session.endings, 1);
        EXPECT_EQ(exitCode, 0);
        EXPECT_EQ(registryWrites - writesAtEnd, 1);
        registryWrites = 0;
        EXPECT_EQ(Stored(CSettings::kSound), 0u) << "the settings were saved";
        EXPECT_EQ(StoredAdapter(), u"wlan0");
    }
}

TEST_F(AppTest, AFailedSaveIsReported) {
    korvyn::platform::SetRegistrySaveHook([](korvyn::platform::RegistrySaveStep s) {
        return s != korvyn::platform::RegistrySaveStep::Rename;
    });
    testing::internal::CaptureStderr();
    Run([&](CMainDlg&) {});
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("korvyn: the settings could not be saved to "), std::string::npos) << err;
    EXPECT_NE(err.find("registry.reg"), std::string::npos) << err;
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
        EXPECT_FALSE(page.IsWindowVisible());
        DWORD selected = 0;
        ASSERT_TRUE(page.GetSelected(selected));
        EXPECT_EQ(selected, top.number);
    });
}

} // namespace
