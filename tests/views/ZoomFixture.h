#pragma once
// The list page with the zoomed meter at hand: a tap on a row with "ZOOM" chosen, and a
// comparison of the page with the meter as it should look.
#include "PageFixture.h"

#include <QCoreApplication>
#include <QTest>

namespace korvyn::test {

class ZoomFixture : public PageFixture {
protected:
    void TapRow(int row) {
        CRect r;
        List().GetItemRect(row, &r, LVIR_BOUNDS);
        tapped = CPoint(10, r.top + 2);
        QTest::mouseClick(WidgetOf(List()), Qt::LeftButton, {}, QPoint(tapped.x, tapped.y));
        QCoreApplication::processEvents(); // the chosen command arrives after the menu
    }
    void ZoomInto(const std::u16string& name) {
        page->RestoreList();
        page->RefreshList();
        menus.Choose(ID_ZOOM);
        TapRow(RowOf(name));
    }
    // How many pixels above the count line differ from the meter as it should be: the
    // number in a 100-pixel bold font between 20-pixel bands, the name in the top band.
    int DiffersFromMeter(const std::u16string& number, const std::u16string& name) {
        CRect client, count;
        page->GetClientRect(&client);
        page->GetDlgItem(IDC_COUNT)->GetWindowRect(&count);
        page->ScreenToClient(&count);
        return CompareWithTexts(Shot(*page), CRect(0, 0, client.right, count.top),
                                page->GetBackgroundColor(),
                                {{number, 100, CRect(0, 20, client.right, client.bottom - 20)},
                                 {name, 20, CRect(0, 0, client.right, 20)}})
            .differing;
    }
    ScriptedPopupMenus menus;
    CPoint tapped;
};

} // namespace korvyn::test
