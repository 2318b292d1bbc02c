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
    // How many pixels of the name band and the number differ from the meter as it should
    // be there: the number in a 100-pixel bold font in its cell, the name in the top band.
    int DiffersFromMeter(const std::u16string& number, const std::u16string& name) {
        CRect client;
        page->GetClientRect(&client);
        const QImage shot = Shot(*page);
        const korvyn::MeterLayout& m = page->GetMeterLayout();
        return CompareWithTexts(
                   shot, CRect(0, 0, client.right, m.number.bottom), page->GetBackgroundColor(),
                   {{number, 100, m.numberCell}, {name, 20, CRect(0, 0, client.right, 20)}})
            .differing;
    }
    ScriptedPopupMenus menus;
    CPoint tapped;
};

} // namespace korvyn::test
