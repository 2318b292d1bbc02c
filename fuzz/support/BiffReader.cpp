#include "support/BiffReader.h"

#include <cstring>
#include <optional>

namespace korvyn::fuzz {
namespace {

enum : std::uint16_t {
    kBof = 0x0809,
    kEof = 0x000A,
    kBoundSheet = 0x0085,
    kSst = 0x00FC,
    kContinue = 0x003C,
    kIndex = 0x020B,
    kDimensions = 0x0200,
    kRow = 0x0208,
    kLabelSst = 0x00FD,
    kRk = 0x027E,
    kMulRk = 0x00BD,
    kNumber = 0x0203,
    kDbCell = 0x00D7,
    kWindow2 = 0x023E,
};
constexpr std::size_t kMaxData = 8224;

struct Record {
    std::uint16_t type;
    std::size_t at; // stream position of the header
    const std::uint8_t* data;
    std::size_t size;
    std::uint16_t U16(std::size_t i) const {
        return static_cast<std::uint16_t>(data[i] | data[i + 1] << 8);
    }
    std::uint32_t U32(std::size_t i) const { return U16(i) | std::uint32_t{U16(i + 2)} << 16; }
};

struct Failure {
    std::string what;
};

void Require(bool condition, const std::string& what) {
    if (!condition)
        throw Failure{what};
}

double RkNumber(std::uint32_t rk) {
    double v;
    if (rk & 2) {
        v = static_cast<double>(static_cast<std::int32_t>(rk) >> 2);
    } else {
        const std::uint64_t bits = std::uint64_t{rk & ~3u} << 32;
        std::memcpy(&v, &bits, sizeof v);
    }
    return (rk & 1) ? v / 100 : v;
}

// The shared strings, read across the SST record and its CONTINUE records.
class SstReader {
public:
    explicit SstReader(std::vector<const Record*> pieces) : pieces_(std::move(pieces)) {}

    std::vector<std::u16string> Read(std::uint32_t& total) {
        total = U32();
        const std::uint32_t unique = U32();
        std::vector<std::u16string> strings;
        for (std::uint32_t i = 0; i < unique; ++i) {
            if (Left() == 0)
                Next(); // a string may begin with a new piece
            Require(Left() >= 3, "a string header split across pieces");
            const std::uint16_t chars = U16();
            std::uint8_t flags = Byte();
            std::u16string s;
            while (s.size() < chars) {
                if (Left() == 0) {
                    Next();
                    flags = Byte(); // each continuation restates the character width
                }
                Require(flags == 0x00 || flags == 0x01, "string flags");
                if (flags == 0x01) {
                    Require(Left() >= 2, "a character split across pieces");
                    s += static_cast<char16_t>(U16());
                } else {
                    s += static_cast<char16_t>(Byte());
                }
            }
            strings.push_back(std::move(s));
        }
        Require(Left() == 0 && piece_ + 1 == pieces_.size(), "bytes after the last string");
        return strings;
    }

private:
    std::size_t Left() const { return pieces_[piece_]->size - at_; }
    void Next() {
        Require(piece_ + 1 < pieces_.size(), "the strings run past their records");
        ++piece_;
        at_ = 0;
    }
    std::uint8_t Byte() {
        Require(Left() >= 1, "a string runs past its piece");
        return pieces_[piece_]->data[at_++];
    }
    std::uint16_t U16() {
        const std::uint8_t lo = Byte();
        return static_cast<std::uint16_t>(lo | Byte() << 8);
    }
    std::uint32_t U32() {
        const std::uint16_t lo = U16();
        return lo | std::uint32_t{U16()} << 16;
    }

    std::vector<const Record*> pieces_;
    std::size_t piece_ = 0;
    std::size_t at_ = 0;
};

class Reader {
public:
    explicit Reader(const std::vector<std::uint8_t>& s) {
        for (std::size_t at = 0; at < s.size();) {
            Require(s.size() - at >= 4, "a record header runs past the stream");
            const std::size_t size = s[at + 2] | s[at + 3] << 8;
            Require(size <= kMaxData, "a record longer than 8224 bytes");
            Require(s.size() - at - 4 >= size, "a record runs past the stream");
            byPosition_[at] = records_.size();
            records_.push_back(
                {static_cast<std::uint16_t>(s[at] | s[at + 1] << 8), at, s.data() + at + 4, size});
            at += 4 + size;
        }
    }

    std::vector<BiffSheet> Read() {
        std::size_t i = 0;
        Expect(i, kBof, 16);
        Require(records_[i].U16(2) == 0x0005, "the stream does not start with the workbook part");
        std::vector<std::pair<std::uint32_t, std::u16string>> sheets;
        std::vector<std::u16string> strings;
        std::uint32_t textCells = 0;
        bool haveSst = false;
        for (++i; At(i).type != kEof; ++i) {
            const Record& r = records_[i];
            Require(r.type != kContinue, "a CONTINUE after a record that takes none");
            if (r.type == kBoundSheet) {
                Require(r.size >= 8, "BOUNDSHEET size");
                sheets.emplace_back(r.U32(0), ShortName(r));
            } else if (r.type == kSst) {
                std::vector<const Record*> pieces{&r};
                while (At(i + 1).type == kContinue)
                    pieces.push_back(&records_[++i]);
                Require(r.size >= 8, "SST size");
                strings = SstReader(pieces).Read(textCells);
                haveSst = true;
            }
        }
        Require(haveSst, "no SST");
        std::vector<BiffSheet> out;
        std::uint32_t labels = 0;
        for (const auto& [position, name] : sheets) {
            const auto found = byPosition_.find(position);
            Require(found != byPosition_.end(), "a sheet position between records");
            out.push_back(ReadSheet(found->second, strings, labels));
            out.back().name = name;
        }
        Require(labels == textCells, "the SST counts other text cells than there are");
        return out;
    }

private:
    const Record& At(std::size_t i) const {
        Require(i < records_.size(), "the stream ends early");
        return records_[i];
    }
    void Expect(std::size_t i, std::uint16_t type, std::size_t size) const {
        Require(At(i).type == type, "record " + std::to_string(i) + " of an unexpected type");
        Require(records_[i].size == size, "record " + std::to_string(i) + " of a wrong size");
    }
    static std::u16string ShortName(const Record& r) {
        const std::size_t chars = r.data[6];
        const bool wide = r.data[7] & 1;
        Require(r.size == 8 + chars * (wide ? 2 : 1), "BOUNDSHEET name size");
        std::u16string name;
        for (std::size_t k = 0; k < chars; ++k)
            name += wide ? static_cast<char16_t>(r.U16(8 + 2 * k)) : char16_t{r.data[8 + k]};
        return name;
    }

    BiffSheet ReadSheet(std::size_t i, const std::vector<std::u16string>& strings,
                        std::uint32_t& labels) {
        BiffSheet sheet;
        Expect(i, kBof, 16);
        Require(records_[i].U16(2) == 0x0010, "a sheet BOF of another kind");
        const Record& index = At(i + 1);
        Require(index.type == kIndex && index.size >= 16 && (index.size - 16) % 4 == 0, "INDEX");
        Expect(i + 2, kDimensions, 14);
        const Record& dims = records_[i + 2];
        const std::uint32_t rows = index.U32(8);
        Require(dims.U32(4) == rows && index.U32(4) == dims.U32(0), "INDEX and DIMENSIONS rows");
        const std::size_t blocks = (index.size - 16) / 4;
        Require(blocks == (rows + 31) / 32, "INDEX block count");

        std::size_t block = 0;
        std::size_t blockFirstRow = 0;         // record number of the block's first ROW, 0 if none
        std::map<int, std::size_t> rowRecords; // row -> ROW record number, within the block
        std::vector<std::size_t> firstCellOfRow;
        int lastRow = -1;
        for (i += 3; At(i).type != kWindow2; ++i) {
            const Record& r = records_[i];
            if (r.type == kRow) {
                Require(r.size == 16, "ROW size");
                Require(firstCellOfRow.empty(), "a ROW after the block's cells");
                Require(r.U16(0) / 32 == block, "a ROW in another block");
                Require(static_cast<int>(r.U16(0)) > lastRow, "ROW records out of order");
                lastRow = r.U16(0);
                if (rowRecords.empty())
                    blockFirstRow = i;
                rowRecords[r.U16(0)] = i;
                continue;
            }
            if (r.type == kDbCell) {
                Require(block < blocks && index.U32(16 + 4 * block) == r.at,
                        "INDEX does not point at this DBCELL");
                Require(r.size == 4 + 2 * rowRecords.size(), "DBCELL size");
                Require(!rowRecords.empty() || r.U32(0) == 0, "DBCELL of an empty block");
                if (!rowRecords.empty()) {
                    Require(r.at - r.U32(0) == records_[blockFirstRow].at,
                            "DBCELL does not point back at the block's first ROW");
                    Require(firstCellOfRow.size() == rowRecords.size(), "a ROW without cells");
                    std::size_t cell = records_[blockFirstRow].at + 20;
                    for (std::size_t k = 0; k < firstCellOfRow.size(); ++k) {
                        cell += r.U16(4 + 2 * k);
                        Require(cell == records_[firstCellOfRow[k]].at, "DBCELL row offsets");
                    }
                }
                ++block;
                rowRecords.clear();
                firstCellOfRow.clear();
                continue;
            }
            Require(r.size >= 6, "cell record size");
            const int row = r.U16(0);
            const int column = r.U16(2);
            Require(rowRecords.count(row) != 0, "a cell without its ROW");
            const std::size_t rowIndex = std::distance(rowRecords.begin(), rowRecords.find(row));
            Require(rowIndex == firstCellOfRow.size() || rowIndex + 1 == firstCellOfRow.size(),
                    "cells out of row order");
            if (rowIndex == firstCellOfRow.size())
                firstCellOfRow.push_back(i);
            // The writer's first used column is that of the first cell in row order, so
            // later rows may hold cells before it; every other bound is exact.
            const auto put = [&](int c, BiffValue v) {
                Require(row >= static_cast<int>(dims.U32(0)) && row < static_cast<int>(rows) &&
                            c < dims.U16(10),
                        "a cell outside DIMENSIONS");
                Require(sheet.cells.emplace(std::make_pair(row, c), std::move(v)).second,
                        "two records for one cell");
            };
            if (r.type == kLabelSst) {
                Require(r.size == 10 && r.U32(6) < strings.size(), "LABELSST");
                put(column, strings[r.U32(6)]);
                ++labels;
            } else if (r.type == kRk) {
                Require(r.size == 10, "RK size");
                put(column, RkNumber(r.U32(6)));
            } else if (r.type == kNumber) {
                Require(r.size == 14, "NUMBER size");
                double v;
                std::memcpy(&v, r.data + 6, sizeof v);
                put(column, v);
            } else if (r.type == kMulRk) {
                Require(r.size >= 6 + 12 && (r.size - 6) % 6 == 0, "MULRK size");
                const std::size_t n = (r.size - 6) / 6;
                Require(r.U16(r.size - 2) == column + n - 1, "MULRK last column");
                for (std::size_t k = 0; k < n; ++k)
                    put(static_cast<int>(column + k), RkNumber(r.U32(4 + 6 * k + 2)));
            } else {
                Require(false, "an unknown record in the cell table");
            }
        }
        Require(block == blocks, "fewer DBCELL records than blocks");
        Expect(i, kWindow2, 18);
        Expect(i + 1, kEof, 0);
        return sheet;
    }

    std::vector<Record> records_;
    std::map<std::size_t, std::size_t> byPosition_;
};

} // namespace

std::vector<BiffSheet> ReadWorkbookStream(const std::vector<std::uint8_t>& stream,
                                          std::string& error) {
    try {
        Reader reader(stream);
        return reader.Read();
    } catch (const Failure& failure) {
        error = failure.what;
        return {};
    }
}

} // namespace korvyn::fuzz
