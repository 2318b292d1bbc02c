// The custom button: attaching, state changes by stylus and BM_SETCHECK with the
// messages they send, where each kind draws its parts, and ownership.
#include "support/gui/HostDialog.h"

#include "controls/CCustomButton.h"

#include <QTest>

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace korvyn::test;
using Kind = CCustomButton::Kind;
using Ownership = CCustomButton::Ownership;

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0), kGreen = RGB(0, 200, 0), kBlue = RGB(0, 0, 255);
constexpr COLORREF kWhite = RGB(255, 255, 255);

// Writes the check changes it receives into the host's log.
class RecordingButton : public CCustomButton {
public:
    std::vector<std::string>* log = nullptr;
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == BM_SETCHECK && log != nullptr) {
            log->push_back(std::to_string(GetDlgCtrlID()) + " setcheck " + std::to_string(wParam));
        }
        return CCustomButton::WindowProc(msg, wParam, lParam);
    }
};

// A bitmap of one colour whose first column is black, which is drawn transparent.
HBITMAP SolidBitmap(int width, int height, COLORREF colour) {
    CBitmap bitmap;
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    bitmap.CreateCompatibleBitmap(&dc, width, height);
    dc.SelectObject(&bitmap);
    dc.FillSolidRect(0, 0, width, height, colour);
    dc.FillSolidRect(0, 0, 1, height, RGB(0, 0, 0));
    dc.DeleteDC();
    return static_cast<HBITMAP>(bitmap.Detach());
}

// The caption shown and the check state, as "caption:check".
std::u16string State(CCustomButton& b) {
    return b.GetWindowText() + (b.GetCheck() == BST_CHECKED ? u":1" : u":0");
}

bool Alive(HGDIOBJ bitmap) {
    BITMAP info{};
    return GetObject(bitmap, sizeof(info), &info) != 0;
}

using Colours = std::vector<COLORREF>;

// `count` pixels of row `y` from column `x` on.
Colours Row(const QImage& image, int x, int y, int count) {
    Colours colours;
    for (int i = 0; i < count; ++i) {
        colours.push_back(PixelAt(image, x + i, y));
    }
    return colours;
}

// First and last column of `area` with a pixel of the colour (or, with `other`, a
// pixel of any other colour); -1 when there is none.
std::pair<int, int> Columns(const QImage& image, CRect area, COLORREF colour, bool other = false) {
    std::pair<int, int> found{-1, -1};
    for (int x = area.left; x < area.right; ++x) {
        for (int y = area.top; y < area.bottom; ++y) {
            if ((PixelAt(image, x, y) == colour) != other) {
                found = {found.first < 0 ? x : found.first, x};
                break;
            }
        }
    }
    return found;
}

class CustomButtonTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dlg.Open()); }

    // A button made the way templates make them, then attached.
    void Attach(CCustomButton& button, DWORD style, const CRect& r, int id,
                const std::u16string& text = u"") {
        ASSERT_NE(CreateWindowEx(0, u"Button", text.c_str(), WS_CHILD | WS_VISIBLE | style, r.left,
                                 r.top, r.Width(), r.Height(), dlg.m_hWnd,
                                 reinterpret_cast<HMENU>(static_cast<std::uintptr_t>(id)), nullptr,
                                 nullptr),
                  nullptr);
        ASSERT_TRUE(button.SubclassDlgItem(id, &dlg));
        if (auto* recording = dynamic_cast<RecordingButton*>(&button)) {
            recording->log = &dlg.log;
        }
    }
    static void Press(CWnd& w) { QTest::mousePress(WidgetOf(w), Qt::LeftButton, {}, {3, 3}); }
    static void Release(CWnd& w) { QTest::mouseRelease(WidgetOf(w), Qt::LeftButton, {}, {3, 3}); }
    static void Tap(CWnd& w) {
        Press(w);
        Release(w);
    }

    HostDialog dlg;
};

} // namespace

TEST_F(CustomButtonTest, AttachingTakesKindCaptionsAndOwnerDrawingFromTheWindow) {
    struct Case {
        DWORD style;
        Kind kind;
        bool flat;
    } cases[] = {
        {BS_PUSHBUTTON | BS_CENTER, Kind::PushButton, false},
        {BS_DEFPUSHBUTTON | BS_FLAT | BS_BITMAP, Kind::PushButton, true},
        {BS_AUTOCHECKBOX | BS_PUSHLIKE | BS_MULTILINE, Kind::CheckBox, true},
        {BS_RADIOBUTTON, Kind::RadioButton, true},
        {BS_AUTORADIOBUTTON, Kind::PushButton, false}, // low three bits 1
        {BS_GROUPBOX, Kind::GroupBox, true},
    };
    for (const Case& c : cases) {
        CCustomButton button;
        Attach(button, c.style, CRect(0, 0, 50, 20), 1100, u"Radio ON");
        EXPECT_EQ(button.GetKind(), c.kind) << c.style;
        EXPECT_EQ(button.IsFlat(), c.flat) << c.style;
        EXPECT_EQ(button.GetStyle() & 0xFFFF, (c.style & ~BS_TYPEMASK) | BS_OWNERDRAW);
        EXPECT_EQ(button.GetCaption(true), u"Radio ON");
        button.DestroyWindow();
    }
    WNDCLASS wc{};
    ASSERT_TRUE(GetClassInfo(nullptr, u"CustomButtonClass", &wc));
    EXPECT_EQ(wc.style, UINT(CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS));
}

TEST_F(CustomButtonTest, PushButtonsArePressedWhileDownOrToggleWhenPushLike) {
    RecordingButton exit, suspend;
    Attach(exit, BS_PUSHBUTTON, CRect(0, 0, 60, 20), 1000);
    Attach(suspend, BS_PUSHBUTTON, CRect(0, 30, 60, 50), 1006);
    exit.SetCaptions(u"Exit", u"Bye");
    suspend.SetCaptions(u"Pause", u"Resume");
    suspend.ModifyStyle(0, BS_PUSHLIKE);

    Press(exit);
    EXPECT_EQ(State(exit), u"Bye:1");
    Release(exit);
    EXPECT_EQ(State(exit), u"Exit:0");
    Tap(suspend);
    EXPECT_EQ(State(suspend), u"Resume:1");
    // BM_SETCHECK on a push button changes nothing.
    suspend.SetCheck(BST_UNCHECKED);
    exit.SetCheck(BST_CHECKED);
    EXPECT_EQ(State(suspend), u"Resume:1");
    EXPECT_EQ(State(exit), u"Exit:0");
    Tap(suspend);
    EXPECT_EQ(State(suspend), u"Pause:0");
    suspend.EnableWindow(FALSE);
    suspend.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
    suspend.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
    EXPECT_EQ(State(suspend), u"Pause:0") << "disabled: no change, no click";

    // The BM_SETCHECKs are the test's own: push buttons send none.
    std::vector<std::string> expected = {"command 1000 code 0", "command 1006 code 0",
                                         "1006 setcheck 0", "1000 setcheck 1",
                                         "command 1006 code 0"};
    EXPECT_EQ(dlg.log, expected);
}

TEST_F(CustomButtonTest, CheckBoxWithTwoCaptionsTogglesCaptionBitmapAndCheck) {
    RecordingButton peers;
    Attach(peers, BS_AUTOCHECKBOX | BS_BITMAP, CRect(0, 0, 100, 20), 1013, u"Hide peers");
    peers.SetCaptions(u"Show peers", u"Hide peers");
    peers.SetBitmaps(SolidBitmap(16, 16, kGreen), SolidBitmap(16, 16, kBlue));
    peers.SetBackgroundColor(kWhite);
    peers.SetCheckedBackgroundColor(kWhite);
    EXPECT_EQ(State(peers), u"Show peers:0");
    EXPECT_EQ(PixelAt(Shot(peers), 8, 10), kGreen);

    Tap(peers);
    EXPECT_EQ(State(peers), u"Hide peers:1");
    QImage checked = Shot(peers);
    // The indicator at the left edge, centred; the caption from 16 + 4.
    EXPECT_EQ(Columns(checked, CRect(0, 2, 100, 3), kBlue), std::make_pair(1, 15));
    EXPECT_EQ(PixelAt(checked, 15, 17), kBlue);
    EXPECT_EQ(PixelAt(checked, 0, 10), kWhite);
    EXPECT_GE(Columns(checked, CRect(16, 0, 100, 20), kWhite, true).first, 20);

    Tap(peers);
    peers.SetCheck(BST_CHECKED);
    EXPECT_EQ(State(peers), u"Hide peers:1");
    peers.SetCheck(2);
    EXPECT_EQ(State(peers), u"Show peers:0") << "only 1 checks";
    std::vector<std::string> expected = {"1013 setcheck 1", "command 1013 code 0",
                                         "1013 setcheck 0", "command 1013 code 0",
                                         "1013 setcheck 1", "1013 setcheck 2"};
    EXPECT_EQ(dlg.log, expected);
}

TEST_F(CustomButtonTest, RadioButtonsUncheckTheRestOfTheirGroup) {
    RecordingButton csv, xls, txt, other;
    Attach(csv, BS_RADIOBUTTON | WS_GROUP, CRect(0, 0, 40, 16), 1033, u" .csv");
    Attach(xls, BS_RADIOBUTTON, CRect(40, 0, 80, 16), 1034, u" .xls");
    Attach(txt, BS_RADIOBUTTON, CRect(80, 0, 120, 16), 1035, u" .txt");
    Attach(other, BS_RADIOBUTTON | WS_GROUP, CRect(0, 20, 40, 36), 1036, u"other");
    other.SetCheck(BST_CHECKED);
    csv.SetCheck(BST_CHECKED);
    dlg.log.clear();

    Tap(xls);
    Tap(xls); // already checked: only the click
    EXPECT_EQ(csv.GetCheck(), BST_UNCHECKED);
    EXPECT_EQ(other.GetCheck(), BST_CHECKED) << "another group";
    std::vector<std::string> expected = {"1034 setcheck 1", "1035 setcheck 0", "1033 setcheck 0",
                                         "command 1034 code 0", "command 1034 code 0"};
    EXPECT_EQ(dlg.log, expected);
    // Without bitmaps the indicator is the platform's radio frame, checked.
    EXPECT_EQ(PixelAt(Shot(xls), 8, 8), RGB(0, 0, 0));
}

TEST_F(CustomButtonTest, PushButtonCentresALoneBitmapOrCaptionAndSinksItWhenPressed) {
    CCustomButton button;
    Attach(button, BS_PUSHBUTTON | BS_BITMAP, CRect(0, 0, 60, 24), 1003);
    button.SetBackgroundColor(kWhite);
    button.SetCheckedBackgroundColor(kWhite);
    button.SetBitmaps(SolidBitmap(20, 20, kRed));
    EXPECT_EQ(Columns(Shot(button), CRect(0, 12, 60, 13), kRed), std::make_pair(21, 39));
    Press(button); // the content moves one pixel right and down
    QImage image = Shot(button);
    EXPECT_EQ(Columns(image, CRect(0, 12, 60, 13), kRed), std::make_pair(22, 40));
    EXPECT_EQ(Columns(image, CRect(0, 2, 60, 3), kRed).first, -1);
    Release(button);
    button.MoveWindow(0, 0, 120, 24); // the drawing surface follows the new size
    EXPECT_EQ(Columns(Shot(button), CRect(0, 12, 120, 13), kRed), std::make_pair(51, 69));
    button.SetBitmaps(nullptr);
    button.SetWindowText(u"Scan");
    auto [first, last] = Columns(Shot(button), CRect(2, 2, 118, 22), kWhite, true);
    EXPECT_NEAR(first + last, 119, 2);
}

TEST_F(CustomButtonTest, BevelAndGradientColours) {
    CCustomButton plain, gradient;
    Attach(plain, BS_PUSHBUTTON, CRect(0, 0, 40, 20), 1000);
    Attach(gradient, BS_PUSHBUTTON, CRect(0, 30, 40, 50), 1006);
    plain.SetBackgroundColor(RGB(100, 150, 200));
    plain.SetCheckedBackgroundColor(RGB(50, 60, 70));
    // Outer edges scaled by -0.3 (left, top) and 0.3, inner ones by -0.2 and 0.2.
    QImage image = Shot(plain);
    EXPECT_EQ(PixelAt(image, 1, 10), RGB(120, 180, 240));
    EXPECT_EQ(PixelAt(image, 39, 0), RGB(70, 105, 140)) << "corner of the right edge";
    Press(plain); // sunk: light and dark swapped, on the checked background
    EXPECT_EQ(PixelAt(Shot(plain), 0, 0), RGB(35, 42, 49));
    Release(plain);

    const COLORREF cut = RGB(1, 2, 3);
    gradient.SetBackgroundColor(cut);
    gradient.SetCheckedBackgroundColor(cut);
    gradient.SetGradientColors(RGB(8, 76, 156), RGB(200, 200, 200));
    gradient.SetLayout(CCustomButton::kGradient);
    gradient.ModifyStyle(0, BS_PUSHLIKE);
    image = Shot(gradient);
    // Row 2 + k: colour 1 + (colour 2 - colour 1) * k / 20. The frame: base the mix of the
    // two, light base * 1.1, dark base * 0.8, corners cut.
    const COLORREF base = RGB(104, 138, 178), light = RGB(114, 151, 195), dark = RGB(83, 110, 142);
    EXPECT_EQ(Row(image, 0, 7, 3), (Colours{light, base, RGB(56, 107, 167)}));
    EXPECT_EQ(Row(image, 0, 1, 3), (Colours{cut, light, base}));
    EXPECT_EQ(Row(image, 36, 19, 4), (Colours{dark, dark, cut, cut}));
    Tap(gradient); // checked: from colour 2, the frame sunk
    image = Shot(gradient);
    EXPECT_EQ(Row(image, 18, 0, 2), (Colours{dark, dark}));
    EXPECT_EQ(PixelAt(image, 20, 2), RGB(200, 200, 200));
}

TEST_F(CustomButtonTest, BitmapsAndFontsBelongToTheButtonUnlessTheCallerKeepsThem) {
    HBITMAP olive = SolidBitmap(16, 16, kGreen), green = SolidBitmap(16, 16, kGreen);
    HBITMAP red = SolidBitmap(16, 16, kRed);
    LOGFONT lf{};
    HFONT shared = CreateFontIndirect(&lf);
    {
        CCustomButton lamp, button;
        Attach(lamp, BS_AUTOCHECKBOX, CRect(0, 0, 60, 20), 1029);
        Attach(button, BS_PUSHBUTTON, CRect(0, 30, 60, 50), 1000);
        // The lamp's images, handed over again at every blink, stay the caller's.
        lamp.SetBitmaps(olive, green, Ownership::Caller);
        lamp.SetBitmaps(red, olive, Ownership::Caller);
        Shot(lamp);
        HFONT owned = CreateFontIndirect(&lf);
        lamp.SetFont(owned);
        lamp.SetFont(shared, Ownership::Caller);
        EXPECT_FALSE(DeleteObject(owned)) << "already deleted";

        // Owned ones are deleted when replaced, but not when handed over again.
        HBITMAP a = SolidBitmap(8, 8, kRed), b = SolidBitmap(8, 8, kBlue);
        button.SetBitmaps(a, b);
        button.SetBitmaps(a, b);
        EXPECT_TRUE(Alive(a) && Alive(b));
        HBITMAP c = SolidBitmap(8, 8, kRed);
        button.SetBitmaps(c);
        EXPECT_FALSE(Alive(a) || Alive(b));
        button.SetBitmaps(SolidBitmap(8, 8, kRed));
        EXPECT_FALSE(Alive(c));
    }
    for (HGDIOBJ kept : {HGDIOBJ(olive), HGDIOBJ(green), HGDIOBJ(red), HGDIOBJ(shared)}) {
        EXPECT_TRUE(DeleteObject(kept)) << "the caller's objects survive the buttons";
    }
}
