#pragma once
// A top-level window for the slider and the tab strip under test. It writes down every
// scroll notification and tab strip notification it receives, so that tests compare
// the log with a table of what they expect.
#include "support/gui/HostDialog.h"

#include "controls/CCustomSlider.h"
#include "controls/CustomTabDefs.h"

#include <QApplication>
#include <QMouseEvent>

#include <string>
#include <vector>

namespace korvyn::test {

class NotificationHost : public CWnd {
public:
    std::vector<std::string> log;
    // The last tab strip record received.
    CTC_NMHDR last{};

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
    void OnHScroll(UINT code, UINT pos, CWnd* bar) override { Scroll("h", code, pos, bar); }
    void OnVScroll(UINT code, UINT pos, CWnd* bar) override { Scroll("v", code, pos, bar); }
    BOOL OnNotify(WPARAM, LPARAM lParam, LRESULT*) override {
        last = reinterpret_cast<const NMCTC*>(lParam)->item;
        log.push_back("tab " + std::to_string(last.code) + " " + std::to_string(last.nItem));
        return TRUE;
    }

private:
    void Scroll(const char* kind, UINT code, UINT pos, CWnd* bar) {
        bool slider = bar != nullptr && bar->IsKindOf(RUNTIME_CLASS(CCustomSlider));
        log.push_back(std::string(kind) + " " + std::to_string(code) + " " + std::to_string(pos) +
                      (slider ? "" : " (not a slider)"));
    }
};

} // namespace korvyn::test
