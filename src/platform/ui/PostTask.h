#pragma once
// Work for later on the UI thread: the task runs from the event loop once the messages
// already waiting have been delivered, as a posted message would. False when there is no
// event loop to run it (or no task).
#include <functional>

namespace korvyn::platform {

bool PostTask(std::function<void()> task);

} // namespace korvyn::platform
