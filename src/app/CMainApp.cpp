#include "app/CMainApp.h"

#include "app/CMainDlg.h"
#include "platform/registry/Registry.h"
#include "platform/session/TerminationSignals.h"
#include "platform/ui/ApplicationIcon.h"
#include "platform/ui/DeviceScreen.h"
#include "resource.h"
#include "settings/CLanguageTable.h"
#include "settings/CSettings.h"
#include "settings/Languages.h"

#include <cstdio>

IMPLEMENT_DYNAMIC(CMainApp, CWinApp)

CMainApp::CMainApp(CSettings& settings, CLanguageTable& languages, StationTable& stations)
    : CWinApp(korvyn::kProfileProgram), m_settings(settings), m_languages(languages),
      m_stations(stations) {}

int CMainApp::LanguageToLoad(DWORD stored) {
    return korvyn::LanguageByNumber(static_cast<int>(stored)).number;
}

BOOL CMainApp::InitInstance() {
    if (m_session != nullptr && !m_session->Starting()) {
        return FALSE;
    }
    // A headless run has no window to show the icon on; decoding its sizes would only
    // cost start-up time and memory.
    if (!korvyn::platform::IsHeadless()) {
        korvyn::platform::SetApplicationIcon(AfxGetResourceHandle(),
                                             MAKEINTRESOURCE(IDR_MAINFRAME));
    }
    SetRegistryKey(korvyn::kProfileMaker);
    m_settings.Load();
    DWORD language = 0;
    m_settings.GetValue(CSettings::kLanguage, language);
    m_languages.Load(LanguageToLoad(language));

    {
        CMainDlg dlg(m_settings, m_languages, m_stations);
        m_pMainWnd = &dlg;
        if (m_session != nullptr) {
            dlg.SetRunningHandler([this, &dlg] { m_session->Running(dlg); });
            dlg.SetEndingHandler([this, &dlg] { m_session->Ending(dlg); });
        }
        // Ended by the system (logout, kill, Ctrl+C): end as Exit does, so that the
        // settings below are saved all the same.
        korvyn::platform::TerminationSignals endOnSignal([&dlg](int) {
            if (dlg.m_hWnd != nullptr) {
                dlg.Exit();
            }
        });
        dlg.DoModal();
        m_pMainWnd = nullptr;
        // The run ends in order from here: a further signal changes nothing.
        endOnSignal.IgnoreFromNowOn();

        if (!m_settings.Save() || !korvyn::platform::RegistryFileInSync()) {
            std::fprintf(stderr, "korvyn: the settings could not be saved to %s\n",
                         korvyn::platform::RegistryFilePath().string().c_str());
        }
    }
    return FALSE;
}

int CMainApp::ExitInstance() {
    return m_session != nullptr ? m_session->ExitCode() : 0;
}
