#include "platform/resources/ResFile.h"
#include "platform/resources/Resources.h"
#include "platform/system/CaseFold.h"
#include "platform/system/TextCodec.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <optional>

#ifdef KORVYN_HAVE_EMBEDDED_RESOURCES
// The compiled resource file, placed in the program by resources/CMakeLists.txt.
extern "C" const BYTE korvyn_resources_begin[];
extern "C" const BYTE korvyn_resources_end[];
#endif

namespace korvyn::platform {

namespace {

class ResourceModule {
public:
    ResourceModule(std::vector<BYTE> bytes, std::vector<ResEntry> entries)
        : bytes_(std::move(bytes)), entries_(std::move(entries)) {}

    static ResourceModule* From(HMODULE module) {
        return reinterpret_cast<ResourceModule*>(module);
    }
    HMODULE Handle() { return reinterpret_cast<HMODULE>(this); }

    const ResEntry* Find(LPCWSTR name, LPCWSTR type) const {
        for (const auto& entry : entries_)
            if (Matches(entry.type, type) && Matches(entry.name, name))
                return &entry;
        return nullptr;
    }
    // Handles are entry addresses; anything else is refused rather than followed.
    const ResEntry* Entry(const void* handle) const {
        const auto* p = static_cast<const ResEntry*>(handle);
        if (entries_.empty() || std::less<>()(p, entries_.data()) ||
            !std::less<>()(p, entries_.data() + entries_.size()))
            return nullptr;
        return p;
    }
    const BYTE* Data(const ResEntry& entry) const { return bytes_.data() + entry.offset; }

private:
    static bool Matches(const ResId& id, LPCWSTR wanted) {
        if (!wanted)
            return false;
        if (IS_INTRESOURCE(wanted))
            return id.isNumber && id.number == reinterpret_cast<std::uintptr_t>(wanted);
        const std::u16string_view text(wanted, WideLength(wanted));
        if (auto number = NumberName(text))
            return id.isNumber && id.number == *number;
        return !id.isNumber && EqualIgnoringCase(id.text, text);
    }
    // "#123" names resource 123.
    static std::optional<WORD> NumberName(std::u16string_view text) {
        if (text.size() < 2 || text.size() > 6 || text[0] != u'#')
            return std::nullopt;
        unsigned value = 0;
        for (char16_t c : text.substr(1)) {
            if (c < u'0' || c > u'9')
                return std::nullopt;
            value = value * 10 + (c - u'0');
        }
        if (value > 0xFFFF)
            return std::nullopt;
        return static_cast<WORD>(value);
    }

    std::vector<BYTE> bytes_;
    std::vector<ResEntry> entries_;
};

ResourceModule& ProgramModule() {
    static ResourceModule module = [] {
#ifdef KORVYN_HAVE_EMBEDDED_RESOURCES
        std::vector<BYTE> bytes(korvyn_resources_begin, korvyn_resources_end);
        if (auto entries = ParseResFile(bytes))
            return ResourceModule(std::move(bytes), std::move(*entries));
#endif
        return ResourceModule({}, {});
    }();
    return module;
}

ResourceModule* Module(HMODULE module) {
    return module ? ResourceModule::From(module) : &ProgramModule();
}

// The 16 strings of block (id / 16) + 1: each a length word and that many units.
std::optional<std::u16string_view> FindString(HMODULE module, UINT id) {
    if (id > 0xFFFF)
        return std::nullopt;
    const BYTE* data = nullptr;
    std::size_t size = 0;
    if (!LoadResourceBytes(module, MAKEINTRESOURCE((id >> 4) + 1), RT_STRING, data, size))
        return std::nullopt;
    std::size_t pos = 0;
    for (UINT index = 0;; ++index) {
        WORD length = 0;
        if (size - pos < 2)
            return std::nullopt;
        std::memcpy(&length, data + pos, 2);
        pos += 2;
        if (size - pos < std::size_t{length} * 2)
            return std::nullopt;
        if (index == (id & 15)) {
            // Resource data is 4-byte aligned within the module and strings start on
            // even offsets, so the units can be read in place.
            return std::u16string_view(reinterpret_cast<const char16_t*>(data + pos), length);
        }
        pos += std::size_t{length} * 2;
    }
}

} // namespace

HMODULE LoadResourceModule(std::vector<BYTE> resFileBytes) {
    auto entries = ParseResFile(resFileBytes);
    if (!entries)
        return nullptr;
    return (new ResourceModule(std::move(resFileBytes), std::move(*entries)))->Handle();
}

void FreeResourceModule(HMODULE module) {
    if (module && ResourceModule::From(module) != &ProgramModule())
        delete ResourceModule::From(module);
}

bool LoadResourceBytes(HMODULE module, LPCWSTR name, LPCWSTR type, const BYTE*& data,
                       std::size_t& size) {
    HRSRC found = ::FindResource(module, name, type);
    if (!found)
        return false;
    data = static_cast<const BYTE*>(::LockResource(::LoadResource(module, found)));
    size = ::SizeofResource(module, found);
    return data != nullptr;
}

bool LoadBitmapResource(HMODULE module, UINT id, Bitmap& out) {
    const BYTE* data = nullptr;
    std::size_t size = 0;
    return LoadResourceBytes(module, MAKEINTRESOURCE(id), RT_BITMAP, data, size) &&
           DecodeBitmap(data, size, out);
}

bool LoadMenuResource(HMODULE module, UINT id, std::vector<MenuItem>& out) {
    const BYTE* data = nullptr;
    std::size_t size = 0;
    return LoadResourceBytes(module, MAKEINTRESOURCE(id), RT_MENU, data, size) &&
           ParseMenuTemplate(data, size, out);
}

} // namespace korvyn::platform

using korvyn::platform::Module;

HMODULE GetModuleHandle(LPCWSTR moduleName) {
    return moduleName ? nullptr : korvyn::platform::ProgramModule().Handle();
}

HRSRC FindResource(HMODULE module, LPCWSTR name, LPCWSTR type) {
    return reinterpret_cast<HRSRC>(
        const_cast<korvyn::platform::ResEntry*>(Module(module)->Find(name, type)));
}

HGLOBAL LoadResource(HMODULE module, HRSRC resource) {
    // The loaded form is the address of the bytes, which live as long as the module.
    auto* m = Module(module);
    const auto* entry = m->Entry(resource);
    if (!entry)
        return nullptr;
    return reinterpret_cast<HGLOBAL>(const_cast<BYTE*>(m->Data(*entry)));
}

const void* LockResource(HGLOBAL loaded) {
    return loaded;
}

DWORD SizeofResource(HMODULE module, HRSRC resource) {
    const auto* entry = Module(module)->Entry(resource);
    return entry ? entry->size : 0;
}

int LoadString(HMODULE module, UINT id, LPWSTR buffer, int cchBufferMax) {
    const auto text = korvyn::platform::FindString(module, id);
    if (!text || text->empty() || !buffer || cchBufferMax < 0)
        return 0;
    if (cchBufferMax == 0) {
        const LPCWSTR start = text->data();
        std::memcpy(buffer, &start, sizeof start);
        return static_cast<int>(text->size());
    }
    const std::size_t count = std::min<std::size_t>(text->size(), cchBufferMax - 1);
    std::copy_n(text->data(), count, buffer);
    buffer[count] = 0;
    return static_cast<int>(count);
}
