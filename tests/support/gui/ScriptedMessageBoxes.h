#pragma once
// Test double for message boxes: answers them in order from a script (the default
// button's answer once the script runs out) and keeps every box it was shown.
#include "platform/ui/MessageBoxHandler.h"

#include <deque>
#include <vector>

namespace korvyn::test {

class ScriptedMessageBoxes {
public:
    explicit ScriptedMessageBoxes(std::deque<int> answers = {});
    ~ScriptedMessageBoxes();
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
