// The table of window classes: the predefined ones (with their built-in behaviour and
// default C++ object) and those the program registers by name.
#include "platform/ui/CButton.h"
#include "platform/ui/CComboBox.h"
#include "platform/ui/CListCtrl.h"
#include "platform/ui/CStatic.h"
#include "platform/ui/CommCtrl.h"
#include "platform/ui/detail/ClassBehaviour.h"

#include <QString>

#include <map>

namespace korvyn::platform {
namespace {

std::u16string Key(const std::u16string& name) {
    return QString::fromStdU16String(name).toLower().toStdU16String();
}

std::map<std::u16string, RegisteredClass>& Classes() {
    static auto* classes = [] {
        auto* c = new std::map<std::u16string, RegisteredClass>;
        auto add = [&](std::u16string name, UINT style, auto behaviour, auto object) {
            RegisteredClass cls;
            cls.name = name;
            cls.style = style;
            cls.proc = &::DefWindowProc;
            cls.builtin = true;
            cls.makeBehaviour = behaviour;
            cls.makeDefaultObject = object;
            (*c)[Key(name)] = std::move(cls);
        };
        add(u"Button", CS_HREDRAW | CS_VREDRAW, &MakeButtonBehaviour,
            [] { return (CWnd*)new CButton; });
        add(u"Static", 0, &MakeStaticBehaviour, [] { return (CWnd*)new CStatic; });
        add(u"ComboBox", CS_HREDRAW | CS_VREDRAW, &MakeComboBoxBehaviour,
            [] { return (CWnd*)new CComboBox; });
        add(u"Edit", CS_DBLCLKS, &MakeEditBehaviour, [] { return new CWnd; });
        add(WC_LISTVIEW, CS_DBLCLKS, &MakeListViewBehaviour, [] { return (CWnd*)new CListCtrl; });
        add(u"#32770", 0, &MakeDialogBehaviour, nullptr);
        return c;
    }();
    return *classes;
}

} // namespace

const RegisteredClass* FindClass(const std::u16string& name) {
    auto it = Classes().find(Key(name));
    return it == Classes().end() ? nullptr : &it->second;
}

} // namespace korvyn::platform

WORD RegisterClass(const WNDCLASS* wc) {
    using namespace korvyn::platform;
    if (wc == nullptr || wc->lpszClassName == nullptr || wc->lpszClassName[0] == 0) {
        return 0;
    }
    std::u16string name(wc->lpszClassName);
    if (FindClass(name) != nullptr) {
        return 0;
    }
    RegisteredClass cls;
    cls.name = name;
    cls.style = wc->style;
    cls.proc = wc->lpfnWndProc != nullptr ? wc->lpfnWndProc : &::DefWindowProc;
    cls.background = wc->hbrBackground;
    Classes()[Key(name)] = std::move(cls);
    return static_cast<WORD>(0xC000 + Classes().size());
}

BOOL GetClassInfo(HINSTANCE /*instance*/, LPCWSTR className, WNDCLASS* out) {
    using namespace korvyn::platform;
    if (className == nullptr) {
        return FALSE;
    }
    const RegisteredClass* cls = FindClass(className);
    if (cls == nullptr) {
        return FALSE;
    }
    if (out != nullptr) {
        *out = WNDCLASS{cls->style, cls->proc,       0,       0,        nullptr, nullptr,
                        nullptr,    cls->background, nullptr, className};
    }
    return TRUE;
}

HCURSOR LoadCursor(HINSTANCE /*instance*/, LPCWSTR name) {
    return name == IDC_ARROW ? reinterpret_cast<HCURSOR>(static_cast<std::uintptr_t>(32512))
                             : nullptr;
}
