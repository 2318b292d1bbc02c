// Windows and standard controls: buttons, combo boxes, erasing and static colours, and
// modal dialogs.
#include "DialogBytes.h"

#include "platform/ui/AfxWin.h"
#include "support/gui/WindowPixels.h"

#include <QComboBox>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace korvyn::platform;
using korvyn::test::DialogBytes;
using korvyn::test::WidgetOf;

namespace {

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;

// A dialog that writes down the commands it receives, erases, and answers the statics'
// colour requests with its own brush.
class RecordingDialog : public CDialog {
public:
    std::vector<std::string> log;
    int erases = 0;
    CBrush brush{RGB(1, 2, 250)};

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override {
        log.push_back("command " + std::to_string(LOWORD(wParam)) + " code " +
                      std::to_string(HIWORD(wParam)));
        return CDialog::OnCommand(wParam, lParam);
    }
    BOOL OnEraseBkgnd(CDC* dc) override {
        ++erases;
        return CDialog::OnEraseBkgnd(dc);
    }
    HBRUSH OnCtlColor(CDC* dc, CWnd* wnd, UINT kind) override {
        if (kind == CTLCOLOR_STATIC && wnd != nullptr) {
            dc->SetBkMode(TRANSPARENT);
            return brush;
        }
        return CDialog::OnCtlColor(dc, wnd, kind);
    }
};

class ControlsTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetDeviceScreenSize(240, 320);
        bytes_ = DialogBytes(
            DS_SETFONT | WS_POPUP, 160, 100, u"Controls",
            {{kChild | BS_PUSHBUTTON, 2, 2, 40, 13, 1000, WORD(0x80), u"Exit"},
             {kChild | BS_AUTOCHECKBOX, 2, 18, 60, 10, 1014, WORD(0x80), u"Hide secured"},
             {kChild | BS_AUTORADIOBUTTON | WS_GROUP, 2, 30, 30, 10, 1033, WORD(0x80), u" .csv"},
             {kChild | BS_AUTORADIOBUTTON, 40, 30, 30, 10, 1034, WORD(0x80), u" .xls"},
             {kChild | SS_LEFT | WS_GROUP, 80, 30, 30, 8, 1022, WORD(0x82), u"Scan:"},
             {kChild | CBS_DROPDOWN | CBS_SORT | WS_VSCROLL, 67, 2, 83, 30, 1004, WORD(0x85),
              u""}});
        ASSERT_TRUE(dlg.CreateIndirect(bytes_.data(), bytes_.size()));
        dlg.ShowWindow(SW_SHOW);
    }
    QWidget* Widget(int id) { return WidgetOf(*dlg.GetDlgItem(id)); }
    void Tap(int id) { QTest::mouseClick(Widget(id), Qt::LeftButton, {}, QPoint(3, 3)); }
    LRESULT Check(int id) { return dlg.GetDlgItem(id)->SendMessage(BM_GETCHECK); }

    RecordingDialog dlg;
    std::vector<BYTE> bytes_;
};

} // namespace

TEST_F(ControlsTest, TapsReachTheParentAsClicksAndAutomaticButtonsCheckThemselves) {
    for (int id : {1000, 1014, 1034, 1033})
        Tap(id);
    EXPECT_EQ(Check(1014), BST_CHECKED);
    EXPECT_EQ(Check(1033), BST_CHECKED);
    EXPECT_EQ(Check(1034), BST_UNCHECKED);
    const std::vector<std::string> expected = {"command 1000 code 0", "command 1014 code 0",
                                               "command 1034 code 0", "command 1033 code 0"};
    EXPECT_EQ(dlg.log, expected);

    // A press that leaves the button before the release is no click; disabled buttons get
    // no taps at all.
    QTest::mousePress(Widget(1000), Qt::LeftButton, {}, QPoint(3, 3));
    QTest::mouseRelease(Widget(1000), Qt::LeftButton, {}, QPoint(-20, 3));
    dlg.GetDlgItem(1014)->EnableWindow(FALSE);
    Tap(1014);
    EXPECT_EQ(Check(1014), BST_CHECKED);
    EXPECT_EQ(dlg.log, expected);
}

TEST_F(ControlsTest, ComboBoxSortsKeepsSelectionAndReportsUserChoices) {
    auto* combo = static_cast<CComboBox*>(dlg.GetDlgItem(1004));
    for (auto [text, index] : {std::pair{u"wlan1", 0}, {u"eth9", 0}, {u"Wlan0", 1}})
        EXPECT_EQ(combo->AddString(text), index) << "sorted whatever the case";
    EXPECT_EQ(combo->GetCurSel(), CB_ERR);
    EXPECT_EQ(combo->SetCurSel(2), 2);
    EXPECT_EQ(combo->SetCurSel(5), CB_ERR);
    EXPECT_EQ(combo->GetCurSel(), CB_ERR);
    EXPECT_EQ(combo->FindStringExact(-1, u"WLAN1"), 2);
    combo->SetCurSel(0);
    EXPECT_TRUE(dlg.log.empty()) << "SetCurSel sends no notification";
    auto* qt = Widget(1004)->findChild<QComboBox*>();
    ASSERT_NE(qt, nullptr);
    qt->setCurrentIndex(1);
    emit qt->activated(1);
    EXPECT_EQ(dlg.log.back(), "command 1004 code " + std::to_string(CBN_SELCHANGE));
    EXPECT_EQ(combo->GetCurSel(), 1);
    // The window is as high as its selection field however high it is made (its dropped
    // list is checked with the adapter box).
    combo->MoveWindow(10, 10, 120, 200);
    CRect field;
    combo->GetWindowRect(&field);
    EXPECT_LT(field.Height(), 40);
}

TEST_F(ControlsTest, EraseFollowsTheInvalidationAndStaticsAskTheirParentForColours) {
    QWidget* w = WidgetOf(dlg);
    w->grab();
    const int erases = dlg.erases;
    dlg.Invalidate(FALSE);
    w->grab();
    EXPECT_EQ(dlg.erases, erases);
    dlg.Invalidate(TRUE);
    w->grab();
    EXPECT_EQ(dlg.erases, erases + 1);
    QImage label = WidgetOf(*dlg.GetDlgItem(1022))->grab().toImage();
    EXPECT_EQ(label.pixelColor(label.width() - 1, label.height() - 1), QColor(1, 2, 250));
}

// A modal dialog runs until EndDialog and returns its result; children without the
// visible style, and a page made during initialisation as a tab page is, stay hidden.
// The main window is the device's screen: resizing it is a rotation.
TEST(ModalDialog, RunsUntilEndDialogAndShowsOnlyVisibleChildren) {
    struct App : CWinApp {
    } app;
    std::vector<BYTE> bytes = DialogBytes(WS_POPUP | WS_CAPTION, 100, 60, u"Question",
                                          {{kChild, 2, 2, 40, 13, IDOK, WORD(0x80), u"OK"},
                                           {WS_CHILD, 2, 20, 40, 13, 7, WORD(0x80), u"Later"}});
    struct Modal : CDialog {
        CDialog page;
        std::vector<bool> shown;
        CSize screen;
        BOOL OnInitDialog() override {
            std::vector<BYTE> inner = DialogBytes(WS_CHILD, 50, 30, u"", {});
            page.CreateIndirect(inner.data(), inner.size(), this);
            QTimer::singleShot(0, [this] {
                for (CWnd* w : {GetDlgItem(IDOK), GetDlgItem(7), static_cast<CWnd*>(&page)})
                    shown.push_back(WidgetOf(*w)->isVisible());
                WidgetOf(*this)->resize(300, 200);
                screen = CSize(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
                QTest::mouseClick(WidgetOf(*GetDlgItem(IDOK)), Qt::LeftButton);
            });
            return CDialog::OnInitDialog();
        }
    } modal;
    app.m_pMainWnd = &modal;
    ASSERT_TRUE(modal.InitModalIndirect(bytes.data(), bytes.size()));
    EXPECT_EQ(modal.DoModal(), IDOK);
    EXPECT_EQ(modal.m_hWnd, nullptr);
    EXPECT_EQ(modal.shown, (std::vector<bool>{true, false, false}));
    EXPECT_EQ(modal.screen, CSize(300, 200));
    SetDeviceScreenSize(240, 320);
}
