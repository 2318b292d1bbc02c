#include "export/XlsWorkbook.h"

#include "ExportSamples.h"
#include "platform/system/DocumentsFolder.h"
#include "support/BiffReader.h"
#include "support/FileSizeLimit.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <map>

namespace fs = std::filesystem;

namespace {

// clang-format off
enum : WORD { BOF = 0x0809, EOF_ = 0x000A, WINDOW1 = 0x003D, FONT = 0x0031, XF = 0x00E0,
              STYLE = 0x0293, BOUNDSHEET = 0x0085, SST = 0x00FC, CONTINUE = 0x003C,
              INDEX = 0x020B, DIMENSIONS = 0x0200, ROW = 0x0208, LABELSST = 0x00FD, RK = 0x027E,
              MULRK = 0x00BD, NUMBER = 0x0203, DBCELL = 0x00D7, WINDOW2 = 0x023E };
// clang-format on

struct Record {
    WORD type = 0;
    std::size_t at = 0; // stream position of the record header
    std::vector<BYTE> data;
    WORD U16(std::size_t i) const { return static_cast<WORD>(data.at(i) | data.at(i + 1) << 8); }
    DWORD U32(std::size_t i) const { return U16(i) | DWORD{U16(i + 2)} << 16; }
    std::string Hex() const {
        std::string hex;
        for (BYTE b : data)
            hex += "0123456789ABCDEF"[b >> 4], hex += "0123456789ABCDEF"[b & 15];
        return hex;
    }
};

// The records of a stream, by position.
std::map<std::size_t, Record> Records(const std::vector<BYTE>& s) {
    std::map<std::size_t, Record> records;
    for (std::size_t at = 0; at + 4 <= s.size();) {
        const std::size_t size = s[at + 2] | s[at + 3] << 8;
        records[at] = {static_cast<WORD>(s[at] | s[at + 1] << 8), at,
                       std::vector<BYTE>(s.begin() + at + 4, s.begin() + at + 4 + size)};
        at += 4 + size;
    }
    return records;
}

std::vector<const Record*> OfType(const std::map<std::size_t, Record>& records, WORD type) {
    std::vector<const Record*> found;
    for (const auto& [at, r] : records) {
        if (r.type == type)
            found.push_back(&r);
    }
    return found;
}

// The sheets as the independent reader of the fuzz targets sees them; it checks INDEX,
// DBCELL, ROW and DIMENSIONS against the cells, and the string pieces.
std::vector<korvyn::fuzz::BiffSheet> ReadSheets(const std::vector<BYTE>& stream) {
    std::string error;
    auto sheets = korvyn::fuzz::ReadWorkbookStream(stream, error);
    EXPECT_EQ(error, "");
    return sheets;
}

// The kinds of the cell records of each row.
std::map<WORD, std::vector<WORD>> CellKinds(const std::map<std::size_t, Record>& records) {
    std::map<WORD, std::vector<WORD>> rows;
    for (const auto& [at, r] : records) {
        if (r.type == RK || r.type == MULRK || r.type == NUMBER || r.type == LABELSST)
            rows[r.U16(0)].push_back(r.type);
    }
    return rows;
}

TEST(XlsWorkbookTest, EmptyEnglishExportIsByteExact) {
    XlsWorkbook book;
    korvyn::test::MakeStationWorkbook(book, 0, true);
    const std::vector<BYTE> stream = book.WorkbookStream();
    ASSERT_EQ(stream.size(), 1145u);
    const auto records = Records(stream);
    EXPECT_EQ(records.size(), 53u);
    const std::map<std::size_t, std::string> fixed = {
        {0, "00060500A019CD07C9C0000006030000"},      // BOF
        {20, "780078001F3B542438000000000001005802"}, // WINDOW1
        {42, "C8000000FF7F90010000000000000501410072006900610"
             "06C00"},                                     // FONT
        {162, "00000000F5FF200000000000000000000000C020"}, // XF
        {666, "008000FF"},                                 // STYLE
        {714, "770300000000050057492D4649"},               // BOUNDSHEET
        {907, "000000000000000001000000000000005504"
              "0000"},                                  // INDEX
        {931, "000000000100000000000A000000"},          // DIMENSIONS
        {949, "000000000A00FF000000000000000000"},      // ROW
        {969, "00000000000000000000"},                  // LABELSST "Name"
        {1109, "A00000000000"},                         // DBCELL
        {1119, "B60600000000400000000000000000000000"}, // WINDOW2
    };
    for (const auto& [at, hex] : fixed)
        EXPECT_EQ(records.at(at).Hex(), hex) << "record at " << at;
    const Record& sst = records.at(731);
    EXPECT_EQ(sst.data.size(), 148u);
    EXPECT_EQ(sst.Hex().substr(0, 16), "0A0000000A000000"); // text cells, strings
    EXPECT_EQ(records.at(883).type, EOF_);                  // the workbook part ends at 887
}

TEST(XlsWorkbookTest, StationRowsInBlocksOf32) {
    XlsWorkbook book;
    korvyn::test::MakeStationWorkbook(book, 40, true); // sheet rows 0 to 40
    const std::vector<BYTE> stream = book.WorkbookStream();
    EXPECT_EQ(ReadSheets(stream).at(0).cells.size(), 406u) << "the unnamed stations' are left out";
    // A station without a name: no record for it; "-----" as RK 0 in a MULRK.
    const auto records = Records(stream);
    EXPECT_EQ(OfType(records, DBCELL).size(), 2u);
    EXPECT_EQ(CellKinds(records)[1],
              (std::vector<WORD>{MULRK, LABELSST, LABELSST, LABELSST, MULRK, LABELSST, LABELSST}));
    EXPECT_EQ(OfType(records, MULRK)[0]->Hex(), "010001000000000000000000"
                                                "0000F03F0200");
}

// Rows 3 and 70: the block of rows 32 to 63 keeps an empty DBCELL.
TEST(XlsWorkbookTest, EmptyBlocksKeepTheirDbCell) {
    XlsWorkbook book;
    book.CreateBlank(1);
    XlsWorksheet* sheet = book.FindSheet("Sheet1");
    sheet->CellAt(3, 1)->SetNumber(1);
    sheet->CellAt(70, 0)->SetWideText(u"x");
    const std::vector<BYTE> stream = book.WorkbookStream();
    EXPECT_EQ(ReadSheets(stream).at(0).cells.size(), 2u);
    const auto records = Records(stream);
    EXPECT_EQ(OfType(records, DBCELL).size(), 3u);
    EXPECT_EQ(OfType(records, DIMENSIONS)[0]->Hex(), "0300000047000000010002000000");
}

TEST(XlsWorkbookTest, SharedStringsSplitAcrossContinueRecords) {
    const struct {
        const char* variant;
        std::size_t firstPiece;
        BYTE continuationStart; // a flags byte, or the low byte of a string's length
    } cases[] = {{"even", 8223, 0x01}, {"odd", 8224, 0x01}, {"tight", 8216, 200}};
    for (const auto& c : cases) {
        XlsWorkbook book;
        book.CreateBlank(1);
        korvyn::test::FillSstSample(*book.FindSheet("Sheet1"), c.variant);
        const auto records = Records(book.WorkbookStream());
        auto sst = records.find(OfType(records, SST)[0]->at);
        const Record& first = (++sst)->second;
        const Record& second = (++sst)->second;
        EXPECT_EQ(records.at(first.at - 4 - c.firstPiece).type, SST) << c.variant;
        EXPECT_EQ(first.type, CONTINUE) << c.variant;
        EXPECT_EQ(first.data[0], c.continuationStart) << c.variant;
        // The 10003-character string fills a whole record: flags and 4111 characters.
        EXPECT_EQ(second.data.size(), 8223u) << c.variant;
        EXPECT_EQ(second.data[0], 0x01) << c.variant;
    }
}

// A text longer than a cell holds keeps its first 32767 units, one fewer where the last
// would be the first half of a surrogate pair.
TEST(XlsWorkbookTest, TheLongestTextIsCutBeforeAHalfPair) {
    const std::u16string a(32766, u'a');
    const std::pair<std::u16string, WORD> cases[] = {
        {a + u"\xD800\xDC00", 32766}, {a + u"\xDBFF\xDFFF", 32766}, {a + u"\xDC00\xD800", 32767}};
    for (const auto& [text, kept] : cases) {
        XlsWorkbook book;
        book.CreateBlank(1);
        book.FindSheet("Sheet1")->CellAt(0, 0)->SetWideText(text);
        const auto records = Records(book.WorkbookStream());
        EXPECT_EQ(OfType(records, SST)[0]->U16(8), kept) << std::hex << int{text[32766]};
    }
}

TEST(XlsWorkbookTest, NumbersAsRkMulRkOrNumber) {
    // The values themselves are read back by xlrd (check_xls.py numbers).
    XlsWorkbook book;
    book.CreateBlank(1);
    korvyn::test::FillNumberSample(*book.FindSheet("Sheet1"));
    auto rows = CellKinds(Records(book.WorkbookStream()));
    using V = std::vector<WORD>;
    EXPECT_EQ(rows[0], (V{MULRK}));
    EXPECT_EQ(rows[1], (V{RK, NUMBER, RK}));
    EXPECT_EQ(rows[2], (V{NUMBER, NUMBER}));
    EXPECT_EQ(rows[3], (V{MULRK, RK}));
    EXPECT_EQ(rows[4], (V{NUMBER, NUMBER, MULRK, NUMBER}));
    EXPECT_EQ(rows[5], (V{LABELSST, RK, LABELSST, MULRK}));
}

TEST(XlsWorkbookTest, SheetsNamedFoundAndPlaced) {
    XlsWorkbook book;
    book.CreateBlank(3);
    const std::string longest(31, 'x');
    for (const auto& [from, to] : {std::pair<std::string, std::string>{"Sheet4", "WI-FI"},
                                   {"Sheet1", "Sheet2"},
                                   {"Sheet1", ""},
                                   {"Sheet1", longest + "x"}})
        EXPECT_FALSE(book.RenameSheet(from.c_str(), to.c_str())) << from << " " << to;
    EXPECT_TRUE(book.RenameSheet("Sheet1", longest.c_str()));
    EXPECT_TRUE(book.RenameSheet(longest.c_str(), "WI-FI"));
    EXPECT_TRUE(book.RenameSheet("Sheet2", "Caf\xc3\xa9"));
    EXPECT_EQ(book.FindSheet("wi-fi"), nullptr);
    EXPECT_EQ(book.FindSheet("Sheet1"), nullptr);
    book.FindSheet("WI-FI")->CellAt(40, 0)->SetNumber(1);
    book.FindSheet("Sheet3")->CellAt(0, 0)->SetNumber(2);
    book.FindSheet("Sheet3")->CellAt(0, 1)->SetText(std::string("\0x", 2)); // empty up to 0

    const std::vector<BYTE> stream = book.WorkbookStream();
    const auto sheets = ReadSheets(stream);
    ASSERT_EQ(sheets.size(), 3u);
    EXPECT_EQ(sheets[0].name, u"WI-FI");
    EXPECT_EQ(sheets[1].name, u"Caf\u00e9");
    EXPECT_EQ(sheets[0].cells.at({40, 0}), korvyn::fuzz::BiffValue(1.0));
    EXPECT_EQ(sheets[2].cells.at({0, 0}), korvyn::fuzz::BiffValue(2.0));
    EXPECT_EQ(sheets[2].cells.at({0, 1}), korvyn::fuzz::BiffValue(u""));
    const auto records = Records(stream);
    const auto window2 = OfType(records, WINDOW2);
    for (std::size_t i = 0; i < 3; ++i)
        EXPECT_EQ(window2[i]->U16(0), i == 0 ? 0x06B6 : 0x04B6) << "only the first is selected";
    // A name beyond ASCII goes in as UTF-16: its length in characters, the flag, the units.
    EXPECT_EQ(OfType(records, BOUNDSHEET)[1]->Hex().substr(12), "0401430061006600E900");
}

TEST(XlsWorkbookTest, SavesReplaceEarlierFilesOnlyWhenComplete) {
    korvyn::test::TempDir home;
    const fs::path dir = home / "Documents"; // created by the first save
    korvyn::platform::SetDocumentsFolderOverride(dir);
    const char* name = "My Documents\\Korvyn 20261206201931.xls";
    XlsWorkbook first, second, empty;
    korvyn::test::MakeStationWorkbook(first, 0, true);
    korvyn::test::MakeStationWorkbook(second, 1000, true);
    ASSERT_TRUE(first.SaveToFile(name));
    const std::string earlier = korvyn::test::ReadFileBytes(dir / "Korvyn 20261206201931.xls");
    EXPECT_EQ(earlier.size(), 3584u);
    {
        korvyn::test::FileSizeLimit limit(64 * 1024); // the disk fills up mid-way
        EXPECT_FALSE(second.SaveToFile(name));
    }
    EXPECT_EQ(korvyn::test::ReadFileBytes(dir / "Korvyn 20261206201931.xls"), earlier);
    fs::create_directory(dir / "folder.xls");
    EXPECT_FALSE(second.SaveToFile("My Documents\\folder.xls"));
    EXPECT_FALSE(empty.SaveToFile("My Documents\\empty.xls")); // a workbook needs a sheet
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), {}), 2);
    ASSERT_TRUE(second.SaveToFile(name)); // the second save of the same second wins
    EXPECT_GT(fs::file_size(dir / "Korvyn 20261206201931.xls"), 3584u);
    korvyn::platform::SetDocumentsFolderOverride({});
}

} // namespace
