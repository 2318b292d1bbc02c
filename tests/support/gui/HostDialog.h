#pragma once
// A coloured dialog that hosts the windows under test and logs the commands they send:
// empty (the tests create their controls at pixel positions) or made from a template.
#include "controls/CColoredDlg.h"
#include "platform/ui/AfxWin.h"
#include "platform/ui/DialogBytes.h"
#include "support/gui/WindowPixels.h"

#include <string>
#include <vector>

namespace korvyn::test {

class HostDialog : public CColoredDlg {
public:
    HostDialog() = default;
    explicit HostDialog(UINT templateId) : CColoredDlg(templateId), templateId_(templateId) {}

    std::vector<std::string> log;

    bool Open() {
        const std::vector<BYTE> empty = DialogBytes(WS_POPUP, 160, 120, u"Host", {});
        if (!(templateId_ ? Create(templateId_) : CreateIndirect(empty.data(), empty.size())))
            return false;
        ShowWindow(SW_SHOW);
        return true;
    }

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override {
        log.push_back("command " + std::to_string(LOWORD(wParam)) + " code " +
                      std::to_string(HIWORD(wParam)));
        return CColoredDlg::OnCommand(wParam, lParam);
    }

private:
    UINT templateId_ = 0;
};

} // namespace korvyn::test
