#include "app/CommandLine.h"

#include "platform/system/WholeNumber.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace korvyn {
namespace {

constexpr unsigned kMaxTicks = 100'000'000;
constexpr double kMaxDuration = 2'000'000; // seconds: what a timer can wait
constexpr int kMinSide = 64;
constexpr int kMaxSide = 4096;
constexpr int kMaxZoom = 8;

// A whole decimal number without sign or blanks, within [low, high].
bool ParseWhole(std::string_view text, long long low, long long high, long long& value) {
    unsigned long long number = 0;
    if (text.size() > 12 || !platform::ParseWholeNumber(text, number)) {
        return false;
    }
    value = static_cast<long long>(number);
    return value >= low && value <= high;
}

// Seconds: digits with an optional fraction ("90", "2.5").
bool ParseSeconds(std::string_view text, double& value) {
    std::size_t dot = text.find('.');
    std::string_view whole = text.substr(0, dot);
    std::string_view fraction = dot == std::string_view::npos ? "" : text.substr(dot + 1);
    auto digits = [](std::string_view s) {
        return std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
    };
    if (whole.empty() || !digits(whole) || !digits(fraction) ||
        (dot != std::string_view::npos && fraction.empty()) || text.size() > 20) {
        return false;
    }
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size() && value <= kMaxDuration;
}

bool EndsWithPng(std::string_view name) {
    if (name.size() <= 4) {
        return false;
    }
    std::string tail(name.substr(name.size() - 4));
    std::transform(tail.begin(), tail.end(), tail.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return tail == ".png";
}

// Stores a whole number from low to high.
template <typename Field> auto Whole(Field CommandLine::*field, long long low, long long high) {
    return [field, low, high](CommandLine& c, std::string_view v) {
        long long n = 0;
        if (!ParseWhole(v, low, high, n)) {
            return false;
        }
        c.*field = static_cast<Field>(n);
        return true;
    };
}

// Stores a value that must not be empty.
template <typename Field> auto Store(Field CommandLine::*field) {
    return [field](CommandLine& c, std::string_view v) {
        c.*field = v;
        return !v.empty();
    };
}

// Sets a switch.
auto Switch(bool CommandLine::*field) {
    return [field](CommandLine& c, std::string_view) { return c.*field = true; };
}

} // namespace

const std::vector<OptionSpec>& CommandLineOptions() {
    static const std::vector<OptionSpec> options = {
        {"driver", 0, "auto|nl80211|sim|sim:demo|sim:empty|sim:none|sim:churn|sim:churn:N|sim:FILE",
         "Adapter",
         "where the networks come from: auto (the default) uses the system's Wi-Fi through "
         "nl80211 when there is a wireless interface and the simulated demo otherwise, saying so "
         "on standard error; nl80211 the system's Wi-Fi; sim or sim:demo simulated stations that "
         "come and go over the first minute; sim:empty an adapter with nothing in range; "
         "sim:none no adapter at all; sim:churn stations that keep arriving and leaving, for long "
         "runs, and sim:churn:N the same with the arrivals stopping after N scans; sim:FILE "
         "replays the scan file FILE (a regular file of at most 256 MiB; a last scan cut short "
         "by a crash is left out, with a notice)",
         Store(&CommandLine::driver),
         "auto, nl80211, sim, sim:demo, sim:empty, sim:none, sim:churn, sim:churn:N or sim:FILE"},
        {"record", 0, "FILE", "Adapter",
         "append every network list read to the scan file FILE (a regular file, or a name that "
         "does not exist yet), each scan whole in one write; when a write fails (a full disk, or "
         "the 256 MiB a scan file may hold) the recording stops with a notice and the run ends "
         "with status 1",
         Store(&CommandLine::record), "a file name"},
        {"registry", 0, "FILE", "Files",
         "keep the settings in FILE (default: $KORVYN_REGISTRY, else "
         "~/.config/korvyn/registry.reg)",
         Store(&CommandLine::registry), "a file name"},
        {"documents", 0, "DIR", "Files",
         "save exports into DIR (default: $KORVYN_DOCUMENTS, else the XDG documents folder, else "
         "~/Documents)",
         Store(&CommandLine::documents), "a folder"},
        {"screen", 0, "WxH", "Screen",
         "the device screen in device pixels (default 240x320); taller than wide is portrait, "
         "wider than tall landscape, equal sides square; resizing the window turns the screen",
         [](CommandLine& c, std::string_view v) {
             std::size_t x = v.find('x');
             long long w = 0;
             long long h = 0;
             if (x == std::string_view::npos ||
                 !ParseWhole(v.substr(0, x), kMinSide, kMaxSide, w) ||
                 !ParseWhole(v.substr(x + 1), kMinSide, kMaxSide, h)) {
                 return false;
             }
             c.screenWidth = static_cast<int>(w);
             c.screenHeight = static_cast<int>(h);
             return true;
         },
         "WIDTHxHEIGHT, each 64 to 4096 pixels"},
        {"zoom", 0, "N", "Screen", "desktop pixels per device pixel, 1 to 8 (default 2)",
         Whole(&CommandLine::zoom, 1, kMaxZoom), "a whole number from 1 to 8"},
        {"fullscreen", 0, "", "Screen",
         "a frameless window filling the display (touch devices); the screen is then the "
         "display's size",
         Switch(&CommandLine::fullScreen), ""},
        {"headless", 0, "", "Screen",
         "no window (Qt's offscreen platform); chosen by itself, with a notice, when there is no "
         "display or the Qt platform named in QT_QPA_PLATFORM cannot be loaded; headless runs do "
         "not count as the one running Korvyn, so several may run side by side, each with its "
         "own --registry",
         Switch(&CommandLine::headless), ""},
        {"ticks", 0, "N", "Running",
         "run N scan ticks back to back (lamp ticks between them), then end as Exit does",
         Whole(&CommandLine::ticks, 0, kMaxTicks), "a whole number from 0 to 100000000"},
        {"duration", 0, "SECONDS", "Running",
         "scan for SECONDS in real time, then end as Exit does (not together with --ticks; "
         "headless runs without --ticks or --duration scan until interrupted)",
         [](CommandLine& c, std::string_view v) {
             double seconds = 0;
             if (!ParseSeconds(v, seconds)) {
                 return false;
             }
             c.duration = seconds;
             return true;
         },
         "seconds, such as 60 or 2.5 (at most 2000000)"},
        {"export", 0, "csv|xls", "Before ending",
         "save the list as the Save button does, in that format (the format chosen on the "
         "options page stays as it is)",
         [](CommandLine& c, std::string_view v) {
             c.exportAs = v == "csv"   ? ExportChoice::Csv
                          : v == "xls" ? ExportChoice::Xls
                                       : ExportChoice::None;
             return c.exportAs != ExportChoice::None;
         },
         "csv or xls"},
        {"screenshot", 0, "FILE.png", "Before ending", "write a picture of the main window",
         [](CommandLine& c, std::string_view v) {
             c.screenshot = v;
             return EndsWithPng(v);
         },
         "a file name ending in .png"},
        {"show", 0, "list|meter|options|channels", "Before ending",
         "what the window shows for the picture: the list (default), the zoomed meter of the "
         "list's first station, the options page or the channels page",
         [](CommandLine& c, std::string_view v) {
             if (v == "list") {
                 c.show = ShowChoice::List;
             } else if (v == "meter") {
                 c.show = ShowChoice::Meter;
             } else if (v == "options") {
                 c.show = ShowChoice::Options;
             } else if (v == "channels") {
                 c.show = ShowChoice::Channels;
             } else {
                 return false;
             }
             return true;
         },
         "list, meter, options or channels"},
        {"band", 0, "2.4|5|6", "Before ending",
         "the band the channels page shows (2.4 GHz unless given)",
         [](CommandLine& c, std::string_view v) {
             c.bandTenthsGhz = v == "2.4" ? 24 : v == "5" ? 50 : v == "6" ? 60 : 0;
             return c.bandTenthsGhz != 0;
         },
         "2.4, 5 or 6"},
        {"print", 0, "", "Before ending",
         "print the list as shown to standard output, tab-separated, header first; control "
         "characters in a field (a network name may hold tabs, line breaks or a terminal's escape "
         "sequences) are printed as \\xHH",
         Switch(&CommandLine::print), ""},
        {"help", 'h', "", "Help", "show the options and end", Switch(&CommandLine::help), ""},
        {"version", 'V', "", "Help", "show the version and end", Switch(&CommandLine::version), ""},
    };
    return options;
}

bool ParseCommandLine(const std::vector<std::string_view>& args, CommandLine& out,
                      std::string& error) {
    CommandLine result;
    for (std::string_view arg : args) {
        const auto& options = CommandLineOptions();
        const bool isShort = arg.size() == 2 && arg[0] == '-' && arg[1] != '-';
        if (!isShort && (arg.substr(0, 2) != "--" || arg.size() == 2)) {
            error = "unexpected argument '" + std::string(arg) + "' (see --help)";
            return false;
        }
        std::string_view body = arg.substr(isShort ? 1 : 2);
        std::size_t eq = isShort ? std::string_view::npos : body.find('=');
        std::string_view name = body.substr(0, eq);
        auto option = std::find_if(options.begin(), options.end(), [&](const OptionSpec& o) {
            return isShort ? o.shortName == name[0] : o.name == name;
        });
        if (option == options.end()) {
            error = "unknown option '" + std::string(isShort ? "-" : "--") + std::string(name) +
                    "' (see --help)";
            return false;
        }
        name = option->name;
        if (option->value.empty() && eq != std::string_view::npos) {
            error = "option '--" + std::string(name) + "' takes no value";
            return false;
        }
        if (!option->value.empty() && eq == std::string_view::npos) {
            error = "option '--" + std::string(name) + "' needs a value: --" + std::string(name) +
                    "=" + std::string(option->expected);
            return false;
        }
        std::string_view value = eq == std::string_view::npos ? "" : body.substr(eq + 1);
        if (!option->apply(result, value)) {
            error = "bad value '" + std::string(value) + "' for --" + std::string(name) +
                    " (expected " + std::string(option->expected) + ")";
            return false;
        }
    }
    if (result.ticks && result.duration) {
        error = "--ticks and --duration cannot be used together";
        return false;
    }
    out = std::move(result);
    return true;
}

} // namespace korvyn
