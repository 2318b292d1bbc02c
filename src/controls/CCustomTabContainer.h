#pragma once
// CCustomTabContainer: a tab strip with one page window per tab. The selected page is
// placed over the strip's page area (TCM_ADJUSTRECT, with CTCS_CONTAINER) and shown in
// front; the other pages are hidden. The pages are shown again whenever the strip
// reports a stylus down or a selection change of its own, after the first page is
// added and after a page is removed.
//
// A page may be added before its window is made, with the function that makes it: the
// window is then made when the page is first shown, so that pages nobody looks at cost
// nothing when the program starts.
//
// The pages stay their owner's, except that RemovePage (and the close button, which
// removes the selected page) destroys the page and deletes its object, which must then
// have been made with new.
#include "controls/CCustomTabCtrl.h"

#include <functional>
#include <vector>

class CCustomTabContainer : public CCustomTabCtrl {
    DECLARE_DYNAMIC(CCustomTabContainer)
public:
    // Makes the page a plain child window and adds it with a tab before `index`; when no
    // tab was selected the new one is selected and the pages are shown. Returns the
    // page's index, or -1 without a page.
    int AddPage(int index, LPCWSTR title, CWnd* page);
    // The same for a page whose window `make` makes (as a child of any window) when the
    // page is first shown.
    int AddPage(int index, LPCWSTR title, CWnd* page, std::function<void()> make);
    // Makes the page's window now if it was not made yet.
    void MakePage(int index);
    // Places the selected page over the page area and hides the others; without pages,
    // fills the page area with the strip's background colour.
    void ShowPages();
    // Deletes the tab and the page. FALSE for an index out of range.
    BOOL RemovePage(int index);
    int GetPageCount() const { return static_cast<int>(m_pages.size()); }
    CWnd* GetPage(int index) const;

protected:
    void PaintPageArea(CDC& dc, const CRect& area) override;
    BOOL OnChildNotify(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    void OnCloseButton() override;

private:
    struct Page {
        CWnd* window;
        std::function<void()> make; // until the window is made
    };
    std::vector<Page> m_pages;
};
