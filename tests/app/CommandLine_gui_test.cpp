// The command line: every option, its defaults and the one-line errors.
#include "app/CommandLine.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

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
    return error;
}

TEST(CommandLine, EveryOptionTakesItsValueAndTheDefaultsStandWithout) {
    CommandLine none = Parse({});
    EXPECT_EQ(none.driver, "auto");
    EXPECT_EQ(std::tuple(none.screenWidth, none.screenHeight, none.zoom, none.bandTenthsGhz),
              std::tuple(240, 320, 2, 24));
    EXPECT_FALSE(none.fullScreen || none.headless || none.print || none.help || none.version ||
                 none.ticks || none.duration || none.exportAs != ExportChoice::None ||
                 none.show != ShowChoice::List);

    CommandLine c = Parse({"--driver=sim:/tmp/a b.scan", "--record=rec.scan", "--registry=r.reg",
                           "--documents=/tmp/docs", "--screen=64x4096", "--zoom=1", "--zoom=8",
                           "--fullscreen", "--headless", "--ticks=0", "--export=xls",
                           "--screenshot=shot.PNG", "--print", "--show=meter", "--band=6", "-h"});
    EXPECT_EQ((std::vector<std::string>{c.driver, c.record, c.registry, c.documents, c.screenshot}),
              (std::vector<std::string>{"sim:/tmp/a b.scan", "rec.scan", "r.reg", "/tmp/docs",
                                        "shot.PNG"}));
    EXPECT_EQ(std::tuple(c.screenWidth, c.screenHeight, c.zoom, c.bandTenthsGhz),
              std::tuple(64, 4096, 8, 60))
        << "the last --zoom counts";
    EXPECT_TRUE(c.fullScreen && c.headless && c.print && c.help && c.ticks == 0u);
    EXPECT_TRUE(c.exportAs == ExportChoice::Xls && c.show == ShowChoice::Meter);
    EXPECT_EQ(Parse({"--band=5"}).bandTenthsGhz, 50);
    EXPECT_TRUE(Parse({"-V"}).version);
}

TEST(CommandLine, UnknownOptionsArgumentsAndBadValuesAreRefusedInOneLine) {
    const std::pair<std::string_view, std::string> cases[] = {
        {"--Print", "unknown option '--Print' (see --help)"},
        {"-v", "unknown option '-v' (see --help)"},
        {"--", "unexpected argument '--' (see --help)"},
        {"-hV", "unexpected argument '-hV' (see --help)"},
        {"file.scan", "unexpected argument 'file.scan' (see --help)"},
        {"--print=yes", "option '--print' takes no value"},
        {"--ticks", "option '--ticks' needs a value: --ticks=a whole number from 0 to 100000000"},
        {"--zoom=9", "bad value '9' for --zoom (expected a whole number from 1 to 8)"},
    };
    for (const auto& [arg, message] : cases) {
        EXPECT_EQ(Error({arg}), message);
    }
    EXPECT_EQ(Error({"--ticks=5", "--duration=5"}),
              "--ticks and --duration cannot be used together");
    for (std::string_view arg :
         {"--driver=", "--record=", "--documents=", "--screen=63x320", "--screen=240x4097",
          "--screen=240X320", "--zoom=0", "--zoom=2.0", "--ticks=100000001",
          "--ticks=99999999999999999999", "--duration=.5", "--duration=5.", "--duration=2000001",
          "--duration=inf", "--export=XLS", "--screenshot=.png", "--screenshot=shot.jpg",
          "--show=zoom", "--band=2,4"}) {
        const std::string value(arg.substr(arg.find('=') + 1));
        EXPECT_EQ(Error({arg}).find("bad value '" + value + "' for --"), 0u) << arg;
    }
}

// The README's synopsis and the manual page's SYNOPSIS and OPTIONS are made from the
// option table, between "begin NAME" and "end NAME" comment lines. Run with
// KORVYN_UPDATE_DOCS=1 to write them into the source tree instead of comparing.
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
        const std::size_t begin = text.find(std::string("begin ") + k.region);
        const std::size_t end = text.find(std::string("end ") + k.region, begin);
        ASSERT_NE(end, std::string::npos) << k.file << ": no region " << k.region;
        const std::size_t from = text.find('\n', begin) + 1;
        const std::size_t to = text.rfind('\n', end) + 1;
        if (update) {
            std::ofstream(path, std::ios::binary) << text.replace(from, to - from, k.text);
        } else {
            EXPECT_EQ(text.substr(from, to - from), k.text)
                << k.file << " (KORVYN_UPDATE_DOCS=1 rewrites it)";
        }
    }
}

} // namespace
