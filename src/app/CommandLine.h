#pragma once
// The program's command line: options of the form --name or --name=value (a few also as
// -x), checked completely before anything starts. An unknown option or a bad value is one
// line of error text (the program then ends with status 2). One table describes every
// option; --help, the manual page and the README's synopsis are all made from it.
#include <filesystem>
#include <functional>
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

// One row of the option table.
struct OptionSpec {
    std::string_view name;  // the long form, without "--"
    char shortName;         // '-x' form, or 0
    std::string_view value; // the value's form ("N", "csv|xls"); empty for a switch
    std::string_view group; // the heading it is listed under
    std::string_view text;  // what it does, as one paragraph
    // Stores the value; false when it is not acceptable.
    std::function<bool(CommandLine&, std::string_view)> apply;
    std::string_view expected; // what a good value looks like, for the error
};
// Every option, in the order --help lists them.
const std::vector<OptionSpec>& CommandLineOptions();

// Parses the arguments after the program name. False with a one-line error (without
// the program name) for an unknown option, a missing, unexpected or bad value.
bool ParseCommandLine(const std::vector<std::string_view>& args, CommandLine& out,
                      std::string& error);

// The text of --help.
std::string CommandLineHelp();
// The synopsis as the README shows it: "korvyn [--driver=...]" on lines of at most 80.
std::string CommandLineSynopsis();
// The manual page's SYNOPSIS and OPTIONS sections, in roff.
std::string CommandLineManSynopsis();
std::string CommandLineManOptions();

} // namespace korvyn
