#pragma once
// SIGTERM, SIGINT and SIGHUP (the session ending, kill, Ctrl+C, a closed terminal) are
// turned into a call on the UI thread, so the program can end the way its own Exit
// does and save its settings. The signal handler only writes the signal number into a
// pipe; the event loop reads it and calls the handler. While the object lives the three
// signals are caught; destroying it restores what was there before.
#include <functional>
#include <memory>

namespace korvyn::platform {

class TerminationSignals {
public:
    explicit TerminationSignals(std::function<void(int signal)> handler);
    ~TerminationSignals();
    TerminationSignals(const TerminationSignals&) = delete;
    TerminationSignals& operator=(const TerminationSignals&) = delete;

    // False when the pipe or a handler could not be set up (the signals then keep their
    // default effect).
    bool Active() const;

    // The run is ending in order (its settings saved or about to be): from now on until
    // the process ends the three signals are ignored, also after this object is gone, so
    // that a second Ctrl+C or kill cannot cut the ending short or change its exit status.
    void IgnoreFromNowOn();

private:
    struct State;
    std::unique_ptr<State> state_;
};

} // namespace korvyn::platform
