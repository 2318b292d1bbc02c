#include "app/ProgramRun.h"

#include "app/CMainDlg.h"
#include "app/ListPrinter.h"
#include "core/StationTable.h"
#include "platform/devices/ScanRecorder.h"
#include "platform/devices/WifiDriverFactory.h"
#include "platform/registry/Registry.h"
#include "platform/session/IdleTimer.h"
#include "platform/system/AtomicFile.h"
#include "platform/system/DocumentsFolder.h"
#include "platform/ui/AfxWin.h"
#include "platform/ui/PopupMenuHandler.h"
#include "platform/ui/PostTask.h"
#include "platform/ui/QtPlatforms.h"
#include "platform/ui/ScreenUpdates.h"
#include "platform/ui/WindowPicture.h"
#include "resource.h"
#include "settings/CLanguageTable.h"
#include "settings/CSettings.h"
#include "views/CChannelsDlg.h"
#include "views/CScannerDlg.h"

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>

namespace korvyn {
namespace {

ProgramRun* durationRun = nullptr; // the run a --duration timer ends

CListCtrl* ListOf(CMainDlg& dlg) {
    CScannerDlg* page = dlg.GetListPage();
    return page != nullptr ? dynamic_cast<CListCtrl*>(page->GetDlgItem(IDC_LIST)) : nullptr;
}

bool Set(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0';
}

} // namespace

ProgramRun::ProgramRun(const CommandLine& options, bool headless, const CLanguageTable& languages,
                       const StationTable& stations)
    : m_options(options), m_headless(headless), m_languages(languages), m_stations(stations) {}

ProgramRun::~ProgramRun() {
    if (durationRun == this) {
        durationRun = nullptr;
    }
    if (m_headless) {
        platform::SetIdleTimerReset({});
        platform::SetWindowsDrawn(true);
    }
}

void ProgramRun::SetInstanceOptions(platform::SingleInstance::Options options) {
    m_instanceOptions = std::make_unique<platform::SingleInstance::Options>(std::move(options));
}

bool ProgramRun::Starting() {
    if (!m_headless && platform::FellBackToHeadless()) {
        // The display was there by its variables but could not be opened.
        std::fprintf(stderr, "korvyn: the display could not be opened, running headless\n");
        platform::SetHeadless(true);
        platform::SetFullScreen(false);
        m_headless = true;
    }
    if (!m_headless) {
        m_instance = std::make_unique<platform::SingleInstance>(
            m_instanceOptions ? *m_instanceOptions : platform::SingleInstance::ForThisProgram());
        m_instance->SetActivationHandler([this] {
            if (m_dlg != nullptr) {
                m_dlg->ShowWindow(SW_SHOW);
                m_dlg->SetForegroundWindow();
            }
        });
        if (m_instance->TryClaim() == platform::SingleInstance::Claim::HandedOver) {
            // Whoever typed the command learns why no new window appears.
            std::fputs("Korvyn is already running; its window was brought to the front.\n", stderr);
            m_exitCode = 0;
            return false;
        }
    } else {
        // A batch job leaves the desktop's screen saver alone, and shows no window: its
        // windows are drawn only for a picture.
        platform::SetIdleTimerReset([] {});
        platform::SetWindowsDrawn(false);
    }
    if (m_options.fullScreen && !m_headless) {
        platform::ScreenSize display = platform::DisplaySize();
        platform::SetDeviceScreenSize(display.width, display.height);
    }
    if (m_options.ticks) {
        m_batch = std::make_unique<BatchTimers>();
    }
    return true;
}

void ProgramRun::Running(CMainDlg& dlg) {
    m_dlg = &dlg;
    if (m_options.ticks) {
        if (*m_options.ticks == 0) {
            dlg.Exit();
            return;
        }
        platform::PostTask([this, &dlg] { NextBatchTick(dlg); });
    } else if (m_options.duration) {
        const double ms = std::round(*m_options.duration * 1000.0);
        if (ms < 1) {
            dlg.Exit();
            return;
        }
        durationRun = this;
        dlg.SetTimer(kDurationTimer, static_cast<UINT>(ms),
                     [](HWND hWnd, UINT, UINT_PTR id, DWORD) {
                         ::KillTimer(hWnd, id);
                         if (durationRun != nullptr && durationRun->m_dlg != nullptr) {
                             durationRun->m_dlg->Exit();
                         }
                     });
    }
}

void ProgramRun::NextBatchTick(CMainDlg& dlg) {
    // While the window is on the screen, one tick per turn of the event loop, so that it
    // keeps painting. Otherwise the ticks follow each other for a slice of time before
    // the loop turns (for a termination signal and posted work).
    constexpr auto kSlice = std::chrono::milliseconds(20);
    const bool shown = platform::IsWindowOnScreen(dlg.m_hWnd);
    const auto sliceEnd = std::chrono::steady_clock::now() + kSlice;
    do {
        if (m_dlg != &dlg || !m_batch) {
            return; // the run has ended meanwhile
        }
        auto fired = m_batch->FireNext();
        if (m_dlg == nullptr) {
            return; // the tick ended the run
        }
        if (!fired) {
            dlg.Exit();
            return;
        }
        if (*fired == BatchTimers::TimerKey{dlg.m_hWnd, CMainDlg::kScanTimer} &&
            ++m_scanTicks >= *m_options.ticks) {
            dlg.Exit();
            return;
        }
    } while (!shown && std::chrono::steady_clock::now() < sliceEnd);
    platform::PostTask([this, &dlg] { NextBatchTick(dlg); });
}

void ProgramRun::Ending(CMainDlg& dlg) {
    m_dlg = nullptr;
    dlg.KillTimer(kDurationTimer);
    Show(dlg);
    if (m_options.print) {
        Print(dlg);
    }
    if (m_options.exportAs != ExportChoice::None) {
        Export(dlg);
    }
    if (!m_options.screenshot.empty()) {
        Picture(dlg);
    }
}

void ProgramRun::Show(CMainDlg& dlg) {
    switch (m_options.show) {
    case ShowChoice::List:
        break;
    case ShowChoice::Options:
        dlg.GetTabs().SetCurSel(1);
        dlg.GetTabs().ShowPages();
        break;
    case ShowChoice::Channels:
        dlg.GetChannelsPage()->SetBand(m_options.bandTenthsGhz == 50   ? korvyn::Band::Ghz5
                                       : m_options.bandTenthsGhz == 60 ? korvyn::Band::Ghz6
                                                                       : korvyn::Band::Ghz2_4);
        dlg.GetTabs().SetCurSel(2);
        dlg.GetTabs().ShowPages();
        break;
    case ShowChoice::Meter: {
        // A tap on the list's first row, then "ZOOM" from the menu it opens. The menu's
        // choice would arrive as a posted command; it is given at once instead, so that
        // the meter shows before the run ends.
        CListCtrl* list = ListOf(dlg);
        if (list == nullptr || list->GetItemCount() == 0) {
            std::fprintf(stderr, "korvyn: no station to show in the meter\n");
            break;
        }
        auto previous = platform::SetPopupMenuHandler(
            [](const platform::PopupMenuRequest&) -> UINT { return 0; });
        NMITEMACTIVATE tap{};
        tap.hdr.hwndFrom = list->m_hWnd;
        tap.hdr.idFrom = IDC_LIST;
        tap.hdr.code = NM_CLICK;
        tap.iItem = 0;
        CScannerDlg* page = dlg.GetListPage();
        page->SendMessage(WM_NOTIFY, IDC_LIST, reinterpret_cast<LPARAM>(&tap));
        platform::SetPopupMenuHandler(std::move(previous));
        page->SendMessage(WM_COMMAND, MAKEWPARAM(ID_ZOOM, 0), 0);
        break;
    }
    }
}

void ProgramRun::Print(CMainDlg& dlg) {
    CListCtrl* list = ListOf(dlg);
    const std::string text =
        ListAsText(m_languages, m_stations, list != nullptr ? list->GetItemCount() : 0);
    std::fwrite(text.data(), 1, text.size(), m_printOutput);
    std::fflush(m_printOutput);
}

void ProgramRun::Export(CMainDlg& dlg) {
    CScannerDlg* page = dlg.GetListPage();
    const int format = m_options.exportAs == ExportChoice::Csv ? 0 : 1;
    if (page == nullptr || !page->ExportStations(format)) {
        m_exitCode = 1;
    }
}

void ProgramRun::Picture(CMainDlg& dlg) {
    std::string error;
    if (!platform::SaveWindowPicture(dlg.m_hWnd, m_options.screenshot, error)) {
        std::fprintf(stderr, "korvyn: cannot write the picture %s: %s\n",
                     m_options.screenshot.string().c_str(), error.c_str());
        m_exitCode = 1;
    }
}

int RunProgram(const CommandLine& options, char* programName) {
    // The driver first: a bad choice or scan file ends the run before anything else.
    std::string error;
    std::shared_ptr<platform::WifiDriver> driver =
        platform::MakeWifiDriver(options.driver, options.record, error);
    if (!driver) {
        std::fprintf(stderr, "korvyn: %s\n", error.c_str());
        return 2;
    }
    if (options.driver == "auto" && driver->Name() != "nl80211") {
        std::fprintf(stderr,
                     "korvyn: no wireless interface found, scanning the simulated "
                     "adapter (%s)\n",
                     driver->Name().c_str());
    }
    // Headless: asked for, or nowhere to show a window. A platform chosen through
    // QT_QPA_PLATFORM (a framebuffer on a touch device) counts as a display when its plugin
    // is installed; one that is not would end the program inside Qt, so it counts as none.
    // A headless run on the offscreen platform (the tests', the benchmarks') needs no look
    // at the installed plugins, which costs start-up time.
    bool noPlatform = false;
    const char* named = std::getenv("QT_QPA_PLATFORM");
    if (Set("QT_QPA_PLATFORM") && !(options.headless && std::strcmp(named, "offscreen") == 0)) {
        const std::string loadable = platform::LoadableQtPlatforms(named);
        noPlatform = loadable.empty();
        if (noPlatform) {
            unsetenv("QT_QPA_PLATFORM");
        } else {
            setenv("QT_QPA_PLATFORM", loadable.c_str(), 1);
        }
    }
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    const bool offscreen = platform != nullptr && (std::strcmp(platform, "offscreen") == 0 ||
                                                   std::strcmp(platform, "minimal") == 0);
    const bool noDisplay =
        noPlatform || (!Set("QT_QPA_PLATFORM") && !Set("DISPLAY") && !Set("WAYLAND_DISPLAY"));
    const bool headless = options.headless || offscreen || noDisplay;
    if (headless) {
        if (!options.headless && noDisplay) {
            std::fprintf(stderr, "korvyn: no display found, running headless\n");
        }
        if (!offscreen) {
            setenv("QT_QPA_PLATFORM", "offscreen", 1);
        }
        platform::SetHeadless(true);
    } else {
        platform::AllowHeadlessFallback();
    }
    platform::SetDeviceZoom(options.zoom);
    platform::SetDeviceScreenSize(options.screenWidth, options.screenHeight);
    platform::SetFullScreen(options.fullScreen && !headless);
    if (!options.registry.empty()) {
        platform::SetRegistryFile(options.registry);
    }
    if (!options.documents.empty()) {
        platform::SetDocumentsFolderOverride(options.documents);
    }
    // Saves cut short by a crash leave temporary files; the settings folder is cleaned
    // when the settings are read.
    if (const auto documents = platform::DocumentsFolder(); !documents.empty()) {
        platform::RemoveStaleTemporaryFiles(documents);
    }

    platform::SetWifiDriver(driver);

    // The objects that live for the whole run, in this order.
    CSettings settings;
    CLanguageTable languages;
    StationTable stations(settings);
    CMainApp app(settings, languages, stations);
    ProgramRun run(options, headless, languages, stations);
    app.SetSession(&run);
    char* qtArgs[] = {programName, nullptr};
    int status = AfxWinMain(1, qtArgs);
    // A recording that stopped has said so; the run's status tells it too.
    if (const auto recorder = std::dynamic_pointer_cast<platform::ScanRecorder>(driver);
        status == 0 && recorder && recorder->Failed()) {
        status = 1;
    }
    return status;
}

} // namespace korvyn
