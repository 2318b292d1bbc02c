#pragma once
// The "ZOOM" popup that the list and the channels page offer for a tapped station: menu
// 160 with its one item's text in the current language. Choosing it sends ID_ZOOM to
// the owner.
#include "platform/ui/CWnd.h"

class CLanguageTable;

// Opens the popup at a point of the owner's client area and returns when it closes.
void OfferZoomMenu(CWnd& owner, CPoint at, const CLanguageTable& languages);
