#include "controls/TabStripLayout.h"

#include "controls/CustomTabDefs.h"

#include <algorithm>
#include <numeric>

namespace korvyn {

using Placement = CCustomTabItem::Placement;

TabStripLayout::TabStripLayout(const RECT& client, DWORD style, int stripHeight,
                               const std::vector<int>& titleWidths, int firstVisible)
    : height_(stripHeight), strip_(client) {
    if (style & CTCS_CONTAINER) {
        if (style & CTCS_TOP) {
            strip_.bottom = std::min<LONG>(strip_.bottom, strip_.top + stripHeight);
        } else {
            strip_.top = std::max<LONG>(strip_.top, strip_.bottom - stripHeight);
        }
    }

    int widest =
        titleWidths.empty() ? 0 : *std::max_element(titleWidths.begin(), titleWidths.end());
    std::vector<int> textWidths;
    for (int w : titleWidths) {
        textWidths.push_back(((style & CTCS_FIXEDWIDTH) ? widest : w) + 4);
        widths_.push_back(stripHeight + textWidths.back());
    }
    int count = Count();
    int total = std::accumulate(widths_.begin(), widths_.end(), 0);

    std::vector<int> present;
    if (style & CTCS_FOURBUTTONS) {
        present = {kFirst, kPrevious, kNext, kLast};
    } else {
        present = {kPrevious, kNext};
    }
    if (style & CTCS_CLOSEBUTTON) {
        present.push_back(kClose);
    }
    int side = stripHeight - 3;
    int areaWidth = side * static_cast<int>(present.size()) + 3;
    bool hidden = (style & CTCS_AUTOHIDEBUTTONS) && (count < 2 || total <= strip_.Width());

    tabArea_ = strip_;
    if (!hidden) {
        if (style & CTCS_BUTTONSAFTER) {
            buttonArea_ = CRect(strip_.right - areaWidth, strip_.top, strip_.right, strip_.bottom);
            tabArea_.right = buttonArea_.left;
        } else {
            buttonArea_ = CRect(strip_.left, strip_.top, strip_.left + areaWidth, strip_.bottom);
            tabArea_.left = buttonArea_.right;
        }
        int x = buttonArea_.left + 2;
        for (int b : present) {
            buttons_[b] = CRect(x, strip_.top + 2, x + side, strip_.top + 2 + side);
            x += side;
        }
        first_ = std::clamp(firstVisible, 0, std::max(0, count - 1));
    }

    int x = tabArea_.left;
    for (int i = 0; i < count; ++i) {
        if (i < first_ - 1) {
            tabs_.emplace_back();
            texts_.emplace_back();
            placements_.push_back(Placement::Hidden);
        } else if (i == first_ - 1) {
            tabs_.emplace_back(x, strip_.top, x + StubWidth(first_), strip_.bottom);
            texts_.emplace_back();
            placements_.push_back(Placement::Stub);
            x += StubWidth(first_);
        } else {
            tabs_.emplace_back(x, strip_.top, x + widths_[i], strip_.bottom);
            int left = x + stripHeight / 2;
            texts_.emplace_back(left, strip_.top + 2, left + textWidths[i], strip_.bottom - 2);
            placements_.push_back(Placement::Shown);
            x += widths_[i];
        }
    }
}

int TabStripLayout::HitTest(POINT point) const {
    if (ButtonsShown() && buttonArea_.PtInRect(point)) {
        for (int b = 0; b < kButtonCount; ++b) {
            if (buttons_[b].PtInRect(point)) {
                return -(b + 1);
            }
        }
        return CTCHT_NOWHERE;
    }
    if (!tabArea_.PtInRect(point)) {
        return CTCHT_NOWHERE;
    }
    for (int i = 0; i < Count(); ++i) {
        if (placements_[i] != Placement::Hidden && tabs_[i].PtInRect(point)) {
            return i;
        }
    }
    return CTCHT_NOWHERE;
}

int TabStripLayout::RightEdge(int first, int index) const {
    return tabArea_.left + StubWidth(first) +
           std::accumulate(widths_.begin() + first, widths_.begin() + index + 1, 0);
}

bool TabStripLayout::LastFitsFrom(int first) const {
    return Count() == 0 || RightEdge(first, Count() - 1) <= tabArea_.right;
}

int TabStripLayout::Previous() const {
    return std::max(0, first_ - 1);
}

int TabStripLayout::Next() const {
    return first_ < Count() - 1 && !LastFitsFrom(first_) ? first_ + 1 : first_;
}

int TabStripLayout::Last() const {
    if (!ButtonsShown() || Count() == 0) {
        return 0;
    }
    int first = Count() - 1;
    while (first > 0 && LastFitsFrom(first - 1)) {
        --first;
    }
    return first;
}

int TabStripLayout::EnsureVisible(int index) const {
    if (index < 0 || index >= Count() || !ButtonsShown()) {
        return first_;
    }
    if (index < first_) {
        return index;
    }
    int first = first_;
    while (first < index && RightEdge(first, index) > tabArea_.right) {
        ++first;
    }
    return first;
}

} // namespace korvyn
