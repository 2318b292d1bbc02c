// Drawing semantics checked on the pixels of memory bitmaps, and the dialog face's
// metrics. (Texts are checked where they are drawn: lists, buttons, the text-fit check.)
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
    const COLORREF red = RGB(255, 0, 0);
    CPen pen(PS_SOLID, 1, red);
    CPen* previous = dc.SelectObject(&pen);
    const struct {
        int x0, y0, x1, y1, row;
        const char* pixels;
    } lines[] = {
        {2, 1, 6, 1, 1, "..####.............."},   {9, 2, 5, 2, 2, "......####.........."},
        {15, 3, 15, 3, 3, "...................."}, // to its own start: nothing
        {0, 4, 3, 7, 4, "#..................."},   {0, 4, 3, 7, 6, "..#................."},
        {0, 4, 3, 7, 7, "...................."},   {12, 11, 12, 8, 8, "...................."}};
    for (const auto& l : lines) {
        dc.MoveTo(l.x0, l.y0);
        dc.LineTo(l.x1, l.y1);
        EXPECT_EQ(Row(l.row, red), l.pixels) << l.x0 << "," << l.y0 << " to " << l.x1;
    }
    for (int y : {9, 11})
        EXPECT_EQ(dc.GetPixel(12, y), red) << "a vertical line up from the bottom row";
    EXPECT_EQ(dc.SelectObject(previous), &pen);
    EXPECT_EQ(dc.MoveTo(0, 0), CPoint(12, 8));
}

TEST_F(Canvas, TransparentBlitKeepsThePixelsOfTheKeyColour) {
    CBitmap image;
    CDC source;
    ASSERT_TRUE(source.CreateCompatibleDC(&dc));
    ASSERT_TRUE(image.CreateCompatibleBitmap(&source, 4, 1));
    source.SelectObject(&image);
    const COLORREF pixels[] = {RGB(0, 0, 0), RGB(200, 10, 10), RGB(0, 0, 0), RGB(1, 0, 0)};
    for (int x = 0; x < 4; ++x)
        source.SetPixel(x, 0, pixels[x]);
    dc.TransparentBlt(2, 3, 4, 1, &source, 0, 0, 4, 1, RGB(0, 0, 0));
    EXPECT_EQ(Row(3, RGB(200, 10, 10)), "...#.?..............");
    EXPECT_EQ(dc.GetPixel(5, 3), RGB(1, 0, 0)) << "only pure black is the key";
    // A bitmap selected into a DC cannot be deleted.
    EXPECT_FALSE(DeleteObject(image.m_hObject));
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

} // namespace

// The dialog faces are the bundled Tahoma (DejaVu without it). A positive height is the
// cell: widths are the face's design widths at the em that cell gives, for both faces
// (bold is the bold face's widths, wider than the regular's).
TEST(Fonts, WidthsAreTheFaceDesignWidthsAtTheCellsEm) {
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
                    const std::string sample = kSamples[i];
                    const std::u16string text(sample.begin(), sample.end());
                    const CSize extent = dc.GetTextExtent(text.c_str());
                    // A pixel short of its width, a text wraps at its space; words stay whole.
                    CRect wrapped(0, 0, extent.cx - 1, 0);
                    dc.DrawText(text, &wrapped, DT_CALCRECT | DT_WORDBREAK);
                    EXPECT_EQ(wrapped.Height(),
                              ((sample.find(' ') != std::string::npos) + 1) * height)
                        << sample;
                    double design = double(units[i + 1]) * height / double(units[0]);
                    EXPECT_NEAR(extent.cx, design, 0.04 * design)
                        << sample << ", weight " << weight << ", cell " << height;
                    EXPECT_EQ(extent.cy, height) << "the cell height, weight " << weight;
                }
                dc.SelectObject(previous);
            }
        }
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
