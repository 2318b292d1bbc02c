#include "platform/ui/DeviceScreen.h"
#include "platform/ui/MessageBoxHandler.h"
#include "platform/ui/detail/Window.h"

#include <QMessageBox>
#include <QPushButton>

#include <cstdio>

namespace korvyn::platform {
namespace {

MessageBoxHandler& Handler() {
    static auto* handler = new MessageBoxHandler;
    return *handler;
}

int AskWithDialog(const MessageBoxRequest& r) {
    Window* owner = Window::From(r.owner);
    QMessageBox box(owner != nullptr ? owner->widget() : nullptr);
    box.setWindowTitle(QString::fromStdU16String(r.caption));
    box.setText(QString::fromStdU16String(r.text));
    switch (r.type & MB_ICONMASK) {
    case MB_ICONQUESTION:
        box.setIcon(QMessageBox::Question);
        break;
    case MB_ICONINFORMATION:
        box.setIcon(QMessageBox::Information);
        break;
    case MB_ICONWARNING:
        box.setIcon(QMessageBox::Warning);
        break;
    case MB_ICONERROR:
        box.setIcon(QMessageBox::Critical);
        break;
    default:
        break;
    }
    struct Choice {
        QMessageBox::StandardButton button;
        int answer;
    };
    std::vector<Choice> choices;
    switch (r.type & MB_TYPEMASK) {
    case MB_OKCANCEL:
        choices = {{QMessageBox::Ok, IDOK}, {QMessageBox::Cancel, IDCANCEL}};
        break;
    case MB_YESNO:
        choices = {{QMessageBox::Yes, IDYES}, {QMessageBox::No, IDNO}};
        break;
    case MB_YESNOCANCEL:
        choices = {
            {QMessageBox::Yes, IDYES}, {QMessageBox::No, IDNO}, {QMessageBox::Cancel, IDCANCEL}};
        break;
    default:
        choices = {{QMessageBox::Ok, IDOK}};
        break;
    }
    for (const Choice& c : choices) {
        box.addButton(c.button);
    }
    std::size_t def =
        ((r.type & MB_DEFMASK) >> 8) < choices.size() ? (r.type & MB_DEFMASK) >> 8 : 0;
    box.setDefaultButton(choices[def].button);
    box.exec();
    QAbstractButton* clicked = box.clickedButton();
    for (const Choice& c : choices) {
        if (clicked == box.button(c.button)) {
            return c.answer;
        }
    }
    return choices.size() > 1 ? IDCANCEL : IDOK;
}

} // namespace

MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler) {
    return std::exchange(Handler(), std::move(handler));
}

int DefaultMessageBoxAnswer(UINT type) {
    unsigned def = (type & MB_DEFMASK) >> 8;
    switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL:
        return def == 1 ? IDCANCEL : IDOK;
    case MB_YESNO:
        return def == 1 ? IDNO : IDYES;
    case MB_YESNOCANCEL:
        return def == 1 ? IDNO : def == 2 ? IDCANCEL : IDYES;
    default:
        return IDOK;
    }
}

} // namespace korvyn::platform

int MessageBox(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type) {
    using namespace korvyn::platform;
    MessageBoxRequest request{owner, text ? std::u16string(text) : std::u16string(),
                              caption ? std::u16string(caption) : std::u16string(u"Error"), type};
    if (Handler()) {
        return Handler()(request);
    }
    if (IsHeadless()) {
        std::fprintf(stderr, "%s: %s\n",
                     QString::fromStdU16String(request.caption).toLocal8Bit().constData(),
                     QString::fromStdU16String(request.text).toLocal8Bit().constData());
        return DefaultMessageBoxAnswer(type);
    }
    return AskWithDialog(request);
}
