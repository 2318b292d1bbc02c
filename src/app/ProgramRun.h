#pragma once
// One run of the program as the command line asks for it: the one-instance check of a
// windowed run, headless batch work (a number of ticks back to back, or a time), and
// what happens just before the end: the list printed, saved or pictured.
#include "app/BatchTimers.h"
#include "app/CMainApp.h"
#include "app/CommandLine.h"
#include "platform/session/SingleInstance.h"

#include <cstdio>
#include <memory>

namespace korvyn {

class ProgramRun : public AppSession {
public:
    // headless: the run shows no window; it then neither takes nor honours the lock of
    // the one running instance.
    ProgramRun(const CommandLine& options, bool headless, const CLanguageTable& languages,
               const StationTable& stations);
    ~ProgramRun() override;

    // Replaces the one-instance check's options (tests use their own folder and wait).
    void SetInstanceOptions(platform::SingleInstance::Options options);
    // Where --print goes (standard output unless set).
    void SetPrintOutput(std::FILE* out) { m_printOutput = out; }

    bool Starting() override;
    void Running(CMainDlg& dlg) override;
    void Ending(CMainDlg& dlg) override;
    int ExitCode() const override { return m_exitCode; }

    // The timer that ends a --duration run.
    static constexpr UINT_PTR kDurationTimer = 0x4B52;

private:
    void NextBatchTick(CMainDlg& dlg);
    void Show(CMainDlg& dlg);
    void Print(CMainDlg& dlg);
    void Export(CMainDlg& dlg);
    void Picture(CMainDlg& dlg);

    CommandLine m_options;
    bool m_headless;
    const CLanguageTable& m_languages;
    const StationTable& m_stations;
    std::FILE* m_printOutput = stdout;
    std::unique_ptr<platform::SingleInstance::Options> m_instanceOptions;
    std::unique_ptr<platform::SingleInstance> m_instance;
    std::unique_ptr<BatchTimers> m_batch;
    CMainDlg* m_dlg = nullptr;
    unsigned m_scanTicks = 0;
    int m_exitCode = 0;
};

// The whole program for a parsed command line (neither --help nor --version): chooses
// the platform, the driver and the files, then runs. Returns the exit status.
int RunProgram(const CommandLine& options, char* programName);

} // namespace korvyn
