// The bitmap slider: values for stylus positions, clamping, the thumb's place on the
// rendered image, and the scroll notifications of taps and drags.
#include "NotificationHost.h"

#include "controls/CCustomSlider.h"

#include <QTest>

#include <gtest/gtest.h>

using korvyn::test::NotificationHost;
using korvyn::test::PixelAt;
using korvyn::test::Shot;
using korvyn::test::StylusMove;
using korvyn::test::WidgetOf;
using Log = std::vector<std::string>;

namespace {

constexpr COLORREF kBackground = RGB(0, 200, 0);
constexpr COLORREF kThumb = RGB(255, 0, 0);
constexpr COLORREF kPressed = RGB(0, 0, 255);

// A bitmap of one colour whose first column is black (transparent when drawn).
HBITMAP SolidBitmap(int width, int height, COLORREF color) {
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    CBitmap bitmap;
    bitmap.CreateCompatibleBitmap(&dc, width, height);
    dc.SelectObject(&bitmap);
    dc.FillSolidRect(0, 0, width, height, color);
    dc.FillSolidRect(0, 0, 1, height, RGB(0, 0, 0));
    dc.DeleteDC();
    return static_cast<HBITMAP>(bitmap.Detach());
}

class SliderTest : public ::testing::Test {
protected:
    void Make(DWORD style, int width, int height, CSize thumb) {
        ASSERT_TRUE(host.Make(200, 100));
        ASSERT_TRUE(
            slider.Create(WS_CHILD | WS_VISIBLE | style, CRect(0, 0, width, height), &host, 1010));
        slider.SetBackgroundColor(kBackground);
        slider.SetBitmaps(nullptr, SolidBitmap(thumb.cx, thumb.cy, kThumb),
                          SolidBitmap(thumb.cx, thumb.cy, kPressed));
        Render();
    }
    QImage Render() { return Shot(slider); }
    void Tap(QPoint at) {
        QTest::mousePress(WidgetOf(slider), Qt::LeftButton, {}, at);
        QTest::mouseRelease(WidgetOf(slider), Qt::LeftButton, {}, at);
    }
    // Columns (or rows) of the image's middle line: 'T' thumb, 'P' pressed thumb, '-'
    // background.
    std::string Line(const QImage& image, bool horizontal) {
        std::string s;
        int n = horizontal ? image.width() : image.height();
        for (int i = 0; i < n; ++i) {
            COLORREF c = horizontal ? PixelAt(image, i, image.height() / 2)
                                    : PixelAt(image, image.width() / 2, i);
            s += c == kThumb ? 'T' : c == kPressed ? 'P' : c == kBackground ? '-' : '?';
        }
        return s;
    }

    NotificationHost host;
    CCustomSlider slider;
};

std::string Span(char c, int n) {
    return std::string(n, c);
}

} // namespace

TEST_F(SliderTest, ReversedRangeMapsTapsAndPlacesTheThumb) {
    Make(0, 80, 30, {20, 30});
    slider.SetRange(1, 5);
    slider.SetReversed(TRUE);
    Tap({5, 15});
    EXPECT_EQ(slider.GetPos(), 5);
    Tap({75, 15});
    EXPECT_EQ(slider.GetPos(), 1);
    Tap({40, 15}); // 5 - (40 - 10) * 4 / 60
    EXPECT_EQ(slider.GetPos(), 3);
    EXPECT_EQ(host.log, (Log{"h 4 5", "h 4 5", "h 4 1", "h 4 1", "h 4 3", "h 4 3"}));

    // Position 1 is centred at 70: columns 60 to 79, the black first column left out.
    slider.SetPos(1);
    EXPECT_EQ(Line(Render(), true), Span('-', 61) + Span('T', 19));
    slider.SetReversed(FALSE);
    EXPECT_EQ(Line(Render(), true), Span('-', 1) + Span('T', 19) + Span('-', 60));
}

TEST_F(SliderTest, SetPosClampsWithUnsignedComparisons) {
    Make(0, 80, 30, {20, 30});
    slider.SetRange(10, 20);
    slider.SetPos(25);
    EXPECT_EQ(slider.GetPos(), 20);
    slider.SetPos(3);
    EXPECT_EQ(slider.GetPos(), 10);
    // A new range leaves the position alone; -1 is the largest unsigned value.
    slider.SetRange(0, 5);
    EXPECT_EQ(slider.GetPos(), 10);
    slider.SetPos(-1);
    EXPECT_EQ(slider.GetPos(), 5);
    EXPECT_TRUE(host.log.empty());
}

TEST_F(SliderTest, DraggingOutOfTheWindowEndsTheDragOnce) {
    Make(0, 80, 30, {20, 30});
    slider.SetRange(0, 60);
    QWidget* w = WidgetOf(slider);
    QTest::mousePress(w, Qt::LeftButton, {}, QPoint(10, 15));
    EXPECT_EQ(CWnd::GetCapture(), &slider);
    StylusMove(w, {40, 15});
    EXPECT_EQ(Line(Render(), true), Span('-', 31) + Span('P', 19) + Span('-', 30));
    StylusMove(w, {120, 15});
    EXPECT_EQ(CWnd::GetCapture(), nullptr);
    EXPECT_EQ(Line(Render(), true), Span('-', 31) + Span('T', 19) + Span('-', 30));
    // The stylus is no longer the slider's: coming back and lifting it off outside
    // reports nothing more.
    StylusMove(w, {60, 15});
    QTest::mouseRelease(w, Qt::LeftButton, {}, QPoint(120, 15));
    EXPECT_EQ(slider.GetPos(), 30);
    EXPECT_EQ(host.log, (Log{"h 4 0", "h 5 30", "h 4 30"}));

    // A drag that stays inside ends with the release.
    host.log.clear();
    QTest::mousePress(w, Qt::LeftButton, {}, QPoint(70, 15));
    StylusMove(w, {69, 15});
    QTest::mouseRelease(w, Qt::LeftButton, {}, QPoint(69, 15));
    EXPECT_EQ(host.log, (Log{"h 4 60", "h 5 59", "h 4 59"}));
    EXPECT_EQ(CWnd::GetCapture(), nullptr);
}

TEST_F(SliderTest, VerticalSliderRunsUpwardsAndReportsVerticalScrolls) {
    Make(TBS_VERT, 30, 80, {30, 20});
    slider.SetRange(0, 4);
    slider.SetPos(4);
    EXPECT_EQ(Line(Render(), false), Span('T', 20) + Span('-', 60));
    Tap({15, 75});
    EXPECT_EQ(slider.GetPos(), 0);
    Tap({15, 25}); // 4 - (25 - 10) * 4 / 60
    EXPECT_EQ(slider.GetPos(), 3);
    EXPECT_EQ(host.log, (Log{"v 4 0", "v 4 0", "v 4 3", "v 4 3"}));
    slider.SetReversed(TRUE);
    Tap({15, 5});
    EXPECT_EQ(slider.GetPos(), 0);
}

TEST_F(SliderTest, EqualMinimumAndMaximumKeepTheThumbAtTheStart) {
    Make(0, 80, 30, {20, 30});
    slider.SetRange(7, 7);
    slider.SetPos(9);
    EXPECT_EQ(slider.GetPos(), 7);
    EXPECT_EQ(Line(Render(), true), Span('-', 1) + Span('T', 19) + Span('-', 60));
    Tap({40, 15});
    EXPECT_EQ(host.log, (Log{"h 4 7", "h 4 7"}));
    slider.SetReversed(TRUE);
    EXPECT_EQ(Line(Render(), true), Span('-', 61) + Span('T', 19));
}
