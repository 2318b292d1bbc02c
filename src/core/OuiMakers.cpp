#include "core/OuiMakers.h"

#include "core/CsvReader.h"
#include "platform/system/RegularFile.h"
#include "platform/system/TextCodec.h"

#include <algorithm>
#include <memory>

namespace korvyn {

namespace {

// The table is about 3 MB; anything far larger is not it.
constexpr std::uint64_t kFileLimit = 64u << 20;
// Columns: Registry, Assignment (six hex digits), Organization Name, Organization Address.
constexpr std::size_t kAssignment = 1, kName = 2;

bool ParseOui(const std::string& text, std::uint32_t& oui) {
    if (text.size() != 6)
        return false;
    oui = 0;
    for (char c : text) {
        const int digit = platform::HexDigit(c);
        if (digit < 0)
            return false;
        oui = oui << 4 | static_cast<std::uint32_t>(digit);
    }
    return true;
}

std::string_view Trimmed(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

std::unique_ptr<OuiMakers>& Program() {
    static std::unique_ptr<OuiMakers> makers;
    return makers;
}

} // namespace

void OuiMakers::Load() {
    loaded_ = true;
    std::string bytes, reason;
    if (platform::ReadRegularFile(path_, kFileLimit, bytes, reason) != platform::ReadStatus::Read)
        return;
    CsvReader reader(bytes);
    std::vector<std::string> fields;
    bool wellFormed = true;
    while (reader.Next(fields, wellFormed)) {
        std::uint32_t oui = 0;
        if (!wellFormed || fields.size() <= kName || !ParseOui(fields[kAssignment], oui))
            continue; // the heading and malformed lines
        const std::string_view name = Trimmed(fields[kName]);
        if (name.empty())
            continue;
        entries_.push_back({oui, static_cast<std::uint32_t>(names_.size()),
                            static_cast<std::uint32_t>(name.size())});
        names_ += name;
    }
    // The first entry of an OUI listed twice counts.
    std::stable_sort(entries_.begin(), entries_.end(),
                     [](const Entry& a, const Entry& b) { return a.oui < b.oui; });
}

std::u16string OuiMakers::MakerOf(const BYTE mac[6]) {
    if (mac[0] & 0x02)
        return u"random MAC";
    if (!loaded_)
        Load();
    const std::uint32_t oui = std::uint32_t{mac[0]} << 16 | std::uint32_t{mac[1]} << 8 | mac[2];
    const auto found =
        std::lower_bound(entries_.begin(), entries_.end(), oui,
                         [](const Entry& e, std::uint32_t key) { return e.oui < key; });
    if (found == entries_.end() || found->oui != oui)
        return {};
    return platform::Utf8ToUtf16(std::string_view(names_).substr(found->offset, found->length));
}

OuiMakers& ProgramOuiMakers() {
    if (!Program())
        Program() = std::make_unique<OuiMakers>();
    return *Program();
}

void SetOuiFile(std::string path) {
    Program() = std::make_unique<OuiMakers>(std::move(path));
}

} // namespace korvyn
