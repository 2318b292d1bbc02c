#pragma once
// A coloured dialog that hosts the controls under test and logs the commands they send,
// a control's widget, and what a window shows, painted through its real paint path.
#include "controls/CColoredDlg.h"
#include "platform/ui/AfxWin.h"
#include "platform/ui/DialogBytes.h"
#include "platform/ui/detail/Window.h"

#include <QImage>
#include <QWidget>

#include <string>
#include <vector>

namespace korvyn::test {

class HostDialog : public CColoredDlg {
public:
    std::vector<std::string> log;

    // Without controls: the tests create theirs at pixel positions.
    bool Open() {
        std::vector<BYTE> bytes = DialogBytes(WS_POPUP, 160, 120, u"Host", {});
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
    return platform::Window::From(wnd.m_hWnd)->widget();
}

inline QImage Shot(const CWnd& wnd) {
    return WidgetOf(wnd)->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

inline COLORREF PixelAt(const QImage& image, int x, int y) {
    QRgb p = image.pixel(x, y);
    return RGB(qRed(p), qGreen(p), qBlue(p));
}

} // namespace korvyn::test
