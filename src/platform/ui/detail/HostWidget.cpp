#include "platform/ui/detail/HostWidget.h"

#include "platform/ui/detail/ClassBehaviour.h"
#include "platform/ui/detail/DeviceContext.h"
#include "platform/ui/detail/Window.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>

namespace korvyn::platform {

HostWidget::HostWidget(Window* window, QWidget* parent) : QWidget(parent), window_(window) {
    setAutoFillBackground(false);
    setFocusPolicy(Qt::ClickFocus);
}

HostWidget::~HostWidget() {
    if (Window* w = std::exchange(window_, nullptr)) {
        w->WidgetGone();
    }
}

void HostWidget::paintEvent(QPaintEvent*) {
    Window* w = window_;
    if (w == nullptr || (w->behaviour() != nullptr && w->behaviour()->PaintsNatively())) {
        return;
    }
    QPainter painter(this);
    w->painter = &painter;
    bool erase = w->eraseNext;
    w->eraseNext = true;
    w->paintPending = false;
    if (erase) {
        DeviceContext dc(&painter);
        w->Send(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc.handle()), 0);
    }
    if (window_ == nullptr) {
        return;
    }
    w->Send(WM_PAINT, 0, 0);
    if (window_ == nullptr) {
        return;
    }
    if (w->overlay) {
        painter.drawImage(0, 0, *w->overlay);
    }
    w->painter = nullptr;
}

void HostWidget::Stylus(unsigned msg, QMouseEvent* event) {
    Window* target = window_;
    QPoint pos = event->position().toPoint();
    Window* capture = CaptureWindow();
    if (capture != nullptr && capture != target && capture->widget() != nullptr) {
        pos = capture->widget()->mapFromGlobal(event->globalPosition().toPoint());
        target = capture;
    }
    if (target == nullptr) {
        return;
    }
    WPARAM keys = 0;
    if ((event->buttons() & Qt::LeftButton) || msg == WM_LBUTTONDOWN || msg == WM_LBUTTONDBLCLK) {
        keys |= MK_LBUTTON;
    }
    if (event->modifiers() & Qt::ControlModifier) {
        keys |= MK_CONTROL;
    }
    target->Send(msg, keys, MAKELPARAM(WORD(pos.x()), WORD(pos.y())));
}

void HostWidget::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        Stylus(WM_LBUTTONDOWN, event);
    }
}

void HostWidget::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        Stylus(WM_LBUTTONUP, event);
    }
}

void HostWidget::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || window_ == nullptr) {
        return;
    }
    Stylus((window_->classStyle() & CS_DBLCLKS) ? WM_LBUTTONDBLCLK : WM_LBUTTONDOWN, event);
}

void HostWidget::mouseMoveEvent(QMouseEvent* event) {
    Stylus(WM_MOUSEMOVE, event);
}

void HostWidget::resizeEvent(QResizeEvent*) {
    if (window_ != nullptr) {
        window_->ReportSizeIfChanged();
    }
}

void HostWidget::closeEvent(QCloseEvent* event) {
    event->ignore();
    if (window_ != nullptr) {
        window_->Send(WM_CLOSE, 0, 0);
    }
}

void HostWidget::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Q && (event->modifiers() & Qt::ControlModifier) &&
        window_ != nullptr) {
        // The desktop's quit key closes the top-level window, as its title bar's button.
        Window* top = window_;
        while (top->parent != nullptr && (top->style & WS_CHILD)) {
            top = top->parent;
        }
        top->Send(WM_CLOSE, 0, 0);
        return;
    }
    // Enter and Esc belong to the top-level dialog, also from a control of one of its
    // pages (a page is a child dialog and must not end itself).
    Window* w = window_;
    while (w != nullptr && !(w->isDialog && !(w->style & WS_CHILD))) {
        w = w->parent;
    }
    if (w == nullptr) {
        QWidget::keyPressEvent(event);
        return;
    }
    if (event->key() == Qt::Key_Escape) {
        w->Send(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    } else if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        w->Send(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    } else {
        QWidget::keyPressEvent(event);
    }
}

void HostWidget::wheelEvent(QWheelEvent* event) {
    if (window_ != nullptr && window_->behaviour() != nullptr) {
        window_->behaviour()->Wheel(*window_, event);
    }
}

} // namespace korvyn::platform
