#pragma once
// Reads comma-separated text record by record: fields in double quotes may hold commas,
// line breaks and doubled quotes; records end at LF or CR LF.
#include <string>
#include <string_view>
#include <vector>

namespace korvyn {

class CsvReader {
public:
    explicit CsvReader(std::string_view text) : text_(text) {}

    // The next record's fields; false at the end of the text. wellFormed is false for a
    // record with a quote out of place or one left open at the end: its fields are then
    // whatever could be read.
    bool Next(std::vector<std::string>& fields, bool& wellFormed);

private:
    std::string_view text_;
    std::size_t at_ = 0;
};

} // namespace korvyn
