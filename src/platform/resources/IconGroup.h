#pragma once
// Icon resources: an RT_GROUP_ICON lists the images of one icon, each its own RT_ICON
// resource (a PNG file or a device-independent bitmap), as the resource compiler makes
// them from an .ico file.
#include "platform/resources/Resources.h"

#include <cstddef>
#include <vector>

namespace korvyn::platform {

struct IconImage {
    int width = 0; // pixels
    int height = 0;
    const BYTE* data = nullptr; // the image's bytes; they live as long as the module
    std::size_t size = 0;
};

// The images of group icon `name`, in the group's order. False when the group is missing
// or malformed or names an image the module does not hold.
bool LoadIconGroup(HMODULE module, LPCWSTR name, std::vector<IconImage>& out);

} // namespace korvyn::platform
