#pragma once
// A coloured dialog that hosts the controls under test and logs the commands they send,
// with the pixel helpers of WindowPixels.h.
#include "controls/CColoredDlg.h"
#include "platform/ui/AfxWin.h"
#include "platform/ui/DialogBytes.h"
#include "support/gui/WindowPixels.h"

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

} // namespace korvyn::test
