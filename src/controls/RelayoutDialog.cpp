#include "controls/RelayoutDialog.h"

#include "platform/ui/CDialog.h"
#include "platform/ui/DialogTemplate.h"
#include "platform/ui/WinGdi.h"

using korvyn::platform::DialogItemTemplate;

namespace {

bool IsIconStyle(DWORD style) {
    return (style & 3) == 3;
}
bool IsBitmapStyle(DWORD style) {
    return (style & 0xE) == 0xE;
}

// Template text or image of a button or static.
void ResetContent(HINSTANCE module, HWND control, const DialogItemTemplate& item) {
    bool isStatic = item.windowClass.id == korvyn::platform::kStaticAtom;
    if (!item.text.isId) {
        SetWindowText(control, item.text.text.c_str());
        return;
    }
    LPCWSTR name = MAKEINTRESOURCE(item.text.id);
    if (IsIconStyle(item.style)) {
        HICON icon = LoadIcon(module, name);
        LRESULT old =
            isStatic
                ? SendMessage(control, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0)
                : SendMessage(control, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon));
        if (old != 0) {
            DestroyIcon(reinterpret_cast<HICON>(old));
        }
    } else if (IsBitmapStyle(item.style)) {
        HBITMAP bitmap = LoadBitmap(module, name);
        LRESULT old = SendMessage(control, isStatic ? STM_SETIMAGE : BM_SETIMAGE, IMAGE_BITMAP,
                                  reinterpret_cast<LPARAM>(bitmap));
        if (old != 0) {
            DeleteObject(reinterpret_cast<HGDIOBJ>(old));
        }
    }
}

void Reselect(HWND control, UINT get, UINT set) {
    LRESULT selection = SendMessage(control, get, 0, 0);
    if (selection != -1) {
        SendMessage(control, set, static_cast<WPARAM>(selection), 0);
    }
}

} // namespace

void RelayoutDialog(HINSTANCE module, HWND window, UINT templateId) {
    HRSRC found = FindResource(module, MAKEINTRESOURCE(templateId), RT_DIALOG);
    if (found == nullptr) {
        return;
    }
    HGLOBAL loaded = LoadResource(module, found);
    const void* bytes = loaded != nullptr ? LockResource(loaded) : nullptr;
    auto parsed = korvyn::platform::ParseDialogTemplate(static_cast<const BYTE*>(bytes),
                                                        SizeofResource(module, found));
    if (!parsed) {
        return;
    }
    HDWP moves = BeginDeferWindowPos(static_cast<int>(parsed->items.size()));
    for (const DialogItemTemplate& item : parsed->items) {
        HWND control = GetDlgItem(window, static_cast<int>(item.id));
        if (control == nullptr) {
            continue;
        }
        RECT r{item.x, item.y, item.x + item.cx, item.y + item.cy};
        if (!MapDialogRect(window, &r)) {
            continue;
        }
        if (HDWP queued = DeferWindowPos(moves, control, nullptr, r.left, r.top, r.right - r.left,
                                         r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE)) {
            moves = queued;
        }
        if (!item.windowClass.isId) {
            continue;
        }
        switch (item.windowClass.id) {
        case korvyn::platform::kButtonAtom:
        case korvyn::platform::kStaticAtom:
            ResetContent(module, control, item);
            break;
        case korvyn::platform::kListBoxAtom:
            Reselect(control, LB_GETCURSEL, LB_SETCURSEL);
            break;
        case korvyn::platform::kComboBoxAtom:
            Reselect(control, CB_GETCURSEL, CB_SETCURSEL);
            break;
        default:
            break;
        }
    }
    EndDeferWindowPos(moves);
    // A screen of another resolution gives the template's font another size in pixels: the
    // window and every control that had the window's font take the new one.
    HFONT font = korvyn::platform::DialogTemplateFont(*parsed);
    auto old = reinterpret_cast<HFONT>(SendMessage(window, WM_GETFONT, 0, 0));
    if (font == nullptr || old == nullptr || font == old) {
        return;
    }
    SendMessage(window, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    for (HWND c = GetWindow(window, GW_CHILD); c != nullptr; c = GetWindow(c, GW_HWNDNEXT)) {
        if (reinterpret_cast<HFONT>(SendMessage(c, WM_GETFONT, 0, 0)) == old) {
            SendMessage(c, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
        }
    }
}

ScreenShape ShapeOfScreen(int width, int height, bool rotation) {
    if (width == height) {
        return ScreenShape::Square;
    }
    const bool landscape = rotation ? height < width : height < 320;
    return landscape ? ScreenShape::Landscape : ScreenShape::Portrait;
}
