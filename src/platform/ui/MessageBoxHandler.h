#pragma once
// Where message boxes go. Tests install a handler that answers by script and sees each
// box's text; without one, headless runs print the text on standard error and answer
// with the default button, and desktop runs show a real dialog.
#include "platform/ui/WinUser.h"

#include <functional>
#include <string>

namespace korvyn::platform {

struct MessageBoxRequest {
    HWND owner;
    std::u16string text;
    std::u16string caption;
    UINT type; // MB_ buttons, icon and default button
};
using MessageBoxHandler = std::function<int(const MessageBoxRequest&)>;

// Installs a handler (an empty one restores the default) and returns the previous one.
MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler);

// The answer of the box's default button: IDOK, IDYES / IDNO, IDCANCEL.
int DefaultMessageBoxAnswer(UINT type);

} // namespace korvyn::platform
