// Arbitrary bytes as a compiled resource file, and every resource found in it through
// the calls the program makes.
#include "platform/resources/Resources.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    korvyn::platform::UniqueResourceModule module(
        korvyn::platform::LoadResourceModule(std::vector<BYTE>(data, data + size)));
    if (!module)
        return 0;
    WCHAR text[16];
    for (UINT id = 0; id < 64; ++id)
        LoadString(module.get(), id, text, 16);
    for (UINT id = 0; id < 256; ++id) {
        korvyn::platform::Bitmap bitmap;
        korvyn::platform::LoadBitmapResource(module.get(), id, bitmap);
        std::vector<korvyn::platform::MenuItem> menu;
        korvyn::platform::LoadMenuResource(module.get(), id, menu);
    }
    return 0;
}
