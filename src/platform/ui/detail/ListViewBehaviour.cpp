// The list view class in report view: columns with headings, owner data (a count and
// text requests per visible cell), custom-draw notifications, scrolling and taps.
#include "platform/ui/CDC.h"
#include "platform/ui/CommCtrl.h"
#include "platform/ui/detail/ClassBehaviour.h"
#include "platform/ui/detail/DeviceContext.h"
#include "platform/ui/detail/GdiObject.h"
#include "platform/ui/detail/Window.h"

#include <QFontMetrics>
#include <QScrollBar>
#include <QWheelEvent>
#include <QWidget>

#include <array>
#include <vector>

namespace korvyn::platform {
namespace {

struct Column {
    int format = LVCFMT_LEFT;
    int width = 60;
    std::u16string heading;
};

constexpr int kTextMargin = 2;

class ListViewBehaviour : public ClassBehaviour {
public:
    void Created(Window& w) override {
        vbar_ = new QScrollBar(Qt::Vertical, w.widget());
        hbar_ = new QScrollBar(Qt::Horizontal, w.widget());
        vbar_->hide();
        hbar_->hide();
        HWND self = w.handle();
        auto repaint = [self] {
            if (Window* me = Window::From(self)) {
                me->Update();
            }
        };
        QObject::connect(vbar_, &QScrollBar::valueChanged, vbar_, repaint);
        QObject::connect(hbar_, &QScrollBar::valueChanged, hbar_, repaint);
        Layout(w);
    }

    void Resized(Window& w) override { Layout(w); }
    void FontChanged(Window& w) override {
        metricsValid_ = false;
        Layout(w);
    }
    void StyleChanged(Window& w, DWORD) override { Layout(w); }

    void Wheel(Window&, QWheelEvent* event) override {
        if (vbar_ != nullptr && vbar_->isVisible()) {
            int steps = event->angleDelta().y() / 40;
            vbar_->setValue(vbar_->value() - steps);
        }
    }

    LRESULT Proc(Window& w, UINT msg, WPARAM wParam, LPARAM lParam) override {
        switch (msg) {
        case LVM_INSERTCOLUMNW: {
            auto* c = reinterpret_cast<const LVCOLUMN*>(lParam);
            if (c == nullptr) {
                return -1;
            }
            Column col;
            if (c->mask & LVCF_FMT) {
                col.format = c->fmt;
            }
            if ((c->mask & LVCF_WIDTH) && c->cx >= 0) {
                col.width = c->cx;
            }
            if ((c->mask & LVCF_TEXT) && c->pszText != nullptr) {
                col.heading = c->pszText;
            }
            std::size_t at = std::min<std::size_t>(wParam, columns_.size());
            columns_.insert(columns_.begin() + static_cast<std::ptrdiff_t>(at), std::move(col));
            Changed(w);
            return static_cast<LRESULT>(at);
        }
        case LVM_SETCOLUMNWIDTH:
            if (wParam >= columns_.size() || lParam < 0) {
                return FALSE;
            }
            columns_[wParam].width = static_cast<int>(lParam);
            Changed(w);
            return TRUE;
        case LVM_GETCOLUMNWIDTH:
            return wParam < columns_.size() ? columns_[wParam].width : 0;
        case LVM_SETITEMCOUNT:
            SetCount(w, std::max(0, static_cast<int>(wParam)),
                     (static_cast<DWORD>(lParam) & LVSICF_NOINVALIDATEALL) != 0);
            return TRUE;
        case LVM_REDRAWITEMS:
            RedrawItems(w, static_cast<int>(wParam), static_cast<int>(lParam));
            return TRUE;
        case LVM_GETITEMCOUNT:
            return count_;
        case LVM_DELETEALLITEMS:
            count_ = 0;
            selected_ = -1;
            if (vbar_ != nullptr) {
                vbar_->setValue(0);
            }
            Changed(w);
            return TRUE;
        case LVM_GETTOPINDEX:
            return Top();
        case LVM_GETCOUNTPERPAGE:
            return std::max(0, ViewRect(w).height() / RowHeight(w));
        case LVM_HITTEST: {
            auto* info = reinterpret_cast<LVHITTESTINFO*>(lParam);
            if (info == nullptr) {
                return -1;
            }
            int sub = -1;
            info->iItem = HitTest(w, info->pt.x, info->pt.y, &sub);
            info->iSubItem = std::max(0, sub);
            info->flags = info->iItem >= 0 ? LVHT_ONITEMLABEL : LVHT_NOWHERE;
            return info->iItem;
        }
        case LVM_GETITEMRECT: {
            auto* r = reinterpret_cast<LPRECT>(lParam);
            int item = static_cast<int>(wParam);
            if (r == nullptr || item < 0 || item >= count_) {
                return FALSE;
            }
            QRect view = ViewRect(w);
            int top = view.top() + (item - Top()) * RowHeight(w);
            *r = RECT{view.left() - HOffset(), top, view.left() - HOffset() + TotalWidth(),
                      top + RowHeight(w)};
            return TRUE;
        }
        case LVM_ENSUREVISIBLE: {
            int item = static_cast<int>(wParam);
            if (item < 0 || item >= count_ || vbar_ == nullptr) {
                return FALSE;
            }
            int perPage = std::max(1, ViewRect(w).height() / RowHeight(w));
            if (item < Top()) {
                vbar_->setValue(item);
            } else if (item >= Top() + perPage) {
                vbar_->setValue(item - perPage + 1);
            }
            return TRUE;
        }
        case LVM_GETNEXTITEM: {
            int start = static_cast<int>(static_cast<std::intptr_t>(wParam));
            if (lParam & LVNI_SELECTED) {
                return selected_ > start ? selected_ : -1;
            }
            return start + 1 < count_ ? start + 1 : -1;
        }
        case LVM_GETSELECTIONMARK:
            return selected_;
        case LVM_SETEXTENDEDLISTVIEWSTYLE: {
            DWORD old = std::exchange(extended_, static_cast<DWORD>(lParam));
            Changed(w);
            return static_cast<LRESULT>(old);
        }
        case LVM_GETEXTENDEDLISTVIEWSTYLE:
            return static_cast<LRESULT>(extended_);
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK: {
            const int divider = DividerAt(w, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
            if (divider >= 0) {
                if (msg == WM_LBUTTONDBLCLK) {
                    dragColumn_ = -1;
                    FitColumn(w, divider);
                } else {
                    dragColumn_ = divider;
                    dragFrom_ = GET_X_LPARAM(lParam) - columns_[divider].width;
                }
                return 0;
            }
            int sub = -1;
            int item = HitTest(w, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam), &sub);
            if (item >= 0 && item != selected_) {
                selected_ = item;
                w.Update();
            }
            pressed_ = true;
            if (msg == WM_LBUTTONDBLCLK) {
                Notify(w, NM_DBLCLK, item, sub, lParam);
                pressed_ = false;
            }
            return 0;
        }
        case WM_MOUSEMOVE:
            if (dragColumn_ >= 0 && dragColumn_ < static_cast<int>(columns_.size())) {
                columns_[dragColumn_].width = std::max(0, GET_X_LPARAM(lParam) - dragFrom_);
                Changed(w);
            }
            return 0;
        case WM_LBUTTONUP: {
            if (dragColumn_ >= 0) {
                Proc(w, WM_MOUSEMOVE, wParam, lParam);
                dragColumn_ = -1;
                return 0;
            }
            if (!pressed_) {
                return 0;
            }
            pressed_ = false;
            int sub = -1;
            int item = HitTest(w, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam), &sub);
            Notify(w, NM_CLICK, item, sub, lParam);
            return 0;
        }
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT:
            Paint(w);
            return 0;
        default:
            return DefaultWindowProc(w, msg, wParam, lParam);
        }
    }

private:
    void Metrics(Window& w) {
        if (metricsValid_) {
            return;
        }
        int cell = FontCellOf(w.font).height();
        rowHeight_ = cell + 2;
        headerHeight_ = cell + 6;
        metricsValid_ = true;
    }
    int RowHeight(Window& w) {
        Metrics(w);
        return std::max(1, rowHeight_);
    }
    int HeaderHeight(Window& w) {
        Metrics(w);
        return (w.style & LVS_NOCOLUMNHEADER) ? 0 : headerHeight_;
    }
    int TotalWidth() const {
        int total = 0;
        for (const Column& c : columns_) {
            total += c.width;
        }
        return total;
    }
    int Top() const { return vbar_ != nullptr && vbar_->isVisible() ? vbar_->value() : 0; }
    int HOffset() const { return hbar_ != nullptr && hbar_->isVisible() ? hbar_->value() : 0; }

    // The rows' area: the client area below the header and inside the scroll bars.
    QRect ViewRect(Window& w) {
        QSize s = w.clientSize();
        int bar = GetSystemMetrics(SM_CXVSCROLL);
        int right = s.width() - (vbar_ != nullptr && vbar_->isVisible() ? bar : 0);
        int bottom = s.height() - (hbar_ != nullptr && hbar_->isVisible() ? bar : 0);
        int top = HeaderHeight(w);
        return QRect(0, top, std::max(0, right), std::max(0, bottom - top));
    }

    void Changed(Window& w) {
        Layout(w);
        w.Update();
    }

    // A new item count. Unless asked to repaint only what the count changes, the whole
    // list is repainted; otherwise the rows from the first added or removed one down,
    // or everything when the rows moved or the scroll bars came or went.
    void SetCount(Window& w, int count, bool onlyWhatChanges) {
        const int old = std::exchange(count_, count);
        if (selected_ >= count_) {
            selected_ = -1;
        }
        if (!onlyWhatChanges) {
            Changed(w);
            return;
        }
        const QRect viewBefore = ViewRect(w);
        const int topBefore = Top();
        Layout(w);
        const QRect view = ViewRect(w);
        if (view != viewBefore || Top() != topBefore) {
            w.Update();
        } else if (count_ != old) {
            RedrawRows(w, std::min(old, count_), std::max(old, count_) - 1);
        }
    }

    // Repaints the rows first to last where they are shown.
    void RedrawItems(Window& w, int first, int last) {
        RedrawRows(w, std::max(first, 0), std::min(last, count_ - 1));
    }

    void RedrawRows(Window& w, int first, int last) {
        const QRect view = ViewRect(w);
        const int rowHeight = RowHeight(w);
        const int top = view.top() + (first - Top()) * rowHeight;
        const int bottom = view.top() + (last + 1 - Top()) * rowHeight;
        const RECT area{view.left(), std::max(top, view.top()), view.right() + 1,
                        std::min(bottom, view.bottom() + 1)};
        if (first <= last && area.top < area.bottom) {
            w.Update(&area);
        }
    }

    void Layout(Window& w) {
        if (vbar_ == nullptr || w.widget() == nullptr) {
            return;
        }
        QSize s = w.clientSize();
        int bar = GetSystemMetrics(SM_CXVSCROLL);
        int rows = count_ * RowHeight(w);
        int header = HeaderHeight(w);
        bool needV = rows > s.height() - header;
        bool needH = TotalWidth() > s.width() - (needV ? bar : 0);
        needV = rows > s.height() - header - (needH ? bar : 0);
        needH = TotalWidth() > s.width() - (needV ? bar : 0);
        vbar_->setVisible(needV);
        hbar_->setVisible(needH);
        QRect view = ViewRect(w);
        int perPage = std::max(1, view.height() / RowHeight(w));
        vbar_->setRange(0, std::max(0, count_ - perPage));
        vbar_->setPageStep(perPage);
        vbar_->setGeometry(s.width() - bar, 0, bar, s.height() - (needH ? bar : 0));
        hbar_->setRange(0, std::max(0, TotalWidth() - view.width()));
        hbar_->setPageStep(std::max(1, view.width()));
        hbar_->setSingleStep(8);
        hbar_->setGeometry(0, s.height() - bar, s.width() - (needV ? bar : 0), bar);
    }

    int HitTest(Window& w, int x, int y, int* subItem) {
        QRect view = ViewRect(w);
        *subItem = -1;
        if (!view.contains(x, y)) {
            return -1;
        }
        int item = Top() + (y - view.top()) / RowHeight(w);
        if (item < 0 || item >= count_) {
            return -1;
        }
        int left = view.left() - HOffset();
        for (std::size_t c = 0; c < columns_.size(); ++c) {
            if (x >= left && x < left + columns_[c].width) {
                *subItem = static_cast<int>(c);
                break;
            }
            left += columns_[c].width;
        }
        if (*subItem < 0 && !(extended_ & LVS_EX_FULLROWSELECT) && x >= left) {
            return -1;
        }
        return item;
    }

    // The column whose right edge (a divider of the header) is within a few pixels of a
    // point on the header, -1 elsewhere. The last divider that matches wins, so that a
    // column dragged down to nothing can be widened again.
    int DividerAt(Window& w, int x, int y) {
        const int header = HeaderHeight(w);
        if (header == 0 || y < 0 || y >= header) {
            return -1;
        }
        const int grip = std::max(3, GetSystemMetrics(SM_CXVSCROLL) / 4);
        int found = -1;
        int edge = ViewRect(w).left() - HOffset();
        for (std::size_t c = 0; c < columns_.size(); ++c) {
            edge += columns_[c].width;
            if (x >= edge - grip && x <= edge + grip) {
                found = static_cast<int>(c);
            }
        }
        return found;
    }

    // A double tap on a divider fits its column to the widest of its heading and the texts
    // of the rows in view.
    void FitColumn(Window& w, int column) {
        GdiObject* f = GdiFrom(w.font, GdiObject::Kind::Font);
        QFontMetrics fm(f != nullptr ? f->font : QFont());
        const Column& col = columns_[column];
        int widest = fm.horizontalAdvance(QString::fromStdU16String(col.heading)) + 4;
        const int first = Top();
        const int last = std::min(count_, first + ViewRect(w).height() / RowHeight(w) + 1);
        HWND self = w.handle();
        for (int item = first; item < last && Window::From(self) != nullptr; ++item) {
            const std::u16string text = CellText(w, item, column);
            widest = std::max(widest, fm.horizontalAdvance(QString::fromStdU16String(text)));
        }
        if (Window::From(self) == nullptr) {
            return;
        }
        columns_[column].width = widest + 2 * kTextMargin + 2;
        Changed(w);
    }

    void Notify(Window& w, int code, int item, int subItem, LPARAM point) {
        if (w.parent == nullptr) {
            return;
        }
        NMITEMACTIVATE n{};
        n.hdr = NMHDR{w.handle(), static_cast<UINT_PTR>(w.id), static_cast<UINT>(code)};
        n.iItem = item;
        n.iSubItem = std::max(0, subItem);
        n.ptAction = POINT{GET_X_LPARAM(point), GET_Y_LPARAM(point)};
        w.parent->Send(WM_NOTIFY, static_cast<WPARAM>(w.id), reinterpret_cast<LPARAM>(&n));
    }

    LRESULT CustomDraw(Window& w, NMLVCUSTOMDRAW& cd) {
        if (w.parent == nullptr) {
            return CDRF_DODEFAULT;
        }
        cd.nmcd.hdr =
            NMHDR{w.handle(), static_cast<UINT_PTR>(w.id), static_cast<UINT>(NM_CUSTOMDRAW)};
        return w.parent->Send(WM_NOTIFY, static_cast<WPARAM>(w.id), reinterpret_cast<LPARAM>(&cd));
    }

    std::u16string CellText(Window& w, int item, int subItem) {
        if (w.parent == nullptr) {
            return {};
        }
        std::array<WCHAR, 260> buffer{};
        NMLVDISPINFO info{};
        info.hdr =
            NMHDR{w.handle(), static_cast<UINT_PTR>(w.id), static_cast<UINT>(LVN_GETDISPINFOW)};
        info.item.mask = LVIF_TEXT;
        info.item.iItem = item;
        info.item.iSubItem = subItem;
        info.item.pszText = buffer.data();
        info.item.cchTextMax = static_cast<int>(buffer.size());
        w.parent->Send(WM_NOTIFY, static_cast<WPARAM>(w.id), reinterpret_cast<LPARAM>(&info));
        if (info.item.pszText == nullptr) {
            return {};
        }
        if (info.item.pszText == buffer.data()) {
            buffer.back() = 0;
        }
        return std::u16string(info.item.pszText);
    }

    void Paint(Window& w) {
        if (w.painter == nullptr) {
            return;
        }
        HWND self = w.handle();
        QPainter* painter = w.painter;
        DeviceContext dc(painter);
        dc.Select(w.font);
        CDC* cdc = dc.wrapper();
        QSize s = w.clientSize();
        QRect view = ViewRect(w);
        COLORREF windowColor = GetSysColor(COLOR_WINDOW);
        cdc->FillSolidRect(0, 0, s.width(), s.height(), windowColor);

        NMLVCUSTOMDRAW cd{};
        cd.nmcd.hdc = dc.handle();
        cd.nmcd.dwDrawStage = CDDS_PREPAINT;
        cd.nmcd.rc = RECT{0, 0, s.width(), s.height()};
        cd.clrText = GetSysColor(COLOR_WINDOWTEXT);
        cd.clrTextBk = windowColor;
        LRESULT control = CustomDraw(w, cd);
        if (Window::From(self) == nullptr) {
            return;
        }
        if (!(control & CDRF_SKIPDEFAULT)) {
            painter->save();
            painter->setClipRect(view);
            int rowHeight = RowHeight(w);
            int top = Top();
            int last = std::min(count_, top + view.height() / rowHeight + 1);
            for (int item = top; item < last && Window::From(self) != nullptr; ++item) {
                PaintRow(w, dc, item, view.top() + (item - top) * rowHeight, view, control);
            }
            painter->restore();
        }
        if (Window::From(self) == nullptr) {
            return;
        }
        PaintHeader(w, dc, view);
        if (control & CDRF_NOTIFYPOSTPAINT) {
            cd.nmcd.dwDrawStage = CDDS_POSTPAINT;
            cd.nmcd.rc = RECT{0, 0, s.width(), s.height()};
            CustomDraw(w, cd);
        }
    }

    void PaintRow(Window& w, DeviceContext& dc, int item, int y, const QRect& view,
                  LRESULT control) {
        CDC* cdc = dc.wrapper();
        bool selected = item == selected_;
        COLORREF text = GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT);
        COLORREF back = GetSysColor(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW);
        int rowHeight = RowHeight(w);
        int left = view.left() - HOffset();
        NMLVCUSTOMDRAW cd{};
        cd.nmcd.hdc = dc.handle();
        cd.nmcd.dwItemSpec = static_cast<std::uintptr_t>(item);
        cd.nmcd.uItemState = selected ? CDIS_SELECTED : 0;
        LRESULT itemResult = CDRF_DODEFAULT;
        if (control & CDRF_NOTIFYITEMDRAW) {
            cd.nmcd.dwDrawStage = CDDS_ITEMPREPAINT;
            cd.nmcd.rc = RECT{left, y, left + TotalWidth(), y + rowHeight};
            cd.clrText = text;
            cd.clrTextBk = back;
            cd.iSubItem = 0;
            itemResult = CustomDraw(w, cd);
            text = cd.clrText;
            back = cd.clrTextBk;
        }
        if (itemResult & CDRF_SKIPDEFAULT) {
            return;
        }
        int x = left;
        for (std::size_t c = 0; c < columns_.size(); ++c) {
            const Column& col = columns_[c];
            int cellLeft = x;
            x += col.width;
            if (x <= view.left() || cellLeft >= view.right() + 1) {
                continue;
            }
            cd.nmcd.rc = RECT{cellLeft, y, cellLeft + col.width, y + rowHeight};
            cd.clrText = text;
            cd.clrTextBk = back;
            cd.iSubItem = static_cast<int>(c);
            LRESULT sub = CDRF_DODEFAULT;
            if (itemResult & CDRF_NOTIFYSUBITEMDRAW) {
                cd.nmcd.dwDrawStage = CDDS_ITEMPREPAINT | CDDS_SUBITEM;
                sub = CustomDraw(w, cd);
            }
            if (!(sub & CDRF_SKIPDEFAULT)) {
                std::u16string cell = CellText(w, item, static_cast<int>(c));
                CRect r(cd.nmcd.rc);
                if (cd.clrTextBk != CLR_NONE && cd.clrTextBk != CLR_DEFAULT) {
                    cdc->FillSolidRect(&r, cd.clrTextBk);
                }
                if (!(sub & CDRF_NEWFONT)) {
                    dc.Select(w.font);
                }
                cdc->SetTextColor(cd.clrText == CLR_DEFAULT ? GetSysColor(COLOR_WINDOWTEXT)
                                                            : cd.clrText);
                cdc->SetBkMode(TRANSPARENT);
                r.DeflateRect(kTextMargin, 0);
                UINT align = col.format & LVCFMT_CENTER  ? DT_CENTER
                             : col.format & LVCFMT_RIGHT ? DT_RIGHT
                                                         : DT_LEFT;
                cdc->DrawText(cell, &r,
                              DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS | align);
            }
            if (sub & CDRF_NOTIFYPOSTPAINT) {
                cd.nmcd.dwDrawStage = CDDS_ITEMPOSTPAINT | CDDS_SUBITEM;
                CustomDraw(w, cd);
            }
        }
        if (itemResult & CDRF_NOTIFYPOSTPAINT) {
            cd.nmcd.dwDrawStage = CDDS_ITEMPOSTPAINT;
            cd.nmcd.rc = RECT{left, y, left + TotalWidth(), y + rowHeight};
            cd.iSubItem = 0;
            CustomDraw(w, cd);
        }
    }

    void PaintHeader(Window& w, DeviceContext& dc, const QRect& view) {
        int height = HeaderHeight(w);
        if (height == 0) {
            return;
        }
        CDC* cdc = dc.wrapper();
        dc.Select(w.font);
        COLORREF face = GetSysColor(COLOR_BTNFACE), shadow = GetSysColor(COLOR_BTNSHADOW),
                 light = GetSysColor(COLOR_BTNHIGHLIGHT);
        cdc->FillSolidRect(0, 0, w.clientSize().width(), height, face);
        cdc->SetTextColor(GetSysColor(COLOR_BTNTEXT));
        cdc->SetBkMode(TRANSPARENT);
        int x = view.left() - HOffset();
        for (const Column& col : columns_) {
            CRect r(x, 0, x + col.width, height);
            cdc->FillSolidRect(r.left, 0, 1, height, light);
            cdc->FillSolidRect(r.right - 1, 0, 1, height, shadow);
            r.DeflateRect(kTextMargin + 2, 0);
            UINT align = col.format & LVCFMT_CENTER  ? DT_CENTER
                         : col.format & LVCFMT_RIGHT ? DT_RIGHT
                                                     : DT_LEFT;
            cdc->DrawText(col.heading, &r,
                          DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS | align);
            x += col.width;
        }
        cdc->FillSolidRect(0, height - 1, w.clientSize().width(), 1, shadow);
    }

    std::vector<Column> columns_;
    int count_ = 0;
    int selected_ = -1;
    bool pressed_ = false;
    int dragColumn_ = -1; // the column whose divider is being dragged
    int dragFrom_ = 0;    // where the dragged column starts, in client pixels
    DWORD extended_ = 0;
    bool metricsValid_ = false;
    int rowHeight_ = 16;
    int headerHeight_ = 18;
    QScrollBar* vbar_ = nullptr;
    QScrollBar* hbar_ = nullptr;
};

} // namespace

std::unique_ptr<ClassBehaviour> MakeListViewBehaviour() {
    return std::make_unique<ListViewBehaviour>();
}

} // namespace korvyn::platform
