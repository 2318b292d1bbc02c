#pragma once
// The geometry of the tab strip, worked out from its client area, style bits, strip
// height and the widths of its titles in the bold font: where the strip, the button
// area, each button and each tab lie, what a point hits, and where each scroll action
// leaves the first visible tab.
//
// Each tab is the strip height plus its title width plus 4 pixels wide (with
// CTCS_FIXEDWIDTH every tab takes the widest title). The buttons are squares of the
// strip height less 3 pixels, in a framed area of that size times their number plus 3
// pixels, at the left end of the strip (the right end with CTCS_BUTTONSAFTER); inside
// the frame they leave one pixel free at the top and at the left. With
// CTCS_AUTOHIDEBUTTONS they are hidden while all tabs fit or there are fewer than two.
// Once the strip is scrolled, the tab before the first visible one shows as a stub half
// the strip height wide at the start of the tab area.
#include "controls/CCustomTabItem.h"
#include "platform/ui/Geometry.h"

#include <array>
#include <vector>

namespace korvyn {

class TabStripLayout {
public:
    // Buttons by number; a button's hit code is -(number + 1).
    enum Button { kFirst, kPrevious, kNext, kLast, kClose, kButtonCount };

    TabStripLayout() = default;
    // firstVisible is kept within the tabs, and is 0 while the buttons are hidden.
    TabStripLayout(const RECT& client, DWORD style, int stripHeight,
                   const std::vector<int>& titleWidths, int firstVisible);

    const CRect& Strip() const { return strip_; }
    const CRect& TabArea() const { return tabArea_; }
    // Empty while the buttons are hidden.
    const CRect& ButtonArea() const { return buttonArea_; }
    bool ButtonsShown() const { return !buttonArea_.IsRectEmpty(); }
    // Empty for a button the strip does not show.
    const CRect& ButtonRect(int button) const { return buttons_[button]; }
    int FirstVisible() const { return first_; }
    int Count() const { return static_cast<int>(widths_.size()); }
    const CRect& TabRect(int index) const { return tabs_[index]; }
    const CRect& TextRect(int index) const { return texts_[index]; }
    CCustomTabItem::Placement PlacementOf(int index) const { return placements_[index]; }

    // A tab index, a button's hit code, or CTCHT_NOWHERE.
    int HitTest(POINT point) const;

    // The first visible index each scroll action gives.
    int Previous() const;
    int Next() const;
    int Last() const;
    // Scrolls forward until the tab fits, or back to it when it lies before the first
    // visible one.
    int EnsureVisible(int index) const;

private:
    int StubWidth(int first) const { return first > 0 ? height_ / 2 : 0; }
    // Right edge of tab `index` when the tabs start at `first`.
    int RightEdge(int first, int index) const;
    bool LastFitsFrom(int first) const;

    int height_ = 0;
    CRect strip_;
    CRect tabArea_;
    CRect buttonArea_;
    std::array<CRect, kButtonCount> buttons_{};
    int first_ = 0;
    std::vector<int> widths_;
    std::vector<CRect> tabs_;
    std::vector<CRect> texts_;
    std::vector<CCustomTabItem::Placement> placements_;
};

} // namespace korvyn
