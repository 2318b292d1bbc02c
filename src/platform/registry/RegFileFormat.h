#pragma once
// The registry file's text: "REGEDIT4", then a [HKEY_CURRENT_USER\path] section per key
// with its values as "name"="text", "name"=dword:0000000c, "name"=hex:01,02 or, for other
// types and for texts a line cannot hold, "name"=hex(N):... . UTF-8 throughout.
#include "platform/WinTypes.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace korvyn::platform {

struct RegValue {
    std::u16string name; // empty: the key's default value, written as @
    DWORD type = 0;
    std::vector<BYTE> data;
};

// One key: its values in the order they were first set, and its subkeys. Values and
// subkeys are found by their names folded to upper case, through a hash, so that reading a
// file takes time in proportion to its size however its keys and values are arranged.
class RegKey {
public:
    RegKey() = default;
    explicit RegKey(std::u16string name) : name_(std::move(name)) {}
    RegKey(RegKey&&) noexcept = default;
    RegKey& operator=(RegKey&&) noexcept = default;

    // As first written; "" for HKEY_CURRENT_USER itself.
    const std::u16string& Name() const { return name_; }

    const std::vector<RegValue>& Values() const { return values_; }
    RegValue* Find(std::u16string_view name);
    // Sets a value: a new name goes after the others, a known one keeps its spelling and
    // place.
    RegValue& Set(std::u16string_view name, DWORD type, std::vector<BYTE> data);
    bool Remove(std::u16string_view name);

    RegKey* Subkey(std::u16string_view name);
    RegKey& AddSubkey(std::u16string_view name); // the subkey, made when missing
    // The subkeys in the file's order: by folded name.
    std::vector<const RegKey*> SortedSubkeys() const;

private:
    std::u16string name_;
    std::vector<RegValue> values_;
    std::unordered_map<std::u16string, std::size_t> valueIndex_;          // folded name -> position
    std::unordered_map<std::u16string, std::unique_ptr<RegKey>> subkeys_; // by folded name
};
// The tree is its root key, HKEY_CURRENT_USER.
using RegTree = RegKey;

// Limits that no real settings file comes near; a file beyond them is refused as damaged,
// and keys beyond the depth cannot be made.
constexpr std::size_t kMaxRegFileSize = 1024 * 1024;
constexpr std::size_t kMaxKeyDepth = 64;

// The normal form of a key path: components without empty ones, joined by "\".
std::u16string NormalizeKeyPath(std::u16string_view path);
std::u16string JoinKeyPath(std::u16string_view parent, std::u16string_view child);
// Components of a normalised path.
std::size_t KeyDepth(std::u16string_view path);
// The key at a normalised path, or nullptr.
RegKey* FindKey(RegTree& tree, std::u16string_view path);
// Adds the key (already normalised) and every key above it; returns the key.
RegKey& AddKey(RegTree& tree, std::u16string_view path);
// Names the file can hold: valid UTF-16 without control characters.
bool IsStorableName(std::u16string_view name);

// Where a file was found faulty: the line and column (in characters) of the first bad
// byte and which byte of the file it is, each counted from 1; all 0 for the file as a
// whole (too large).
struct RegParseError {
    int line = 0;
    int column = 0;
    std::size_t byte = 0;
    std::string reason;
};
std::optional<RegTree> ParseRegFile(std::string_view text, RegParseError& error);
std::string FormatRegFile(const RegTree& tree);

} // namespace korvyn::platform
