#include "app/CommandLine.h"

#include "platform/system/WholeNumber.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <functional>

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

struct Option {
    std::string_view name;
    bool takesValue;
    // Stores the value; false when it is not acceptable.
    std::function<bool(CommandLine&, std::string_view)> apply;
    std::string_view expected; // what a good value looks like, for the error
};

const std::vector<Option>& Options() {
    static const std::vector<Option> options = {
        {"help", false, [](CommandLine& c, std::string_view) { return c.help = true; }, ""},
        {"version", false, [](CommandLine& c, std::string_view) { return c.version = true; }, ""},
        {"driver", true,
         [](CommandLine& c, std::string_view v) {
             c.driver = v;
             return !v.empty();
         },
         "auto, nl80211, sim, sim:demo, sim:empty, sim:none or sim:FILE"},
        {"record", true,
         [](CommandLine& c, std::string_view v) {
             c.record = v;
             return !v.empty();
         },
         "a file name"},
        {"registry", true,
         [](CommandLine& c, std::string_view v) {
             c.registry = v;
             return !v.empty();
         },
         "a file name"},
        {"documents", true,
         [](CommandLine& c, std::string_view v) {
             c.documents = v;
             return !v.empty();
         },
         "a folder"},
        {"screen", true,
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
        {"zoom", true,
         [](CommandLine& c, std::string_view v) {
             long long n = 0;
             if (!ParseWhole(v, 1, kMaxZoom, n)) {
                 return false;
             }
             c.zoom = static_cast<int>(n);
             return true;
         },
         "a whole number from 1 to 8"},
        {"fullscreen", false, [](CommandLine& c, std::string_view) { return c.fullScreen = true; },
         ""},
        {"headless", false, [](CommandLine& c, std::string_view) { return c.headless = true; }, ""},
        {"ticks", true,
         [](CommandLine& c, std::string_view v) {
             long long n = 0;
             if (!ParseWhole(v, 0, kMaxTicks, n)) {
                 return false;
             }
             c.ticks = static_cast<unsigned>(n);
             return true;
         },
         "a whole number from 0 to 100000000"},
        {"duration", true,
         [](CommandLine& c, std::string_view v) {
             double seconds = 0;
             if (!ParseSeconds(v, seconds)) {
                 return false;
             }
             c.duration = seconds;
             return true;
         },
         "seconds, such as 60 or 2.5 (at most 2000000)"},
        {"export", true,
         [](CommandLine& c, std::string_view v) {
             c.exportAs = v == "csv"   ? ExportChoice::Csv
                          : v == "xls" ? ExportChoice::Xls
                                       : ExportChoice::None;
             return c.exportAs != ExportChoice::None;
         },
         "csv or xls"},
        {"screenshot", true,
         [](CommandLine& c, std::string_view v) {
             c.screenshot = v;
             return EndsWithPng(v);
         },
         "a file name ending in .png"},
        {"print", false, [](CommandLine& c, std::string_view) { return c.print = true; }, ""},
        {"show", true,
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
        {"band", true,
         [](CommandLine& c, std::string_view v) {
             c.bandTenthsGhz = v == "2.4" ? 24 : v == "5" ? 50 : v == "6" ? 60 : 0;
             return c.bandTenthsGhz != 0;
         },
         "2.4, 5 or 6"},
    };
    return options;
}

} // namespace

bool ParseCommandLine(const std::vector<std::string_view>& args, CommandLine& out,
                      std::string& error) {
    CommandLine result;
    for (std::string_view arg : args) {
        if (arg.substr(0, 2) != "--" || arg.size() == 2) {
            error = "unexpected argument '" + std::string(arg) + "' (see --help)";
            return false;
        }
        std::string_view body = arg.substr(2);
        std::size_t eq = body.find('=');
        std::string_view name = body.substr(0, eq);
        auto option = std::find_if(Options().begin(), Options().end(),
                                   [name](const Option& o) { return o.name == name; });
        if (option == Options().end()) {
            error = "unknown option '--" + std::string(name) + "' (see --help)";
            return false;
        }
        if (!option->takesValue && eq != std::string_view::npos) {
            error = "option '--" + std::string(name) + "' takes no value";
            return false;
        }
        if (option->takesValue && eq == std::string_view::npos) {
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

std::string CommandLineHelp() {
    return R"(Usage: korvyn [OPTION]...
Scans for Wi-Fi networks and lists every access point and peer seen since the start.

Adapter:
  --driver=auto|nl80211|sim|sim:demo|sim:empty|sim:none|sim:FILE
                        where the networks come from: auto (the default) uses the
                        system's Wi-Fi (nl80211) when there is a wireless interface and
                        the simulated demo otherwise; sim is sim:demo; sim:empty is an
                        adapter with nothing in range, sim:none no adapter at all;
                        sim:FILE replays a scan file
  --record=FILE         append every network list read to the scan file FILE

Files:
  --registry=FILE       keep the settings in FILE
                        (default: $KORVYN_REGISTRY, else ~/.config/korvyn/registry.reg)
  --documents=DIR       save exports into DIR (default: $KORVYN_DOCUMENTS, else the
                        XDG documents folder, else ~/Documents)

Screen:
  --screen=WxH          the device screen in device pixels (default 240x320); taller
                        than wide is portrait, wider than tall landscape
  --zoom=N              desktop pixels per device pixel, 1 to 8 (default 2)
  --fullscreen          a frameless window filling the display (touch devices); the
                        screen is then the display's size
  --headless            no window (Qt's offscreen platform); chosen by itself, with a
                        notice, when there is no display

Running:
  --ticks=N             run N scan ticks back to back (lamp ticks between them), then
                        end as Exit does
  --duration=SECONDS    scan for SECONDS in real time, then end as Exit does
                        (headless runs without --ticks or --duration scan until
                        interrupted)

Before ending:
  --export=csv|xls      save the list as the Save button does, in that format (the
                        format chosen on the options page stays as it is)
  --screenshot=FILE.png write a picture of the main window
  --show=list|meter|options|channels
                        what the window shows for the picture: the list (default), the
                        zoomed meter of the list's first station, the options page or
                        the channels page
  --band=2.4|5|6        the band the channels page shows (2.4 GHz unless given)
  --print               print the list as shown to standard output, tab-separated,
                        header first

  --help                show this help and end
  --version             show the version and end

Exit status: 0 on success, 1 when an export or picture asked for could not be
written, 2 for an unknown option or a bad value.
)";
}

} // namespace korvyn
