#include "platform/ui/detail/ResourceAccess.h"

#include "platform/ui/WinGdi.h"

namespace korvyn::platform {

std::vector<BYTE> DialogTemplateBytes(LPCWSTR) {
    return {};
}
HBITMAP LoadBitmapResource(LPCWSTR) {
    return nullptr;
}
HMENU LoadMenuResource(LPCWSTR) {
    return nullptr;
}

} // namespace korvyn::platform

HBITMAP LoadBitmap(HANDLE, LPCWSTR name) {
    return korvyn::platform::LoadBitmapResource(name);
}
HICON LoadIcon(HANDLE, LPCWSTR) {
    return nullptr;
}
BOOL DestroyIcon(HICON icon) {
    return DeleteObject(icon);
}
