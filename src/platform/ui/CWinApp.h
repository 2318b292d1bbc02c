#pragma once
// CWinApp: the application object. The program derives its own, constructs exactly one
// and hands control to AfxWinMain, which creates the Qt application, runs InitInstance
// (a dialog program runs its main window there as a modal dialog) and ExitInstance.
#include "platform/ui/CWnd.h"

#include <string>

class CWinApp : public CObject {
    DECLARE_DYNAMIC(CWinApp)
public:
    explicit CWinApp(LPCWSTR appName = u"Korvyn");
    ~CWinApp() override;
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    // Returning FALSE ends the program after ExitInstance (what a dialog program does).
    virtual BOOL InitInstance();
    virtual int ExitInstance();
    // Runs the event loop until the last window closes.
    virtual int Run();

    // The main window: a modal dialog run by InitInstance, whose client area is the
    // device screen.
    CWnd* m_pMainWnd = nullptr;
    LPCWSTR m_pszAppName;
    LPCWSTR m_pszRegistryKey = nullptr;

    // Profile values live under Software\<key>\<application name> of the current user.
    void SetRegistryKey(LPCWSTR companyName);
    UINT GetProfileInt(LPCWSTR section, LPCWSTR entry, int defaultValue);
    BOOL WriteProfileInt(LPCWSTR section, LPCWSTR entry, int value);

private:
    std::u16string m_appName;
    std::u16string m_registryKey;
};

CWinApp* AfxGetApp();
LPCWSTR AfxGetAppName();
// A message box owned by the main window, with the program's name as caption.
int AfxMessageBox(LPCWSTR text, UINT type = MB_OK, UINT helpId = 0);
// The module dialogs, menus and bitmaps are loaded from: the program's own unless set
// (tests set a module built from their own resource bytes).
HINSTANCE AfxGetResourceHandle();
void AfxSetResourceHandle(HINSTANCE module);
// Creates the Qt application when there is none, then InitInstance, Run, ExitInstance.
int AfxWinMain(int argc, char** argv);
