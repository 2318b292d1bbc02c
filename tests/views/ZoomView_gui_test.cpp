// The zoomed signal meter: a row tap and "ZOOM", what the zoomed page draws and its
// repaint after each refresh, its sound, and the way back to the list.
#include "PageFixture.h"

#include "core/MeterSound.h"
#include "platform/sound/PlaySound.h"
#include "views/StationDetails.h"
#include "wifi/SecurityClass.h"

#include <QCoreApplication>
#include <QTest>

#include <algorithm>

using namespace korvyn::test;

namespace {

using korvyn::MeterSound;

std::string ToneOf(LONG rssi) {
    return "tone " + std::to_string(MeterSound::Step(rssi));
}

// Names each request: the chime, the meter's click or its tone of a pitch step, or
// "waits" for one that does not return at once.
struct Listener : korvyn::platform::SoundPlayer {
    std::vector<std::string> heard;
    BOOL Play(LPCWSTR name, HMODULE, DWORD flags) override {
        auto is = [&](const korvyn::platform::ToneShape& shape) {
            const auto wave = korvyn::platform::MakeToneWave(shape);
            return std::equal(wave.begin(), wave.end(), reinterpret_cast<const BYTE*>(name));
        };
        std::string what = (flags & SND_RESOURCE) == SND_RESOURCE ? "chime"
                           : is(MeterSound::Click())              ? "click"
                                                                  : "?";
        for (int step = 0; step < MeterSound::kSteps && what == "?"; ++step)
            what = is(MeterSound::Tone(step)) ? "tone " + std::to_string(step) : what;
        heard.push_back(flags & SND_ASYNC ? what : "waits");
        return TRUE;
    }
};

class Zoom : public PageFixture {
protected:
    void SetUp() override {
        PageFixture::SetUp();
        korvyn::platform::SetSoundPlayer(&listener);
        OpenPage();
        Merge({Obs(1, -67, u"Alpha"), Obs(2, 0, u"Bravo"), Obs(3, -100, u"Charlie")});
        page->RefreshList();
        Shot(*page); // the list takes its font
    }
    void TearDown() override {
        korvyn::platform::SetSoundPlayer(nullptr);
        PageFixture::TearDown();
    }
    void Tick(std::vector<ScanObservation> scan) {
        Merge(std::move(scan));
        page->RefreshList();
    }
    void TapRow(int row) {
        CRect r;
        List().GetItemRect(row, &r, LVIR_BOUNDS);
        tapped = CPoint(10, r.top + 2);
        QTest::mouseClick(WidgetOf(List()), Qt::LeftButton, {}, QPoint(tapped.x, tapped.y));
        QCoreApplication::processEvents(); // the chosen command arrives after the menu
    }
    void ZoomInto(const std::u16string& name) {
        page->RestoreList();
        page->RefreshList();
        menus.Choose(ID_ZOOM);
        TapRow(RowOf(name));
    }
    // How many pixels of the name band and the number differ from the meter as it should
    // be there: the number in a 100-pixel bold font in its cell, the name in the top band.
    int DiffersFromMeter(const std::u16string& number, const std::u16string& name) {
        CRect client;
        page->GetClientRect(&client);
        const korvyn::MeterLayout& m = page->GetMeterLayout();
        return CompareWithTexts(
                   Shot(*page), CRect(0, 0, client.right, m.number.bottom),
                   page->GetBackgroundColor(),
                   {{number, 100, m.numberCell}, {name, 20, CRect(0, 0, client.right, 20)}})
            .differing;
    }
    Listener listener;
    ScriptedPopupMenus menus;
    CPoint tapped;
};

} // namespace

TEST_F(Zoom, ARowTapOffersZoomAtTheTapAndATapBelowTheRowsNothing) {
    CRect last;
    List().GetItemRect(2, &last, LVIR_BOUNDS);
    QTest::mouseClick(WidgetOf(List()), Qt::LeftButton, {}, QPoint(10, last.bottom + 10));
    EXPECT_TRUE(menus.shown().empty());

    TapRow(1); // dismissed: nothing changes
    ASSERT_EQ(menus.shown().size(), 1u);
    const auto& menu = menus.shown()[0];
    ASSERT_EQ(menu.items.size(), 1u);
    EXPECT_EQ(menu.items[0].text, languages.Text(22));
    CPoint screen = tapped;
    page->ClientToScreen(&screen);
    EXPECT_EQ(CPoint(menu.x, menu.y), screen);
    EXPECT_FALSE(page->IsZoomed());
}

TEST_F(Zoom, TheMeterShowsTheMagnitudeOrDashesAndFollowsEachRefresh) {
    ZoomInto(u"Alpha");
    EXPECT_TRUE(page->IsZoomed());
    EXPECT_FALSE(List().IsWindowVisible());
    EXPECT_EQ(Text(IDC_HINT), u"Tap to restore");
    EXPECT_EQ(DiffersFromMeter(u"67", u"Alpha"), 0);
    EXPECT_GT(DiffersFromMeter(u"76", u"Alpha"), 50) << "the comparison sees the number";
    Merge({Obs(1, -67, u"Alpha"), Obs(2, 0, u"Bravo"), Obs(3, -100, u"Charlie"),
           Obs(9, -40, u"two\nlines")});
    ZoomInto(u"two\nlines");
    EXPECT_EQ(DiffersFromMeter(u"40", u"two\nlines"), 0) << "a name is drawn on one line";
    ZoomInto(u"Charlie");

    // A scan without Charlie: dashes under the name, the whole page repainted.
    auto* window = korvyn::platform::Window::From(page->m_hWnd);
    EXPECT_FALSE(window->paintPending);
    Merge({Obs(1, -50, u"Alpha")});
    page->RefreshList();
    EXPECT_TRUE(window->paintPending && window->eraseNext);
    EXPECT_EQ(Text(IDC_COUNT), u"1/4 active");
    EXPECT_EQ(DiffersFromMeter(u"--", u"Charlie"), 0);
    stations.Clear();
    page->RefreshList();
    EXPECT_EQ(DiffersFromMeter(u"--", u""), 0) << "no such station";
}

// (A change of the hide settings restores it too: the options page's tests.)
TEST_F(Zoom, APageTapRestoresTheList) {
    ZoomInto(u"Alpha");
    QTest::mouseClick(WidgetOf(*page), Qt::LeftButton, {}, QPoint(100, 100));
    EXPECT_TRUE(List().IsWindowVisible());
    EXPECT_EQ(Text(IDC_HINT), u"Tap SSID to zoom");
}

TEST_F(Zoom, EachScanOfTheMeterSoundsItsSignalInsteadOfTheChime) {
    const struct {
        const char* what;
        DWORD mute;
        bool meter; // zoomed into Alpha
        std::vector<ScanObservation> scan;
        std::vector<std::string> heard;
    } steps[] = {
        {"list: a new station chimes", 0, false, {Obs(4, -50), Obs(1, -67, u"Alpha")}, {"chime"}},
        {"meter: Alpha's tone", 0, true, {Obs(1, -67, u"Alpha")}, {ToneOf(-67)}},
        {"no chime; higher", 0, true, {Obs(1, -40, u"Alpha"), Obs(5, -60)}, {ToneOf(-40)}},
        {"not heard: the click", 0, true, {Obs(5, -60)}, {"click"}},
        {"Sound off: silence", 1, true, {Obs(1, -40, u"Alpha"), Obs(6, -60)}, {}},
        {"list again: the chime", 0, false, {Obs(1, -40, u"Alpha"), Obs(7, -60)}, {"chime"}},
    };
    for (const auto& step : steps) {
        settings.SetValue(CSettings::kSound, step.mute);
        if (step.meter && !page->IsZoomed())
            ZoomInto(u"Alpha");
        if (!step.meter)
            page->RestoreList();
        listener.heard.clear();
        Tick(step.scan);
        EXPECT_EQ(listener.heard, step.heard) << step.what;
    }
    EXPECT_NE(ToneOf(-67), ToneOf(-40));
}

TEST_F(Zoom, TheAirLineLeavesOutWhatIsUnknown) {
    struct Row {
        DWORD channel, frequencyKhz, widthMhz, privacy;
        std::u16string line;
    } rows[] = {
        {36, 5180000, 80, korvyn::kSecurityWpa2,
         u"5 GHz Ch 36 (80 MHz) \u00B7 5180 MHz \u00B7 WPA2"},
        {6, 2437000, 0, korvyn::kSecurityOpen, u"2.4 GHz Ch 6 \u00B7 2437 MHz \u00B7 Open"},
        {0, 0, 20, korvyn::kSecurityWep, u"WEP"},
        {234, 6115000, 20, korvyn::kSecurityWpa3, u"6 GHz \u00B7 6115 MHz \u00B7 WPA3"},
    };
    for (const Row& r : rows) {
        StationRecord station{};
        station.channel = r.channel;
        station.privacy = r.privacy;
        const korvyn::ChannelUse use{r.frequencyKhz, r.widthMhz, r.frequencyKhz};
        EXPECT_EQ(korvyn::StationAirLine(station, use, languages), r.line) << r.channel;
    }
}
