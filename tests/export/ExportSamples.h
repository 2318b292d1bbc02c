#pragma once
// Worksheets shared by the export tests, the fuzz targets' seeds and the sample program
// that the Python readers check.
#include "export/XlsWorkbook.h"
#include "platform/system/TextCodec.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace korvyn::test {

inline constexpr const char16_t* kEnglishHeaders[10] = {
    u"Name", u"Sig",      u"Ch",        u"Type",       u"Sec",
    u"MAC",  u"Best sig", u"Worst sig", u"First seen", u"Last seen"};

// The text the station list shows for list row k, column c. Every eleventh station has no
// name; others carry quotes, accents or Cyrillic; every fifth is inactive ("-----").
inline std::string StationText(int k, int c) {
    char text[64];
    auto time = [&](int t) {
        std::snprintf(text, sizeof text, "06/12/26 %02d:%02d:%02d", t / 3600 % 24, t / 60 % 60,
                      t % 60);
    };
    switch (c) {
    case 0:
        if (k % 11 == 0)
            return "";
        if (k % 11 == 1)
            return "Caf\u00e9 \"Z\u00f6ld\" " + std::to_string(k);
        if (k % 11 == 2)
            return "\u0421\u0435\u0442\u044c " + std::to_string(k);
        return "Net-" + std::to_string(k);
    case 1:
        return k % 5 == 0 ? "-----" : std::to_string(70 - k % 60);
    case 2:
        return std::to_string(1 + k % 13);
    case 3:
        return k % 3 ? "AP" : "Peer";
    case 4:
        return k % 2 ? "WEP" : "Open";
    case 5:
        std::snprintf(text, sizeof text, "00-1A-%02X-%02X-%02X-%02X", (k >> 24) & 255,
                      (k >> 16) & 255, (k >> 8) & 255, k & 255);
        return text;
    case 6:
        return std::to_string(80 - k % 50);
    case 7:
        return std::to_string(60 - k % 50);
    case 8:
        time(k);
        return text;
    default:
        time(k + 30);
        return text;
    }
}

// The export's workbook: sheet "WI-FI", the header row and `rows` station rows. In
// workbook form the signal and channel columns hold the text's leading number.
inline XlsWorksheet* MakeStationWorkbook(XlsWorkbook& book, int rows, bool workbookForm) {
    book.CreateBlank(1);
    book.RenameSheet("Sheet1", "WI-FI");
    XlsWorksheet* sheet = book.FindSheet("WI-FI");
    for (int c = 0; c < 10; ++c)
        sheet->CellAt(0, c)->SetWideText(kEnglishHeaders[c]);
    for (int k = 0; k < rows; ++k) {
        for (int c = 0; c < 10; ++c) {
            const std::string text = StationText(k, c);
            XlsCell* cell = sheet->CellAt(k + 1, c);
            if (workbookForm && (c == 1 || c == 2 || c == 6 || c == 7))
                cell->SetNumber(std::strtod(text.c_str(), nullptr));
            else
                cell->SetWideText(platform::Utf8ToUtf16(text));
        }
    }
    return sheet;
}

// Strings in column 0 that fill the shared string table up to a chosen place before its
// first 8224 bytes end, then strings that cross it: "even" and "odd" leave that many
// bytes free where the crossing string begins (96 and 57), "tight" leaves 8.
inline void FillSstSample(XlsWorksheet& sheet, const std::string& variant) {
    int row = 0;
    auto add = [&](const std::u16string& text) { sheet.CellAt(row++, 0)->SetWideText(text); };
    auto filler = [](int j, int chars) {
        std::u16string s = platform::Utf8ToUtf16(std::to_string(1000 + j));
        return s + std::u16string(static_cast<std::size_t>(chars) - s.size(), u'x');
    };
    if (variant == "even") {
        for (int j = 0; j < 40; ++j)
            add(filler(j, 100)); // 8 + 40 * 203 = 8128
    } else if (variant == "odd") {
        for (int j = 0; j < 41; ++j)
            add(filler(j, 98)); // 8 + 41 * 199 = 8167
    } else {
        for (int j = 0; j < 39; ++j)
            add(filler(j, 100));
        add(filler(39, 144)); // 8 + 39 * 203 + 291 = 8216
    }
    std::u16string crossing;
    for (int i = 0; i < 200; ++i)
        crossing += static_cast<char16_t>(u'\u0410' + i % 32);
    add(crossing);
    add(std::u16string(10000, u'\u0151') + u"end"); // longer than a whole record
    add(u"after");
}

// Numbers that exercise RK, MULRK and NUMBER, including values that pass the RK test but
// would lose bits in the RK form (1.0000001, 2^40 + 1, 1e300).
inline void FillNumberSample(XlsWorksheet& sheet) {
    const double rows[][5] = {
        {1, 2, 3, 0, 0},
        {1, 12345.6789, 2, 0, 0},
        {12345.6789, 2.5e-5, 0, 0, 0},
        {0.5, 1.1, 0, -3.25, 0},
        {1.0000001, 1099511627777.0, 0, 0, 1e300},
    };
    const int used[] = {3, 3, 2, 4, 5};
    for (int r = 0; r < 5; ++r) {
        for (int c = 0; c < used[r]; ++c) {
            if (!(r == 3 && c == 2)) // a gap ends a run
                sheet.CellAt(r, c)->SetNumber(rows[r][c]);
        }
    }
    sheet.CellAt(4, 2)->SetInteger(7);
    sheet.CellAt(4, 3)->SetInteger(-123456);
    sheet.CellAt(5, 0)->SetWideText(u"a");
    sheet.CellAt(5, 1)->SetNumber(4);
    sheet.CellAt(5, 2)->SetText("b");
    sheet.CellAt(5, 3)->SetNumber(5);
    sheet.CellAt(5, 4)->SetNumber(6);
}

} // namespace korvyn::test
