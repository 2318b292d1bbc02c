#include "export/XlsWorksheet.h"

#include "ExportSamples.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

TEST(XlsWorksheetTest, GridGrowsToCoverEveryAddressedCell) {
    XlsWorksheet sheet;
    EXPECT_EQ(sheet.Cell(0, 0), nullptr);
    sheet.CellAt(1, 2)->SetWideText(u"x");
    EXPECT_EQ(sheet.RowCount(), 2);
    EXPECT_EQ(sheet.ColumnCount(), 3);
    EXPECT_EQ(sheet.Cell(0, 0)->GetType(), XlsCell::Undefined);

    sheet.CellAt(0, 4)->SetNumber(2.5); // widening keeps what the rows held
    EXPECT_EQ(sheet.ColumnCount(), 5);
    EXPECT_EQ(sheet.Cell(1, 2)->WideText(), u"x");
    EXPECT_EQ(sheet.Cell(0, 4)->DoubleValue(), 2.5);
    EXPECT_EQ(sheet.Cell(1, 4)->GetType(), XlsCell::Undefined);
    EXPECT_EQ(sheet.Cell(2, 0), nullptr); // reading never grows

    EXPECT_NE(sheet.CellAt(XlsWorksheet::kMaxRow, XlsWorksheet::kMaxColumn), nullptr);
    EXPECT_EQ(sheet.RowCount(), 65536);
    EXPECT_EQ(sheet.ColumnCount(), 256);
    EXPECT_EQ(sheet.CellAt(65536, 0), nullptr);
    EXPECT_EQ(sheet.CellAt(0, 256), nullptr);
    EXPECT_EQ(sheet.CellAt(-1, 0), nullptr);
}

// Whole exports are read back by Python's csv module in the end-to-end runs.
TEST(XlsWorksheetTest, CellTypesAndQualifiers) {
    XlsWorksheet sheet;
    sheet.CellAt(0, 0)->SetText("it's");
    sheet.CellAt(0, 1)->SetNumber(0.1);
    sheet.CellAt(0, 2)->SetInteger(-7);
    sheet.CellAt(0, 3)->SetNumber(-1e300);
    sheet.CellAt(0, 5)->SetWideText(u"Caf\u00e9 'Z'"); // after an empty cell
    std::ostringstream out;
    ASSERT_TRUE(sheet.WriteDelimited(out, ';', '\''));
    EXPECT_EQ(out.str(), "'it''s';0.1;-7;-1e+300;;'Caf\xc3\xa9 ''Z'''\n");
}

TEST(XlsWorksheetTest, FailedStreamIsReported) {
    XlsWorkbook book;
    XlsWorksheet* sheet = korvyn::test::MakeStationWorkbook(book, 2, false);
    std::ostringstream closed;
    closed.setstate(std::ios::badbit);
    EXPECT_FALSE(sheet->WriteDelimited(closed, ',', '"'));
}

} // namespace
