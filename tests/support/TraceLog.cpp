#include "TraceLog.h"

#include "platform/system/DocumentsFolder.h"

#include <fstream>

namespace korvyn::test {

TraceLog::TraceLog() {
    platform::SetDocumentsFolderOverride(dir_.path());
}

TraceLog::~TraceLog() {
    platform::SetDocumentsFolderOverride({});
}

std::vector<std::string> TraceLog::Messages() const {
    std::vector<std::string> messages;
    std::ifstream in(dir_ / "dizov.txt");
    std::string line;
    while (std::getline(in, line)) {
        // Every message begins with the operation's name, after the time stamp.
        const auto start = line.find("DAvirIzev::");
        messages.push_back(start == std::string::npos ? line : line.substr(start));
    }
    return messages;
}

} // namespace korvyn::test
