// --help, the README's synopsis and the manual page's SYNOPSIS and OPTIONS, all made from
// the option table so that none of them can leave an option or a driver out.
#include "app/CommandLine.h"

#include <cctype>

namespace korvyn {
namespace {

constexpr std::size_t kWidth = 80;
constexpr std::size_t kHelpColumn = 24; // where --help's descriptions start
constexpr std::size_t kSynopsisWidth = 90;

// "--name=VALUE", or "-x, --name" for an option with a short form.
std::string Spelling(const OptionSpec& o, std::string_view shortSeparator) {
    std::string text;
    if (o.shortName != 0) {
        text = std::string("-") + o.shortName + std::string(shortSeparator);
    }
    text += "--" + std::string(o.name);
    if (!o.value.empty()) {
        text += "=" + std::string(o.value);
    }
    return text;
}

// The words of text on lines of at most width characters, each line after indent.
std::string Wrap(std::string_view text, std::size_t indent, std::size_t width) {
    std::string out;
    std::size_t lineLength = 0;
    while (!text.empty()) {
        const std::size_t space = text.find(' ');
        const std::string_view word = text.substr(0, space);
        text.remove_prefix(space == std::string_view::npos ? text.size() : space + 1);
        if (lineLength > 0 && lineLength + 1 + word.size() > width) {
            out += "\n";
            lineLength = 0;
        }
        if (lineLength == 0) {
            out += std::string(indent, ' ');
        } else {
            out += ' ';
            ++lineLength;
        }
        out += word;
        lineLength += word.size();
    }
    return out + "\n";
}

// Text for roff: backslashes and hyphens escaped, a line may break after the "|" between
// a value's forms, and paths are not hyphenated.
std::string Roff(std::string_view text) {
    std::string out;
    bool wordStart = true;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (wordStart &&
            text.substr(i, text.find(' ', i) - i).find('/') != std::string_view::npos) {
            out += "\\%";
        }
        wordStart = c == ' ';
        if (c == '\\') {
            out += "\\e";
        } else if (c == '-') {
            out += "\\-";
        } else if (c == '|') {
            out += "|\\:";
        } else {
            out += c;
        }
    }
    return out;
}

std::string RoffParagraph(std::string_view text) {
    std::string sentence(text);
    sentence[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(sentence[0])));
    std::string wrapped = Wrap(Roff(sentence + "."), 0, kWidth);
    std::string out;
    for (std::size_t start = 0; start < wrapped.size();) {
        const std::size_t end = wrapped.find('\n', start) + 1;
        if (wrapped[start] == '.' || wrapped[start] == '\'') {
            out += "\\&";
        }
        out += wrapped.substr(start, end - start);
        start = end;
    }
    return out;
}

} // namespace

std::string CommandLineHelp() {
    std::string out = "Usage: korvyn [OPTION]...\n"
                      "Scans for Wi-Fi networks and lists every access point and peer seen "
                      "since the start.\n";
    std::string_view group = "\n"; // no heading yet
    for (const OptionSpec& o : CommandLineOptions()) {
        if (o.group != group) {
            group = o.group;
            out += "\n" + std::string(group) + ":\n";
        }
        std::string spelling = "  " + Spelling(o, ", ");
        const std::string text = Wrap(o.text, kHelpColumn, kWidth - kHelpColumn);
        if (spelling.size() + 2 <= kHelpColumn) {
            out += spelling + text.substr(spelling.size());
        } else {
            out += spelling + "\n" + text;
        }
    }
    return out + "\nExit status: 0 on success, 1 when an export, a picture or the recording\n"
                 "could not be written, 2 for an unknown option, a bad value, or a scan file\n"
                 "or recording target that cannot be used.\n";
}

std::string CommandLineSynopsis() {
    // A line per group of options, wrapped where a group is too long for one.
    const std::string indent(7, ' ');
    std::string out;
    std::string line = "korvyn";
    std::string_view group = "\n"; // none yet
    for (const OptionSpec& o : CommandLineOptions()) {
        const std::string item = "[" + Spelling(o, "|") + "]";
        const bool newGroup = group != "\n" && o.group != group;
        const bool hasItem = line != indent && line != "korvyn";
        if (newGroup || (hasItem && line.size() + 1 + item.size() > kSynopsisWidth)) {
            out += line + "\n";
            line = indent;
        }
        group = o.group;
        line += (line == indent ? "" : " ") + item;
    }
    return out + line + "\n";
}

std::string CommandLineManSynopsis() {
    std::string out = ".SH SYNOPSIS\n.B korvyn\n";
    for (const OptionSpec& o : CommandLineOptions()) {
        out += ".RB \\%[ \"" + Roff(Spelling(o, "|")) + "\" ]\n";
    }
    return out;
}

std::string CommandLineManOptions() {
    std::string out = ".SH OPTIONS\n";
    std::string_view group = "\n";
    for (const OptionSpec& o : CommandLineOptions()) {
        if (o.group != group) {
            group = o.group;
            out += ".SS " + std::string(group) + "\n";
        }
        // A tag that breaks after a "|" is left ragged: justified it could not be.
        const bool breaks = o.value.find('|') != std::string_view::npos;
        out += ".TP\n" + std::string(breaks ? ".na\n" : "") + ".B \"\\%" + Roff(Spelling(o, ", ")) +
               "\"\n" + (breaks ? ".ad\n" : "") + RoffParagraph(o.text);
    }
    return out;
}

} // namespace korvyn
