#pragma once
// Style bits, hit codes and notifications of the tab strip (CCustomTabCtrl).
#include "platform/ui/WinUser.h"

#include <cstddef>

inline constexpr LPCWSTR CUSTOMTAB_CLASSNAME = u"CCustomTabCtrl";

// Style bits of the strip's window (the low word of its window style).
constexpr DWORD CTCS_FIXEDWIDTH = 0x0001;      // every tab as wide as the widest
constexpr DWORD CTCS_FOURBUTTONS = 0x0002;     // first, previous, next, last
constexpr DWORD CTCS_AUTOHIDEBUTTONS = 0x0004; // no scroll buttons while all tabs fit
constexpr DWORD CTCS_MULTIHIGHLIGHT = 0x0010;  // tabs highlighted besides the selected one
constexpr DWORD CTCS_EDITLABELS = 0x0020;      // a double tap renames the selected tab
constexpr DWORD CTCS_NOOUTLINE = 0x0040;       // tabs drawn without outline
constexpr DWORD CTCS_CONTAINER = 0x0080;       // a band of tabs over (or under) a page area
constexpr DWORD CTCS_CLOSEBUTTON = 0x0100;     // a close button after the scroll buttons
constexpr DWORD CTCS_BUTTONSAFTER = 0x0200;    // buttons at the right end instead of the left
constexpr DWORD CTCS_TOP = 0x0400;             // strip at the top, else at the bottom
constexpr DWORD CTCS_CLEARED = 0x1800;         // never kept: SetStyle removes them

// What a point of the strip lies on: a tab index (0 and up) or one of these.
constexpr int CTCHT_ONFIRSTBUTTON = -1;
constexpr int CTCHT_ONPREVBUTTON = -2;
constexpr int CTCHT_ONNEXTBUTTON = -3;
constexpr int CTCHT_ONLASTBUTTON = -4;
constexpr int CTCHT_ONCLOSEBUTTON = -5;
constexpr int CTCHT_NOWHERE = -6;

// Notification codes (WM_NOTIFY to the parent).
constexpr int CTCN_CLICK = -2;          // stylus down, sent before the tap is handled
constexpr int CTCN_DBLCLK = -3;         // double tap
constexpr int CTCN_SELCHANGE = 0;       // another tab became the selected one
constexpr int CTCN_HIGHLIGHTCHANGE = 1; // a tab's highlight changed

// Longest title a notification carries, in UTF-16 units before its terminator.
constexpr int CTC_MAXTITLE = 29;

// The record of one stylus action: 112 bytes of 32-bit fields. Its header (window
// handle, control identifier, code) repeats the notification header in 32 bits; window
// handles of this platform fit in them.
#pragma pack(push, 1)
struct CTC_NMHDR {
    DWORD hwndFrom;
    DWORD idFrom;
    INT code;
    INT nItem;                       // tab index, or a hit code
    WCHAR pszText[CTC_MAXTITLE + 1]; // the tab's title, cut and terminated
    DWORD lParam;                    // the tab's item data
    RECT rItem;                      // the tab's text rectangle, in strip coordinates
    POINT ptHitTest;                 // where the stylus was, in strip coordinates
    BOOL fSelected;
    BOOL fHighlighted;
};
#pragma pack(pop)
static_assert(sizeof(CTC_NMHDR) == 112, "the record is 112 bytes");
static_assert(offsetof(CTC_NMHDR, pszText) == 16 && offsetof(CTC_NMHDR, rItem) == 80);

// What WM_NOTIFY carries: the platform's notification header, which routes it (and is
// pointer-sized here), followed by the record.
struct NMCTC {
    NMHDR hdr;
    CTC_NMHDR item;
};
