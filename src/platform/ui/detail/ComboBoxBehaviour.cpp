// The combo box class over a QComboBox: the drop-down list with sorted insertion, item
// heights, selection, and CBN_SELCHANGE to the parent when the user picks an entry.
#include "platform/ui/detail/ClassBehaviour.h"
#include "platform/ui/detail/GdiObject.h"
#include "platform/ui/detail/Window.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QWidget>

namespace korvyn::platform {
namespace {

class ComboBoxBehaviour : public ClassBehaviour {
public:
    bool PaintsNatively() const override { return true; }

    void Created(Window& w) override {
        combo_ = new QComboBox(w.widget());
        combo_->setFont(w.widget()->font());
        combo_->setGeometry(QRect(QPoint(0, 0), w.clientSize()));
        combo_->show();
        HWND self = w.handle();
        QObject::connect(combo_, qOverload<int>(&QComboBox::activated), combo_,
                         [self](int) { Window::NotifyParent(self, CBN_SELCHANGE); });
        UpdateVisibleItems();
    }

    void Resized(Window& w) override {
        if (combo_ != nullptr) {
            combo_->setGeometry(QRect(QPoint(0, 0), w.clientSize()));
        }
    }

    void FontChanged(Window& w) override {
        if (combo_ != nullptr) {
            combo_->setFont(w.widget()->font());
        }
        fontHeight_ = 0;
        if (w.widget() != nullptr) {
            w.SetGeometry(0, 0, w.clientSize().width(), dropHeight_, false, true);
        }
    }

    void StyleChanged(Window& w, DWORD) override {
        if (combo_ != nullptr) {
            combo_->setEnabled(!(w.style & WS_DISABLED));
        }
    }

    int WidgetHeight(Window& w, int requested) override {
        dropHeight_ = requested;
        UpdateVisibleItems();
        return FieldHeight(w);
    }

    LRESULT Proc(Window& w, UINT msg, WPARAM wParam, LPARAM lParam) override {
        auto text = [&] { return QString::fromUtf16(reinterpret_cast<LPCWSTR>(lParam)); };
        switch (msg) {
        case CB_ADDSTRING: {
            if (combo_ == nullptr || lParam == 0) {
                return CB_ERR;
            }
            int at = combo_->count();
            if (w.style & CBS_SORT) {
                at = 0;
                while (at < combo_->count() &&
                       QString::compare(combo_->itemText(at), text(), Qt::CaseInsensitive) <= 0) {
                    ++at;
                }
            }
            combo_->insertItem(at, text());
            Unselect(at);
            return at;
        }
        case CB_INSERTSTRING: {
            if (combo_ == nullptr || lParam == 0) {
                return CB_ERR;
            }
            int at = static_cast<int>(wParam);
            if (at < 0 || at > combo_->count()) {
                at = combo_->count();
            }
            combo_->insertItem(at, text());
            Unselect(at);
            return at;
        }
        case CB_DELETESTRING:
            if (combo_ == nullptr || int(wParam) < 0 || int(wParam) >= combo_->count()) {
                return CB_ERR;
            }
            combo_->removeItem(int(wParam));
            return combo_->count();
        case CB_RESETCONTENT:
            if (combo_ != nullptr) {
                combo_->clear();
            }
            return 0;
        case CB_GETCOUNT:
            return combo_ != nullptr ? combo_->count() : 0;
        case CB_GETCURSEL:
            return combo_ != nullptr && combo_->currentIndex() >= 0 ? combo_->currentIndex()
                                                                    : CB_ERR;
        case CB_SETCURSEL: {
            int index = static_cast<int>(static_cast<std::intptr_t>(wParam));
            if (combo_ == nullptr || index < 0 || index >= combo_->count()) {
                if (combo_ != nullptr) {
                    combo_->setCurrentIndex(-1);
                }
                return CB_ERR;
            }
            combo_->setCurrentIndex(index);
            return index;
        }
        case CB_GETLBTEXT:
        case CB_GETLBTEXTLEN: {
            int index = static_cast<int>(static_cast<std::intptr_t>(wParam));
            if (combo_ == nullptr || index < 0 || index >= combo_->count()) {
                return CB_ERR;
            }
            std::u16string s = combo_->itemText(index).toStdU16String();
            if (msg == CB_GETLBTEXT && lParam != 0) {
                auto* out = reinterpret_cast<LPWSTR>(lParam);
                std::copy(s.begin(), s.end(), out);
                out[s.size()] = 0;
            }
            return static_cast<LRESULT>(s.size());
        }
        case CB_FINDSTRINGEXACT: {
            if (combo_ == nullptr || lParam == 0) {
                return CB_ERR;
            }
            int n = combo_->count();
            int start = static_cast<int>(static_cast<std::intptr_t>(wParam));
            for (int k = 1; k <= n; ++k) {
                int i = (start + k + n) % n;
                if (QString::compare(combo_->itemText(i), text(), Qt::CaseInsensitive) == 0) {
                    return i;
                }
            }
            return CB_ERR;
        }
        case CB_GETITEMHEIGHT:
            return static_cast<std::intptr_t>(wParam) == -1 ? FieldHeight(w) - 6 : ItemHeight(w);
        case CB_SETITEMHEIGHT: {
            if (lParam <= 0 || lParam > 255) {
                return CB_ERR;
            }
            if (static_cast<std::intptr_t>(wParam) == -1) {
                fieldHeight_ = static_cast<int>(lParam) + 6;
                w.SetGeometry(0, 0, w.clientSize().width(), dropHeight_, false, true);
            } else {
                itemHeight_ = static_cast<int>(lParam);
                UpdateVisibleItems();
            }
            return 0;
        }
        case CB_GETDROPPEDCONTROLRECT: {
            if (auto* r = reinterpret_cast<LPRECT>(lParam); r != nullptr && w.widget() != nullptr) {
                GetWindowRect(w.handle(), r);
                r->bottom = r->top + std::max(dropHeight_, FieldHeight(w));
            }
            return 1;
        }
        default:
            return DefaultWindowProc(w, msg, wParam, lParam);
        }
    }

private:
    // A string added to an empty box leaves it without selection, as on the handheld.
    void Unselect(int added) {
        if (combo_->count() == 1 && added == 0) {
            combo_->setCurrentIndex(-1);
        }
    }

    int FontHeight(Window& w) {
        if (fontHeight_ == 0) {
            fontHeight_ = FontCellOf(w.font).height();
        }
        return fontHeight_;
    }
    int ItemHeight(Window& w) { return itemHeight_ > 0 ? itemHeight_ : FontHeight(w); }
    int FieldHeight(Window& w) { return fieldHeight_ > 0 ? fieldHeight_ : FontHeight(w) + 8; }

    void UpdateVisibleItems() {
        if (combo_ != nullptr && itemHeight_ + fontHeight_ > 0) {
            int item = itemHeight_ > 0 ? itemHeight_ : fontHeight_;
            combo_->setMaxVisibleItems(
                std::max(1, (dropHeight_ - fieldHeight_) / std::max(1, item)));
        }
    }

    QComboBox* combo_ = nullptr;
    int dropHeight_ = 0;
    int itemHeight_ = 0;
    int fieldHeight_ = 0;
    int fontHeight_ = 0;
};

} // namespace

std::unique_ptr<ClassBehaviour> MakeComboBoxBehaviour() {
    return std::make_unique<ComboBoxBehaviour>();
}

} // namespace korvyn::platform
