#pragma once
// CMainApp: start-up and the end of the program. It sets the profile key, loads the
// settings and the texts of the chosen language, runs the main window as a modal dialog
// and saves the settings once when that ends, whichever way it ends: Exit, the title
// bar's done button, or a termination signal (SIGTERM, SIGINT, SIGHUP), which ends the
// dialog as Exit does. A save that fails is reported on standard error.
#include "platform/ui/CWinApp.h"

class CLanguageTable;
class CMainDlg;
class CSettings;
class StationTable;

namespace korvyn {

// What a run adds around the main window (the command line's batch work, the one-instance
// check); tests script the main window through it.
class AppSession {
public:
    virtual ~AppSession() = default;
    // Before start-up; false ends the program at once.
    virtual bool Starting() { return true; }
    // The main window is built and its modal loop runs.
    virtual void Running(CMainDlg&) {}
    // The main window is about to end; its pages still show what they showed.
    virtual void Ending(CMainDlg&) {}
    // After the settings are saved: the program's exit status.
    virtual int ExitCode() const { return 0; }
};

} // namespace korvyn

class CMainApp : public CWinApp {
    DECLARE_DYNAMIC(CMainApp)
public:
    CMainApp(CSettings& settings, CLanguageTable& languages, StationTable& stations);

    void SetSession(korvyn::AppSession* session) { m_session = session; }

    // Runs the whole program and returns FALSE (a dialog program has no loop of its own).
    BOOL InitInstance() override;
    int ExitInstance() override;

    // The language table loads "Language" when it is 0 to 12, else English (0); the
    // setting itself keeps its value.
    static int LanguageToLoad(DWORD stored);

private:
    CSettings& m_settings;
    CLanguageTable& m_languages;
    StationTable& m_stations;
    korvyn::AppSession* m_session = nullptr;
};
