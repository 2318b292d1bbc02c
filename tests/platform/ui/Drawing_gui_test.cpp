// Drawing semantics checked on the pixels of memory bitmaps.
#include "platform/ui/AfxWin.h"
#include "platform/ui/detail/FontFileTables.h"
#include "platform/ui/detail/GdiObject.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);

// A white bitmap selected into a memory DC (the bitmap outlives the DC).
struct Surface {
    Surface(int width, int height) {
        dc.CreateCompatibleDC(nullptr);
        bitmap.CreateCompatibleBitmap(&dc, width, height);
        dc.SelectObject(&bitmap);
        dc.FillSolidRect(0, 0, width, height, kWhite);
    }
    CBitmap bitmap;
    CDC dc;
};

class Canvas : public ::testing::Test {
protected:
    // One character per pixel of a row: '#' for the colour, '.' for white, '?' else.
    std::string Row(int y, COLORREF colour) {
        std::string s;
        for (int x = 0; x < 20; ++x) {
            COLORREF c = dc.GetPixel(x, y);
            s += c == colour ? '#' : c == kWhite ? '.' : '?';
        }
        return s;
    }

    Surface surface{20, 12};
    CDC& dc = surface.dc;
};

} // namespace

TEST_F(Canvas, LineToLeavesItsEndPoint) {
    CPen red(PS_SOLID, 1, RGB(255, 0, 0));
    CPen* previous = dc.SelectObject(&red);
    dc.MoveTo(2, 1);
    dc.LineTo(6, 1);
    EXPECT_EQ(Row(1, RGB(255, 0, 0)), "..####..............");
    dc.MoveTo(9, 2);
    dc.LineTo(5, 2);
    EXPECT_EQ(Row(2, RGB(255, 0, 0)), "......####..........");
    // A vertical line from the bottom row up: the wedge's columns.
    dc.MoveTo(12, 11);
    dc.LineTo(12, 8);
    EXPECT_EQ(dc.GetPixel(12, 11), RGB(255, 0, 0));
    EXPECT_EQ(dc.GetPixel(12, 9), RGB(255, 0, 0));
    EXPECT_EQ(dc.GetPixel(12, 8), kWhite);
    // A line to its own start draws nothing.
    dc.MoveTo(15, 5);
    dc.LineTo(15, 5);
    EXPECT_EQ(dc.GetPixel(15, 5), kWhite);
    dc.MoveTo(0, 4);
    dc.LineTo(3, 7);
    EXPECT_EQ(Row(4, RGB(255, 0, 0)), "#...................");
    EXPECT_EQ(Row(6, RGB(255, 0, 0)), "..#.................");
    EXPECT_EQ(Row(7, RGB(255, 0, 0)), "....................");
    EXPECT_EQ(dc.SelectObject(previous), &red);
    EXPECT_EQ(dc.MoveTo(0, 0), CPoint(3, 7));
}

TEST_F(Canvas, RectangleCoversExactlyItsPixelsAndHollowBrushesFillNothing) {
    CPen blue(PS_SOLID, 1, RGB(0, 0, 255));
    CBrush green(RGB(0, 255, 0));
    dc.SelectObject(&blue);
    dc.SelectObject(&green);
    dc.Rectangle(1, 1, 6, 5);
    EXPECT_EQ(Row(0, RGB(0, 0, 255)), "....................");
    EXPECT_EQ(Row(1, RGB(0, 0, 255)), ".#####..............");
    EXPECT_EQ(Row(2, RGB(0, 255, 0)), ".?###?..............");
    EXPECT_EQ(Row(4, RGB(0, 0, 255)), ".#####..............");
    EXPECT_EQ(Row(5, RGB(0, 0, 255)), "....................");

    dc.SelectStockObject(HOLLOW_BRUSH);
    dc.Rectangle(8, 1, 12, 5);
    EXPECT_EQ(Row(2, RGB(0, 0, 255)).substr(7), ".#..#........");

    // The null pen leaves the right and bottom edges out.
    dc.SelectStockObject(NULL_PEN);
    dc.SelectObject(&green);
    dc.Rectangle(14, 1, 18, 5);
    EXPECT_EQ(Row(1, RGB(0, 255, 0)).substr(13), ".###...");
    EXPECT_EQ(Row(4, RGB(0, 255, 0)).substr(13), ".......");

    CRect r(0, 8, 4, 10);
    dc.FillRect(&r, &green);
    EXPECT_EQ(Row(9, RGB(0, 255, 0)), "####................");
    EXPECT_EQ(Row(10, RGB(0, 255, 0)), "....................");
    dc.SelectStockObject(BLACK_PEN);
    dc.SelectStockObject(WHITE_BRUSH);
}

TEST_F(Canvas, TransparentBlitKeepsThePixelsOfTheKeyColour) {
    CBitmap image;
    CDC source;
    ASSERT_TRUE(source.CreateCompatibleDC(&dc));
    ASSERT_TRUE(image.CreateCompatibleBitmap(&source, 4, 1));
    EXPECT_EQ(source.SelectObject(&image), nullptr);
    source.SetPixel(0, 0, RGB(0, 0, 0));
    source.SetPixel(1, 0, RGB(200, 10, 10));
    source.SetPixel(2, 0, RGB(0, 0, 0));
    source.SetPixel(3, 0, RGB(1, 0, 0));
    dc.TransparentBlt(2, 3, 4, 1, &source, 0, 0, 4, 1, RGB(0, 0, 0));
    EXPECT_EQ(dc.GetPixel(2, 3), kWhite);
    EXPECT_EQ(dc.GetPixel(3, 3), RGB(200, 10, 10));
    EXPECT_EQ(dc.GetPixel(4, 3), kWhite);
    EXPECT_EQ(dc.GetPixel(5, 3), RGB(1, 0, 0)) << "only pure black is the key";
    dc.BitBlt(10, 3, 4, 1, &source, 0, 0, SRCCOPY);
    EXPECT_EQ(dc.GetPixel(10, 3), RGB(0, 0, 0));
    EXPECT_EQ(image.GetSize(), CSize(4, 1));
    // A bitmap selected into a DC cannot be deleted.
    EXPECT_FALSE(DeleteObject(image.m_hObject));
}

TEST_F(Canvas, TextIsMeasuredAndDrawnInTheTextColour) {
    CFont font;
    ASSERT_TRUE(font.CreateFont(12, 0, 0, 0, FW_BOLD, 0, 0, 0, 0, 0, 0, 0, 0, u"Tahoma"));
    LOGFONT lf{};
    font.GetLogFont(&lf);
    EXPECT_EQ(lf.lfWeight, FW_BOLD);
    EXPECT_EQ(std::u16string(lf.lfFaceName), u"Tahoma");
    CFont* previous = dc.SelectObject(&font);
    CSize extent = dc.GetTextExtent(u"88");
    EXPECT_GT(extent.cx, 6);
    EXPECT_NEAR(extent.cy, 12, 1) << "a positive height is the cell height";
    CRect calc(0, 0, 0, 0);
    int height = dc.DrawText(u"88", &calc, DT_CALCRECT | DT_SINGLELINE);
    EXPECT_EQ(calc.Width(), extent.cx);
    EXPECT_EQ(height, calc.Height());
    CRect wrap(0, 0, extent.cx + 2, 0);
    dc.DrawText(u"88 88 88", &wrap, DT_CALCRECT | DT_WORDBREAK);
    EXPECT_GE(wrap.Height(), 3 * extent.cy - 2);

    dc.SetTextColor(RGB(0, 0, 255));
    dc.SetBkMode(TRANSPARENT);
    CRect box(0, 0, 20, 12);
    dc.DrawText(u"88", &box, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
    int blue = 0;
    for (int y = 0; y < 12; ++y) {
        for (int x = 0; x < 20; ++x) {
            COLORREF c = dc.GetPixel(x, y);
            blue += GetBValue(c) > 150 && GetRValue(c) < 100;
        }
    }
    EXPECT_GT(blue, 6);
    dc.SelectObject(previous);
}

TEST(SystemColours, FixedThemeWithOrWithoutTheIndexFlag) {
    EXPECT_EQ(GetSysColor(COLOR_ACTIVECAPTION),
              GetSysColor(COLOR_ACTIVECAPTION | SYS_COLOR_INDEX_FLAG));
    EXPECT_EQ(GetSysColor(COLOR_WINDOW), RGB(255, 255, 255));
    EXPECT_EQ(GetSysColor(COLOR_WINDOWTEXT), RGB(0, 0, 0));
    EXPECT_NE(GetSysColor(COLOR_ACTIVECAPTION), GetSysColor(COLOR_CAPTIONTEXT));
    EXPECT_NE(GetSysColorBrush(COLOR_BTNFACE), nullptr);
    EXPECT_FALSE(DeleteObject(GetSysColorBrush(COLOR_BTNFACE))) << "system brushes stay";
    EXPECT_FALSE(DeleteObject(GetStockObject(NULL_BRUSH)));
}

namespace {

// The files of the dialog face that scripts/bootstrap installs (Debian's fonts-wine).
constexpr const char* kRegularFace = "/usr/share/wine/fonts/tahoma.ttf";
constexpr const char* kBoldFace = "/usr/share/wine/fonts/tahomabd.ttf";
constexpr const char* kSamples[] = {"00-0A-1B-2C-3D-4E", "26/12/07 02:41:27", "Language",
                                    "Unterbrechen", "Visualizza sicure"};

// The numbers design_widths.py prints for its arguments (see there).
std::vector<long> DesignNumbers(const std::string& arguments) {
    const std::string command = std::string(KORVYN_PYTHON) + " " + KORVYN_SOURCE_DIR +
                                "/tests/platform/ui/design_widths.py " + arguments;
    FILE* pipe = popen(command.c_str(), "r");
    std::vector<long> numbers;
    for (long v; fscanf(pipe, "%ld", &v) == 1;)
        numbers.push_back(v);
    EXPECT_EQ(pclose(pipe), 0) << command;
    return numbers;
}

// The darkness of a text drawn black on white, in whole pixels.
double Ink(int height, int weight, LPCWSTR text) {
    Surface surface(4 * height, 2 * height);
    CDC& dc = surface.dc;
    CFont font;
    font.CreateFont(height, 0, 0, 0, weight, 0, 0, 0, 0, 0, 0, 0, 0, u"Tahoma");
    CFont* previous = dc.SelectObject(&font);
    CRect box(0, 0, 4 * height, 2 * height);
    dc.DrawText(text, &box, DT_SINGLELINE | DT_NOPREFIX);
    dc.SelectObject(previous);
    double ink = 0;
    for (int y = 0; y < 2 * height; ++y) {
        for (int x = 0; x < 4 * height; ++x) {
            ink += (255 - GetGValue(dc.GetPixel(x, y))) / 255.0;
        }
    }
    return ink;
}

} // namespace

// The dialog faces are the bundled Tahoma (DejaVu without it). A positive height is the
// cell: widths are the face's design widths at the em that cell gives, for both faces.
TEST(Fonts, WidthsAreTheFaceDesignWidthsAtTheCellsEmAndBoldIsHeavier) {
    const bool installed =
        std::filesystem::exists(kRegularFace) && std::filesystem::exists(kBoldFace);
    EXPECT_EQ(korvyn::platform::DialogFaceName(), installed ? "Tahoma" : "DejaVu Sans");
    if (!installed) {
        GTEST_SKIP() << "the dialog face's files are not installed";
    }
    Surface surface(4, 4);
    CDC& dc = surface.dc;
    for (int weight : {FW_NORMAL, FW_BOLD}) {
        std::string arguments = weight == FW_BOLD ? kBoldFace : kRegularFace;
        for (const char* sample : kSamples)
            arguments += std::string(" '") + sample + "'";
        const std::vector<long> units = DesignNumbers(arguments);
        ASSERT_EQ(units.size(), 1 + std::size(kSamples));
        for (LPCWSTR face : {u"MS Shell Dlg", u"Tahoma"}) {
            for (int height = 10; height <= 20; ++height) {
                CFont font;
                font.CreateFont(height, 0, 0, 0, weight, 0, 0, 0, 0, 0, 0, 0, 0, face);
                CFont* previous = dc.SelectObject(&font);
                for (std::size_t i = 0; i < std::size(kSamples); ++i) {
                    std::string sample = kSamples[i];
                    CSize extent =
                        dc.GetTextExtent(std::u16string(sample.begin(), sample.end()).c_str());
                    double design = double(units[i + 1]) * height / double(units[0]);
                    EXPECT_NEAR(extent.cx, design, 0.04 * design)
                        << sample << ", weight " << weight << ", cell " << height;
                    EXPECT_EQ(extent.cy, height) << "the cell height, weight " << weight;
                }
                dc.SelectObject(previous);
            }
        }
    }
    for (int height : {10, 12, 20, 100}) {
        EXPECT_GT(Ink(height, FW_BOLD, u"Wi-Fi 68"), 1.25 * Ink(height, FW_NORMAL, u"Wi-Fi 68"))
            << "bold at cell " << height;
    }
}

// The font mapper reads the dialog face's metrics from its files: the same numbers as
// fontTools reads, and from a file cut short, nothing or the same (the outline of "l"
// may be lost), never a read past the end.
TEST(Fonts, FaceTablesReadFromTheFilesAsFontToolsReadsThem) {
    for (const char* file : {kRegularFace, kBoldFace}) {
        if (!std::filesystem::exists(file)) {
            GTEST_SKIP() << "the dialog face's files are not installed";
        }
        std::ifstream in(file, std::ios::binary);
        const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
        const auto tables = korvyn::platform::ReadFaceTables(bytes);
        ASSERT_TRUE(tables) << file;
        const std::vector<long> read = {tables->unitsPerEm,   tables->winAscent, tables->winDescent,
                                        tables->averageWidth, tables->bold,      tables->italic,
                                        tables->stemWidth};
        EXPECT_EQ(read, DesignNumbers(std::string("--tables ") + file)) << file;
        for (std::size_t size = 0; size < bytes.size(); size += 61) {
            const auto cut = korvyn::platform::ReadFaceTables({bytes.data(), size});
            if (cut) {
                EXPECT_EQ(cut->winAscent + cut->winDescent, tables->winAscent + tables->winDescent);
                EXPECT_TRUE(cut->stemWidth == 0 || cut->stemWidth == tables->stemWidth);
            }
        }
    }
}
