#pragma once
// A coloured dialog to host the controls under test, pixel reads of what a window
// shows, and a log of the messages a dialog receives from its controls.
#include "controls/CColoredDlg.h"
#include "platform/ui/AfxWin.h"
#include "platform/ui/detail/Window.h"
#include "support/ResBuilder.h"

#include <QImage>
#include <QWidget>

#include <string>
#include <vector>

namespace korvyn::test {

// A template with no controls: the tests create their controls at pixel positions.
inline std::vector<BYTE> EmptyDialogBytes() {
    std::vector<BYTE> out;
    PutDword(out, WS_POPUP);
    PutDword(out, 0);
    PutWord(out, 0); // no items
    for (WORD v : {0, 0, 160, 120}) {
        PutWord(out, v);
    }
    PutWord(out, 0); // no menu
    PutWord(out, 0); // standard class
    PutText(out, u"Host");
    return out;
}

// Writes down the commands its controls send.
class HostDialog : public CColoredDlg {
public:
    std::vector<std::string> log;

    bool Open() {
        std::vector<BYTE> bytes = EmptyDialogBytes();
        if (!CreateIndirect(bytes.data(), bytes.size())) {
            return false;
        }
        ShowWindow(SW_SHOW);
        return true;
    }

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override {
        log.push_back("command " + std::to_string(LOWORD(wParam)) + " code " +
                      std::to_string(HIWORD(wParam)));
        return CColoredDlg::OnCommand(wParam, lParam);
    }
};

inline QWidget* WidgetOf(const CWnd& wnd) {
    platform::Window* w = platform::Window::From(wnd.m_hWnd);
    return w != nullptr ? w->widget() : nullptr;
}

// What the window shows now, painted through its real paint path.
inline QImage Shot(const CWnd& wnd) {
    return WidgetOf(wnd)->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

inline COLORREF PixelAt(const QImage& image, int x, int y) {
    QRgb p = image.pixel(x, y);
    return RGB(qRed(p), qGreen(p), qBlue(p));
}

} // namespace korvyn::test
