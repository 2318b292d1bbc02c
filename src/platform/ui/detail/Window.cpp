#include "platform/ui/detail/Window.h"

#include "platform/ui/CWnd.h"
#include "platform/ui/DeviceScreen.h"
#include "platform/ui/ScreenUpdates.h"
#include "platform/ui/detail/ClassBehaviour.h"
#include "platform/ui/detail/GdiObject.h"
#include "platform/ui/detail/HostWidget.h"
#include "platform/ui/detail/Timers.h"

#include <QEventLoop>
#include <QPainter>

#include <cstdio>
#include <unordered_map>

namespace korvyn::platform {
namespace {

// Live windows by handle. Never destroyed: objects of static lifetime may still ask
// about their windows while the program exits.
std::unordered_map<std::uintptr_t, std::unique_ptr<Window>>& Live() {
    static auto* live = new std::unordered_map<std::uintptr_t, std::unique_ptr<Window>>;
    return *live;
}
// Destroyed windows and framework-made objects wait here until no message is being
// delivered, so that nothing is freed under a handler that is still running.
std::vector<std::unique_ptr<Window>>& DeadWindows() {
    static auto* dead = new std::vector<std::unique_ptr<Window>>;
    return *dead;
}
std::vector<std::unique_ptr<CWnd>>& DeadObjects() {
    static auto* dead = new std::vector<std::unique_ptr<CWnd>>;
    return *dead;
}

std::uintptr_t nextSerial = 0x10010;
int globalDepth = 0;
Window* mainWindow = nullptr;
Window* captureWindow = nullptr;

void FlushDead() {
    if (globalDepth != 0) {
        return;
    }
    // Deleting an object may destroy windows, which may add more to both lists.
    while (!DeadObjects().empty() || !DeadWindows().empty()) {
        auto objects = std::move(DeadObjects());
        DeadObjects().clear();
        objects.clear();
        auto windows = std::move(DeadWindows());
        DeadWindows().clear();
        windows.clear();
    }
}

const RegisteredClass& UnknownClass() {
    static RegisteredClass cls{u"", 0, &::DefWindowProc, nullptr, false, nullptr, nullptr};
    return cls;
}

} // namespace

int GlobalDispatchDepth() {
    return globalDepth;
}
Window* MainWindow() {
    return mainWindow;
}
void SetMainWindow(Window* window) {
    mainWindow = window;
}
Window* CaptureWindow() {
    return captureWindow;
}
void SetCaptureWindow(Window* window) {
    captureWindow = window;
}

Window::Window(const RegisteredClass* cls, std::u16string className, DWORD style_, DWORD exStyle_,
               int id_, std::u16string text_, Window* parent_, const RECT& rect)
    : style(style_), exStyle(exStyle_), id(id_), text(std::move(text_)), parent(parent_),
      class_(cls), className_(std::move(className)) {
    serial_ = nextSerial;
    nextSerial += 2;
    if (class_->makeBehaviour) {
        behaviour_ = class_->makeBehaviour();
    }
    CreateWidget(rect);
}

Window::~Window() {
    if (host_ != nullptr) {
        host_->ForgetWindow();
        delete host_;
    }
}

Window* Window::From(HWND hWnd) {
    auto it = Live().find(reinterpret_cast<std::uintptr_t>(hWnd));
    return it == Live().end() || it->second->destroying_ ? nullptr : it->second.get();
}

QWidget* Window::widget() const {
    return host_;
}

UINT Window::classStyle() const {
    return class_->style;
}

HBRUSH Window::classBackground() const {
    return class_->background;
}

void Window::CreateWidget(const RECT& rect) {
    bool child = (style & WS_CHILD) != 0 && parent != nullptr && parent->host_ != nullptr;
    host_ = new HostWidget(this, child ? parent->host_ : nullptr);
    if (!child) {
        host_->setWindowFlags(Qt::Window);
        host_->setWindowTitle(QString::fromStdU16String(text));
        if (!WindowsDrawn()) {
            host_->setUpdatesEnabled(false); // and its children with it
        }
    }
    font = parent != nullptr && parent->font != nullptr ? parent->font : DialogFont();
    if (GdiObject* f = GdiFrom(font)) {
        host_->setFont(f->font);
    }
    int cx = std::max<int>(0, rect.right - rect.left);
    int cy = std::max<int>(0, rect.bottom - rect.top);
    if (behaviour_) {
        cy = behaviour_->WidgetHeight(*this, cy);
    }
    if (child) {
        host_->setGeometry(rect.left, rect.top, cx, cy);
        // A child without WS_VISIBLE stays hidden, also when its parent is shown later
        // (Qt would show every child that was never hidden explicitly).
        if (!(style & WS_VISIBLE)) {
            host_->hide();
        }
    } else {
        host_->resize(std::max(1, cx), std::max(1, cy));
    }
    host_->setEnabled((style & WS_DISABLED) == 0);
}

void Window::NotifyParent(HWND control, WORD code) {
    Window* w = From(control);
    if (w != nullptr && w->parent != nullptr) {
        w->parent->Send(WM_COMMAND, MAKEWPARAM(WORD(w->id), code),
                        reinterpret_cast<LPARAM>(control));
    }
}

LRESULT Window::Send(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (destroying_ && msg != WM_DESTROY && msg != WM_NCDESTROY) {
        return 0;
    }
    ++dispatchDepth;
    ++globalDepth;
    LRESULT r = object_ != nullptr ? object_->WindowProc(msg, wParam, lParam)
                                   : CallClass(msg, wParam, lParam);
    --dispatchDepth;
    --globalDepth;
    FlushDead();
    return r;
}

LRESULT Window::CallClass(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (behaviour_) {
        return behaviour_->Proc(*this, msg, wParam, lParam);
    }
    if (class_->proc != nullptr && class_->proc != &::DefWindowProc) {
        return class_->proc(handle(), msg, wParam, lParam);
    }
    return DefaultWindowProc(*this, msg, wParam, lParam);
}

void Window::Attach(CWnd* object, bool frameworkOwned) {
    if (object_ == object) {
        return;
    }
    Detach();
    object_ = object;
    objectOwned_ = frameworkOwned;
    if (object_ != nullptr) {
        object_->m_hWnd = handle();
    }
}

void Window::NotifySubclassed() {
    if (object_ != nullptr) {
        object_->PreSubclassWindow();
    }
}

void Window::Detach() {
    if (object_ == nullptr) {
        return;
    }
    CWnd* old = std::exchange(object_, nullptr);
    old->m_hWnd = nullptr;
    if (objectOwned_) {
        DeadObjects().emplace_back(old);
        objectOwned_ = false;
    }
}

void Window::Destroy() {
    if (destroying_) {
        return;
    }
    if (modalLoop != nullptr) {
        modalLoop->quit();
    }
    Send(WM_DESTROY, 0, 0);
    destroying_ = true;
    for (Window* c : std::vector<Window*>(children)) {
        c->Destroy();
    }
    KillWindowTimers(handle());
    if (captureWindow == this) {
        captureWindow = nullptr;
    }
    if (mainWindow == this) {
        mainWindow = nullptr;
    }
    Send(WM_NCDESTROY, 0, 0);
    CWnd* object = object_;
    bool owned = objectOwned_;
    Detach();
    if (object != nullptr && !owned) {
        object->PostNcDestroy();
    }
    if (parent != nullptr) {
        std::erase(parent->children, this);
    }
    if (host_ != nullptr) {
        HostWidget* host = std::exchange(host_, nullptr);
        host->ForgetWindow();
        if (globalDepth == 0) {
            delete host;
        } else {
            host->hide();
            host->deleteLater();
        }
    }
    auto it = Live().find(serial_);
    if (it != Live().end()) {
        DeadWindows().push_back(std::move(it->second));
        Live().erase(it);
    }
    FlushDead();
}

void Window::WidgetGone() {
    host_ = nullptr;
    Destroy();
}

void Window::ApplyStyle(DWORD oldStyle) {
    if (host_ == nullptr) {
        return;
    }
    if ((oldStyle ^ style) & WS_CHILD) {
        bool child = (style & WS_CHILD) != 0 && parent != nullptr && parent->host_ != nullptr;
        QRect g = host_->geometry();
        host_->setParent(child ? parent->host_ : nullptr, child ? Qt::Widget : Qt::Window);
        if (child) {
            host_->move(0, 0);
            host_->resize(g.size());
        }
    }
    if ((oldStyle ^ style) & WS_DISABLED) {
        host_->setEnabled((style & WS_DISABLED) == 0);
        Send(WM_ENABLE, (style & WS_DISABLED) == 0, 0);
    }
    if (((oldStyle ^ style) & WS_VISIBLE) || ((oldStyle ^ style) & WS_CHILD)) {
        host_->setVisible((style & WS_VISIBLE) != 0);
    }
    if (behaviour_) {
        behaviour_->StyleChanged(*this, oldStyle);
    }
    Update();
}

void Window::SetGeometry(int x, int y, int cx, int cy, bool move, bool size) {
    if (host_ == nullptr) {
        return;
    }
    QRect g = host_->geometry();
    if (host_->isWindow()) {
        if (size) {
            host_->resize(std::max(1, cx), std::max(1, cy));
        }
        if (move) {
            host_->move(x, y);
        }
    } else {
        if (move) {
            g.moveTo(x, y);
        }
        if (size) {
            int h = behaviour_ ? behaviour_->WidgetHeight(*this, cy) : cy;
            g.setSize(QSize(std::max(0, cx), std::max(0, h)));
        }
        host_->setGeometry(g);
    }
    ReportSizeIfChanged();
}

void Window::ReportSizeIfChanged() {
    if (host_ == nullptr) {
        return;
    }
    QSize s = host_->size();
    if (s == reportedSize_) {
        return;
    }
    reportedSize_ = s;
    if (mainWindow == this) {
        UpdateScreenFromMainWindow(s.width(), s.height());
    }
    if (behaviour_) {
        behaviour_->Resized(*this);
    }
    Send(WM_SIZE, 0, MAKELPARAM(WORD(s.width()), WORD(s.height())));
}

void Window::Invalidate(const RECT* rect, bool erase) {
    if (host_ == nullptr) {
        return;
    }
    // A paint without erase stays without erase only when no erase is pending already.
    if (erase) {
        eraseNext = true;
    } else if (!paintPending) {
        eraseNext = false;
    }
    paintPending = true;
    if (rect == nullptr) {
        overlay.reset();
    } else if (overlay) {
        QRect r(rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top);
        QPainter p(overlay.get());
        p.setCompositionMode(QPainter::CompositionMode_Clear);
        p.fillRect(r, Qt::transparent);
    }
    Update(rect);
}

void Window::Update(const RECT* area) {
    if (host_ == nullptr) {
        return;
    }
    ReportRepaint(handle(), area);
    if (area == nullptr) {
        host_->update();
    } else {
        host_->update(area->left, area->top, area->right - area->left, area->bottom - area->top);
    }
}

QSize Window::clientSize() const {
    return host_ != nullptr ? host_->size() : QSize();
}

Window* CreateWindowOfClass(const std::u16string& className, DWORD style, DWORD exStyle, int id,
                            const std::u16string& text, Window* parent, const RECT& rect,
                            CWnd* object) {
    FlushDead();
    const RegisteredClass* cls = FindClass(className);
    if (cls == nullptr) {
        std::fprintf(stderr, "window class \"%s\" is not registered; a plain window stands in\n",
                     QString::fromStdU16String(className).toUtf8().constData());
        cls = &UnknownClass();
    }
    auto owned =
        std::make_unique<Window>(cls, cls->builtin || cls->name.empty() ? className : cls->name,
                                 style & ~WS_VISIBLE, exStyle, id, text, parent, rect);
    Window* w = owned.get();
    Live()[reinterpret_cast<std::uintptr_t>(w->handle())] = std::move(owned);
    if (parent != nullptr) {
        parent->children.push_back(w);
    }
    if (object != nullptr) {
        w->Attach(object, false);
        w->NotifySubclassed();
    } else {
        // Every window has an object, so that FromHandle and GetDlgItem find it.
        w->Attach(cls->makeDefaultObject ? cls->makeDefaultObject() : new CWnd, true);
    }
    if (w->behaviour() != nullptr) {
        w->behaviour()->Created(*w);
    }
    if (Window::From(w->handle()) == nullptr) {
        return nullptr;
    }
    w->Send(WM_CREATE, 0, 0);
    w->ReportSizeIfChanged();
    if ((style & WS_VISIBLE) && Window::From(w->handle()) != nullptr) {
        DWORD old = w->style;
        w->style |= WS_VISIBLE;
        w->ApplyStyle(old);
    }
    return Window::From(w->handle());
}

} // namespace korvyn::platform
