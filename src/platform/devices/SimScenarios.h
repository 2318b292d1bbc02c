#pragma once
// The simulated adapter's built-in scenarios.
#include "platform/devices/ScanScript.h"

namespace korvyn::platform {

// About 25 stations over a minute of scans (60): they appear, drift in signal, go out of
// range and come back. Access points, peers and automatic-mode stations, open and
// secured, a hidden network, names with quotes, commas and non-ASCII letters, 2.4 and
// 5 GHz, both RSSI encodings and DSConfig both as a channel number and in kHz.
ScanScript DemoScenario();

// One wireless adapter with no networks in range.
ScanScript EmptyScenario();

// Only adapters that are not wireless or whose names are never taken for wireless ones.
ScanScript NoneScenario();

} // namespace korvyn::platform
