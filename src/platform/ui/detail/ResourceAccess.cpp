#include "platform/ui/detail/ResourceAccess.h"

#include "platform/resources/Resources.h"
#include "platform/ui/CMenu.h"
#include "platform/ui/CWinApp.h"
#include "platform/ui/WinGdi.h"
#include "platform/ui/detail/GdiObject.h"

namespace korvyn::platform {
namespace {

// Builds menu handles from a parsed menu template.
void AddItems(HMENU target, const std::vector<MenuItem>& items) {
    for (const MenuItem& item : items) {
        if (item.IsPopup()) {
            HMENU popup = CreatePopupMenu();
            AddItems(popup, item.children);
            AppendMenu(target, (item.flags & ~MF_BYPOSITION) | MF_POPUP,
                       reinterpret_cast<UINT_PTR>(popup), item.text.c_str());
        } else if (item.IsSeparator()) {
            AppendMenu(target, MF_SEPARATOR, 0, nullptr);
        } else {
            AppendMenu(target, item.flags & ~(MF_POPUP | MF_BYPOSITION), item.id,
                       item.text.c_str());
        }
    }
}

} // namespace

std::vector<BYTE> DialogTemplateBytes(HMODULE module, LPCWSTR name) {
    const BYTE* data = nullptr;
    std::size_t size = 0;
    if (!LoadResourceBytes(module != nullptr ? module : AfxGetResourceHandle(), name, RT_DIALOG,
                           data, size)) {
        return {};
    }
    return std::vector<BYTE>(data, data + size);
}

HBITMAP BitmapFromResource(HMODULE module, LPCWSTR name) {
    const BYTE* data = nullptr;
    std::size_t size = 0;
    Bitmap bitmap;
    if (!LoadResourceBytes(module != nullptr ? module : AfxGetResourceHandle(), name, RT_BITMAP,
                           data, size) ||
        !DecodeBitmap(data, size, bitmap) || bitmap.width <= 0 || bitmap.height <= 0) {
        return nullptr;
    }
    return BitmapFromPixels(bitmap.width, bitmap.height, bitmap.pixels.data());
}

HMENU MenuFromResource(HMODULE module, LPCWSTR name) {
    const BYTE* data = nullptr;
    std::size_t size = 0;
    std::vector<MenuItem> items;
    if (!LoadResourceBytes(module != nullptr ? module : AfxGetResourceHandle(), name, RT_MENU, data,
                           size) ||
        !ParseMenuTemplate(data, size, items)) {
        return nullptr;
    }
    HMENU menu = CreateMenu();
    AddItems(menu, items);
    return menu;
}

} // namespace korvyn::platform

HBITMAP LoadBitmap(HINSTANCE instance, LPCWSTR name) {
    return korvyn::platform::BitmapFromResource(instance, name);
}
HICON LoadIcon(HINSTANCE, LPCWSTR) {
    return nullptr;
}
BOOL DestroyIcon(HICON icon) {
    return DeleteObject(icon);
}
