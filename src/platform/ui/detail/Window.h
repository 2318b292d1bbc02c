#pragma once
// Private: one window of the window layer. A Window is what an HWND points at; it owns
// the Qt widget that shows it and knows the C++ object (CWnd) attached to it. Qt events
// arrive at the widget, become messages and go to the object's WindowProc; whatever the
// object leaves to the default goes to the class behaviour (button, static, ...), the
// registered class procedure or DefWindowProc.
#include "platform/ui/WinUser.h"

#include <QImage>
#include <QPointer>
#include <QSize>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CWnd;
class QPainter;
class QWidget;
class QEventLoop;

namespace korvyn::platform {

class ClassBehaviour;
class HostWidget;
struct RegisteredClass;

class Window {
public:
    Window(const RegisteredClass* cls, std::u16string className, DWORD style, DWORD exStyle, int id,
           std::u16string text, Window* parent, const RECT& rect);
    ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    // Checked conversion: nullptr for handles that are not live windows.
    static Window* From(HWND hWnd);
    // Handles are serial numbers that are never reused, so a stale handle finds nothing.
    HWND handle() const { return reinterpret_cast<HWND>(serial_); }

    // Delivers a message to the attached object (or straight to the class when none).
    LRESULT Send(UINT msg, WPARAM wParam, LPARAM lParam);
    // A control's notification: WM_COMMAND with its identifier and code to its parent,
    // when the control (a stale handle finds none) and the parent still exist.
    static void NotifyParent(HWND control, WORD code);
    // The class's own handling: behaviour, registered procedure, else DefWindowProc.
    LRESULT CallClass(UINT msg, WPARAM wParam, LPARAM lParam);

    // Attaches a C++ object; a framework-made default object it replaces is deleted.
    void Attach(CWnd* object, bool frameworkOwned);
    void Detach();
    // Lets a newly attached object prepare its window (PreSubclassWindow).
    void NotifySubclassed();
    CWnd* object() const { return object_; }

    // Destroys the window and its children (deepest last), as DestroyWindow does.
    void Destroy();
    bool destroying() const { return destroying_; }
    // Called by the widget when Qt deletes it on its own.
    void WidgetGone();

    QWidget* widget() const;
    HostWidget* host() const { return host_; }
    ClassBehaviour* behaviour() const { return behaviour_.get(); }
    const std::u16string& className() const { return className_; }
    UINT classStyle() const;
    HBRUSH classBackground() const;

    DWORD style = 0;
    DWORD exStyle = 0;
    int id = 0;
    std::u16string text;
    HFONT font = nullptr;
    Window* parent = nullptr;
    std::vector<Window*> children; // creation order

    // Style changes that Qt must follow (visibility, enabling, child/top-level).
    void ApplyStyle(DWORD oldStyle);
    void SetGeometry(int x, int y, int cx, int cy, bool move, bool size);
    // Reports a size change when the client size differs from the last one reported.
    void ReportSizeIfChanged();
    void Invalidate(const RECT* rect, bool erase);
    // Asks Qt to repaint the area (nullptr: the whole window), telling the repaint
    // observer; every repaint request of the window layer goes through here.
    void Update(const RECT* area = nullptr);
    QSize clientSize() const;

    // Painting: the painter of the paint event in progress, the erase request and the
    // image that drawing outside a paint event goes to until the next invalidation.
    QPainter* painter = nullptr;
    bool eraseNext = true;
    bool paintPending = false;
    std::unique_ptr<QImage> overlay;

    // Dialog state.
    bool isDialog = false;
    bool isMainWindow = false;
    int dialogResult = 0;
    bool dialogEnded = false;
    QEventLoop* modalLoop = nullptr;
    int dispatchDepth = 0;

private:
    void CreateWidget(const RECT& rect);

    std::uintptr_t serial_ = 0;
    const RegisteredClass* class_ = nullptr;
    std::u16string className_;
    std::unique_ptr<ClassBehaviour> behaviour_;
    HostWidget* host_ = nullptr;
    CWnd* object_ = nullptr;
    bool objectOwned_ = false;
    bool destroying_ = false;
    QSize reportedSize_{-1, -1};
};

// Tells the repaint observer (ScreenUpdates.h) about a repaint request.
void ReportRepaint(HWND hWnd, const RECT* area);

// Number of messages being delivered right now, across all windows.
int GlobalDispatchDepth();

// The application's main window (its client area is the device screen), if any.
Window* MainWindow();
void SetMainWindow(Window* window);
// The main window's client size became the screen size.
void UpdateScreenFromMainWindow(int width, int height);
// The window holding the stylus capture, if any.
Window* CaptureWindow();
void SetCaptureWindow(Window* window);

// Creates a window of a registered or built-in class. For built-in classes a default
// object of the matching C++ class is attached (CButton for "Button", ...).
Window* CreateWindowOfClass(const std::u16string& className, DWORD style, DWORD exStyle, int id,
                            const std::u16string& text, Window* parent, const RECT& rect,
                            CWnd* object);

} // namespace korvyn::platform
