#include "platform/registry/RegFileFormat.h"

#include "platform/registry/Registry.h"
#include "platform/system/CaseFold.h"
#include "platform/system/TextCodec.h"

#include <algorithm>
#include <cstdio>

namespace korvyn::platform {

namespace {

constexpr std::string_view kHeader = "REGEDIT4";
constexpr std::string_view kRoot = "HKEY_CURRENT_USER";
constexpr std::string_view kBom = "\xEF\xBB\xBF";
constexpr std::size_t kHexBytesPerLine = 25;

std::string_view TrimRight(std::string_view s) {
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

std::string_view TrimLeft(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    return s;
}

// At most eight hex digits; bad points at the first byte that does not fit.
std::optional<DWORD> ParseHexNumber(std::string_view s, const char*& bad) {
    DWORD v = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const int d = HexDigit(s[i]);
        if (d < 0 || i == 8) {
            bad = s.data() + i;
            return std::nullopt;
        }
        v = (v << 4) | static_cast<DWORD>(d);
    }
    if (s.empty()) {
        bad = s.data();
        return std::nullopt;
    }
    return v;
}

// "text" with \\ and \" escapes; s starts after the opening quote. Returns the UTF-8
// text and leaves s after the closing quote.
std::optional<std::string> ParseQuoted(std::string_view& s, const char*& bad) {
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const char c = s[i];
        if (c == '"') {
            s.remove_prefix(i + 1);
            return out;
        }
        if (c == '\\') {
            if (i + 1 >= s.size() || (s[i + 1] != '\\' && s[i + 1] != '"')) {
                bad = s.data() + i;
                return std::nullopt;
            }
            out.push_back(s[++i]);
        } else {
            out.push_back(c);
        }
    }
    bad = s.data() + s.size();
    return std::nullopt;
}

std::optional<std::vector<BYTE>> ParseHexList(std::string_view s, const char*& bad) {
    std::vector<BYTE> out;
    s = TrimLeft(s);
    if (s.empty())
        return out;
    for (;;) {
        s = TrimLeft(s);
        if (s.size() < 2 || HexDigit(s[0]) < 0 || HexDigit(s[1]) < 0) {
            bad = s.data() + (!s.empty() && HexDigit(s[0]) >= 0 ? 1 : 0);
            return std::nullopt;
        }
        out.push_back(static_cast<BYTE>(HexDigit(s[0]) * 16 + HexDigit(s[1])));
        s = TrimLeft(s.substr(2));
        if (s.empty())
            return out;
        if (s.front() != ',') {
            bad = s.data();
            return std::nullopt;
        }
        s.remove_prefix(1);
    }
}

std::vector<BYTE> TextBytes(std::u16string_view text) {
    std::vector<BYTE> out;
    out.reserve((text.size() + 1) * 2);
    for (char16_t c : text) {
        out.push_back(static_cast<BYTE>(c & 0xFF));
        out.push_back(static_cast<BYTE>(c >> 8));
    }
    out.push_back(0);
    out.push_back(0);
    return out;
}

// One value line; on a fault, reason says what is wrong and bad points at the first byte
// that is.
std::optional<RegValue> ParseValue(std::string_view line, std::string& reason, const char*& bad) {
    RegValue value;
    auto fail = [&](const char* at, const char* why) {
        bad = at;
        reason = why;
        return std::nullopt;
    };
    if (line.front() == '@') {
        line.remove_prefix(1);
    } else {
        line.remove_prefix(1);
        auto name = ParseQuoted(line, bad);
        if (!name)
            return fail(bad, "value name without its closing quote");
        value.name = Utf8ToUtf16(*name);
    }
    if (line.empty() || line.front() != '=')
        return fail(line.data(), "\"=\" expected after the value name");
    line = TrimRight(line.substr(1));
    if (!line.empty() && line.front() == '"') {
        line.remove_prefix(1);
        auto text = ParseQuoted(line, bad);
        if (!text)
            return fail(bad, "malformed text value");
        if (!line.empty())
            return fail(line.data(), "malformed text value");
        value.type = REG_SZ;
        value.data = TextBytes(Utf8ToUtf16(*text));
    } else if (line.starts_with("dword:")) {
        const auto number = ParseHexNumber(line.substr(6), bad);
        if (!number)
            return fail(bad, "malformed dword value");
        value.type = REG_DWORD;
        value.data.resize(4);
        for (int i = 0; i < 4; ++i)
            value.data[i] = static_cast<BYTE>(*number >> (8 * i));
    } else if (line.starts_with("hex")) {
        line.remove_prefix(3);
        value.type = REG_BINARY;
        if (line.starts_with("(")) {
            const auto close = line.find(')');
            if (close == std::string_view::npos)
                return fail(line.data() + line.size(), "malformed hex(type)");
            const auto type = ParseHexNumber(line.substr(1, close - 1), bad);
            if (!type)
                return fail(bad, "malformed hex(type)");
            value.type = *type;
            line.remove_prefix(close + 1);
        }
        if (!line.starts_with(":"))
            return fail(line.data(), "malformed hex value");
        auto bytes = ParseHexList(line.substr(1), bad);
        if (!bytes)
            return fail(bad, "malformed hex value");
        value.data = std::move(*bytes);
    } else {
        return fail(line.data(), "unknown kind of value");
    }
    return value;
}

std::string Quote(std::u16string_view text) {
    std::string out = "\"";
    for (char c : Utf16ToUtf8(text)) {
        if (c == '\\' || c == '"')
            out.push_back('\\');
        out.push_back(c);
    }
    out.push_back('"');
    return out;
}

// The text a REG_SZ holds when it can be written as "text": whole UTF-16 units, one
// terminator at the very end, and nothing a line or the UTF-8 file cannot carry.
std::optional<std::u16string> WritableText(const std::vector<BYTE>& data) {
    if (data.size() < 2 || data.size() % 2 != 0)
        return std::nullopt;
    std::u16string text;
    for (std::size_t i = 0; i + 2 < data.size(); i += 2)
        text.push_back(static_cast<char16_t>(data[i] | (data[i + 1] << 8)));
    if (data[data.size() - 2] != 0 || data.back() != 0 || !IsStorableName(text))
        return std::nullopt;
    return text;
}

std::string FormatValue(const RegValue& value) {
    std::string line = value.name.empty() ? "@" : Quote(value.name);
    line += '=';
    if (value.type == REG_SZ) {
        if (auto text = WritableText(value.data))
            return line + Quote(*text);
    }
    if (value.type == REG_DWORD && value.data.size() == 4) {
        DWORD v = 0;
        for (int i = 3; i >= 0; --i)
            v = (v << 8) | value.data[i];
        char digits[16];
        std::snprintf(digits, sizeof digits, "dword:%08x", v);
        return line + digits;
    }
    char prefix[24];
    if (value.type == REG_BINARY)
        std::snprintf(prefix, sizeof prefix, "hex:");
    else
        std::snprintf(prefix, sizeof prefix, "hex(%x):", value.type);
    line += prefix;
    for (std::size_t i = 0; i < value.data.size(); ++i) {
        char byte[4];
        std::snprintf(byte, sizeof byte, "%02x", value.data[i]);
        line += byte;
        if (i + 1 < value.data.size()) {
            line += ',';
            if ((i + 1) % kHexBytesPerLine == 0)
                line += "\\\n  ";
        }
    }
    return line;
}

} // namespace

RegValue* RegKey::Find(std::u16string_view name) {
    const auto it = valueIndex_.find(FoldCase(name));
    return it == valueIndex_.end() ? nullptr : &values_[it->second];
}

RegValue& RegKey::Set(std::u16string_view name, DWORD type, std::vector<BYTE> data) {
    auto [it, added] = valueIndex_.try_emplace(FoldCase(name), values_.size());
    if (added)
        values_.push_back({std::u16string(name), type, {}});
    RegValue& value = values_[it->second];
    value.type = type;
    value.data = std::move(data);
    return value;
}

bool RegKey::Remove(std::u16string_view name) {
    const auto it = valueIndex_.find(FoldCase(name));
    if (it == valueIndex_.end())
        return false;
    const std::size_t at = it->second;
    valueIndex_.erase(it);
    values_.erase(values_.begin() + static_cast<std::ptrdiff_t>(at));
    for (auto& [folded, index] : valueIndex_)
        if (index > at)
            --index;
    return true;
}

RegKey* RegKey::Subkey(std::u16string_view name) {
    const auto it = subkeys_.find(FoldCase(name));
    return it == subkeys_.end() ? nullptr : it->second.get();
}

RegKey& RegKey::AddSubkey(std::u16string_view name) {
    auto& slot = subkeys_[FoldCase(name)];
    if (!slot)
        slot = std::make_unique<RegKey>(std::u16string(name));
    return *slot;
}

std::vector<const RegKey*> RegKey::SortedSubkeys() const {
    std::vector<std::pair<const std::u16string*, const RegKey*>> named;
    named.reserve(subkeys_.size());
    for (const auto& [folded, key] : subkeys_)
        named.emplace_back(&folded, key.get());
    // A name before every longer name it begins: a key comes right before its subkeys.
    std::sort(named.begin(), named.end(),
              [](const auto& a, const auto& b) { return *a.first < *b.first; });
    std::vector<const RegKey*> keys;
    keys.reserve(named.size());
    for (const auto& [folded, key] : named)
        keys.push_back(key);
    return keys;
}

std::u16string NormalizeKeyPath(std::u16string_view path) {
    std::u16string out;
    while (!path.empty()) {
        const auto sep = path.find(u'\\');
        const auto part = path.substr(0, sep);
        if (!part.empty()) {
            if (!out.empty())
                out += u'\\';
            out += part;
        }
        if (sep == std::u16string_view::npos)
            break;
        path.remove_prefix(sep + 1);
    }
    return out;
}

std::u16string JoinKeyPath(std::u16string_view parent, std::u16string_view child) {
    std::u16string joined(parent);
    joined += u'\\';
    joined += child;
    return NormalizeKeyPath(joined);
}

std::size_t KeyDepth(std::u16string_view path) {
    if (path.empty())
        return 0;
    return 1 + static_cast<std::size_t>(std::count(path.begin(), path.end(), u'\\'));
}

RegKey* FindKey(RegTree& tree, std::u16string_view path) {
    RegKey* key = &tree;
    while (key && !path.empty()) {
        const auto sep = path.find(u'\\');
        key = key->Subkey(path.substr(0, sep));
        path.remove_prefix(sep == std::u16string_view::npos ? path.size() : sep + 1);
    }
    return key;
}

RegKey& AddKey(RegTree& tree, std::u16string_view path) {
    RegKey* key = &tree;
    while (!path.empty()) {
        const auto sep = path.find(u'\\');
        key = &key->AddSubkey(path.substr(0, sep));
        path.remove_prefix(sep == std::u16string_view::npos ? path.size() : sep + 1);
    }
    return *key;
}

bool IsStorableName(std::u16string_view name) {
    for (std::size_t i = 0; i < name.size(); ++i) {
        const char16_t c = name[i];
        if (c < 0x20 || c == 0x7F)
            return false;
        if (c >= 0xD800 && c <= 0xDBFF) {
            if (i + 1 >= name.size() || name[i + 1] < 0xDC00 || name[i + 1] > 0xDFFF)
                return false;
            ++i;
        } else if (c >= 0xDC00 && c <= 0xDFFF) {
            return false;
        }
    }
    return true;
}

std::optional<RegTree> ParseRegFile(std::string_view text, RegParseError& error) {
    const std::string_view file = text;
    // Where a byte of the file stands: its line, its column in characters, and which byte
    // of the file it is, each counted from 1.
    auto fail = [&](const char* at, std::string reason) {
        const std::size_t offset = static_cast<std::size_t>(at - file.data());
        const std::string_view before = file.substr(0, offset);
        const std::size_t lineStart = before.rfind('\n') + 1; // 0 when there is none
        error.line = static_cast<int>(std::count(before.begin(), before.end(), '\n')) + 1;
        // Characters start with any byte but a continuation byte; a byte-order mark is no
        // character of the first line.
        const std::size_t from = lineStart == 0 && file.starts_with(kBom) ? kBom.size() : lineStart;
        error.column = 1 + static_cast<int>(std::count_if(
                               before.begin() + static_cast<std::ptrdiff_t>(std::min(from, offset)),
                               before.end(), [](char c) { return (c & 0xC0) != 0x80; }));
        error.byte = offset + 1;
        error.reason = std::move(reason);
        return std::nullopt;
    };
    if (text.size() > kMaxRegFileSize) {
        error = {0, 0, 0, "larger than " + std::to_string(kMaxRegFileSize / 1024 / 1024) + " MiB"};
        return std::nullopt;
    }
    if (text.starts_with(kBom))
        text.remove_prefix(kBom.size());
    // A file that is not valid UTF-8 would come back changed; it is refused whole.
    if (const std::size_t bad = FirstInvalidUtf8(text); bad != std::string_view::npos) {
        const std::size_t byte = static_cast<std::size_t>(text.data() - file.data()) + bad;
        return fail(file.data() + byte,
                    "the file is not UTF-8 text at byte " + std::to_string(byte + 1));
    }

    RegTree tree;
    RegKey* key = nullptr;
    bool header = false;
    while (!text.empty()) {
        // One logical line: physical lines ending in "\" continue on the next. Each piece
        // remembers where in the file it came from, so that a fault is found there.
        std::string line;
        std::vector<std::pair<std::size_t, const char*>> pieces; // offset in line, in file
        bool hex = false;
        for (;;) {
            const auto end = text.find('\n');
            std::string_view physical = TrimRight(text.substr(0, end));
            text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
            if (!line.empty())
                physical = TrimLeft(physical);
            else
                hex = physical.find("=hex") != std::string_view::npos;
            pieces.emplace_back(line.size(), physical.data());
            line += physical;
            // Only hex data is continued ("text" values end in a quote).
            if (hex && !line.empty() && line.back() == '\\' && !text.empty()) {
                line.pop_back();
                continue;
            }
            break;
        }
        auto inFile = [&](const char* at) {
            const auto offset = static_cast<std::size_t>(at - line.data());
            auto piece = pieces.rbegin();
            while (piece->first > offset)
                ++piece;
            return piece->second + (offset - piece->first);
        };
        const std::string_view l = TrimLeft(line);
        if (l.empty() || l.front() == ';')
            continue;
        if (!header) {
            if (l != kHeader && l != "Windows Registry Editor Version 5.00")
                return fail(inFile(l.data()), "the file does not begin with REGEDIT4");
            header = true;
            continue;
        }
        if (l.front() == '[') {
            if (l.back() != ']')
                return fail(inFile(l.data() + l.size()), "key line without its closing bracket");
            const std::string_view name = l.substr(1, l.size() - 2);
            const std::string_view root = name.substr(0, name.find('\\'));
            if (FoldCase(Utf8ToUtf16(root)) != FoldCase(Utf8ToUtf16(kRoot)))
                return fail(inFile(name.data()), "only HKEY_CURRENT_USER keys can be kept here");
            const auto path = NormalizeKeyPath(Utf8ToUtf16(name.substr(root.size())));
            if (!IsStorableName(path))
                return fail(inFile(name.data()), "unusable key name");
            if (KeyDepth(path) > kMaxKeyDepth)
                return fail(inFile(name.data()),
                            "key nested deeper than " + std::to_string(kMaxKeyDepth) + " levels");
            key = &AddKey(tree, path);
            continue;
        }
        if (l.front() != '"' && l.front() != '@')
            return fail(inFile(l.data()), "neither a key nor a value");
        if (!key)
            return fail(inFile(l.data()), "value before the first key");
        std::string reason;
        const char* bad = l.data();
        auto value = ParseValue(l, reason, bad);
        if (!value)
            return fail(inFile(bad), reason);
        key->Set(value->name, value->type, std::move(value->data));
    }
    if (!header)
        return fail(file.data() + file.size(), "the file does not begin with REGEDIT4");
    return tree;
}

namespace {

// A key's section, then its subkeys'; path is the key's path in UTF-8 ("" for the root,
// which has a section only when it holds values).
void FormatKey(const RegKey& key, std::string& path, std::string& out) {
    if (!path.empty() || !key.Values().empty()) {
        out += '[';
        out += kRoot;
        out += path;
        out += "]\n";
        for (const auto& value : key.Values()) {
            out += FormatValue(value);
            out += '\n';
        }
        out += '\n';
    }
    for (const RegKey* sub : key.SortedSubkeys()) {
        const std::size_t length = path.size();
        path += '\\';
        path += Utf16ToUtf8(sub->Name());
        FormatKey(*sub, path, out);
        path.resize(length);
    }
}

} // namespace

std::string FormatRegFile(const RegTree& tree) {
    std::string out(kHeader);
    out += "\n\n";
    std::string path;
    FormatKey(tree, path, out);
    return out;
}

} // namespace korvyn::platform
