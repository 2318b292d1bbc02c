// Windows and standard controls: messages and their routing, buttons, combo boxes,
// registered custom classes, modal dialogs and the device screen.
#include "DialogBytes.h"

#include "platform/ui/AfxWin.h"
#include "platform/ui/detail/Window.h"

#include <QComboBox>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace korvyn::platform;
using korvyn::test::DialogBytes;

namespace {

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;

QWidget* WidgetOf(CWnd* wnd) {
    return Window::From(wnd->m_hWnd)->widget();
}

// A dialog that writes down the notifications, commands and scrolls it receives.
class RecordingDialog : public CDialog {
public:
    std::vector<std::string> log;

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override {
        log.push_back("command " + std::to_string(LOWORD(wParam)) + " code " +
                      std::to_string(HIWORD(wParam)));
        return CDialog::OnCommand(wParam, lParam);
    }
    BOOL OnNotify(WPARAM, LPARAM lParam, LRESULT* result) override {
        auto* hdr = reinterpret_cast<NMHDR*>(lParam);
        log.push_back("notify " + std::to_string(hdr->idFrom) + " code " +
                      std::to_string(static_cast<int>(hdr->code)));
        *result = 7;
        return TRUE;
    }
    void OnHScroll(UINT code, UINT pos, CWnd* bar) override {
        log.push_back("hscroll " + std::to_string(code) + " " + std::to_string(pos) + " from " +
                      (bar != nullptr ? bar->GetRuntimeClass()->m_lpszClassName : "none"));
    }
};

// Stands in for the owner-drawn controls: a window of a registered class whose
// behaviour comes from this object once it is attached.
class FakeSlider : public CWnd {
    DECLARE_DYNAMIC(FakeSlider)
public:
    std::vector<std::string> log;
    bool reflected = false;

protected:
    void PreSubclassWindow() override { log.push_back("attached"); }
    void OnPaint() override {
        CPaintDC dc(this);
        CRect r;
        GetClientRect(&r);
        dc.FillSolidRect(&r, RGB(10, 200, 30));
        log.push_back("paint");
    }
    void OnLButtonDown(UINT, CPoint p) override {
        log.push_back("down " + std::to_string(p.x) + "," + std::to_string(p.y));
        SetCapture();
        GetParent()->SendMessage(WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 3),
                                 reinterpret_cast<LPARAM>(m_hWnd));
    }
    void OnLButtonUp(UINT, CPoint) override {
        log.push_back("up");
        ReleaseCapture();
    }
    BOOL OnChildNotify(UINT msg, WPARAM, LPARAM lParam, LRESULT* result) override {
        auto* hdr = reinterpret_cast<NMHDR*>(lParam);
        if (msg == WM_NOTIFY && hdr->code == static_cast<UINT>(-50)) {
            reflected = true;
            *result = 1;
            return TRUE;
        }
        return FALSE;
    }
};
IMPLEMENT_DYNAMIC(FakeSlider, CWnd)

void RegisterSliderClass() {
    WNDCLASS wc{};
    if (!GetClassInfo(nullptr, u"CustomSliderClass", &wc)) {
        wc.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
        wc.lpfnWndProc = ::DefWindowProc;
        wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(HOLLOW_BRUSH));
        wc.lpszClassName = u"CustomSliderClass";
        ASSERT_NE(RegisterClass(&wc), 0);
    }
    EXPECT_EQ(RegisterClass(&wc), 0) << "a class name is registered once";
}

std::vector<BYTE> ControlsTemplate() {
    return DialogBytes(
        DS_SETFONT | WS_POPUP, 160, 100, u"Controls",
        {{kChild | BS_PUSHBUTTON, 2, 2, 40, 13, 1000, WORD(0x80), u"Exit"},
         {kChild | BS_AUTOCHECKBOX, 2, 18, 60, 10, 1014, WORD(0x80), u"Hide secured"},
         {kChild | BS_AUTORADIOBUTTON | WS_GROUP, 2, 30, 30, 10, 1033, WORD(0x80), u" .csv"},
         {kChild | BS_AUTORADIOBUTTON, 40, 30, 30, 10, 1034, WORD(0x80), u" .xls"},
         {kChild | SS_LEFT | WS_GROUP, 80, 30, 30, 8, 1022, WORD(0x82), u"Scan:"},
         {kChild, 61, 45, 56, 18, 1010, u"CustomSliderClass", u"Custom1"},
         {kChild | BS_PUSHBUTTON, 2, 70, 40, 13, 1006, WORD(0x80), u"Suspend"},
         {kChild | CBS_DROPDOWN | CBS_SORT | WS_VSCROLL, 67, 2, 83, 30, 1004, WORD(0x85), u""}});
}

class ControlsTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetDeviceScreenSize(240, 320);
        RegisterSliderClass();
        bytes_ = ControlsTemplate();
        ASSERT_TRUE(dlg.CreateIndirect(bytes_.data(), bytes_.size()));
        dlg.ShowWindow(SW_SHOW);
    }
    QWidget* Widget(int id) { return WidgetOf(dlg.GetDlgItem(id)); }
    void Tap(int id) { QTest::mouseClick(Widget(id), Qt::LeftButton, {}, QPoint(3, 3)); }

    RecordingDialog dlg;
    std::vector<BYTE> bytes_;
};

} // namespace

TEST_F(ControlsTest, TapsReachTheParentAsClicksAndAutomaticButtonsCheckThemselves) {
    Tap(1000);
    Tap(1014);
    EXPECT_EQ(dlg.GetDlgItem(1014)->SendMessage(BM_GETCHECK), BST_CHECKED);
    Tap(1034);
    Tap(1033);
    EXPECT_EQ(dlg.GetDlgItem(1033)->SendMessage(BM_GETCHECK), BST_CHECKED);
    EXPECT_EQ(dlg.GetDlgItem(1034)->SendMessage(BM_GETCHECK), BST_UNCHECKED);
    // BM_SETCHECK on a push button changes nothing.
    dlg.GetDlgItem(1000)->SendMessage(BM_SETCHECK, BST_CHECKED);
    EXPECT_EQ(dlg.GetDlgItem(1000)->SendMessage(BM_GETCHECK), 0);
    std::vector<std::string> expected = {"command 1000 code 0", "command 1014 code 0",
                                         "command 1034 code 0", "command 1033 code 0"};
    EXPECT_EQ(dlg.log, expected);

    // A press that leaves the button before the release is no click.
    QWidget* exit = Widget(1000);
    QTest::mousePress(exit, Qt::LeftButton, {}, QPoint(3, 3));
    QTest::mouseRelease(exit, Qt::LeftButton, {}, QPoint(-20, 3));
    EXPECT_EQ(dlg.log.size(), expected.size());
    // Disabled buttons get no taps at all.
    dlg.GetDlgItem(1014)->EnableWindow(FALSE);
    Tap(1014);
    EXPECT_EQ(dlg.GetDlgItem(1014)->SendMessage(BM_GETCHECK), BST_CHECKED);
    EXPECT_EQ(dlg.log.size(), expected.size());
}

TEST_F(ControlsTest, DataExchangeBindsRadioIndexTextsAndControls) {
    struct Exchange : CDialog {
        int format = 1;
        std::u16string label = u"Refresh:";
        FakeSlider slider;
        void DoDataExchange(CDataExchange* pDX) override {
            DDX_Control(pDX, 1010, slider);
            DDX_Radio(pDX, 1033, format);
            DDX_Text(pDX, 1022, label);
        }
    } page;
    ASSERT_TRUE(page.CreateIndirect(bytes_.data(), bytes_.size()));
    EXPECT_EQ(page.slider.log, std::vector<std::string>{"attached"});
    EXPECT_EQ(page.GetDlgItem(1010), &page.slider);
    EXPECT_EQ(page.GetDlgItem(1034)->SendMessage(BM_GETCHECK), BST_CHECKED);
    EXPECT_EQ(page.GetDlgItem(1022)->GetWindowText(), u"Refresh:");
    page.GetDlgItem(1033)->SendMessage(BM_CLICK);
    page.UpdateData(TRUE);
    EXPECT_EQ(page.format, 0);
    page.DestroyWindow();
    EXPECT_EQ(page.slider.m_hWnd, nullptr);
}

TEST_F(ControlsTest, CustomClassWindowsBehaveAsTheirAttachedObject) {
    FakeSlider slider;
    ASSERT_TRUE(slider.SubclassDlgItem(1010, &dlg));
    QWidget* w = Widget(1010);
    w->grab();
    EXPECT_EQ(slider.log, (std::vector<std::string>{"attached", "paint"}));
    QTest::mousePress(w, Qt::LeftButton, {}, QPoint(5, 6));
    EXPECT_EQ(CWnd::GetCapture(), &slider);
    QTest::mouseRelease(w, Qt::LeftButton, {}, QPoint(5, 6));
    EXPECT_EQ(CWnd::GetCapture(), nullptr);
    EXPECT_EQ(slider.log.back(), "up");
    EXPECT_EQ(dlg.log.back(), "hscroll 4 3 from FakeSlider");
    EXPECT_TRUE(CWnd::FromHandle(slider.m_hWnd)->IsKindOf(RUNTIME_CLASS(FakeSlider)));
    EXPECT_TRUE(slider.IsKindOf(RUNTIME_CLASS(CWnd)));
    EXPECT_FALSE(slider.IsKindOf(RUNTIME_CLASS(CDialog)));

    // A notification the control takes itself is reflected to it and never reaches the
    // parent; others go to the parent.
    NMHDR own{slider.m_hWnd, 1010, static_cast<UINT>(-50)};
    EXPECT_EQ(dlg.SendMessage(WM_NOTIFY, 1010, reinterpret_cast<LPARAM>(&own)), 1);
    EXPECT_TRUE(slider.reflected);
    NMHDR other{slider.m_hWnd, 1010, static_cast<UINT>(-2)};
    EXPECT_EQ(dlg.SendMessage(WM_NOTIFY, 1010, reinterpret_cast<LPARAM>(&other)), 7);
    EXPECT_EQ(dlg.log.back(), "notify 1010 code -2");
}

TEST_F(ControlsTest, ComboBoxSortsKeepsSelectionAndReportsUserChoices) {
    auto* combo = static_cast<CComboBox*>(dlg.GetDlgItem(1004));
    EXPECT_EQ(combo->AddString(u"wlan1"), 0);
    EXPECT_EQ(combo->AddString(u"eth9"), 0);
    EXPECT_EQ(combo->AddString(u"Wlan0"), 1);
    EXPECT_EQ(combo->GetCount(), 3);
    EXPECT_EQ(combo->GetCurSel(), CB_ERR);
    std::u16string text;
    combo->GetLBText(1, text);
    EXPECT_EQ(text, u"Wlan0");
    EXPECT_EQ(combo->SetCurSel(2), 2);
    EXPECT_EQ(combo->SetCurSel(5), CB_ERR);
    EXPECT_EQ(combo->GetCurSel(), CB_ERR);
    EXPECT_EQ(combo->FindStringExact(-1, u"WLAN1"), 2);
    std::size_t before = dlg.log.size();
    combo->SetCurSel(0);
    EXPECT_EQ(dlg.log.size(), before) << "SetCurSel sends no notification";
    auto* qt = Widget(1004)->findChild<QComboBox*>();
    ASSERT_NE(qt, nullptr);
    qt->setCurrentIndex(1);
    emit qt->activated(1);
    EXPECT_EQ(dlg.log.back(), "command 1004 code " + std::to_string(CBN_SELCHANGE));
    EXPECT_EQ(combo->GetCurSel(), 1);
    // The window is as high as its selection field; six items fit the dropped list.
    int item = combo->GetItemHeight(0);
    combo->MoveWindow(10, 10, 120, item * 6);
    CRect field, dropped;
    combo->GetWindowRect(&field);
    combo->GetDroppedControlRect(&dropped);
    EXPECT_LT(field.Height(), item * 6);
    EXPECT_EQ(dropped.Height(), item * 6);
}

TEST_F(ControlsTest, EraseFollowsTheInvalidationAndStaticsAskTheirParentForColours) {
    struct Painted : CDialog {
        int erases = 0;
        int staticColours = 0;
        BOOL OnEraseBkgnd(CDC* dc) override {
            ++erases;
            return CDialog::OnEraseBkgnd(dc);
        }
        HBRUSH OnCtlColor(CDC* dc, CWnd* wnd, UINT kind) override {
            if (kind == CTLCOLOR_STATIC && wnd != nullptr) {
                ++staticColours;
                dc->SetTextColor(RGB(0, 0, 0));
                dc->SetBkMode(TRANSPARENT);
                return brush;
            }
            return CDialog::OnCtlColor(dc, wnd, kind);
        }
        CBrush brush{RGB(1, 2, 250)};
    } page;
    ASSERT_TRUE(page.CreateIndirect(bytes_.data(), bytes_.size()));
    page.ShowWindow(SW_SHOW);
    QWidget* w = WidgetOf(&page);
    w->grab();
    int erases = page.erases;
    EXPECT_GE(erases, 1);
    page.Invalidate(FALSE);
    w->grab();
    EXPECT_EQ(page.erases, erases);
    page.Invalidate(TRUE);
    w->grab();
    EXPECT_EQ(page.erases, erases + 1);
    QImage label = WidgetOf(page.GetDlgItem(1022))->grab().toImage();
    EXPECT_GE(page.staticColours, 1);
    EXPECT_EQ(label.pixelColor(label.width() - 1, label.height() - 1), QColor(1, 2, 250));
}

// A modal dialog runs until EndDialog and returns its result; children without the
// visible style, and a page made during initialisation as a tab page is, stay hidden.
TEST(ModalDialog, RunsUntilEndDialogAndShowsOnlyVisibleChildren) {
    std::vector<BYTE> bytes = DialogBytes(WS_POPUP | WS_CAPTION, 100, 60, u"Question",
                                          {{kChild, 2, 2, 40, 13, IDOK, WORD(0x80), u"OK"},
                                           {WS_CHILD, 2, 20, 40, 13, 7, WORD(0x80), u"Later"}});
    struct Modal : CDialog {
        CDialog page;
        bool initialised = false, okShown = false, laterShown = true, pageShown = true;
        BOOL OnInitDialog() override {
            initialised = true;
            std::vector<BYTE> inner = DialogBytes(WS_CHILD, 50, 30, u"", {});
            page.CreateIndirect(inner.data(), inner.size(), this);
            QTimer::singleShot(0, [this] {
                okShown = WidgetOf(GetDlgItem(IDOK))->isVisible();
                laterShown = WidgetOf(GetDlgItem(7))->isVisible();
                pageShown = WidgetOf(&page)->isVisible();
                QTest::mouseClick(WidgetOf(GetDlgItem(IDOK)), Qt::LeftButton);
            });
            return CDialog::OnInitDialog();
        }
    } modal;
    ASSERT_TRUE(modal.InitModalIndirect(bytes.data(), bytes.size()));
    EXPECT_EQ(modal.DoModal(), IDOK);
    EXPECT_TRUE(modal.initialised);
    EXPECT_EQ(modal.m_hWnd, nullptr);
    EXPECT_TRUE(modal.okShown);
    EXPECT_FALSE(modal.laterShown);
    EXPECT_FALSE(modal.pageShown);

    struct Cancelled : CDialog {
        BOOL OnInitDialog() override {
            EndDialog(1234);
            return TRUE;
        }
    } early;
    ASSERT_TRUE(early.InitModalIndirect(bytes.data(), bytes.size()));
    EXPECT_EQ(early.DoModal(), 1234);
}

TEST(DeviceScreen, TheMainWindowIsTheScreenAndResizingItIsARotation) {
    struct App : CWinApp {
    } app;
    SetDeviceScreenSize(240, 320);
    std::vector<BYTE> bytes = DialogBytes(WS_POPUP, 162, 169, u"Korvyn", {});
    struct Main : CDialog {
        std::vector<CSize> sizes;
        std::vector<CSize> screens;
        void OnSize(UINT, int cx, int cy) override {
            sizes.emplace_back(cx, cy);
            screens.emplace_back(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
        }
        BOOL OnInitDialog() override {
            QTimer::singleShot(0, [this] {
                SetDeviceScreenSize(320, 240);
                WidgetOf(this)->resize(300, 300);
                EndDialog(IDCANCEL);
            });
            return TRUE;
        }
    } main;
    app.m_pMainWnd = &main;
    ASSERT_TRUE(main.InitModalIndirect(bytes.data(), bytes.size()));
    EXPECT_EQ(main.DoModal(), IDCANCEL);
    std::vector<CSize> expected = {CSize(240, 320), CSize(320, 240), CSize(300, 300)};
    EXPECT_EQ(main.sizes, expected);
    EXPECT_EQ(main.screens, expected);
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 300);
    SetDeviceScreenSize(240, 320);
}
