#include "controls/ControlClass.h"

namespace korvyn {

void RegisterControlClass(LPCWSTR name, HBRUSH background, HCURSOR cursor) {
    WNDCLASS wc{};
    if (GetClassInfo(nullptr, name, &wc)) {
        return;
    }
    wc.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
    wc.lpfnWndProc = ::DefWindowProc;
    wc.hCursor = cursor;
    wc.hbrBackground = background;
    wc.lpszClassName = name;
    RegisterClass(&wc);
}

} // namespace korvyn
