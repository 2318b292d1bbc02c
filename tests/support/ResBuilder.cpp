#include "ResBuilder.h"

namespace korvyn::test {

void PutWord(std::vector<std::uint8_t>& out, std::uint16_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void PutDword(std::vector<std::uint8_t>& out, std::uint32_t v) {
    PutWord(out, static_cast<std::uint16_t>(v));
    PutWord(out, static_cast<std::uint16_t>(v >> 16));
}

void PutText(std::vector<std::uint8_t>& out, const std::u16string& text) {
    for (char16_t c : text)
        PutWord(out, c);
    PutWord(out, 0);
}

namespace {

void PutName(std::vector<std::uint8_t>& out, const ResName& name) {
    if (const auto* number = std::get_if<std::uint16_t>(&name)) {
        PutWord(out, 0xFFFF);
        PutWord(out, *number);
    } else {
        PutText(out, std::get<std::u16string>(name));
    }
}

void Align(std::vector<std::uint8_t>& out) {
    while (out.size() % 4)
        out.push_back(0);
}

} // namespace

std::vector<std::uint8_t> ResBuilder::Marker() {
    std::vector<std::uint8_t> out;
    PutDword(out, 0);
    PutDword(out, 32);
    PutName(out, std::uint16_t{0});
    PutName(out, std::uint16_t{0});
    out.resize(32, 0);
    return out;
}

ResBuilder& ResBuilder::Add(const ResName& type, const ResName& name,
                            const std::vector<std::uint8_t>& data, std::uint16_t language) {
    std::vector<std::uint8_t> header;
    PutDword(header, static_cast<std::uint32_t>(data.size()));
    PutDword(header, 0); // header size, filled in below
    PutName(header, type);
    PutName(header, name);
    Align(header);
    PutDword(header, 0);     // data version
    PutWord(header, 0x1030); // memory flags
    PutWord(header, language);
    PutDword(header, 0); // version
    PutDword(header, 0); // characteristics
    const auto headerSize = static_cast<std::uint32_t>(header.size());
    for (int i = 0; i < 4; ++i)
        header[4 + i] = static_cast<std::uint8_t>(headerSize >> (8 * i));
    bytes_.insert(bytes_.end(), header.begin(), header.end());
    bytes_.insert(bytes_.end(), data.begin(), data.end());
    Align(bytes_);
    return *this;
}

ResBuilder& ResBuilder::AddStrings(const std::map<unsigned, std::u16string>& strings) {
    std::map<unsigned, std::vector<std::u16string>> blocks;
    for (const auto& [id, text] : strings) {
        auto& block = blocks[id / 16];
        block.resize(16);
        block[id % 16] = text;
    }
    for (const auto& [block, texts] : blocks) {
        std::vector<std::uint8_t> data;
        for (const auto& text : texts) {
            PutWord(data, static_cast<std::uint16_t>(text.size()));
            for (char16_t c : text)
                PutWord(data, c);
        }
        Add(std::uint16_t{6}, static_cast<std::uint16_t>(block + 1), data);
    }
    return *this;
}

} // namespace korvyn::test
