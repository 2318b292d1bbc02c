#pragma once
// The whole program in-process around a test, with a fake adapter, its own registry and
// Documents folder, timers fired by hand and scripted message boxes. The test's script runs
// inside the main window's modal loop; the program then ends as Exit does (unless the script
// ended it) and saves its settings.
#include "app/CMainApp.h"
#include "app/CMainDlg.h"
#include "core/StationTable.h"
#include "platform/devices/Ndis.h"
#include "platform/registry/Registry.h"
#include "platform/session/IdleTimer.h"
#include "platform/system/DocumentsFolder.h"
#include "platform/ui/AfxWin.h"
#include "resource.h"
#include "settings/CLanguageTable.h"
#include "settings/CSettings.h"
#include "support/FakeWifiDriver.h"
#include "support/TempDir.h"
#include "support/gui/ManualTimers.h"
#include "support/gui/ScriptedMessageBoxes.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace korvyn::test {

// Calls the script when the main window runs; counts how often the window ended.
class ScriptSession : public AppSession {
public:
    std::function<void(CMainDlg&)> script;
    bool exitAfterScript = true;
    int endings = 0;

    void Running(CMainDlg& dlg) override {
        if (script) {
            script(dlg);
        }
        if (exitAfterScript && dlg.m_hWnd != nullptr) {
            dlg.Exit();
        }
    }
    void Ending(CMainDlg&) override { ++endings; }
};

class AppTest : public ::testing::Test {
protected:
    TempDir dir;
    std::shared_ptr<FakeWifiDriver> driver = std::make_shared<FakeWifiDriver>();
    ManualTimers timers;
    ScriptedMessageBoxes boxes;
    int idleResets = 0;
    int registryWrites = 0;

    void SetUp() override {
        platform::SetRegistryFile(dir / "registry.reg");
        platform::SetRegistrySaveHook([this](platform::RegistrySaveStep step) {
            registryWrites += step == platform::RegistrySaveStep::Write;
            return true;
        });
        platform::SetDocumentsFolderOverride(dir / "Documents");
        platform::SetIdleTimerReset([this] { ++idleResets; });
        platform::SetDeviceScreenSize(240, 320);
        driver->adapters = {{u"wlan0", NdisPhysicalMediumWirelessLan}};
        platform::SetWifiDriver(driver);
    }

    void TearDown() override {
        platform::SetWifiDriver(nullptr);
        platform::SetIdleTimerReset({});
        platform::SetRegistrySaveHook({});
        platform::SetRegistryFile({});
        platform::SetDocumentsFolderOverride({});
        platform::SetDeviceScreenSize(240, 320);
    }

    void Run(AppSession& run) {
        CMainApp app(settings, languages, stations);
        app.SetSession(&run);
        EXPECT_FALSE(app.InitInstance());
        exitCode = app.ExitInstance();
    }
    void Run(std::function<void(CMainDlg&)> script) {
        session.script = std::move(script);
        Run(session);
    }

    // Settings as the next start would read them.
    static CSettings Reloaded() {
        CSettings fresh;
        fresh.Load();
        return fresh;
    }
    static DWORD Stored(int index) {
        DWORD value = 0xDEAD;
        Reloaded().GetValue(index, value);
        return value;
    }
    static std::u16string Adapter(const CSettings& from = Reloaded()) {
        std::u16string name;
        from.GetText(CSettings::kAdapter, name);
        return name;
    }

    CSettings settings;
    CLanguageTable languages;
    StationTable stations{settings};
    ScriptSession session;
    int exitCode = -1;
};

// A list of stations as the adapter hands it out: names n0, n1, ... with MACs 02:..:i.
inline std::string Networks(int count, LONG rssi = -60, ULONG privacy = 0) {
    std::vector<std::string> entries;
    for (int i = 0; i < count; ++i) {
        std::string name = "n" + std::to_string(i);
        entries.push_back(EntryBytes()
                              .Mac({0x02, 0, 0, 0, 0, static_cast<BYTE>(i)})
                              .Ssid(static_cast<ULONG>(name.size()), name)
                              .Rssi(static_cast<DWORD>(rssi))
                              .Privacy(privacy)
                              .Bytes());
    }
    return ListBytes(static_cast<ULONG>(count), entries);
}

inline bool Inside(const CRect& inner, const CRect& outer) {
    CRect both;
    return both.IntersectRect(inner, outer) && both == inner;
}

// A tap on a control, as the stylus gives it: down and up at its middle.
inline void Tap(CWnd& control) {
    CRect r;
    control.GetClientRect(&r);
    LPARAM at = MAKELPARAM(r.Width() / 2, r.Height() / 2);
    control.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, at);
    control.SendMessage(WM_LBUTTONUP, 0, at);
}

} // namespace korvyn::test
