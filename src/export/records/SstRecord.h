#pragma once
// SST (0x00FC): the shared string table. Strings are kept once, in order of first use;
// text cells refer to them by index. Strings are stored as UTF-16 and split over CONTINUE
// records so that a string's 3-byte header never parts from its first character and each
// continuation starts with a fresh flags byte.
#include "export/XlsRecord.h"

#include <string_view>
#include <vector>

namespace korvyn {

class SstRecord : public XlsRecord {
public:
    // The longest text a cell holds; longer texts are cut there.
    static constexpr std::size_t kMaxChars = 32767;

    SstRecord() : XlsRecord(0x00FC) {}

    // Counts one text cell holding text; returns the index of its string.
    std::uint32_t Add(std::u16string_view text);

protected:
    void WriteData(XlsSerializer& out) const override;

private:
    std::u16string_view String(std::uint32_t index) const;
    void Grow();

    // All strings one after another; string i spans starts_[i] to starts_[i + 1].
    std::vector<char16_t> chars_;
    std::vector<std::size_t> starts_;
    // Open addressing: each used slot holds the string's hash in its upper half and its
    // index + 1 in the lower half; a free slot holds 0.
    std::vector<std::uint64_t> slots_;
    std::uint32_t textCells_ = 0;
};

} // namespace korvyn
