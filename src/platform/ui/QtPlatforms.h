#pragma once
// Whether the Qt platform a user named can be loaded, asked before the application object
// exists: Qt itself ends the program when none of the platforms in QT_QPA_PLATFORM loads.
#include <string>
#include <string_view>

namespace korvyn::platform {

// The platforms of a QT_QPA_PLATFORM value ("xcb", "eglfs:/dev/fb1", or several separated
// by ";", tried in turn) whose plugin is installed, in the same form and order; empty when
// there is none.
std::string LoadableQtPlatforms(std::string_view platforms);

} // namespace korvyn::platform
