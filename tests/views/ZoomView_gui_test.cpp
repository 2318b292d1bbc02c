// The zoomed signal meter: a row tap and "ZOOM", what the zoomed page draws and its
// repaint after each refresh, and the way back to the list.
#include "ZoomFixture.h"

using namespace korvyn::test;

namespace {

class Zoom : public ZoomFixture {
protected:
    void SetUp() override {
        ZoomFixture::SetUp();
        OpenPage();
        Merge({Obs(1, -67, u"Alpha"), Obs(2, 0, u"Bravo"), Obs(3, -100, u"Charlie")});
        page->RefreshList();
        Shot(*page); // the list takes its font
    }
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
    EXPECT_EQ(menu.items[0].id, UINT(ID_ZOOM));
    EXPECT_EQ(menu.items[0].text, languages.Text(22));
    EXPECT_EQ(menu.owner, page->m_hWnd);
    CPoint screen = tapped;
    page->ClientToScreen(&screen);
    EXPECT_EQ(CPoint(menu.x, menu.y), screen);
    EXPECT_FALSE(page->IsZoomed());
    EXPECT_TRUE(List().IsWindowVisible());
}

TEST_F(Zoom, TheMeterShowsTheMagnitudeOrDashesAndFollowsEachRefresh) {
    ZoomInto(u"Alpha");
    EXPECT_TRUE(page->IsZoomed());
    EXPECT_FALSE(List().IsWindowVisible());
    EXPECT_EQ(Text(IDC_HINT), u"Tap to restore");
    EXPECT_EQ(DiffersFromMeter(u"67", u"Alpha"), 0);
    EXPECT_GT(DiffersFromMeter(u"76", u"Alpha"), 50) << "the comparison sees the number";
    EXPECT_GT(DiffersFromMeter(u"67", u""), 50) << "and the name";
    ZoomInto(u"Bravo");
    EXPECT_EQ(DiffersFromMeter(u"0", u"Bravo"), 0);
    ZoomInto(u"Charlie");
    EXPECT_EQ(DiffersFromMeter(u"100", u"Charlie"), 0);

    // A scan without Charlie: dashes under the name, the whole page repainted.
    auto* window = korvyn::platform::Window::From(page->m_hWnd);
    EXPECT_FALSE(window->paintPending);
    Merge({Obs(1, -50, u"Alpha")});
    page->RefreshList();
    EXPECT_TRUE(window->paintPending && window->eraseNext);
    EXPECT_EQ(Text(IDC_COUNT), u"1/3 active");
    EXPECT_EQ(DiffersFromMeter(u"--", u"Charlie"), 0);
    stations.Clear();
    page->RefreshList();
    EXPECT_EQ(DiffersFromMeter(u"--", u""), 0) << "no such station";
}

TEST_F(Zoom, APageTapOrAFilterChangeRestoresAnEmptyListUntilTheNextRefresh) {
    ZoomInto(u"Alpha");
    QTest::mouseClick(WidgetOf(*page), Qt::LeftButton, {}, QPoint(100, 100));
    EXPECT_FALSE(page->IsZoomed());
    EXPECT_TRUE(List().IsWindowVisible());
    EXPECT_EQ(List().GetItemCount(), 0);
    EXPECT_EQ(Text(IDC_HINT), u"Tap SSID to zoom");

    ZoomInto(u"Alpha");
    settings.SetValue(CSettings::kWep, 1);
    Merge({Obs(4, -30, u"Secure", 6, 1, 1), Obs(1, -67, u"Alpha")});
    page->RestoreList();
    EXPECT_FALSE(page->IsZoomed());
    EXPECT_EQ(List().GetItemCount(), 0);
    page->RefreshList();
    EXPECT_EQ(Text(IDC_COUNT), u"1/3 active") << "the secured station hidden";
}
