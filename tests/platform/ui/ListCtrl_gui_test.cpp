// The owner-data report list: which cells it asks for, the custom-draw stages in order
// with their colours and rectangles applied, and its header. (Taps on rows are checked
// with the zoom they offer.)
#include "DialogBytes.h"

#include "platform/ui/AfxWin.h"
#include "platform/ui/detail/Window.h"

#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace korvyn::platform;

namespace {

// A list control that colours row 1 and narrows the cells of column 1, recording the
// custom-draw stages reflected to it.
class ColouredList : public CListCtrl {
public:
    std::vector<std::string>* log = nullptr;

protected:
    BOOL OnChildNotify(UINT msg, WPARAM, LPARAM lParam, LRESULT* result) override {
        auto* hdr = reinterpret_cast<NMHDR*>(lParam);
        if (msg != WM_NOTIFY || hdr->code != static_cast<UINT>(NM_CUSTOMDRAW)) {
            return FALSE;
        }
        auto* cd = reinterpret_cast<NMLVCUSTOMDRAW*>(lParam);
        DWORD stage = cd->nmcd.dwDrawStage;
        if (stage == CDDS_PREPAINT) {
            log->push_back("prepaint");
            *result = CDRF_NOTIFYITEMDRAW | CDRF_NOTIFYPOSTPAINT;
        } else if (stage == CDDS_ITEMPREPAINT) {
            log->push_back("item " + std::to_string(cd->nmcd.dwItemSpec));
            *result = CDRF_NOTIFYSUBITEMDRAW;
        } else if (stage == (CDDS_ITEMPREPAINT | CDDS_SUBITEM)) {
            log->push_back("cell " + std::to_string(cd->nmcd.dwItemSpec) + "." +
                           std::to_string(cd->iSubItem));
            cd->clrTextBk = RGB(240, 240, 200);
            if (cd->nmcd.dwItemSpec == 1) {
                cd->clrText = RGB(255, 0, 0);
            }
            if (cd->iSubItem == 1) {
                // Draw a mark at the left and keep the default drawing right of it.
                CDC* dc = CDC::FromHandle(cd->nmcd.hdc);
                CRect mark(cd->nmcd.rc.left, cd->nmcd.rc.top, cd->nmcd.rc.left + 6,
                           cd->nmcd.rc.bottom);
                dc->FillSolidRect(&mark, RGB(50, 255, 50));
                cd->nmcd.rc.left += 6;
            }
            *result = CDRF_DODEFAULT;
        } else if (stage == CDDS_POSTPAINT) {
            log->push_back("postpaint");
            *result = 0;
        }
        return TRUE;
    }
};

// The page: answers text requests and records them with the taps.
class Page : public CDialog {
public:
    std::vector<std::string> log;
    std::vector<NMITEMACTIVATE> clicks;
    ColouredList list;

protected:
    void DoDataExchange(CDataExchange* pDX) override { DDX_Control(pDX, 1018, list); }
    BOOL OnNotify(WPARAM, LPARAM lParam, LRESULT* result) override {
        auto* hdr = reinterpret_cast<NMHDR*>(lParam);
        if (hdr->code == static_cast<UINT>(LVN_GETDISPINFOW)) {
            auto* info = reinterpret_cast<NMLVDISPINFO*>(lParam);
            log.push_back("text " + std::to_string(info->item.iItem) + "." +
                          std::to_string(info->item.iSubItem));
            std::u16string text = info->item.iSubItem == 0 ? u"WWWWWWWWWWWWWWWW" : u"";
            std::copy(text.begin(), text.end(), info->item.pszText);
            info->item.pszText[text.size()] = 0;
        } else if (hdr->code == static_cast<UINT>(NM_CLICK)) {
            clicks.push_back(*reinterpret_cast<NMITEMACTIVATE*>(lParam));
        }
        *result = 0;
        return TRUE;
    }
};

class ListTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetDeviceScreenSize(240, 320);
        bytes_ = korvyn::test::DialogBytes(
            DS_SETFONT | WS_POPUP, 160, 120, u"",
            {{WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_OWNERDATA | LVS_SINGLESEL, 0, 0, 150, 100,
              1018, u"SysListView32", u""}});
        page.list.log = &page.log;
        ASSERT_TRUE(page.CreateIndirect(bytes_.data(), bytes_.size()));
        page.ShowWindow(SW_SHOW);
        page.list.InsertColumn(0, u"Name", LVCFMT_LEFT, 60);
        page.list.InsertColumn(1, u"Sig", LVCFMT_LEFT, 40);
        widget = Window::From(page.list.m_hWnd)->widget();
    }

    QImage Paint() {
        page.log.clear();
        return widget->grab().toImage();
    }

    Page page;
    QWidget* widget = nullptr;
    std::vector<BYTE> bytes_;
};

} // namespace

// The custom-draw stages and text requests come in order, for the visible rows only; the
// colours and the narrowed rectangle a stage sets are applied.
TEST_F(ListTest, CustomDrawStagesTextRequestsAndTheirColours) {
    page.list.SetItemCount(2);
    QImage image = Paint();
    std::vector<std::string> expected = {"prepaint", "item 0",   "cell 0.0", "text 0.0",
                                         "cell 0.1", "text 0.1", "item 1",   "cell 1.0",
                                         "text 1.0", "cell 1.1", "text 1.1", "postpaint"};
    EXPECT_EQ(page.log, expected);
    CRect row0, row1;
    ASSERT_TRUE(page.list.GetItemRect(0, &row0, LVIR_BOUNDS));
    ASSERT_TRUE(page.list.GetItemRect(1, &row1, LVIR_BOUNDS));
    // Pixels of the name cells near red (where the text is smoothed), and the cell's
    // background right of the mark drawn during its pre-paint, which survives: the
    // background only fills the narrowed rectangle.
    auto reds = [&](const CRect& row) {
        int n = 0;
        for (int y = row.top; y < row.bottom; ++y) {
            for (int x = row.left; x < row.left + 60; ++x) {
                QColor p = image.pixelColor(x, y);
                n += p.red() > 215 && p.green() < 40 && p.blue() < 40;
            }
        }
        return n;
    };
    EXPECT_EQ(reds(row0), 0);
    EXPECT_GT(reds(row1), 3) << "row 1's text is red";
    EXPECT_EQ(image.pixelColor(row0.left + 62, row0.top + 2), QColor(50, 255, 50));
    EXPECT_EQ(image.pixelColor(row0.left + 70, row0.top + 2), QColor(240, 240, 200));

    // Many more items than fit: only the visible rows are asked for.
    page.list.SetItemCount(5000);
    Paint();
    int perPage = page.list.GetCountPerPage();
    ASSERT_GT(perPage, 2);
    int asked = 0, highest = 0;
    for (const std::string& e : page.log)
        if (e.starts_with("text ") && ++asked)
            highest = std::max(highest, std::stoi(e.substr(5)));
    EXPECT_LE(highest, perPage);
    EXPECT_LE(asked, (perPage + 1) * 2);
    EXPECT_GE(asked, perPage * 2);

    page.list.DeleteAllItems();
    Paint();
    EXPECT_EQ(page.log, (std::vector<std::string>{"prepaint", "postpaint"}));
}

TEST_F(ListTest, DraggingAHeaderDividerResizesItsColumnADoubleTapFitsIt) {
    page.list.SetItemCount(3);
    Paint();
    const int header = 4; // a point on the header row
    // Drag the divider after column 0 (x = 60) right, then a divider left past its start.
    QTest::mousePress(widget, Qt::LeftButton, {}, QPoint(61, header));
    QTest::mouseMove(widget, QPoint(90, header));
    QTest::mouseRelease(widget, Qt::LeftButton, {}, QPoint(95, header));
    EXPECT_EQ(page.list.GetColumnWidth(0), 94);
    EXPECT_TRUE(page.clicks.empty()) << "a drag on the header is no tap";
    QTest::mousePress(widget, Qt::LeftButton, {}, QPoint(134, header)); // after column 1
    QTest::mouseMove(widget, QPoint(60, header));
    QTest::mouseRelease(widget, Qt::LeftButton, {}, QPoint(60, header));
    EXPECT_EQ(page.list.GetColumnWidth(1), 0) << "no narrower than nothing";
    EXPECT_EQ(page.list.GetColumnWidth(0), 94);

    // A double tap on column 0's divider fits it to its widest text ("WWW..."). (On a
    // divider shared with a column of no width, the empty column is the one taken.)
    page.list.SetColumnWidth(0, 30);
    page.list.SetColumnWidth(1, 40);
    for (UINT message : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP})
        page.list.SendMessage(message, message == WM_LBUTTONUP ? 0 : MK_LBUTTON,
                              MAKELPARAM(30, header));
    const int fitted = page.list.GetColumnWidth(0);
    CClientDC dc(&page.list);
    CFont* old = dc.SelectObject(page.list.GetFont());
    const int text = dc.GetTextExtent(u"WWWWWWWWWWWWWWWW").cx;
    dc.SelectObject(old);
    EXPECT_GE(fitted, text + 4) << "the whole text and its margins";
    EXPECT_LE(fitted, text + 12);
    // Taps below the header still select rows.
    CRect row0;
    page.list.GetItemRect(0, &row0, LVIR_BOUNDS);
    QTest::mouseClick(widget, Qt::LeftButton, {}, QPoint(61, row0.top + 2));
    ASSERT_EQ(page.clicks.size(), 1u);
    EXPECT_EQ(page.clicks[0].iItem, 0);
}
