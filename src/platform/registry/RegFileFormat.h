#pragma once
// The registry file's text: "REGEDIT4", then a [HKEY_CURRENT_USER\path] section per key
// with its values as "name"="text", "name"=dword:0000000c, "name"=hex:01,02 or, for other
// types and for texts a line cannot hold, "name"=hex(N):... . UTF-8 throughout.
#include "platform/WinTypes.h"

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korvyn::platform {

struct RegValue {
    std::u16string name; // empty: the key's default value, written as @
    DWORD type = 0;
    std::vector<BYTE> data;
};

struct RegKey {
    std::u16string path; // as first written, relative to HKEY_CURRENT_USER; "" is the root
    std::vector<RegValue> values;

    RegValue* Find(std::u16string_view name);
};

// Orders folded key paths so that every key comes right before its subkeys.
struct RegPathLess {
    bool operator()(const std::u16string& a, const std::u16string& b) const;
};
// Keys by their path folded to upper case.
using RegTree = std::map<std::u16string, RegKey, RegPathLess>;

// The normal form of a key path: components without empty ones, joined by "\".
std::u16string NormalizeKeyPath(std::u16string_view path);
std::u16string JoinKeyPath(std::u16string_view parent, std::u16string_view child);
// Adds the key (already normalised) and every key above it; returns the key.
RegKey& AddKey(RegTree& tree, const std::u16string& path);
// Names the file can hold: valid UTF-16 without control characters.
bool IsStorableName(std::u16string_view name);

struct RegParseError {
    int line = 0;
    std::string reason;
};
std::optional<RegTree> ParseRegFile(std::string_view text, RegParseError& error);
std::string FormatRegFile(const RegTree& tree);

} // namespace korvyn::platform
