#pragma once
// Test double for message boxes: answers them in order from a script (the default
// button's answer once the script runs out) and keeps every box it was shown.
#include "platform/ui/MessageBoxHandler.h"

#include <deque>
#include <utility>
#include <vector>

namespace korvyn::test {

class ScriptedMessageBoxes {
public:
    explicit ScriptedMessageBoxes(std::deque<int> answers = {}) : answers_(std::move(answers)) {
        previous_ = platform::SetMessageBoxHandler([this](const platform::MessageBoxRequest& r) {
            shown_.push_back(r);
            if (answers_.empty())
                return platform::DefaultMessageBoxAnswer(r.type);
            const int answer = answers_.front();
            answers_.pop_front();
            return answer;
        });
    }
    ~ScriptedMessageBoxes() { platform::SetMessageBoxHandler(previous_); }
    ScriptedMessageBoxes(const ScriptedMessageBoxes&) = delete;
    ScriptedMessageBoxes& operator=(const ScriptedMessageBoxes&) = delete;

    void Answer(int answer) { answers_.push_back(answer); }
    const std::vector<platform::MessageBoxRequest>& shown() const { return shown_; }

private:
    std::deque<int> answers_;
    std::vector<platform::MessageBoxRequest> shown_;
    platform::MessageBoxHandler previous_;
};

} // namespace korvyn::test
