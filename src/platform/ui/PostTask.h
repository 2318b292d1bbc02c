#pragma once
// Work for later on the UI thread: the task runs from the event loop once the messages
// already waiting have been delivered, as a posted message would.
#include <functional>

namespace korvyn::platform {

void PostTask(std::function<void()> task);

} // namespace korvyn::platform
