#pragma once
// The program's command line: options of the form --name or --name=value, checked
// completely before anything starts. An unknown option or a bad value is one line of
// error text (the program then ends with status 2).
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korvyn {

enum class ExportChoice { None, Csv, Xls };
// What the main window shows when the run ends (for --screenshot).
enum class ShowChoice { List, Meter, Options, Channels };

struct CommandLine {
    bool help = false;
    bool version = false;

    std::string driver = "auto";     // see MakeWifiDriver
    std::filesystem::path record;    // scan file every list read is appended to
    std::filesystem::path registry;  // the settings file
    std::filesystem::path documents; // the Documents folder
    int screenWidth = 240;           // the device screen, in device pixels
    int screenHeight = 320;
    int zoom = 2; // desktop pixels per device pixel
    bool fullScreen = false;
    bool headless = false;

    std::optional<unsigned> ticks;  // scan ticks back to back, then end
    std::optional<double> duration; // seconds of scanning, then end

    ExportChoice exportAs = ExportChoice::None;
    std::filesystem::path screenshot; // a .png file
    bool print = false;
    ShowChoice show = ShowChoice::List;
    int bandTenthsGhz = 24; // the channels page's band: 24, 50 or 60
};

// Parses the arguments after the program name. False with a one-line error (without
// the program name) for an unknown option, a missing, unexpected or bad value.
bool ParseCommandLine(const std::vector<std::string_view>& args, CommandLine& out,
                      std::string& error);

// The text of --help.
std::string CommandLineHelp();

} // namespace korvyn
