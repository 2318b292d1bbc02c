#pragma once
// Who made a station: the maker registered for the first three bytes of its MAC (the
// OUI), from the IEEE's table as Debian's ieee-data package installs it. The file is
// read once, at the first question, so a run that never asks never reads it; without
// the file every maker is unknown.
#include "platform/WinTypes.h"

#include <cstdint>
#include <string>
#include <vector>

namespace korvyn {

inline constexpr char kOuiFile[] = "/usr/share/ieee-data/oui.csv";

class OuiMakers {
public:
    explicit OuiMakers(std::string path = kOuiFile) : path_(std::move(path)) {}

    // "random MAC" for a locally administered address (its first byte's second bit set:
    // the device made it up, so it names no maker); else the registered maker, or empty
    // when there is none or the file cannot be read.
    std::u16string MakerOf(const BYTE mac[6]);

    // Entries read from the file; 0 before the first question.
    std::size_t Size() const { return entries_.size(); }

private:
    struct Entry {
        std::uint32_t oui;
        std::uint32_t offset; // of the name in names_
        std::uint32_t length;
    };
    void Load();

    std::string path_;
    bool loaded_ = false;
    std::vector<Entry> entries_; // sorted by oui
    std::string names_;
};

// The program's table, read from kOuiFile, or from the file SetOuiFile named last.
OuiMakers& ProgramOuiMakers();
// Starts a fresh table from another file (tests); the next question reads it.
void SetOuiFile(std::string path);

} // namespace korvyn
