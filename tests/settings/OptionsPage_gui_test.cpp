// The options page inside a stand-in main window, beside a real network list page, with
// its own registry file, settings and English texts, and message boxes and menus answered
// by script: every control set up from the settings, every change going into the settings
// (and to the list page or the profile) at once, and the language menu.
#include "controls/ThemeColors.h"
#include "core/StationTable.h"
#include "platform/registry/Registry.h"
#include "resource.h"
#include "settings/CLanguageTable.h"
#include "settings/COptionsDlg.h"
#include "settings/CSettings.h"
#include "settings/Languages.h"
#include "support/Observations.h"
#include "support/TempDir.h"
#include "support/gui/HostDialog.h"
#include "support/gui/ScriptedMessageBoxes.h"
#include "support/gui/ScriptedPopupMenus.h"
#include "support/gui/WindowPixels.h"
#include "views/CScannerDlg.h"

#include <QTest>
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <tuple>

using namespace korvyn::test;

namespace {

class Options : public ::testing::Test {
protected:
    void SetUp() override {
        korvyn::platform::SetRegistryFile(dir / "registry.reg");
        korvyn::platform::SetProfileKey(korvyn::kProfileMaker, korvyn::kProfileProgram);
        korvyn::platform::SetDeviceScreenSize(240, 320);
        settings.SetValue(CSettings::kLanguage, 0);
        languages.Load(0);
    }
    void TearDown() override {
        Close();
        korvyn::platform::SetProfileKey(u"", u"");
        korvyn::platform::SetRegistryFile({});
    }

    void Close() {
        page.reset();
        listPage.reset();
        mainWindow.reset();
    }
    // Makes the pages afresh from the settings as they stand.
    void Open() {
        Close();
        mainWindow = std::make_unique<HostDialog>(IDD_MAIN_PORTRAIT); // the main window's stand-in
        ASSERT_TRUE(mainWindow->Open());
        listPage = std::make_unique<CScannerDlg>(stations, settings, languages, mainWindow.get());
        ASSERT_TRUE(listPage->Create(listPage->GetTemplateId(), mainWindow.get()));
        page = std::make_unique<COptionsDlg>(settings, languages, mainWindow.get());
        page->SetListPage(listPage.get());
        ASSERT_TRUE(page->Create(page->GetTemplateId(), mainWindow.get()));
        page->ShowWindow(SW_SHOW);
    }

    CWnd& Item(int id) { return *page->GetDlgItem(id); }
    // The page's own object for a control.
    template <class T> T& ItemAs(int id) {
        auto* item = dynamic_cast<T*>(page->GetDlgItem(id));
        EXPECT_NE(item, nullptr) << id;
        return *item;
    }
    std::u16string Text(int id) { return Item(id).GetWindowText(); }
    DWORD Value(int index) {
        DWORD value = 0xDEAD;
        EXPECT_TRUE(settings.GetValue(index, value));
        return value;
    }
    void Tap(int id, QPoint at = {3, 3}) {
        QTest::mouseClick(WidgetOf(Item(id)), Qt::LeftButton, {}, at);
        QCoreApplication::processEvents(); // a menu's command arrives after the menu
    }

    // Pixels of the font size sample that differ from `number` drawn in bold Tahoma of
    // that height, centred on the page's background; -1 when nothing is drawn there.
    int SampleDiffersFrom(int number) {
        const CRect area(COptionsDlg::kSampleRect);
        const std::string digits = std::to_string(number);
        const auto diff = CompareWithTexts(Shot(*page), area, korvyn::LightTint(),
                                           {{std::u16string(digits.begin(), digits.end()), number,
                                             CRect(0, 0, area.Width(), area.Height())}});
        return diff.inked == 0 ? -1 : diff.differing;
    }

    TempDir dir;
    CSettings settings;
    CLanguageTable languages;
    StationTable stations{settings};
    ScriptedMessageBoxes boxes;
    ScriptedPopupMenus menus;
    std::unique_ptr<HostDialog> mainWindow;
    std::unique_ptr<CScannerDlg> listPage;
    std::unique_ptr<COptionsDlg> page;
};

// Whether a bitmap has the size and the pixels of a bitmap resource.
bool ShowsResource(HBITMAP shown, UINT id) {
    CBitmap expected;
    const CSize size = expected.LoadBitmap(id) ? expected.GetSize() : CSize(0, 0);
    if (shown == nullptr || CBitmap::FromHandle(shown)->GetSize() != size) {
        return false;
    }
    CDC a, b;
    a.CreateCompatibleDC(nullptr);
    b.CreateCompatibleDC(nullptr);
    a.SelectObject(CBitmap::FromHandle(shown));
    b.SelectObject(&expected);
    bool same = true;
    for (int i = 0; i < size.cx * size.cy && same; ++i) {
        same = a.GetPixel(i % size.cx, i / size.cx) == b.GetPixel(i % size.cx, i / size.cx);
    }
    return same;
}

TEST_F(Options, EveryControlStartsFromTheSettings) {
    settings.SetValue(CSettings::kRefresh, 0);
    settings.SetValue(CSettings::kFont, 25);
    settings.SetValue(CSettings::kPeer, 1);
    settings.SetValue(CSettings::kWep, 0);
    settings.SetValue(CSettings::kSound, 7); // any non-zero value mutes
    settings.SetValue(CSettings::kLanguage, 1);
    ASSERT_TRUE(korvyn::WriteExportFormat(0));
    Open();

    // A font size above 20 is shown as 12 (the other stored values: the next test).
    EXPECT_EQ(SampleDiffersFrom(12), 0);

    struct Check {
        int id;
        bool checked;
        std::u16string normal, checkedCaption;
        UINT normalBitmap, checkedBitmap;
    };
    for (const Check& c :
         {Check{IDC_HIDE_PEERS, true, u"Show peers", u"Hide peers", IDB_PEERS, IDB_PEERS_HIDDEN},
          Check{IDC_HIDE_SECURED, false, u"Show secure", u"Hide secure", IDB_SECURED,
                IDB_SECURED_HIDDEN},
          Check{IDC_SOUND, true, u"Sound on", u"Sound off", IDB_SOUND_ON, IDB_SOUND_OFF}}) {
        auto& button = ItemAs<CCustomButton>(c.id);
        EXPECT_EQ(button.IsChecked(), c.checked) << c.id;
        EXPECT_EQ(button.GetCaption(false), c.normal);
        EXPECT_EQ(button.GetCaption(true), c.checkedCaption);
        EXPECT_TRUE(ShowsResource(button.GetStateBitmap(false), c.normalBitmap)) << c.id;
        EXPECT_TRUE(ShowsResource(button.GetStateBitmap(true), c.checkedBitmap)) << c.id;
    }
    EXPECT_EQ(page->GetCheckedRadioButton(IDC_SAVE_CSV, IDC_SAVE_XLS), IDC_SAVE_CSV);

    // The adapter box's list is six items high.
    auto& box = page->GetAdapterBox();
    CRect dropped;
    box.GetDroppedControlRect(&dropped);
    EXPECT_EQ(dropped.Height(), 6 * box.GetItemHeight(0));
}

TEST_F(Options, FlagsOfOtherLanguagesAndStoredValuesOutOfRange) {
    struct Case {
        DWORD language, speed, font;
        UINT flag;
        int speedShown, fontShown;
        std::u16string name;
    };
    // A stored speed of 0 is shown as step 2, all stay stored until a slider moves.
    for (const Case& c : {Case{1, 0, 25, IDB_FLAG_ENGLISH_AUSTRALIA, 2, 12, u"Fast"},
                          Case{12, 6, 9, IDB_FLAG_ITALIAN, 2, 10, u"Fast"},
                          Case{4, 5, 20, IDB_FLAG_ENGLISH_USA, 5, 20, u"Slowest"},
                          Case{13, 1, 0xFFFFFFFF, IDB_FLAG_ENGLISH, 1, 12, u"Fastest"}}) {
        settings.SetValue(CSettings::kLanguage, c.language);
        settings.SetValue(CSettings::kRefresh, c.speed);
        settings.SetValue(CSettings::kFont, c.font);
        Open();
        EXPECT_TRUE(
            ShowsResource(ItemAs<CCustomButton>(IDC_LANGUAGE).GetStateBitmap(false), c.flag))
            << c.language;
        EXPECT_EQ(ItemAs<CCustomSlider>(IDC_SPEED_SLIDER).GetPos(), c.speedShown) << c.speed;
        EXPECT_EQ(Text(IDC_SPEED_NAME), c.name);
        EXPECT_EQ(ItemAs<CCustomSlider>(IDC_FONT_SLIDER).GetPos(), c.fontShown) << c.font;
        EXPECT_EQ(Value(CSettings::kFont), c.font);
        EXPECT_EQ(page->GetCheckedRadioButton(IDC_SAVE_CSV, IDC_SAVE_XLS), IDC_SAVE_XLS)
            << "the profile holds no format yet";
    }
}

TEST_F(Options, SpeedSliderNamesTheStepAndStoresIt) {
    settings.SetValue(CSettings::kRefresh, 3);
    Open();
    EXPECT_EQ(Text(IDC_SPEED_NAME), u"Normal");
    // Dragged to its left end: the slowest step.
    QWidget* slider = WidgetOf(Item(IDC_SPEED_SLIDER));
    QTest::mousePress(slider, Qt::LeftButton, {}, QPoint(40, 15));
    StylusMove(slider, QPoint(1, 15));
    QTest::mouseRelease(slider, Qt::LeftButton, {}, QPoint(1, 15));
    EXPECT_EQ(Text(IDC_SPEED_NAME), u"Slowest");
    EXPECT_EQ(Value(CSettings::kRefresh), 5u);
    const QImage slowest = Shot(Item(IDC_SPEED_SLIDER));
    Tap(IDC_SPEED_SLIDER, QPoint(75, 15));
    EXPECT_EQ(Value(CSettings::kRefresh), 1u);
    EXPECT_NE(Shot(Item(IDC_SPEED_SLIDER)), slowest) << "the thumb goes with the step";
    Tap(IDC_SPEED_SLIDER, QPoint(30, 15));
    EXPECT_EQ(Text(IDC_SPEED_NAME), u"Slow");
    EXPECT_EQ(Value(CSettings::kRefresh), 4u);

    // Scroll reports from anything but the two sliders change nothing.
    page->SendMessage(WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 2),
                      reinterpret_cast<LPARAM>(Item(IDC_HIDE_PEERS).m_hWnd));
    page->SendMessage(WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 2), 0);
    EXPECT_EQ(Value(CSettings::kRefresh) + Value(CSettings::kFont), 4u + 12u);
}

TEST_F(Options, FontSliderRedrawsTheSampleAndResizesTheList) {
    settings.SetValue(CSettings::kFont, 14);
    Open();
    Tap(IDC_FONT_SLIDER, QPoint(78, 15));
    EXPECT_EQ(Value(CSettings::kFont), 20u);
    EXPECT_EQ(listPage->GetFontSize(), 20);
    EXPECT_EQ(SampleDiffersFrom(20), 0);
    Tap(IDC_FONT_SLIDER, QPoint(2, 15));
    EXPECT_EQ(Value(CSettings::kFont), 10u);
    EXPECT_EQ(Value(CSettings::kRefresh), 2u) << "the speed is left alone";
}

// The sliders double with the dialog units, and their pictures with them, so that the
// thumb stays on the track: on a page made for a double-resolution screen, and on one that
// the screen grows under.
TEST_F(Options, OnADoubleResolutionScreenTheSlidersShowTheirPicturesDoubled) {
    settings.SetValue(CSettings::kRefresh, 2);
    settings.SetValue(CSettings::kFont, 16);
    Open();
    const int ids[2] = {IDC_SPEED_SLIDER, IDC_FONT_SLIDER};
    const QImage normal[2] = {Shot(Item(ids[0])), Shot(Item(ids[1]))};
    auto expectDoubled = [&](const char* how) {
        for (int i = 0; i < 2; ++i) {
            const QImage doubled = Shot(Item(ids[i]));
            EXPECT_EQ(doubled.size(), normal[i].size() * 2) << how << i;
            EXPECT_EQ(doubled, normal[i].scaled(normal[i].size() * 2)) << how << i;
        }
    };
    korvyn::platform::SetDeviceScreenSize(480, 640);
    CRect r;
    page->GetWindowRect(&r);
    page->SetWindowPos(nullptr, 0, 0, r.Width() * 2, r.Height() * 2, SWP_NOMOVE | SWP_NOZORDER);
    expectDoubled("grown");
    Open();
    expectDoubled("made");
    Tap(IDC_FONT_SLIDER, QPoint(158, 30));
    EXPECT_EQ(Value(CSettings::kFont), 20u);
}

TEST_F(Options, HideButtonsStoreTheirStateAndStartTheListAgain) {
    Open();
    const ScanObservation scan[] = {Obs(1, -50, u"B", 6, 1, 0), Obs(2, -50, u"C", 6, 0, 0),
                                    Obs(3, -50, u"D", 6, 1, 1)};
    stations.Merge(scan, 3);
    auto& list = *static_cast<CListCtrl*>(listPage->GetDlgItem(IDC_LIST));
    const std::tuple<int, int, std::u16string, int> buttons[] = {
        {IDC_HIDE_PEERS, CSettings::kPeer, u"Hide peers", 3},
        {IDC_HIDE_SECURED, CSettings::kWep, u"Hide secure", 2}};
    for (const auto& [id, setting, caption, rows] : buttons) {
        listPage->RefreshList();
        EXPECT_EQ(list.GetItemCount(), rows);
        listPage->SendMessage(WM_COMMAND, ID_ZOOM, 0);
        ASSERT_TRUE(listPage->IsZoomed());
        Tap(id);
        EXPECT_EQ(Value(setting), 1u);
        EXPECT_EQ(Text(id), caption);
        EXPECT_FALSE(listPage->IsZoomed());
        EXPECT_EQ(list.GetItemCount(), 0);
    }
    listPage->RefreshList();
    EXPECT_EQ(list.GetItemCount(), 1) << "open access points only";
    Tap(IDC_HIDE_PEERS);
    EXPECT_EQ(Value(CSettings::kPeer), 0u);
    EXPECT_EQ(Text(IDC_HIDE_PEERS), u"Show peers");
    EXPECT_EQ(Value(CSettings::kSound), 1u) << "the sound is left alone";
}

TEST_F(Options, SoundButtonMutesTheNewNetworkSoundAndSaveFormatsGoToTheProfile) {
    settings.SetValue(CSettings::kSound, 0);
    Open();
    for (DWORD muted : {1u, 0u}) {
        Tap(IDC_SOUND);
        EXPECT_EQ(Text(IDC_SOUND), muted ? u"Sound off" : u"Sound on");
        EXPECT_EQ(Value(CSettings::kSound), muted);
    }
    Tap(IDC_SAVE_CSV);
    EXPECT_EQ(korvyn::ReadExportFormat(), 0);
    Tap(IDC_SAVE_XLS);
    EXPECT_EQ(korvyn::ReadExportFormat(), 1);
}

TEST_F(Options, OnlyAChangedAdapterChoiceReachesTheMainWindow) {
    Open();
    mainWindow->log.clear();
    constexpr WORD kDropDown = 7; // the box opens its list
    for (WORD code : {WORD(CBN_SELCHANGE), kDropDown}) {
        page->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_ADAPTER, code),
                          reinterpret_cast<LPARAM>(page->GetAdapterBox().m_hWnd));
    }
    EXPECT_EQ(mainWindow->log,
              std::vector<std::string>{"command 1004 code " + std::to_string(CBN_SELCHANGE)});
}

// ---- The language menu ----

using LanguageMenu = Options;

std::vector<std::u16string> Offered(const korvyn::platform::PopupMenuRequest& menu) {
    std::vector<std::u16string> texts;
    for (const auto& item : menu.items)
        texts.push_back(item.text);
    return texts;
}

TEST_F(LanguageMenu, OffersEveryLanguageButTheStoredOneAboveTheButton) {
    settings.SetValue(CSettings::kLanguage, 0xFFFFFFFF); // out of range: English
    Open();
    Tap(IDC_LANGUAGE);
    ASSERT_EQ(menus.shown().size(), 1u);
    const auto texts = Offered(menus.shown().back());
    EXPECT_EQ(texts.size(), std::size_t(korvyn::kLanguageCount - 1));
    EXPECT_EQ(std::count(texts.begin(), texts.end(), u"&English"), 0);
    EXPECT_TRUE(boxes.shown().empty()) << "dismissed: nothing asked";
    // Its bottom-left corner at the button's top-left corner.
    const auto& menu = menus.shown().back();
    CRect button;
    Item(IDC_LANGUAGE).GetWindowRect(&button);
    EXPECT_EQ(CPoint(menu.x, menu.y), button.TopLeft());
    EXPECT_EQ(menu.flags & (TPM_BOTTOMALIGN | TPM_VCENTERALIGN | TPM_RIGHTALIGN | TPM_CENTERALIGN |
                            TPM_RETURNCMD),
              TPM_BOTTOMALIGN);
    EXPECT_EQ(menu.owner, page->m_hWnd);
}

TEST_F(LanguageMenu, NoLeavesTheLanguageAsItWasYesStoresItForTheNextStart) {
    settings.SetValue(CSettings::kLanguage, 4);
    Open();
    menus.Choose(ID_LANGUAGE_FRENCH_CANADA);
    boxes.Answer(IDNO);
    Tap(IDC_LANGUAGE);
    ASSERT_EQ(boxes.shown().size(), 1u) << "no second message";
    const std::u16string question =
        u"Are you sure you want to change program language to French Canada?";
    EXPECT_EQ(boxes.shown()[0].text, question);
    EXPECT_EQ(boxes.shown()[0].type, UINT(MB_YESNO | MB_ICONQUESTION));
    EXPECT_EQ(Value(CSettings::kLanguage), 4u);

    menus.Choose(ID_LANGUAGE_FRENCH_CANADA);
    boxes.Answer(IDYES);
    Tap(IDC_LANGUAGE);
    ASSERT_EQ(boxes.shown().size(), 3u);
    const auto& notice = boxes.shown()[2];
    EXPECT_EQ(notice.text,
              u"Program language changed. Restart the application for the change to take effect.");
    EXPECT_EQ(notice.caption, u"Korvyn");
    EXPECT_EQ(notice.type, UINT(MB_OK | MB_ICONINFORMATION));
    EXPECT_EQ(Value(CSettings::kLanguage), 8u);

    // The running page keeps its texts; the menu now leaves out French Canada. The USA
    // spelling of the question is the program's own.
    EXPECT_EQ(Text(IDC_SPEED_LABEL), u"Refresh:");
    menus.Choose(ID_LANGUAGE_ENGLISH_USA);
    boxes.Answer(IDNO);
    Tap(IDC_LANGUAGE);
    const auto texts = Offered(menus.shown().back());
    EXPECT_EQ(std::count(texts.begin(), texts.end(), u"Français &Québec"), 0);
    ASSERT_EQ(boxes.shown().size(), 4u);
    EXPECT_EQ(boxes.shown()[3].text,
              u"Are you sure you want to change program language to Englis USA?");

    // Commands other than languages ask nothing.
    page->SendMessage(WM_COMMAND, MAKEWPARAM(32778, 0), 0);
    EXPECT_EQ(boxes.shown().size(), 4u);
}

} // namespace
