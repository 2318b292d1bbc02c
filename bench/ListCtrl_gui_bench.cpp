// One full repaint of an owner-data report list with 30 visible rows of ten columns,
// custom drawn the way the network list is (colours per cell, a wedge of short lines in
// the signal column, texts formatted per request), on Qt's offscreen platform.
#include "platform/ui/AfxWin.h"
#include "platform/ui/detail/Window.h"
#include "support/Reporting.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QWidget>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

class WedgeList : public CListCtrl {
protected:
    BOOL OnChildNotify(UINT msg, WPARAM, LPARAM lParam, LRESULT* result) override {
        auto* hdr = reinterpret_cast<NMHDR*>(lParam);
        if (msg != WM_NOTIFY || hdr->code != static_cast<UINT>(NM_CUSTOMDRAW)) {
            return FALSE;
        }
        auto* cd = reinterpret_cast<NMLVCUSTOMDRAW*>(lParam);
        switch (cd->nmcd.dwDrawStage) {
        case CDDS_PREPAINT:
        case CDDS_ITEMPREPAINT:
            *result = CDRF_NOTIFYSUBITEMDRAW;
            return TRUE;
        case CDDS_ITEMPREPAINT | CDDS_SUBITEM: {
            cd->clrTextBk = GetSysColor(COLOR_WINDOW);
            cd->clrText = (cd->nmcd.dwItemSpec % 3 == 0 && cd->iSubItem == 0)
                              ? RGB(255, 0, 0)
                              : GetSysColor(COLOR_WINDOWTEXT);
            if (cd->iSubItem == 1) {
                DrawWedge(CDC::FromHandle(cd->nmcd.hdc), cd->nmcd.rc, 12);
                cd->nmcd.rc.left += 14;
            }
            *result = CDRF_DODEFAULT;
            return TRUE;
        }
        default:
            *result = 0;
            return TRUE;
        }
    }

private:
    static void DrawWedge(CDC* dc, const RECT& rc, int size) {
        CPen filled(PS_SOLID, 1, RGB(50, 255, 50));
        CPen gap(PS_SOLID, 1, RGB(150, 150, 150));
        CPen empty(PS_SOLID, 1, RGB(220, 220, 220));
        CPen* old = dc->SelectObject(&filled);
        for (int i = 0; i < size; ++i) {
            dc->SelectObject(i % 3 == 0 ? &gap : i < size / 2 ? &filled : &empty);
            dc->MoveTo(rc.left + 1 + i, rc.bottom - 1);
            dc->LineTo(rc.left + 1 + i, rc.bottom - 1 - i);
        }
        dc->SelectObject(old);
    }
};

class Page : public CDialog {
public:
    WedgeList list;

protected:
    BOOL OnNotify(WPARAM, LPARAM lParam, LRESULT* result) override {
        auto* info = reinterpret_cast<NMLVDISPINFO*>(lParam);
        if (info->hdr.code == static_cast<UINT>(LVN_GETDISPINFOW)) {
            char text[64];
            std::snprintf(text, sizeof text, "%02X-%02d cell %d", info->item.iItem & 0xFF,
                          info->item.iSubItem, info->item.iItem * 10 + info->item.iSubItem);
            int i = 0;
            for (; text[i] != 0 && i < info->item.cchTextMax - 1; ++i) {
                info->item.pszText[i] = static_cast<char16_t>(text[i]);
            }
            info->item.pszText[i] = 0;
        }
        *result = 0;
        return TRUE;
    }
};

void BM_ListRepaint(benchmark::State& state) {
    korvyn::platform::SetDeviceScreenSize(240, 320);
    Page page;
    std::vector<BYTE> bytes;
    // An empty child-less popup; the list is created in code at a size for 30 rows.
    auto put16 = [&](WORD v) {
        bytes.push_back(BYTE(v));
        bytes.push_back(BYTE(v >> 8));
    };
    auto put32 = [&](DWORD v) {
        put16(WORD(v));
        put16(WORD(v >> 16));
    };
    put32(WS_POPUP);
    put32(0);
    for (WORD v : {0, 0, 0, 400, 400, 0, 0, 0}) {
        put16(v);
    }
    page.CreateIndirect(bytes.data(), bytes.size());
    page.ShowWindow(SW_SHOW);
    CFont font;
    font.CreateFont(12, 0, 0, 0, FW_BOLD, 0, 0, 0, 0, 0, 0, 0, 0, u"Tahoma");
    page.list.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_OWNERDATA, CRect(0, 0, 1200, 10),
                     &page, 1018);
    page.list.SetFont(&font);
    for (int c = 0; c < 10; ++c) {
        page.list.InsertColumn(c, u"Heading", LVCFMT_LEFT, 110);
    }
    page.list.SetItemCount(1000);
    CRect row;
    page.list.GetItemRect(0, &row, LVIR_BOUNDS);
    // The header plus exactly 30 rows.
    page.list.MoveWindow(0, 0, 1200, row.top + 30 * row.Height() + GetSystemMetrics(SM_CYHSCROLL));
    QWidget* widget = korvyn::platform::Window::From(page.list.m_hWnd)->widget();
    QImage target(widget->size(), QImage::Format_RGB32);
    if (page.list.GetCountPerPage() != 30) {
        state.SkipWithError("the list does not show 30 rows");
        return;
    }
    for (auto _ : state) {
        QPainter painter(&target);
        widget->render(&painter);
    }
    state.counters["rows"] = page.list.GetCountPerPage();
}
BENCHMARK(BM_ListRepaint)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    return korvyn::bench::RunBenchmarks(argc, argv);
}
