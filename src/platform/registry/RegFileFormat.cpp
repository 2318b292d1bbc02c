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

std::optional<DWORD> ParseHexNumber(std::string_view s) {
    if (s.empty() || s.size() > 8)
        return std::nullopt;
    DWORD v = 0;
    for (char c : s) {
        const int d = HexDigit(c);
        if (d < 0)
            return std::nullopt;
        v = (v << 4) | static_cast<DWORD>(d);
    }
    return v;
}

// "text" with \\ and \" escapes; s starts after the opening quote. Returns the UTF-8
// text and leaves s after the closing quote.
std::optional<std::string> ParseQuoted(std::string_view& s) {
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const char c = s[i];
        if (c == '"') {
            s.remove_prefix(i + 1);
            return out;
        }
        if (c == '\\') {
            if (i + 1 >= s.size() || (s[i + 1] != '\\' && s[i + 1] != '"'))
                return std::nullopt;
            out.push_back(s[++i]);
        } else {
            out.push_back(c);
        }
    }
    return std::nullopt;
}

std::optional<std::vector<BYTE>> ParseHexList(std::string_view s) {
    std::vector<BYTE> out;
    s = TrimLeft(s);
    if (s.empty())
        return out;
    for (;;) {
        s = TrimLeft(s);
        if (s.size() < 2 || HexDigit(s[0]) < 0 || HexDigit(s[1]) < 0)
            return std::nullopt;
        out.push_back(static_cast<BYTE>(HexDigit(s[0]) * 16 + HexDigit(s[1])));
        s = TrimLeft(s.substr(2));
        if (s.empty())
            return out;
        if (s.front() != ',')
            return std::nullopt;
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

std::optional<RegValue> ParseValue(std::string_view line, std::string& reason) {
    RegValue value;
    if (line.front() == '@') {
        line.remove_prefix(1);
    } else {
        line.remove_prefix(1);
        auto name = ParseQuoted(line);
        if (!name) {
            reason = "value name without its closing quote";
            return std::nullopt;
        }
        value.name = Utf8ToUtf16(*name);
    }
    if (line.empty() || line.front() != '=') {
        reason = "\"=\" expected after the value name";
        return std::nullopt;
    }
    line = TrimRight(line.substr(1));
    if (!line.empty() && line.front() == '"') {
        line.remove_prefix(1);
        auto text = ParseQuoted(line);
        if (!text || !line.empty()) {
            reason = "malformed text value";
            return std::nullopt;
        }
        value.type = REG_SZ;
        value.data = TextBytes(Utf8ToUtf16(*text));
    } else if (line.starts_with("dword:")) {
        const auto number = ParseHexNumber(line.substr(6));
        if (!number) {
            reason = "malformed dword value";
            return std::nullopt;
        }
        value.type = REG_DWORD;
        value.data.resize(4);
        for (int i = 0; i < 4; ++i)
            value.data[i] = static_cast<BYTE>(*number >> (8 * i));
    } else if (line.starts_with("hex")) {
        line.remove_prefix(3);
        value.type = REG_BINARY;
        if (line.starts_with("(")) {
            const auto close = line.find(')');
            const auto type = close == std::string_view::npos
                                  ? std::nullopt
                                  : ParseHexNumber(line.substr(1, close - 1));
            if (!type) {
                reason = "malformed hex(type)";
                return std::nullopt;
            }
            value.type = *type;
            line.remove_prefix(close + 1);
        }
        auto bytes = line.starts_with(":") ? ParseHexList(line.substr(1)) : std::nullopt;
        if (!bytes) {
            reason = "malformed hex value";
            return std::nullopt;
        }
        value.data = std::move(*bytes);
    } else {
        reason = "unknown kind of value";
        return std::nullopt;
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
    auto fail = [&](int line, std::string reason) {
        error = {line, std::move(reason)};
        return std::nullopt;
    };
    if (text.size() > kMaxRegFileSize)
        return fail(0, "larger than " + std::to_string(kMaxRegFileSize / 1024 / 1024) + " MiB");
    if (text.starts_with("\xEF\xBB\xBF"))
        text.remove_prefix(3);
    // A file that is not valid UTF-8 would come back changed; it is refused whole.
    if (Utf16ToUtf8(Utf8ToUtf16(text)) != text)
        return fail(0, "not UTF-8 text");

    RegTree tree;
    RegKey* key = nullptr;
    bool header = false;
    int number = 0;
    while (!text.empty()) {
        // One logical line: physical lines ending in "\" continue on the next.
        std::string line;
        const int start = number + 1;
        bool hex = false;
        for (;;) {
            const auto end = text.find('\n');
            std::string_view physical = TrimRight(text.substr(0, end));
            text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
            ++number;
            if (!line.empty())
                physical = TrimLeft(physical);
            else
                hex = physical.find("=hex") != std::string_view::npos;
            line += physical;
            // Only hex data is continued ("text" values end in a quote).
            if (hex && !line.empty() && line.back() == '\\' && !text.empty()) {
                line.pop_back();
                continue;
            }
            break;
        }
        const std::string_view l = TrimLeft(line);
        if (l.empty() || l.front() == ';')
            continue;
        if (!header) {
            if (l != kHeader && l != "Windows Registry Editor Version 5.00")
                return fail(start, "the file does not begin with REGEDIT4");
            header = true;
            continue;
        }
        if (l.front() == '[') {
            if (l.back() != ']')
                return fail(start, "key line without its closing bracket");
            const std::string_view name = l.substr(1, l.size() - 2);
            const std::string_view root = name.substr(0, name.find('\\'));
            if (FoldCase(Utf8ToUtf16(root)) != FoldCase(Utf8ToUtf16(kRoot)))
                return fail(start, "only HKEY_CURRENT_USER keys can be kept here");
            const auto path = NormalizeKeyPath(Utf8ToUtf16(name.substr(root.size())));
            if (!IsStorableName(path))
                return fail(start, "unusable key name");
            if (KeyDepth(path) > kMaxKeyDepth)
                return fail(start,
                            "key nested deeper than " + std::to_string(kMaxKeyDepth) + " levels");
            key = &AddKey(tree, path);
            continue;
        }
        if (l.front() != '"' && l.front() != '@')
            return fail(start, "neither a key nor a value");
        if (!key)
            return fail(start, "value before the first key");
        std::string reason;
        auto value = ParseValue(l, reason);
        if (!value)
            return fail(start, reason);
        key->Set(value->name, value->type, std::move(value->data));
    }
    if (!header)
        return fail(1, "the file does not begin with REGEDIT4");
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
