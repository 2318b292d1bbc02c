#pragma once
// Private: the built-in behaviour of a predefined window class (button, static, combo
// box, list view, dialog) and the table of registered classes.
#include "platform/ui/WinUser.h"

#include <QSize>

#include <functional>
#include <memory>
#include <string>

class CWnd;
class QWheelEvent;

namespace korvyn::platform {

class Window;

class ClassBehaviour {
public:
    virtual ~ClassBehaviour() = default;
    // The class procedure; anything it leaves goes to DefaultWindowProc.
    virtual LRESULT Proc(Window& w, UINT msg, WPARAM wParam, LPARAM lParam) = 0;
    // Called once the widget exists.
    virtual void Created(Window&) {}
    virtual void Resized(Window&) {}
    virtual void FontChanged(Window&) {}
    virtual void StyleChanged(Window&, DWORD /*oldStyle*/) {}
    // Qt draws the widget itself (no paint messages).
    virtual bool PaintsNatively() const { return false; }
    // The widget's real height for a requested window height (the combo box keeps the
    // height of its selection field and remembers the rest as its drop-down list).
    virtual int WidgetHeight(Window&, int requested) { return requested; }
    virtual void Wheel(Window&, QWheelEvent*) {}
};

struct RegisteredClass {
    std::u16string name;
    UINT style = 0;
    WNDPROC proc = nullptr;
    HBRUSH background = nullptr;
    bool builtin = false;
    std::function<std::unique_ptr<ClassBehaviour>()> makeBehaviour;
    std::function<CWnd*()> makeDefaultObject;
};

// Case-insensitive lookup of a class by name; nullptr when unknown.
const RegisteredClass* FindClass(const std::u16string& name);

// The handling every window gets when nothing else handles a message.
LRESULT DefaultWindowProc(Window& w, UINT msg, WPARAM wParam, LPARAM lParam);

// Factories of the built-in behaviours.
std::unique_ptr<ClassBehaviour> MakeButtonBehaviour();
std::unique_ptr<ClassBehaviour> MakeStaticBehaviour();
std::unique_ptr<ClassBehaviour> MakeComboBoxBehaviour();
std::unique_ptr<ClassBehaviour> MakeEditBehaviour();
std::unique_ptr<ClassBehaviour> MakeListViewBehaviour();
std::unique_ptr<ClassBehaviour> MakeDialogBehaviour();

} // namespace korvyn::platform
