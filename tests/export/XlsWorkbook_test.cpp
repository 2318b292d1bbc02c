#include "export/XlsWorkbook.h"

#include "ExportSamples.h"
#include "export/RkValue.h"
#include "platform/system/DocumentsFolder.h"
#include "support/FileSizeLimit.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cmath>

using korvyn::test::ReadFileBytes;
using korvyn::test::TempDir;
namespace fs = std::filesystem;

namespace {

enum : WORD {
    BOF = 0x0809,
    EOF_ = 0x000A,
    WINDOW1 = 0x003D,
    FONT = 0x0031,
    XF = 0x00E0,
    STYLE = 0x0293,
    BOUNDSHEET = 0x0085,
    SST = 0x00FC,
    CONTINUE = 0x003C,
    INDEX = 0x020B,
    DIMENSIONS = 0x0200,
    ROW = 0x0208,
    LABELSST = 0x00FD,
    RK = 0x027E,
    MULRK = 0x00BD,
    NUMBER = 0x0203,
    DBCELL = 0x00D7,
    WINDOW2 = 0x023E,
};

struct Record {
    WORD type;
    std::size_t at; // stream position of the record header
    std::vector<BYTE> data;
    DWORD U32(std::size_t i) const { return U16(i) | DWORD{U16(i + 2)} << 16; }
    WORD U16(std::size_t i) const { return static_cast<WORD>(data.at(i) | data.at(i + 1) << 8); }
};

std::vector<Record> Records(const std::vector<BYTE>& s) {
    std::vector<Record> records;
    for (std::size_t at = 0; at + 4 <= s.size();) {
        const std::size_t size = s[at + 2] | s[at + 3] << 8;
        records.push_back({static_cast<WORD>(s[at] | s[at + 1] << 8), at,
                           std::vector<BYTE>(s.begin() + at + 4, s.begin() + at + 4 + size)});
        at += 4 + size;
    }
    return records;
}

std::vector<WORD> Types(const std::vector<Record>& records) {
    std::vector<WORD> types;
    for (const Record& r : records)
        types.push_back(r.type);
    return types;
}

// The stream position of a sheet's BOF, as its BOUNDSHEET gives it.
std::size_t SheetBof(const std::vector<Record>& records, std::size_t sheet) {
    for (const Record& r : records) {
        if (r.type == BOUNDSHEET && sheet-- == 0)
            return r.U32(0);
    }
    return 0;
}

const Record& At(const std::vector<Record>& records, std::size_t position) {
    for (const Record& r : records) {
        if (r.at == position)
            return r;
    }
    static const Record none{0, 0, {}};
    return none;
}

std::string Hex(const std::vector<BYTE>& bytes) {
    std::string hex;
    for (BYTE b : bytes) {
        char two[3];
        std::snprintf(two, sizeof two, "%02X", b);
        hex += two;
    }
    return hex;
}

TEST(XlsWorkbookTest, EmptyEnglishExportIsByteExact) {
    XlsWorkbook book;
    korvyn::test::MakeStationWorkbook(book, 0, true);
    const std::vector<BYTE> stream = book.WorkbookStream();
    ASSERT_EQ(stream.size(), 1145u);
    const auto records = Records(stream);

    std::vector<WORD> expected = {BOF, WINDOW1, FONT, FONT, FONT, FONT};
    expected.insert(expected.end(), 21, XF);
    expected.insert(expected.end(), 6, STYLE);
    expected.insert(expected.end(), {BOUNDSHEET, SST, EOF_, BOF, INDEX, DIMENSIONS, ROW});
    expected.insert(expected.end(), 10, LABELSST);
    expected.insert(expected.end(), {DBCELL, WINDOW2, EOF_});
    ASSERT_EQ(Types(records), expected);

    EXPECT_EQ(Hex(records[0].data), "00060500A019CD07C9C0000006030000");
    EXPECT_EQ(Hex(records[1].data), "780078001F3B54243800000000000100"
                                    "5802");
    EXPECT_EQ(Hex(records[2].data), "C8000000FF7F9001000000000000"
                                    "0501"
                                    "4100720069006100"
                                    "6C00");
    EXPECT_EQ(Hex(records[6].data), "00000000F5FF200000000000000000000000C020");
    EXPECT_EQ(Hex(records[27].data), "008000FF");
    const Record& boundSheet = records[33];
    EXPECT_EQ(Hex(boundSheet.data), "77030000"
                                    "0000"
                                    "0500"
                                    "57492D4649"); // 887, "WI-FI"
    EXPECT_EQ(records[34].data.size(), 148u);
    EXPECT_EQ(records[34].U32(0), 10u);  // text cells
    EXPECT_EQ(records[34].U32(4), 10u);  // strings
    EXPECT_EQ(records[35].at + 4, 887u); // the workbook part ends with its EOF
    EXPECT_EQ(records[36].at, 887u);     // where the sheet's BOF is

    const Record& index = records[37];
    EXPECT_EQ(Hex(index.data), "00000000"
                               "00000000"
                               "01000000"
                               "00000000"
                               "55040000");
    EXPECT_EQ(Hex(records[38].data), "00000000"
                                     "01000000"
                                     "0000"
                                     "0A00"
                                     "0000");
    EXPECT_EQ(Hex(records[39].data), "00000000"
                                     "0A00"
                                     "FF00"
                                     "0000000000000000");
    EXPECT_EQ(Hex(records[40].data), "00000000"
                                     "0000"
                                     "00000000"); // "Name", string 0
    const Record& dbCell = records[50];
    EXPECT_EQ(dbCell.at, 1109u);
    EXPECT_EQ(Hex(dbCell.data), "A0000000"
                                "0000"); // back 160 bytes to the ROW; one row
    EXPECT_EQ(Hex(records[51].data), "B6060000000040000000000000000000"
                                     "0000");
}

// Walks INDEX and DBCELL the way a reader seeking rows does: every block's DBCELL points
// back to its first ROW and forward to the first cell of each of its rows.
void ExpectRowBlocksConsistent(const std::vector<Record>& records, std::size_t sheetBof,
                               std::size_t blocks) {
    const Record& index = At(records, At(records, sheetBof).at + 20);
    ASSERT_EQ(index.type, INDEX);
    ASSERT_EQ(index.data.size(), 16 + 4 * blocks);
    for (std::size_t b = 0; b < blocks; ++b) {
        const Record& dbCell = At(records, index.U32(16 + 4 * b));
        ASSERT_EQ(dbCell.type, DBCELL) << "block " << b;
        if (dbCell.U32(0) == 0) {
            EXPECT_EQ(dbCell.data.size(), 4u);
            continue;
        }
        const Record& firstRow = At(records, dbCell.at - dbCell.U32(0));
        ASSERT_EQ(firstRow.type, ROW);
        std::size_t cell = firstRow.at + 20;
        for (std::size_t r = 0; 4 + 2 * r < dbCell.data.size(); ++r) {
            cell += dbCell.U16(4 + 2 * r);
            const Record& row = At(records, firstRow.at + 20 * r);
            const Record& first = At(records, cell);
            ASSERT_EQ(row.type, ROW);
            ASSERT_NE(first.type, ROW);
            EXPECT_EQ(first.U16(0), row.U16(0)) << "block " << b << " row " << r;
            EXPECT_EQ(row.U16(0) / 32, (firstRow.U16(0) / 32));
        }
    }
}

TEST(XlsWorkbookTest, StationRowsInBlocksOf32) {
    XlsWorkbook book;
    korvyn::test::MakeStationWorkbook(book, 40, true); // sheet rows 0 to 40
    const auto records = Records(book.WorkbookStream());
    const std::size_t sheetBof = SheetBof(records, 0);
    ExpectRowBlocksConsistent(records, sheetBof, 2);

    // Row 31 closes the first block, row 32 opens the second.
    std::vector<WORD> rowsOfBlock[2];
    int block = 0;
    for (const Record& r : records) {
        if (r.type == ROW)
            rowsOfBlock[block].push_back(r.U16(0));
        block += r.type == DBCELL;
    }
    EXPECT_EQ(rowsOfBlock[0].size(), 32u);
    EXPECT_EQ(rowsOfBlock[0].back(), 31);
    EXPECT_EQ(rowsOfBlock[1].front(), 32);
    EXPECT_EQ(rowsOfBlock[1].back(), 40);

    // An inactive station without a name: no record for the name, "-----" stored as RK 0.
    std::vector<WORD> row1;
    const Record* mulRk = nullptr;
    for (const Record& r : records) {
        if (r.type != ROW && r.data.size() >= 2 && r.type != INDEX && r.U16(0) == 1 &&
            r.at > sheetBof) {
            row1.push_back(r.type);
            mulRk = mulRk ? mulRk : &r;
        }
    }
    EXPECT_EQ(row1,
              (std::vector<WORD>{MULRK, LABELSST, LABELSST, LABELSST, MULRK, LABELSST, LABELSST}));
    EXPECT_EQ(Hex(mulRk->data), "0100"
                                "0100"
                                "0000"
                                "00000000"
                                "0000"
                                "0000F03F"
                                "0200");
}

TEST(XlsWorkbookTest, EmptyBlocksKeepTheirDbCell) {
    XlsWorkbook book;
    book.CreateBlank(1);
    XlsWorksheet* sheet = book.FindSheet("Sheet1");
    sheet->CellAt(3, 1)->SetNumber(1);
    sheet->CellAt(70, 0)->SetWideText(u"x");
    const auto records = Records(book.WorkbookStream());
    ExpectRowBlocksConsistent(records, SheetBof(records, 0), 3);
    const Record& dims = *std::find_if(records.begin(), records.end(),
                                       [](const Record& r) { return r.type == DIMENSIONS; });
    EXPECT_EQ(Hex(dims.data), "03000000"
                              "47000000"
                              "0100"
                              "0200"
                              "0000");
}

TEST(XlsWorkbookTest, SharedStringsSplitAcrossContinueRecords) {
    const struct {
        const char* variant;
        std::size_t firstPiece;
        BYTE continuationStart; // a flags byte or the low byte of a string length
    } cases[] = {{"even", 8223, 0x01}, {"odd", 8224, 0x01}, {"tight", 8216, 200}};
    for (const auto& c : cases) {
        XlsWorkbook book;
        book.CreateBlank(1);
        korvyn::test::FillSstSample(*book.FindSheet("Sheet1"), c.variant);
        const auto records = Records(book.WorkbookStream());
        auto sst = std::find_if(records.begin(), records.end(),
                                [](const Record& r) { return r.type == SST; });
        ASSERT_NE(sst, records.end());
        EXPECT_EQ(sst->data.size(), c.firstPiece) << c.variant;
        EXPECT_EQ(sst[1].type, CONTINUE) << c.variant;
        EXPECT_EQ(sst[1].data[0], c.continuationStart) << c.variant;
        // The 10003-character string needs two more records, each starting with flags; a
        // whole one holds the flags and 4111 characters.
        ASSERT_EQ(sst[2].type, CONTINUE) << c.variant;
        EXPECT_EQ(sst[2].data.size(), 8223u) << c.variant;
        EXPECT_EQ(sst[2].data[0], 0x01) << c.variant;
        EXPECT_EQ(sst[3].type, CONTINUE) << c.variant;
        EXPECT_EQ(sst[4].type, EOF_) << c.variant;
    }
}

TEST(XlsWorkbookTest, NumbersAsRkMulRkOrNumber) {
    EXPECT_EQ(korvyn::RkValue(0.0), 0x00000000u);
    EXPECT_EQ(korvyn::RkValue(1.0), 0x3FF00000u);
    EXPECT_EQ(korvyn::RkValue(-3.25), 0xC0745000u | 1);   // -325 / 100
    EXPECT_EQ(korvyn::RkValue(12345.6789), std::nullopt); // fails the RK test
    EXPECT_EQ(korvyn::RkValue(2.5e-5), std::nullopt);     // passes it, but loses bits
    EXPECT_EQ(korvyn::RkValue(std::nan("")), std::nullopt);

    XlsWorkbook book;
    book.CreateBlank(1);
    korvyn::test::FillNumberSample(*book.FindSheet("Sheet1"));
    std::vector<std::vector<WORD>> rows(6);
    for (const Record& r : Records(book.WorkbookStream())) {
        if (r.type == RK || r.type == MULRK || r.type == NUMBER || r.type == LABELSST)
            rows[r.U16(0)].push_back(r.type);
    }
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
    EXPECT_NE(book.FindSheet("Sheet3"), nullptr);
    EXPECT_FALSE(book.RenameSheet("Sheet4", "WI-FI"));
    EXPECT_FALSE(book.RenameSheet("Sheet1", "Sheet2"));
    EXPECT_FALSE(book.RenameSheet("Sheet1", ""));
    EXPECT_FALSE(book.RenameSheet("Sheet1", std::string(32, 'x').c_str()));
    EXPECT_TRUE(book.RenameSheet("Sheet1", std::string(31, 'x').c_str()));
    EXPECT_TRUE(book.RenameSheet(std::string(31, 'x').c_str(), "WI-FI"));
    EXPECT_EQ(book.FindSheet("wi-fi"), nullptr);
    XlsWorksheet* wifi = book.FindSheet("WI-FI");
    ASSERT_NE(wifi, nullptr);
    EXPECT_EQ(book.FindSheet("Sheet1"), nullptr);
    wifi->CellAt(40, 0)->SetNumber(1);
    book.FindSheet("Sheet3")->CellAt(0, 0)->SetNumber(2);

    const auto records = Records(book.WorkbookStream());
    std::vector<const Record*> boundSheets, window2;
    for (const Record& r : records) {
        if (r.type == BOUNDSHEET)
            boundSheets.push_back(&r);
        if (r.type == WINDOW2)
            window2.push_back(&r);
    }
    ASSERT_EQ(boundSheets.size(), 3u);
    const std::size_t blocks[] = {2, 0, 1};
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(At(records, boundSheets[i]->U32(0)).type, BOF);
        ExpectRowBlocksConsistent(records, boundSheets[i]->U32(0), blocks[i]);
        EXPECT_EQ(window2[i]->U16(0), i == 0 ? 0x06B6 : 0x04B6);
    }
}

class SaveToFileTest : public ::testing::Test {
protected:
    void SetUp() override { korvyn::platform::SetDocumentsFolderOverride(dir.path()); }
    void TearDown() override { korvyn::platform::SetDocumentsFolderOverride({}); }
    TempDir dir;
};

TEST_F(SaveToFileTest, SecondSaveReplacesTheFirst) {
    XlsWorkbook first, second;
    korvyn::test::MakeStationWorkbook(first, 0, true);
    korvyn::test::MakeStationWorkbook(second, 200, true);
    ASSERT_TRUE(first.SaveToFile("My Documents\\Korvyn 20261206201931.xls"));
    EXPECT_EQ(fs::file_size(dir / "Korvyn 20261206201931.xls"), 3584u);
    ASSERT_TRUE(second.SaveToFile("My Documents\\Korvyn 20261206201931.xls"));
    EXPECT_GT(fs::file_size(dir / "Korvyn 20261206201931.xls"), 3584u);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), {}), 1);

    XlsWorkbook empty;
    EXPECT_FALSE(empty.SaveToFile("My Documents\\empty.xls")); // a workbook needs a sheet
    EXPECT_FALSE(fs::exists(dir / "empty.xls"));
}

TEST_F(SaveToFileTest, FailedSavesLeaveTheEarlierFile) {
    korvyn::test::WriteFileBytes(dir / "list.xls", "earlier");
    fs::create_directory(dir / "folder.xls");
    XlsWorkbook book;
    korvyn::test::MakeStationWorkbook(book, 1000, true);
    EXPECT_FALSE(book.SaveToFile("My Documents\\folder.xls"));
    EXPECT_FALSE(book.SaveToFile("My Documents\\list.xls\\inside.xls"));
    {
        korvyn::test::FileSizeLimit limit(64 * 1024); // the disk fills up mid-way
        EXPECT_FALSE(book.SaveToFile("My Documents\\list.xls"));
    }
    EXPECT_EQ(ReadFileBytes(dir / "list.xls"), "earlier");
    EXPECT_TRUE(fs::is_directory(dir / "folder.xls"));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), {}), 2);
    EXPECT_TRUE(book.SaveToFile("My Documents\\list.xls"));
}

} // namespace
