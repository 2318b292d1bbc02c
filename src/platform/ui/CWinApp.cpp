#include "platform/ui/CWinApp.h"

#include "platform/registry/Registry.h"

#include <QApplication>

#include <memory>

IMPLEMENT_DYNAMIC(CWinApp, CObject)

namespace {
CWinApp* theApp = nullptr;
HINSTANCE resourceModule = nullptr;
} // namespace

HINSTANCE AfxGetResourceHandle() {
    return resourceModule != nullptr ? resourceModule : GetModuleHandle(nullptr);
}

void AfxSetResourceHandle(HINSTANCE module) {
    resourceModule = module;
}

CWinApp::CWinApp(LPCWSTR appName) : m_appName(appName != nullptr ? appName : u"Korvyn") {
    m_pszAppName = m_appName.c_str();
    theApp = this;
}

CWinApp::~CWinApp() {
    if (theApp == this) {
        theApp = nullptr;
    }
}

BOOL CWinApp::InitInstance() {
    return TRUE;
}

int CWinApp::ExitInstance() {
    return 0;
}

int CWinApp::Run() {
    return QApplication::exec();
}

void CWinApp::SetRegistryKey(LPCWSTR companyName) {
    m_registryKey = companyName != nullptr ? companyName : u"";
    m_pszRegistryKey = m_registryKey.c_str();
    korvyn::platform::SetProfileKey(m_registryKey, m_appName);
}

UINT CWinApp::GetProfileInt(LPCWSTR section, LPCWSTR entry, int defaultValue) {
    return static_cast<UINT>(korvyn::platform::GetProfileInt(section, entry, defaultValue));
}

BOOL CWinApp::WriteProfileInt(LPCWSTR section, LPCWSTR entry, int value) {
    return korvyn::platform::WriteProfileInt(section, entry, value) ? TRUE : FALSE;
}

CWinApp* AfxGetApp() {
    return theApp;
}

LPCWSTR AfxGetAppName() {
    return theApp != nullptr ? theApp->m_pszAppName : u"Korvyn";
}

int AfxMessageBox(LPCWSTR text, UINT type, UINT /*helpId*/) {
    HWND owner =
        theApp != nullptr && theApp->m_pMainWnd != nullptr ? theApp->m_pMainWnd->m_hWnd : nullptr;
    return ::MessageBox(owner, text, AfxGetAppName(), type);
}

int AfxWinMain(int argc, char** argv) {
    static int args = argc;
    std::unique_ptr<QApplication> app;
    if (QApplication::instance() == nullptr) {
        app = std::make_unique<QApplication>(args, argv);
    }
    CWinApp* winApp = AfxGetApp();
    if (winApp == nullptr) {
        return 1;
    }
    int result = 0;
    if (winApp->InitInstance()) {
        result = winApp->Run();
    }
    int exitCode = winApp->ExitInstance();
    return result != 0 ? result : exitCode;
}
