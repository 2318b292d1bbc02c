#pragma once
// The driver behind the adapter devices, as named on the command line:
//   auto         nl80211 when the system has a wireless interface, else sim:demo
//   nl80211      the system's Wi-Fi
//   sim          the same as sim:demo
//   sim:demo     simulated stations that come and go over a minute of scans
//   sim:empty    one wireless adapter, nothing in range
//   sim:none     no wireless adapter at all
//   sim:churn    stations that keep arriving and leaving, for long runs
//   sim:churn:N  the same with arrivals in the first N scans only
//   sim:FILE     a scan file, replayed in a loop
// recordFile, when not empty, wraps the driver in a recorder that appends every network
// list it returns to that scan file.
#include "platform/devices/WifiDriver.h"

#include <filesystem>
#include <string>
#include <string_view>

namespace korvyn::platform {

// nullptr with a message for the user when the name is unknown, the scan file is
// malformed (with its line number) or the recording cannot be written.
std::shared_ptr<WifiDriver> MakeWifiDriver(std::string_view choice,
                                           const std::filesystem::path& recordFile,
                                           std::string& error);

} // namespace korvyn::platform
