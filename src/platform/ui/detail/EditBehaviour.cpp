// The edit class over a QLineEdit: one line of text the user types, kept as the window
// text, with EN_CHANGE to the parent whenever the text changes and EN_KILLFOCUS when the
// field loses the focus.
#include "platform/ui/detail/ClassBehaviour.h"
#include "platform/ui/detail/Window.h"

#include <QEvent>
#include <QLineEdit>
#include <QWidget>

namespace korvyn::platform {
namespace {

// Tells the parent when the field loses the focus.
class FocusWatch : public QObject {
public:
    explicit FocusWatch(HWND self, QObject* parent) : QObject(parent), self_(self) {}

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::FocusOut) {
            Window::NotifyParent(self_, EN_KILLFOCUS);
        }
        return false;
    }

private:
    HWND self_;
};

class EditBehaviour : public ClassBehaviour {
public:
    bool PaintsNatively() const override { return true; }

    void Created(Window& w) override {
        edit_ = new QLineEdit(w.widget());
        edit_->setFont(w.widget()->font());
        edit_->setFrame((w.style & WS_BORDER) != 0);
        edit_->setGeometry(QRect(QPoint(0, 0), w.clientSize()));
        edit_->setText(QString::fromStdU16String(w.text));
        edit_->show();
        w.widget()->setFocusProxy(edit_);
        HWND self = w.handle();
        edit_->installEventFilter(new FocusWatch(self, edit_));
        QObject::connect(edit_, &QLineEdit::textChanged, edit_, [self](const QString& text) {
            if (Window* me = Window::From(self)) {
                me->text = text.toStdU16String();
                Window::NotifyParent(self, EN_CHANGE);
            }
        });
    }

    void Resized(Window& w) override {
        if (edit_ != nullptr) {
            edit_->setGeometry(QRect(QPoint(0, 0), w.clientSize()));
        }
    }

    void FontChanged(Window& w) override {
        if (edit_ != nullptr) {
            edit_->setFont(w.widget()->font());
        }
    }

    void StyleChanged(Window& w, DWORD) override {
        if (edit_ != nullptr) {
            edit_->setEnabled(!(w.style & WS_DISABLED));
        }
    }

    LRESULT Proc(Window& w, UINT msg, WPARAM wParam, LPARAM lParam) override {
        LRESULT r = DefaultWindowProc(w, msg, wParam, lParam);
        if (msg == WM_SETTEXT && edit_ != nullptr) {
            QString text = QString::fromStdU16String(w.text);
            if (edit_->text() != text) {
                edit_->setText(text);
            }
        }
        return r;
    }

private:
    QLineEdit* edit_ = nullptr;
};

} // namespace

std::unique_ptr<ClassBehaviour> MakeEditBehaviour() {
    return std::make_unique<EditBehaviour>();
}

} // namespace korvyn::platform
