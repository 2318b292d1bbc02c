#include "support/gui/ScriptedMessageBoxes.h"

namespace korvyn::test {

ScriptedMessageBoxes::ScriptedMessageBoxes(std::deque<int> answers) : answers_(std::move(answers)) {
    previous_ = platform::SetMessageBoxHandler([this](const platform::MessageBoxRequest& r) {
        shown_.push_back(r);
        if (answers_.empty()) {
            return platform::DefaultMessageBoxAnswer(r.type);
        }
        int answer = answers_.front();
        answers_.pop_front();
        return answer;
    });
}

ScriptedMessageBoxes::~ScriptedMessageBoxes() {
    platform::SetMessageBoxHandler(previous_);
}

} // namespace korvyn::test
