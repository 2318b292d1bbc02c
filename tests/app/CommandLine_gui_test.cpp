// The command line: every option, its defaults and the one-line errors.
#include "app/CommandLine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string_view>

using korvyn::CommandLine;
using korvyn::ExportChoice;
using korvyn::ParseCommandLine;
using korvyn::ShowChoice;

namespace {

CommandLine Parse(std::vector<std::string_view> args) {
    CommandLine c;
    std::string error;
    EXPECT_TRUE(ParseCommandLine(args, c, error)) << error;
    return c;
}

std::string Error(std::vector<std::string_view> args) {
    CommandLine c;
    c.print = true; // must stay untouched by a failed parse
    std::string error;
    EXPECT_FALSE(ParseCommandLine(args, c, error));
    EXPECT_TRUE(c.print);
    EXPECT_EQ(error.find('\n'), std::string::npos) << "one line";
    return error;
}

TEST(CommandLine, DefaultsWithoutArguments) {
    CommandLine c = Parse({});
    EXPECT_EQ(c.driver, "auto");
    EXPECT_EQ(c.screenWidth, 240);
    EXPECT_EQ(c.screenHeight, 320);
    EXPECT_EQ(c.zoom, 2);
    EXPECT_FALSE(c.fullScreen || c.headless || c.print || c.help || c.version);
    EXPECT_FALSE(c.ticks.has_value());
    EXPECT_FALSE(c.duration.has_value());
    EXPECT_EQ(c.exportAs, ExportChoice::None);
    EXPECT_EQ(c.show, ShowChoice::List);
    EXPECT_TRUE(c.record.empty() && c.registry.empty() && c.documents.empty() &&
                c.screenshot.empty());
}

TEST(CommandLine, EveryOptionTakesItsValue) {
    CommandLine c = Parse({"--driver=sim:/tmp/a b.scan", "--record=rec.scan", "--registry=r.reg",
                           "--documents=/tmp/docs", "--screen=320x240", "--zoom=3", "--fullscreen",
                           "--headless", "--ticks=20", "--export=xls", "--screenshot=shot.PNG",
                           "--print", "--show=meter"});
    EXPECT_EQ(c.driver, "sim:/tmp/a b.scan");
    EXPECT_EQ(c.record, "rec.scan");
    EXPECT_EQ(c.registry, "r.reg");
    EXPECT_EQ(c.documents, "/tmp/docs");
    EXPECT_EQ(c.screenWidth, 320);
    EXPECT_EQ(c.screenHeight, 240);
    EXPECT_EQ(c.zoom, 3);
    EXPECT_TRUE(c.fullScreen && c.headless && c.print);
    EXPECT_EQ(c.ticks, 20u);
    EXPECT_EQ(c.exportAs, ExportChoice::Xls);
    EXPECT_EQ(c.screenshot, "shot.PNG");
    EXPECT_EQ(c.show, ShowChoice::Meter);

    EXPECT_EQ(Parse({"--export=csv"}).exportAs, ExportChoice::Csv);
    EXPECT_EQ(Parse({"--show=options"}).show, ShowChoice::Options);
    EXPECT_EQ(Parse({"--show=channels"}).show, ShowChoice::Channels);
    EXPECT_EQ(Parse({"--band=5"}).bandTenthsGhz, 50);
    EXPECT_EQ(Parse({"--band=2.4", "--band=6"}).bandTenthsGhz, 60);
    EXPECT_EQ(Parse({}).bandTenthsGhz, 24);
    EXPECT_EQ(Parse({"--duration=2.5"}).duration, 2.5);
    EXPECT_EQ(Parse({"--duration=90"}).duration, 90.0);
    EXPECT_EQ(Parse({"--ticks=0"}).ticks, 0u);
    EXPECT_EQ(Parse({"--zoom=1", "--zoom=8"}).zoom, 8) << "the last one counts";
    EXPECT_TRUE(Parse({"--help", "--version"}).help);
    EXPECT_TRUE(Parse({"--version"}).version);
    EXPECT_TRUE(Parse({"-h"}).help);
    EXPECT_TRUE(Parse({"-V"}).version);
    CommandLine edge = Parse({"--screen=64x4096"});
    EXPECT_EQ(edge.screenWidth, 64);
    EXPECT_EQ(edge.screenHeight, 4096);
}

TEST(CommandLine, UnknownOptionsAndArgumentsAreRefused) {
    const std::pair<std::vector<std::string_view>, std::string> cases[] = {
        {{"--frobnicate"}, "unknown option '--frobnicate' (see --help)"},
        {{"--Print"}, "unknown option '--Print' (see --help)"},
        {{"--"}, "unexpected argument '--' (see --help)"},
        {{"-x"}, "unknown option '-x' (see --help)"},
        {{"-v"}, "unknown option '-v' (see --help)"},
        {{"-hV"}, "unexpected argument '-hV' (see --help)"},
        {{"-"}, "unexpected argument '-' (see --help)"},
        {{"file.scan"}, "unexpected argument 'file.scan' (see --help)"},
        {{"--print=yes"}, "option '--print' takes no value"},
        {{"--ticks"}, "option '--ticks' needs a value: --ticks=a whole number from 0 to 100000000"},
        {{"--ticks=5", "--duration=5"}, "--ticks and --duration cannot be used together"},
    };
    for (const auto& [args, message] : cases) {
        EXPECT_EQ(Error(args), message);
    }
}

TEST(CommandLine, BadValuesAreRefused) {
    struct Case {
        const char* arg;
        const char* expected;
    };
    for (const Case& k : std::vector<Case>{
             {"--driver=", "auto, nl80211"},
             {"--record=", "a file name"},
             {"--registry=", "a file name"},
             {"--documents=", "a folder"},
             {"--screen=240", "WIDTHxHEIGHT"},
             {"--screen=240x", "WIDTHxHEIGHT"},
             {"--screen=x320", "WIDTHxHEIGHT"},
             {"--screen=240X320", "WIDTHxHEIGHT"},
             {"--screen=63x320", "WIDTHxHEIGHT"},
             {"--screen=240x4097", "WIDTHxHEIGHT"},
             {"--screen=-240x320", "WIDTHxHEIGHT"},
             {"--screen=240x320x2", "WIDTHxHEIGHT"},
             {"--zoom=0", "1 to 8"},
             {"--zoom=9", "1 to 8"},
             {"--zoom=2.0", "1 to 8"},
             {"--zoom= 2", "1 to 8"},
             {"--ticks=-1", "0 to 100000000"},
             {"--ticks=100000001", "0 to 100000000"},
             {"--ticks=99999999999999999999", "0 to 100000000"},
             {"--ticks=1e3", "0 to 100000000"},
             {"--duration=", "seconds"},
             {"--duration=.5", "seconds"},
             {"--duration=5.", "seconds"},
             {"--duration=-1", "seconds"},
             {"--duration=1e3", "seconds"},
             {"--duration=2000001", "seconds"},
             {"--duration=inf", "seconds"},
             {"--export=pdf", "csv or xls"},
             {"--export=XLS", "csv or xls"},
             {"--screenshot=shot.jpg", ".png"},
             {"--screenshot=.png", ".png"},
             {"--show=zoom", "list, meter, options or channels"},
             {"--band=2,4", "2.4, 5 or 6"},
             {"--band=60", "2.4, 5 or 6"},
         }) {
        std::string error = Error({k.arg});
        std::string_view arg(k.arg);
        std::string value(arg.substr(arg.find('=') + 1));
        EXPECT_EQ(error.rfind("bad value '" + value + "' for ", 0), 0u) << k.arg << ": " << error;
        EXPECT_NE(error.find(k.expected), std::string::npos) << k.arg << ": " << error;
    }
}

// The README's synopsis and the manual page's SYNOPSIS and OPTIONS are made from the
// option table, between "begin NAME" and "end NAME" comment lines. Run with
// KORVYN_UPDATE_DOCS=1 to write them into the source tree instead of comparing.
std::string Region(const std::string& text, const std::string& name, std::size_t& from,
                   std::size_t& to) {
    const std::size_t begin = text.find("begin " + name);
    const std::size_t end = text.find("end " + name);
    if (begin == std::string::npos || end == std::string::npos || end < begin) {
        return "(no region '" + name + "')";
    }
    from = text.find('\n', begin) + 1;
    to = text.rfind('\n', end) + 1;
    return text.substr(from, to - from);
}

TEST(CommandLineDocs, ReadmeAndManualAreMadeFromTheOptionTable) {
    struct Case {
        const char* file;
        const char* region;
        std::string text;
    };
    const bool update = std::getenv("KORVYN_UPDATE_DOCS") != nullptr;
    for (const Case& k : std::vector<Case>{
             {"README.md", "synopsis", "```\n" + korvyn::CommandLineSynopsis() + "```\n"},
             {"docs/korvyn.1", "synopsis", korvyn::CommandLineManSynopsis()},
             {"docs/korvyn.1", "options", korvyn::CommandLineManOptions()},
         }) {
        const std::string path = std::string(KORVYN_SOURCE_DIR) + "/" + k.file;
        std::ifstream in(path, std::ios::binary);
        std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        std::size_t from = 0;
        std::size_t to = 0;
        const std::string shown = Region(text, k.region, from, to);
        if (update && from != 0) {
            std::ofstream(path, std::ios::binary) << text.replace(from, to - from, k.text);
        } else {
            EXPECT_EQ(shown, k.text) << k.file << " (KORVYN_UPDATE_DOCS=1 rewrites it)";
        }
    }
}

} // namespace
