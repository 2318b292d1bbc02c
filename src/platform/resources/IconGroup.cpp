#include "platform/resources/IconGroup.h"

namespace korvyn::platform {
namespace {

constexpr std::size_t kHeaderSize = 6; // reserved, type (1 for icons), count
constexpr std::size_t kEntrySize = 14; // width, height, colours, reserved, planes, bits,
                                       // bytes, image id

unsigned Word(const BYTE* p) {
    return static_cast<unsigned>(p[0] | (p[1] << 8));
}

} // namespace

bool LoadIconGroup(HMODULE module, LPCWSTR name, std::vector<IconImage>& out) {
    const BYTE* group = nullptr;
    std::size_t size = 0;
    if (!LoadResourceBytes(module, name, RT_GROUP_ICON, group, size) || size < kHeaderSize ||
        Word(group) != 0 || Word(group + 2) != 1) {
        return false;
    }
    const std::size_t count = Word(group + 4);
    if (size < kHeaderSize + count * kEntrySize) {
        return false;
    }
    std::vector<IconImage> images;
    for (std::size_t i = 0; i < count; ++i) {
        const BYTE* entry = group + kHeaderSize + i * kEntrySize;
        IconImage image;
        // A side of 256 pixels is written as 0.
        image.width = entry[0] != 0 ? entry[0] : 256;
        image.height = entry[1] != 0 ? entry[1] : 256;
        if (!LoadResourceBytes(module, MAKEINTRESOURCE(Word(entry + 12)), RT_ICON, image.data,
                               image.size)) {
            return false;
        }
        images.push_back(image);
    }
    out = std::move(images);
    return true;
}

} // namespace korvyn::platform
