#pragma once
// A top-level window for the tab strip under test: it writes down every tab strip
// notification it receives.
#include "support/gui/HostDialog.h"

#include "controls/CustomTabDefs.h"

#include <QApplication>
#include <QMouseEvent>

#include <string>
#include <vector>

namespace korvyn::test {

class NotificationHost : public CWnd {
public:
    std::vector<std::string> log;
    CTC_NMHDR last{}; // the last tab strip record

    BOOL Make(int width, int height) {
        WNDCLASS wc{};
        if (!GetClassInfo(nullptr, u"NotificationHost", &wc)) {
            wc.lpfnWndProc = ::DefWindowProc;
            wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
            wc.lpszClassName = u"NotificationHost";
            RegisterClass(&wc);
        }
        return CreateEx(0, u"NotificationHost", u"", WS_POPUP | WS_VISIBLE,
                        CRect(0, 0, width, height), nullptr, 0);
    }

protected:
    BOOL OnNotify(WPARAM, LPARAM lParam, LRESULT*) override {
        last = reinterpret_cast<const NMCTC*>(lParam)->item;
        log.push_back("tab " + std::to_string(last.code) + " " + std::to_string(last.nItem));
        return TRUE;
    }
};

} // namespace korvyn::test
