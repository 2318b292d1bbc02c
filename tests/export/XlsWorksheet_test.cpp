#include "export/XlsWorksheet.h"

#include "ExportSamples.h"
#include "platform/system/AtomicFile.h"

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
    EXPECT_EQ(sheet.RowCount(), 65536);
}

TEST(XlsWorksheetTest, EmptyTextMakesTheCellUndefined) {
    XlsCell cell;
    cell.SetWideText(u"AP");
    EXPECT_EQ(cell.GetType(), XlsCell::WideString);
    cell.SetWideText(u"");
    EXPECT_EQ(cell.GetType(), XlsCell::Undefined);
    EXPECT_EQ(cell.WideText(), u"");
    cell.SetNumber(-3);
    EXPECT_EQ(cell.GetType(), XlsCell::Double);
    EXPECT_EQ(cell.WideText(), u"");
}

TEST(XlsWorksheetTest, DelimitedTextOfTheStationList) {
    XlsWorkbook book;
    XlsWorksheet* sheet = korvyn::test::MakeStationWorkbook(book, 3, false);
    sheet->CellAt(2, 9)->SetWideText(u""); // trailing empty fields keep their commas
    std::ostringstream out;
    ASSERT_TRUE(sheet->WriteDelimited(out, ',', '"'));
    EXPECT_EQ(out.str(),
              "\"Name\",\"Sig\",\"Ch\",\"Type\",\"Sec\",\"MAC\",\"Best sig\",\"Worst sig\","
              "\"First seen\",\"Last seen\"\n"
              ",\"-----\",\"1\",\"Peer\",\"Open\",\"00-1A-00-00-00-00\",\"80\",\"60\","
              "\"06/12/26 00:00:00\",\"06/12/26 00:00:30\"\n"
              "\"Caf\xc3\xa9 \"\"Z\xc3\xb6ld\"\" 1\",\"69\",\"2\",\"AP\",\"WEP\","
              "\"00-1A-00-00-00-01\",\"79\",\"59\",\"06/12/26 00:00:01\",\n"
              "\"\xd0\xa1\xd0\xb5\xd1\x82\xd1\x8c 2\",\"68\",\"3\",\"AP\",\"Open\","
              "\"00-1A-00-00-00-02\",\"78\",\"58\",\"06/12/26 00:00:02\",\"06/12/26 00:00:32\"\n");
}

TEST(XlsWorksheetTest, OtherCellTypesAndQualifiers) {
    XlsWorksheet sheet;
    sheet.CellAt(0, 0)->SetText("it's");
    sheet.CellAt(0, 1)->SetNumber(0.1);
    sheet.CellAt(0, 2)->SetInteger(-7);
    sheet.CellAt(0, 3)->SetNumber(-1e300);
    std::ostringstream out;
    ASSERT_TRUE(sheet.WriteDelimited(out, ';', '\''));
    EXPECT_EQ(out.str(), "'it''s';0.1;-7;-1e+300\n");
}

TEST(XlsWorksheetTest, FailedStreamIsReported) {
    XlsWorkbook book;
    XlsWorksheet* sheet = korvyn::test::MakeStationWorkbook(book, 2, false);
    std::ostringstream closed;
    closed.setstate(std::ios::badbit);
    EXPECT_FALSE(sheet->WriteDelimited(closed, ',', '"'));

    korvyn::platform::AtomicFile full;
    ASSERT_TRUE(full.Open("/dev/full"));
    EXPECT_FALSE(sheet->WriteDelimited(full.Stream(), ',', '"'));
    EXPECT_FALSE(full.Commit());
}

} // namespace
