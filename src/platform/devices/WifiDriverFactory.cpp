#include "platform/devices/WifiDriverFactory.h"

#include "platform/devices/ChurnDriver.h"
#include "platform/devices/NetlinkLibrary.h"
#include "platform/devices/Nl80211Driver.h"
#include "platform/devices/ScanFile.h"
#include "platform/devices/ScanRecorder.h"
#include "platform/devices/SimScenarios.h"
#include "platform/devices/SimulatedDriver.h"
#include "platform/system/WholeNumber.h"

namespace korvyn::platform {
namespace {

std::shared_ptr<WifiDriver> Simulated(std::string_view what, std::string& error) {
    if (what == "demo")
        return std::make_shared<SimulatedDriver>(DemoScenario(), "sim:demo");
    if (what == "empty")
        return std::make_shared<SimulatedDriver>(EmptyScenario(), "sim:empty");
    if (what == "none")
        return std::make_shared<SimulatedDriver>(NoneScenario(), "sim:none");
    if (what == "churn")
        return std::make_shared<ChurnDriver>();
    if (constexpr std::string_view kChurn = "churn:"; what.substr(0, kChurn.size()) == kChurn) {
        std::uint64_t scans = 0;
        const std::string_view digits = what.substr(kChurn.size());
        if (ParseWholeNumber(digits, scans))
            return std::make_shared<ChurnDriver>(scans);
        error = "sim:churn:N takes a number of scans, not \"" + std::string(digits) + "\"";
        return nullptr;
    }
    ScanScript script;
    if (!LoadScanFile(std::filesystem::path(what), script, error))
        return nullptr;
    return std::make_shared<SimulatedDriver>(std::move(script), "sim:" + std::string(what));
}

std::shared_ptr<WifiDriver> Choose(std::string_view choice, std::string& error) {
    constexpr std::string_view kSim = "sim:";
    if (choice == "auto") {
        auto system = std::make_shared<Nl80211Driver>();
        if (system->HasWirelessInterface())
            return system;
        return Simulated("demo", error);
    }
    if (choice == "nl80211") {
        // Without the netlink library the system's Wi-Fi is out of reach: say which file
        // is missing, as the loader would.
        if (std::string why; !Netlink(&why)) {
            error = "the nl80211 driver cannot load the netlink library: " + why;
            return nullptr;
        }
        return std::make_shared<Nl80211Driver>();
    }
    if (choice == "sim")
        return Simulated("demo", error);
    if (choice.substr(0, kSim.size()) == kSim && choice.size() > kSim.size())
        return Simulated(choice.substr(kSim.size()), error);
    error = "unknown driver \"" + std::string(choice) +
            "\" (use auto, nl80211, sim, sim:demo, sim:empty, sim:none, sim:churn or sim:FILE)";
    return nullptr;
}

} // namespace

std::shared_ptr<WifiDriver> MakeWifiDriver(std::string_view choice,
                                           const std::filesystem::path& recordFile,
                                           std::string& error) {
    std::shared_ptr<WifiDriver> driver = Choose(choice, error);
    if (!driver || recordFile.empty())
        return driver;
    return ScanRecorder::Open(std::move(driver), recordFile, error);
}

} // namespace korvyn::platform
