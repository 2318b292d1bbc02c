#pragma once
// Collects the adapter trace of a diagnostic build (KORVYN_TRACE) from a fresh documents
// folder. In the normal build nothing is written and Messages() stays empty.
#include "support/TempDir.h"

#include <string>
#include <vector>

namespace korvyn::test {

class TraceLog {
public:
    TraceLog();
    ~TraceLog();
    TraceLog(const TraceLog&) = delete;
    TraceLog& operator=(const TraceLog&) = delete;

    // The messages written so far, without their time stamps.
    std::vector<std::string> Messages() const;

    static constexpr bool kEnabled =
#if defined(KORVYN_TRACE) && KORVYN_TRACE
        true;
#else
        false;
#endif

private:
    TempDir dir_;
};

} // namespace korvyn::test
