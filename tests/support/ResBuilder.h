#pragma once
// Builds the bytes of a compiled resource file (.res) for tests: the marker entry, then
// each resource with its header, 4-byte aligned.
#include <cstdint>
#include <map>
#include <string>
#include <variant>
#include <vector>

namespace korvyn::test {

using ResName = std::variant<std::uint16_t, std::u16string>;

class ResBuilder {
public:
    ResBuilder& Add(const ResName& type, const ResName& name, const std::vector<std::uint8_t>& data,
                    std::uint16_t language = 0x0409);
    // String tables: the strings grouped into blocks of 16 (missing ones empty).
    ResBuilder& AddStrings(const std::map<unsigned, std::u16string>& strings);
    std::vector<std::uint8_t> Bytes() const { return bytes_; }

private:
    std::vector<std::uint8_t> bytes_ = Marker();
    static std::vector<std::uint8_t> Marker();
};

// Little-endian helpers for hand-built data.
void PutWord(std::vector<std::uint8_t>& out, std::uint16_t v);
void PutDword(std::vector<std::uint8_t>& out, std::uint32_t v);
void PutText(std::vector<std::uint8_t>& out, const std::u16string& text); // with its NUL
inline std::vector<std::uint8_t> TextBytes(const std::u16string& text) {
    std::vector<std::uint8_t> out;
    PutText(out, text);
    return out;
}

} // namespace korvyn::test
