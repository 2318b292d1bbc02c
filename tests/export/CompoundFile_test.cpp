#include "export/CompoundFile.h"

#include "ExportSamples.h"
#include "platform/system/DocumentsFolder.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

using korvyn::test::ReadFileBytes;
using korvyn::test::TempDir;
namespace fs = std::filesystem;

namespace {

constexpr DWORD FREE = 0xFFFFFFFF, END = 0xFFFFFFFE, FATSECT = 0xFFFFFFFD, NONE = 0xFFFFFFFF;

// Reads a version-3 compound document with up to 109 table sectors, following the format
// rather than the writer.
struct Doc {
    std::string bytes;

    DWORD U32(std::size_t at) const {
        DWORD v = 0;
        for (int i = 3; i >= 0; --i)
            v = v << 8 | static_cast<BYTE>(bytes.at(at + i));
        return v;
    }
    static std::size_t Sector(DWORD n) { return (n + 1) * 512; }
    DWORD Fat(DWORD n) const { return U32(Sector(U32(76 + 4 * (n / 128))) + 4 * (n % 128)); }
    DWORD MiniFat(DWORD n) const {
        DWORD sector = U32(60);
        for (DWORD i = 0; i < n / 128; ++i)
            sector = Fat(sector);
        return U32(Sector(sector) + 4 * (n % 128));
    }
    std::size_t Entry(DWORD index) const {
        DWORD sector = 1;
        for (DWORD i = 0; i < index / 4; ++i)
            sector = Fat(sector);
        return Sector(sector) + 128 * (index % 4);
    }
    std::vector<DWORD> Chain(DWORD start) const {
        std::vector<DWORD> chain;
        for (DWORD s = start; s != END && chain.size() <= bytes.size() / 512; s = Fat(s))
            chain.push_back(s);
        return chain;
    }
    std::string Stream(DWORD index) const {
        const DWORD start = U32(Entry(index) + 116), size = U32(Entry(index) + 120);
        std::string data;
        if (size >= 4096) {
            for (DWORD s : Chain(start))
                data += bytes.substr(Sector(s), 512);
        } else {
            std::string container;
            for (DWORD s : Chain(U32(Entry(0) + 116)))
                container += bytes.substr(Sector(s), 512);
            for (DWORD m = start; m != END && data.size() < size; m = MiniFat(m))
                data += container.substr(64 * m, 64);
        }
        return data.substr(0, size);
    }
};

std::string Pattern(std::size_t size, int seed) {
    std::string data(size, '\0');
    for (std::size_t i = 0; i < size; ++i)
        data[i] = static_cast<char>((i * 7 + seed) % 251);
    return data;
}

const BYTE* Bytes(const std::string& data) {
    return reinterpret_cast<const BYTE*>(data.data());
}

class CompoundFileTest : public ::testing::Test {
protected:
    void SetUp() override { korvyn::platform::SetDocumentsFolderOverride(dir.path()); }
    void TearDown() override { korvyn::platform::SetDocumentsFolderOverride({}); }

    // A document holding one stream per size, "S0", "S1", ...
    Doc Write(const std::vector<std::size_t>& sizes) {
        CompoundFile doc;
        EXPECT_TRUE(doc.CreateDocument("My Documents\\t.cfb"));
        for (std::size_t k = 0; k < sizes.size(); ++k) {
            const std::string name = "S" + std::to_string(k);
            const auto data = Pattern(sizes[k], static_cast<int>(k));
            EXPECT_EQ(doc.MakeStream(name.c_str()), 1);
            EXPECT_EQ(doc.WriteStream(name.c_str(), Bytes(data), DWORD(data.size())), 1);
        }
        EXPECT_TRUE(doc.Close());
        return Doc{ReadFileBytes(dir / "t.cfb")};
    }

    TempDir dir;
};

TEST_F(CompoundFileTest, EmptyEnglishExportIsByteExact) {
    XlsWorkbook book;
    korvyn::test::MakeStationWorkbook(book, 0, true);
    ASSERT_TRUE(book.SaveToFile("My Documents\\empty.xls"));
    const Doc doc{ReadFileBytes(dir / "empty.xls")};
    ASSERT_EQ(doc.bytes.size(), 3584u);

    std::string header("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
    header += std::string(16, '\0') + std::string("\x3B\0\3\0\xFE\xFF\x09\0\x06\0", 10);
    header += std::string(10, '\0') + std::string("\1\0\0\0\1\0\0\0\0\0\0\0\0\x10\0\0", 16);
    header += std::string("\3\0\0\0\1\0\0\0\xFE\xFF\xFF\xFF\0\0\0\0\0\0\0\0", 20);
    header += std::string(108 * 4, '\xFF');
    EXPECT_EQ(doc.bytes.substr(0, 512), header);

    const DWORD fat[] = {FATSECT, END, 4, END, 5, END};
    for (DWORD n = 0; n < 128; ++n)
        EXPECT_EQ(doc.Fat(n), n < 6 ? fat[n] : FREE) << "entry " << n;
    for (DWORD m = 0; m < 128; ++m)
        EXPECT_EQ(doc.MiniFat(m), m < 17 ? m + 1 : m == 17 ? END : FREE) << "mini entry " << m;

    const auto entry = [&](const char16_t* name, WORD nameLength, BYTE type, DWORD child,
                           DWORD start, DWORD size) {
        std::string e(128, '\0');
        for (std::size_t i = 0; name[i]; ++i)
            e[2 * i] = static_cast<char>(name[i]);
        e[64] = static_cast<char>(nameLength);
        e[66] = static_cast<char>(type);
        e[67] = 1;
        for (std::size_t i = 68; i < 76; ++i)
            e[i] = '\xFF';
        for (int i = 0; i < 4; ++i) {
            e[76 + i] = static_cast<char>(child >> 8 * i);
            e[116 + i] = static_cast<char>(start >> 8 * i);
            e[120 + i] = static_cast<char>(size >> 8 * i);
        }
        return e;
    };
    EXPECT_EQ(doc.bytes.substr(1024, 512), entry(u"Root Entry", 22, 5, 1, 2, 1152) +
                                               entry(u"Workbook", 18, 2, NONE, 0, 1145) +
                                               std::string(256, '\0'));
    const std::vector<BYTE> stream = book.WorkbookStream();
    EXPECT_EQ(doc.Stream(1), std::string(stream.begin(), stream.end()));
}

TEST_F(CompoundFileTest, LayoutAtTheCutoffAndAtTheSecondTableSector) {
    const struct {
        std::size_t size;
        DWORD fileSectors, rootStart, streamStart, tableSectors;
    } cases[] = {{4095, 11, 2, 0, 1},
                 {4096, 10, END, 2, 1},
                 {126 * 512, 128, END, 2, 1},
                 {126 * 512 + 1, 130, END, 2, 2}};
    for (const auto& c : cases) {
        const Doc doc = Write({c.size});
        EXPECT_EQ(doc.bytes.size(), 512u * (c.fileSectors + 1)) << c.size;
        EXPECT_EQ(doc.U32(44), c.tableSectors) << c.size;
        EXPECT_EQ(doc.U32(60), c.rootStart == END ? END : 3) << c.size;
        EXPECT_EQ(doc.U32(doc.Entry(0) + 116), c.rootStart) << c.size;
        EXPECT_EQ(doc.U32(doc.Entry(1) + 116), c.streamStart) << c.size;
        EXPECT_EQ(doc.Stream(1), Pattern(c.size, 0)) << c.size;
        std::vector<DWORD> expected; // consecutive sectors, skipping the table sectors
        const std::size_t sectors = c.rootStart == END ? (c.size + 511) / 512 : 8;
        for (DWORD s = 2; expected.size() < sectors; ++s) {
            if (s != 128 && (s != 3 || c.rootStart == END))
                expected.push_back(s);
        }
        EXPECT_EQ(doc.Chain(c.rootStart == END ? c.streamStart : c.rootStart), expected);
    }
    const Doc spill = Write({126 * 512 + 1});
    EXPECT_EQ(spill.U32(80), 128u);
    EXPECT_EQ(spill.Fat(128), FATSECT);
}

TEST_F(CompoundFileTest, ChildrenLinkedAroundTheMiddleOne) {
    const Doc doc = Write({1, 2, 3, 4});
    EXPECT_EQ(doc.Chain(1).size(), 2u); // five entries need a second directory sector
    EXPECT_EQ(doc.U32(doc.Entry(0) + 76), 3u);
    const DWORD links[][2] = {{NONE, NONE}, {1, NONE}, {2, 4}, {NONE, NONE}};
    for (DWORD i = 1; i <= 4; ++i) {
        EXPECT_EQ(doc.U32(doc.Entry(i) + 68), links[i - 1][0]) << "entry " << i;
        EXPECT_EQ(doc.U32(doc.Entry(i) + 72), links[i - 1][1]) << "entry " << i;
        EXPECT_EQ(doc.U32(doc.Entry(i) + 76), NONE) << "entry " << i;
        EXPECT_EQ(doc.Stream(i), Pattern(i, int(i) - 1));
    }
}

TEST_F(CompoundFileTest, StreamsMoveAndMiniTableSectorsStayConsecutive) {
    // Streams A, C and D of 3000 bytes (141 mini sectors, so a second mini-table sector that
    // moves the sectors behind it, B's among them) and B of 5000; then rewrites. Each result
    // is read back whole.
    const auto run = [&](std::vector<std::pair<int, std::size_t>> rewrites) {
        CompoundFile doc;
        EXPECT_TRUE(doc.CreateDocument("t.cfb"));
        std::vector<std::size_t> sizes = {3000, 5000, 3000, 3000};
        for (int k = 0; k < 4; ++k)
            rewrites.insert(rewrites.begin() + k, {k, sizes[k]});
        for (std::size_t step = 0; step < rewrites.size(); ++step) {
            const auto [k, size] = rewrites[step];
            const std::string name(1, char('A' + k));
            const auto data = Pattern(size, k);
            if (step < 4) {
                EXPECT_EQ(doc.MakeStream(name.c_str()), 1);
            }
            EXPECT_EQ(doc.WriteStream(name.c_str(), Bytes(data), DWORD(size)), 1);
            sizes[k] = size;
        }
        EXPECT_TRUE(doc.Close());
        const Doc d{ReadFileBytes(dir / "t.cfb")};
        for (DWORD i = 0; i < 4; ++i)
            EXPECT_EQ(d.Stream(i + 1), Pattern(sizes[i], int(i)));
        return d;
    };
    Doc d = run({});
    EXPECT_EQ(d.U32(64), 2u);
    EXPECT_EQ(d.Chain(d.U32(60)), (std::vector<DWORD>{3, 4}));
    run({{0, 5000}, {1, 10}});
    run({{0, 5000}, {2, 8000}, {0, 10}});
    d = run({{0, 0}, {1, 0}, {2, 0}, {3, 0}}); // no mini sectors: no container, no mini table
    EXPECT_EQ(d.U32(60), END);
    EXPECT_EQ(d.U32(d.Entry(0) + 116), END);
    const DWORD lastDirectorySector = d.Chain(1).back();
    EXPECT_EQ(d.bytes.size(), 512u * (lastDirectorySector + 2));
    for (DWORD n = 2; n < lastDirectorySector; ++n)
        EXPECT_EQ(d.Fat(n), FREE) << "sector " << n;
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
    // full device.
    korvyn::test::WriteFileBytes(dir / "plain", "x");
    fs::create_directory(dir / "folder.xls");
    for (const char* name : {"My Documents\\plain\\t.xls", "My Documents\\folder.xls"}) {
        EXPECT_FALSE(doc.CreateDocument(name)) << name;
        EXPECT_EQ(doc.MakeStream("Workbook"), CompoundFile::kNotOpen);
    }
    korvyn::platform::SetDocumentsFolderOverride("/dev");
    EXPECT_FALSE(doc.CreateDocument("My Documents\\full"));
    EXPECT_FALSE(doc.Close());
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), {}), 3); // codes.cfb among them
}

} // namespace
