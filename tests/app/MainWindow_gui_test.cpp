// The main window and the scan cycle, run as the program runs them: start-up, the two
// timers fired by hand, Suspend, the adapter box, rotation and the end.
#include "AppHarness.h"
#include "support/gui/WindowPixels.h"

#include "platform/ui/DeviceScreen.h"
#include "settings/COptionsDlg.h"
#include "support/gui/ScriptedPopupMenus.h"
#include "views/CChannelsDlg.h"
#include "views/CScannerDlg.h"

#include <QScreen>
#include <QTest>
#include <QWidget>

#include <csignal>

using namespace korvyn::test;
using korvyn::platform::DialogUnitsToPixels;

namespace {

constexpr UINT_PTR kScan = CMainDlg::kScanTimer;
constexpr UINT_PTR kLamp = CMainDlg::kLampTimer;

enum class Lamp { Green, Olive, Red, Other };

// What the lamp shows: the image of its current state.
Lamp Shown(CMainDlg& dlg) {
    CCustomButton& lamp = dlg.GetLamp();
    HBITMAP image = lamp.GetStateBitmap(lamp.IsChecked());
    if (image == dlg.GetLampImage(IDB_LAMP_GREEN))
        return Lamp::Green;
    if (image == dlg.GetLampImage(IDB_LAMP_OLIVE))
        return Lamp::Olive;
    if (image == dlg.GetLampImage(IDB_LAMP_RED))
        return Lamp::Red;
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

// The rows the list page shows.
int ListRows(CMainDlg& dlg) {
    return dynamic_cast<CListCtrl*>(dlg.GetListPage()->GetDlgItem(IDC_LIST))->GetItemCount();
}

void StoreSetting(int index, DWORD value) {
    CSettings s;
    s.Load();
    s.SetValue(index, value);
    s.Save();
}

TEST_F(AppTest, StartsTheCycleWithTheAdapterFound) {
    driver->list = Networks(3);
    Run([&](CMainDlg& dlg) {
        EXPECT_TRUE(dlg.IsAdapterFound());
        EXPECT_TRUE(dlg.IsScanning());
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
        EXPECT_EQ(timers.Period(dlg, kScan), 1000u) << "re-armed";
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
        std::vector<std::filesystem::path> files;
        for (const auto& entry : std::filesystem::directory_iterator(dir / "Documents")) {
            files.push_back(entry.path());
        }
        ASSERT_EQ(files.size(), 1u);
        EXPECT_EQ(files[0].extension(), ".csv");
        std::string text = ReadFileBytes(files[0]);
        EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 3) << "header and two rows";
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

TEST_F(AppTest, TheLampBlinksAndKeepsTheDeviceAwake) {
    Run([&](CMainDlg& dlg) {
        timers.Fire(dlg, kLamp);
        EXPECT_EQ(Shown(dlg), Lamp::Green);
        EXPECT_EQ(LampText(dlg), u"Scan");
        timers.Fire(dlg, kLamp);
        EXPECT_EQ(Shown(dlg), Lamp::Olive);
        EXPECT_EQ(LampText(dlg), u"Idle");
        timers.Fire(dlg, kLamp);
        EXPECT_EQ(Shown(dlg), Lamp::Green);
        EXPECT_EQ(dlg.GetBlinkCount(), 3u);
        EXPECT_EQ(idleResets, 3);

        // The lamp was handed the same images again and again; they are still there.
        for (UINT id : {IDB_LAMP_GREEN, IDB_LAMP_OLIVE, IDB_LAMP_RED}) {
            BITMAP info{};
            ASSERT_NE(::GetObject(dlg.GetLampImage(id), sizeof info, &info), 0) << id;
            EXPECT_EQ(info.bmWidth, 16);
            EXPECT_EQ(info.bmHeight, 16);
        }

        // A tap on the lamp only flips its own look.
        Tap(dlg.GetLamp());
        EXPECT_EQ(Shown(dlg), Lamp::Olive);
        EXPECT_EQ(dlg.GetBlinkCount(), 3u);
        EXPECT_TRUE(dlg.IsScanning());
        EXPECT_TRUE(timers.IsArmed(dlg, kLamp));
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

TEST_F(AppTest, SuspendStopsBothTimersAndResumeLightsTheLampAtOnce) {
    driver->list = Networks(2);
    Run([&](CMainDlg& dlg) {
        timers.Fire(dlg, kScan);
        timers.Fire(dlg, kLamp);
        CCustomButton& suspend = dynamic_cast<CCustomButton&>(Control(dlg, IDC_SUSPEND));
        EXPECT_EQ(suspend.GetWindowText(), u"Pause");

        Tap(suspend);
        EXPECT_FALSE(dlg.IsScanning());
        EXPECT_FALSE(timers.IsArmed(dlg, kScan));
        EXPECT_FALSE(timers.IsArmed(dlg, kLamp));
        EXPECT_EQ(Shown(dlg), Lamp::Olive);
        EXPECT_EQ(LampText(dlg), u"Idle");
        EXPECT_EQ(suspend.GetWindowText(), u"Resume");
        StationRecord before{};
        ASSERT_TRUE(stations.GetViewItem(0, before));

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

        StationRecord after{};
        ASSERT_TRUE(stations.GetViewItem(0, after));
        EXPECT_EQ(after.lastSeen, before.lastSeen) << "nothing scanned while suspended";
        EXPECT_EQ(driver->scanRequests.size(), 1u);
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
        EXPECT_TRUE(dlg.IsScanning());
        EXPECT_EQ(timers.Period(dlg, kScan), 1000u);
        EXPECT_EQ(timers.Period(dlg, kLamp), 500u);
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
        std::u16string name;
        settings.GetText(CSettings::kAdapter, name);
        EXPECT_EQ(name, u"wlx00c0ca");
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
        std::u16string first, second, chosen;
        EXPECT_EQ(dlg.GetTabs().GetPage(1)->m_hWnd, nullptr);
        settings.GetText(CSettings::kAdapter, chosen);
        EXPECT_EQ(chosen, u"wlanA");
        CComboBox& box = AdapterBox(dlg);
        ASSERT_EQ(box.GetCount(), 3);
        box.GetLBText(0, first);
        box.GetLBText(1, second);
        EXPECT_EQ(first, u"wlanA");
        EXPECT_EQ(second, u"wlanB");
        EXPECT_EQ(box.GetCurSel(), 0);
        settings.GetText(CSettings::kAdapter, chosen);
        EXPECT_EQ(chosen, u"wlanA");
        timers.Fire(dlg, kScan);
        ASSERT_EQ(ListRows(dlg), 2);

        // The user picks the other one: the next tick asks it, the stations stay.
        box.SetCurSel(1);
        dlg.GetOptionsPage()->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_ADAPTER, CBN_SELCHANGE),
                                          reinterpret_cast<LPARAM>(box.m_hWnd));
        settings.GetText(CSettings::kAdapter, chosen);
        EXPECT_EQ(chosen, u"wlanB");
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

// Where a control is, in the main window's client coordinates.
CRect InMainWindow(CMainDlg& dlg, CWnd& control) {
    CRect r;
    control.GetWindowRect(&r);
    dlg.ScreenToClient(&r);
    return r;
}

// Every control of the main window and of its two pages lies inside the window; the
// buttons sit under the tab strip when the window is at least as tall as wide and beside
// it when wider; the layout reaches the window's bottom; the list page shows its count
// line under the list.
void ExpectFilledAndInside(CMainDlg& dlg, const std::string& what) {
    SCOPED_TRACE(what);
    CRect client;
    dlg.GetClientRect(&client);
    const CRect tab = InMainWindow(dlg, Control(dlg, IDC_TAB));
    int bottom = 0;
    for (CWnd* page : {static_cast<CWnd*>(&dlg), static_cast<CWnd*>(dlg.GetListPage()),
                       static_cast<CWnd*>(dlg.GetOptionsPage())}) {
        for (CWnd* c = page->GetWindow(GW_CHILD); c != nullptr; c = c->GetWindow(GW_HWNDNEXT)) {
            if (!(c->GetStyle() & WS_VISIBLE) && page == &dlg) {
                continue;
            }
            const CRect r = InMainWindow(dlg, *c);
            if (page != &dlg && (r.IsRectEmpty() || !(page->GetStyle() & WS_VISIBLE))) {
                continue; // the hidden page is checked when it shows
            }
            EXPECT_TRUE(client.PtInRect(r.TopLeft()) && r.right <= client.right &&
                        r.bottom <= client.bottom)
                << "control " << c->GetDlgCtrlID() << " at " << r.left << "," << r.top << "-"
                << r.right << "," << r.bottom << " in " << client.right << "x" << client.bottom;
            bottom = std::max(bottom, static_cast<int>(r.bottom));
        }
    }
    const CRect exit = InMainWindow(dlg, Control(dlg, IDC_EXIT));
    if (client.Width() > client.Height()) {
        EXPECT_GE(exit.left, tab.right) << "landscape: the buttons beside the strip";
    } else {
        EXPECT_GE(exit.top, tab.bottom) << "portrait or square: the buttons under the strip";
    }
    // The template's own margin (3 dialog units) is all that stays below the layout.
    const int margin = DialogUnitsToPixels(RECT{0, 0, 0, 4}).bottom;
    EXPECT_GE(bottom, client.bottom - margin) << "no empty band at the bottom";
    CScannerDlg* list = dlg.GetListPage();
    const CRect count = InMainWindow(dlg, *list->GetDlgItem(IDC_COUNT));
    EXPECT_GE(count.top, InMainWindow(dlg, *list->GetDlgItem(IDC_LIST)).bottom);
    EXPECT_LE(count.bottom, InMainWindow(dlg, *list).bottom) << "the count line shows";
}

TEST_F(AppTest, AtEveryWindowSizeEveryControlIsInsideAndTheLayoutFillsIt) {
    struct Size {
        int width, height;
    };
    const Size sizes[] = {{240, 240},  {240, 320}, {320, 240},   {321, 240},   {240, 330},
                          {480, 660},  {900, 600}, {640, 480},   {480, 640},   {800, 480},
                          {1024, 600}, {500, 500}, {1920, 1048}, {3840, 2160}, {300, 1000}};
    Run([&](CMainDlg& dlg) {
        for (const Size& size : sizes) {
            korvyn::platform::SetDeviceScreenSize(size.width, size.height);
            for (int page : {0, 1, 2}) {
                dlg.GetTabs().SetCurSel(page);
                dlg.GetTabs().ShowPages();
                ExpectFilledAndInside(dlg, std::to_string(size.width) + "x" +
                                               std::to_string(size.height) + " page " +
                                               std::to_string(page));
            }
        }
        // Maximised and full screen: the window takes the display's size.
        QWidget* window = WidgetOf(dlg);
        for (bool full : {false, true}) {
            const QSize before = window->size();
            full ? window->showFullScreen() : window->showMaximized();
            EXPECT_TRUE(QTest::qWaitFor([&] { return window->size() != before; }));
            EXPECT_GE(window->width(), 640);
            ExpectFilledAndInside(dlg, full ? "full screen" : "maximised");
            window->showNormal();
        }
    });
}

TEST_F(AppTest, TheWindowTakesTheScreensShapeBeforeItIsFirstShown) {
    // A landscape screen 320 pixels high or more is made with the portrait template.
    for (const CSize& size : {CSize(640, 480), CSize(800, 480), CSize(240, 330), CSize(240, 240)}) {
        korvyn::platform::SetDeviceScreenSize(size.cx, size.cy);
        Run([&](CMainDlg& dlg) {
            ExpectFilledAndInside(dlg, std::to_string(size.cx) + "x" + std::to_string(size.cy));
        });
    }
}

TEST_F(AppTest, AfterAResizeTheButtonsShowTheLanguagesTextsAndTheLampsTruth) {
    struct Case {
        DWORD language;
        bool adapter;
    };
    for (const Case& c : {Case{0, true}, Case{0, false}, Case{11, true}, Case{11, false}}) {
        SCOPED_TRACE("language " + std::to_string(c.language) + (c.adapter ? "" : " no adapter"));
        StoreSetting(CSettings::kLanguage, c.language);
        driver->adapters = {{c.adapter ? u"wlan0" : u"eth0",
                             c.adapter ? static_cast<ULONG>(NdisPhysicalMediumWirelessLan) : 0u}};
        Run([&](CMainDlg& dlg) {
            for (const CSize& size : {CSize(320, 240), CSize(240, 240), CSize(240, 320)}) {
                korvyn::platform::SetDeviceScreenSize(size.cx, size.cy);
                EXPECT_EQ(Control(dlg, IDC_EXIT).GetWindowText(), languages.Text(2));
                EXPECT_EQ(Control(dlg, IDC_SUSPEND).GetWindowText(), languages.Text(3));
                EXPECT_NE(Control(dlg, IDC_SUSPEND).GetWindowText(), u"Suspend");
                EXPECT_EQ(LampText(dlg), c.adapter ? u"Idle" : u"NO RADIO");
            }
            Tap(Control(dlg, IDC_SUSPEND)); // checked: "Resume" survives a resize too
            korvyn::platform::SetDeviceScreenSize(320, 240);
            EXPECT_EQ(Control(dlg, IDC_SUSPEND).GetWindowText(), languages.Text(4));
        });
    }
}

TEST_F(AppTest, TheChosenLanguageNamesTheTabsAndButtonsAndOneOutOfRangeShowsEnglish) {
    const std::tuple<DWORD, const char16_t*, const char16_t*, const char16_t*, const char16_t*>
        cases[] = {{11, u"Scanner", u"Optionen", u"Kanäle", u"Beenden"},
                   {13, u"Scan", u"Setup", u"Channels", u"Exit"}};
    for (const auto& [language, scan, setup, channels, exit] : cases) {
        StoreSetting(CSettings::kLanguage, language);
        Run([&](CMainDlg& dlg) {
            EXPECT_EQ(dlg.GetTabs().GetItemText(0), scan);
            EXPECT_EQ(dlg.GetTabs().GetItemText(1), setup);
            EXPECT_EQ(dlg.GetTabs().GetItemText(2), channels);
            EXPECT_EQ(Control(dlg, IDC_EXIT).GetWindowText(), exit);
            EXPECT_EQ(Control(dlg, IDC_SAVE).GetWindowText(), u"Save") << "the template's word";
        });
        EXPECT_EQ(Stored(CSettings::kLanguage), language) << "kept as stored";
    }
    EXPECT_EQ(languages.Language(), 0);
    EXPECT_EQ(CMainApp::LanguageToLoad(12), 12);
    EXPECT_EQ(CMainApp::LanguageToLoad(0xFFFFFFFF), 0) << "-1";
}

TEST_F(AppTest, ExitStopsBothTimersAndTheSettingsAreSavedOnce) {
    session.exitAfterScript = false;
    int writesAtEnd = -1;
    Run([&](CMainDlg& dlg) {
        settings.SetValue(CSettings::kFont, 17);
        EXPECT_EQ(registryWrites, 0) << "nothing is written while running";
        Tap(Control(dlg, IDC_EXIT));
        EXPECT_FALSE(timers.IsArmed(dlg, kScan));
        EXPECT_FALSE(timers.IsArmed(dlg, kLamp));
        writesAtEnd = registryWrites;
    });
    EXPECT_EQ(session.endings, 1);
    EXPECT_EQ(exitCode, 0);
    // One save: the key and all seven values reach the file in a single write.
    EXPECT_EQ(registryWrites - writesAtEnd, 1);
    EXPECT_EQ(Stored(CSettings::kFont), 17u);
    EXPECT_EQ(StoredAdapter(), u"wlan0");
}

TEST_F(AppTest, EnterAndEscLeaveItRunningClosingTheWindowEndsItAndSaves) {
    // Keys reach whichever control has the focus; each goes to the list and the window.
    struct Case {
        const char* what;
        std::function<void(QWidget*)> press;
        bool ends;
    };
    const Case cases[] = {
        {"Enter", [](QWidget* w) { QTest::keyClick(w, Qt::Key_Return); }, false},
        {"keypad Enter", [](QWidget* w) { QTest::keyClick(w, Qt::Key_Enter); }, false},
        {"Esc", [](QWidget* w) { QTest::keyClick(w, Qt::Key_Escape); }, false},
        {"Ctrl+Q", [](QWidget* w) { QTest::keyClick(w, Qt::Key_Q, Qt::ControlModifier); }, true},
        {"the title bar's close button", [](QWidget* w) { w->window()->close(); }, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        session.endings = 0;
        session.exitAfterScript = false;
        Run([&](CMainDlg& dlg) {
            settings.SetValue(CSettings::kSound, 0);
            CWnd* list = dlg.GetListPage()->GetDlgItem(IDC_LIST);
            for (QWidget* target : {WidgetOf(*list), WidgetOf(dlg)}) {
                c.press(target);
                if (!c.ends) {
                    EXPECT_EQ(session.endings, 0);
                    EXPECT_TRUE(timers.IsArmed(dlg, kScan)) << "still scanning";
                    EXPECT_TRUE(dlg.GetListPage()->IsWindowVisible()) << "the page stays";
                }
            }
            if (!c.ends) {
                dlg.Exit();
            }
        });
        EXPECT_EQ(session.endings, 1);
        EXPECT_EQ(Stored(CSettings::kSound), 0u) << "the settings were saved";
    }
}

TEST_F(AppTest, SigtermEndsTheRunAsExitDoesAndSavesTheSettings) {
    session.exitAfterScript = false;
    Run([&](CMainDlg&) {
        settings.SetValue(CSettings::kPeer, 1);
        std::raise(SIGTERM);
    });
    EXPECT_EQ(session.endings, 1);
    EXPECT_EQ(Stored(CSettings::kPeer), 1u);
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

} // namespace

TEST_F(AppTest, ZoomOnTheChannelsPageOpensTheListPagesMeterOnThatStation) {
    driver->list = Networks(3);
    Run([&](CMainDlg& dlg) {
        timers.Fire(dlg, CMainDlg::kScanTimer);
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
        EXPECT_TRUE(dlg.GetListPage()->IsZoomed());
        EXPECT_TRUE(dlg.GetListPage()->IsWindowVisible());
        EXPECT_FALSE(page.IsWindowVisible());
        DWORD selected = 0;
        ASSERT_TRUE(page.GetSelected(selected));
        EXPECT_EQ(selected, top.number);
    });
}
