#pragma once
// SST (0x00FC): the shared string table. Strings are kept once, in order of first use;
// text cells refer to them by index. Strings are stored as UTF-16 and split over CONTINUE
// records so that a string's 3-byte header never parts from its first character and each
// continuation starts with a fresh flags byte.
#include "export/XlsRecord.h"

#include <deque>
#include <string>
#include <string_view>
#include <unordered_map>

namespace korvyn {

class SstRecord : public XlsRecord {
public:
    // The longest text a cell holds; longer texts are cut there.
    static constexpr std::size_t kMaxChars = 32767;

    SstRecord() : XlsRecord(0x00FC) {}
    SstRecord(const SstRecord&) = delete;
    SstRecord& operator=(const SstRecord&) = delete;

    // Counts one text cell holding text; returns the index of its string.
    std::uint32_t Add(std::u16string_view text);
    void Clear();

    std::uint32_t TextCells() const { return textCells_; }
    std::size_t StringCount() const { return strings_.size(); }

protected:
    void WriteData(XlsSerializer& out) const override;

private:
    std::deque<std::u16string> strings_; // stable addresses for the index's keys
    std::unordered_map<std::u16string_view, std::uint32_t> index_;
    std::uint32_t textCells_ = 0;
};

} // namespace korvyn
