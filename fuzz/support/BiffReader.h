#pragma once
// A minimal reader of the BIFF8 "Workbook" stream, independent of the writer: it checks
// the record structure the writer promises (record sizes, CONTINUE pieces, the shared
// string table, sheet positions, INDEX and DBCELL offsets, DIMENSIONS, ROW records) and
// gives back every sheet's cells.
#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <variant>
#include <vector>

namespace korvyn::fuzz {

using BiffValue = std::variant<double, std::u16string>;

struct BiffSheet {
    std::u16string name;
    std::map<std::pair<int, int>, BiffValue> cells; // by row, column
};

// The sheets of the stream; on any inconsistency error says what and the result is empty.
std::vector<BiffSheet> ReadWorkbookStream(const std::vector<std::uint8_t>& stream,
                                          std::string& error);

} // namespace korvyn::fuzz
