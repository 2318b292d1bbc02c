#include "export/CompoundFile.h"

#include "ExportSamples.h"
#include "platform/system/DocumentsFolder.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace fs = std::filesystem;

// Streams of every size, their layout and rewritten streams are read back by olefile and
// xlrd (check_streams.py); here the exact bytes of the smallest export and the result codes.
namespace {

constexpr DWORD FREE = 0xFFFFFFFF, END = 0xFFFFFFFE;

class CompoundFileTest : public ::testing::Test {
protected:
    void SetUp() override { korvyn::platform::SetDocumentsFolderOverride(dir.path()); }
    void TearDown() override { korvyn::platform::SetDocumentsFolderOverride({}); }

    korvyn::test::TempDir dir;
};

TEST_F(CompoundFileTest, EmptyEnglishExportIsByteExact) {
    XlsWorkbook book;
    korvyn::test::MakeStationWorkbook(book, 0, true);
    ASSERT_TRUE(book.SaveToFile("My Documents\\empty.xls"));
    const std::string bytes = korvyn::test::ReadFileBytes(dir / "empty.xls");
    ASSERT_EQ(bytes.size(), 3584u);
    const auto u32 = [&](std::size_t at) {
        DWORD v = 0;
        for (int i = 3; i >= 0; --i)
            v = v << 8 | static_cast<BYTE>(bytes.at(at + i));
        return v;
    };
    std::string header("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
    header += std::string(16, '\0') + std::string("\x3B\0\3\0\xFE\xFF\x09\0\x06\0", 10);
    header += std::string(10, '\0') + std::string("\1\0\0\0\1\0\0\0\0\0\0\0\0\x10\0\0", 16);
    header += std::string("\3\0\0\0\1\0\0\0\xFE\xFF\xFF\xFF\0\0\0\0\0\0\0\0", 20);
    header += std::string(108 * 4, '\xFF');
    EXPECT_EQ(bytes.substr(0, 512), header);
    // The table in sector 0, the directory in 1, the mini container in 2, 4 and 5, the
    // mini table in 3; 18 mini sectors hold the 1145-byte stream.
    const DWORD fat[] = {0xFFFFFFFD, END, 4, END, 5, END};
    for (DWORD n = 0; n < 128; ++n) {
        EXPECT_EQ(u32(512 + 4 * n), n < 6 ? fat[n] : FREE) << "entry " << n;
        EXPECT_EQ(u32(2048 + 4 * n), n < 17 ? n + 1 : n == 17 ? END : FREE) << "mini " << n;
    }
    EXPECT_EQ(bytes.substr(1024, 22), std::string("R\0o\0o\0t\0 \0E\0n\0t\0r\0y\0\0\0", 22));
    EXPECT_EQ(bytes.substr(1024 + 64, 4), std::string("\x16\0\5\1", 4));
    EXPECT_EQ(bytes.substr(1152 + 64, 4), std::string("\x12\0\2\1", 4));
    const std::pair<std::size_t, DWORD> fields[] = {
        {1024 + 68, FREE}, {1024 + 76, 1},    {1024 + 116, 2}, {1024 + 120, 1152},
        {1152 + 72, FREE}, {1152 + 76, FREE}, {1152 + 116, 0}, {1152 + 120, 1145}};
    for (const auto& [at, value] : fields)
        EXPECT_EQ(u32(at), value) << "directory byte " << at - 1024;
    EXPECT_EQ(bytes.substr(1280, 256), std::string(256, '\0'));
}

TEST_F(CompoundFileTest, ResultCodes) {
    CompoundFile doc;
    EXPECT_EQ(doc.MakeStream("Workbook"), CompoundFile::kNotOpen);
    ASSERT_TRUE(doc.CreateDocument("My Documents\\codes.cfb"));
    EXPECT_EQ(doc.MakeStream("\\Workbook"), CompoundFile::kOk);
    EXPECT_EQ(doc.MakeStream("WORKBOOK"), CompoundFile::kExists);
    EXPECT_EQ(doc.MakeStream(std::string(31, 'n').c_str()), CompoundFile::kOk);
    EXPECT_EQ(doc.MakeStream(std::string(32, 'n').c_str()), CompoundFile::kNameTooLong);
    for (const char* bad : {"", "\\", "a\\", "Workbook\\x", "no\\x", "a/b", "a:b", "a!b"})
        EXPECT_EQ(doc.MakeStream(bad), CompoundFile::kBadPath) << bad;
    const BYTE byte = 1;
    EXPECT_EQ(doc.WriteStream("Other", &byte, 1), CompoundFile::kNoStream);
    EXPECT_EQ(doc.WriteStream("Workbook", &byte, 1), CompoundFile::kOk);

    // Files that cannot be created: a folder that is a file, a name that is a folder, a
    // full device (written in place, never replaced).
    korvyn::test::WriteFileBytes(dir / "plain", "x");
    fs::create_directory(dir / "folder.xls");
    for (const char* name : {"My Documents\\plain\\t.xls", "My Documents\\folder.xls"}) {
        EXPECT_FALSE(doc.CreateDocument(name)) << name;
        EXPECT_EQ(doc.MakeStream("Workbook"), CompoundFile::kNotOpen);
    }
    korvyn::platform::SetDocumentsFolderOverride("/dev");
    EXPECT_FALSE(doc.CreateDocument("My Documents\\full"));
    EXPECT_FALSE(doc.Close());
    struct stat st {};
    EXPECT_TRUE(stat("/dev/full", &st) == 0 && S_ISCHR(st.st_mode));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), {}), 3); // codes.cfb among them
}

} // namespace
