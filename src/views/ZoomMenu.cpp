#include "views/ZoomMenu.h"

#include "platform/ui/CMenu.h"
#include "resource.h"
#include "settings/CLanguageTable.h"

namespace {
constexpr int kZoomText = 22;
} // namespace

void OfferZoomMenu(CWnd& owner, CPoint at, const CLanguageTable& languages) {
    CMenu menu;
    CMenu* popup = menu.LoadMenu(IDR_ZOOM_MENU) ? menu.GetSubMenu(0) : nullptr;
    if (popup == nullptr) {
        // Without the menu resource the popup is made by hand.
        menu.DestroyMenu();
        if (!menu.CreatePopupMenu()) {
            return;
        }
        popup = &menu;
    } else {
        popup->DeleteMenu(0, MF_BYPOSITION);
    }
    popup->InsertMenu(0, MF_BYPOSITION | MF_STRING, ID_ZOOM, languages.Text(kZoomText).c_str());
    owner.ClientToScreen(&at);
    popup->TrackPopupMenu(TPM_LEFTALIGN | TPM_TOPALIGN, at.x, at.y, &owner);
    menu.DestroyMenu();
}
