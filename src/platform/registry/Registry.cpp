#include "platform/registry/Registry.h"

#include "platform/registry/RegistryFile.h"
#include "platform/system/TextCodec.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>
#include <pwd.h>
#include <set>
#include <unistd.h>

namespace korvyn::platform {

namespace fs = std::filesystem;

namespace {

// An open key: its normalised path and the access it was opened with.
struct OpenKey {
    std::u16string path;
    REGSAM access = 0;
};

struct Store {
    std::mutex mutex;
    fs::path file; // set by SetRegistryFile; empty: from the environment
    bool loaded = false;
    LoadedRegistry registry;
    RegistrySaveHook hook;
    std::set<OpenKey*> open;
    int batches = 0;      // RegistryBatch objects alive
    bool unsaved = false; // changes made during them
    bool inSync = true;   // the last write of the file succeeded

    void EnsureLoaded() {
        if (!loaded) {
            registry = LoadRegistryFile(RegistryFilePath());
            loaded = true;
        }
    }
    bool Save() {
        if (batches > 0) {
            unsaved = true;
            return registry.writable;
        }
        unsaved = false;
        inSync = registry.writable && SaveRegistryFile(RegistryFilePath(), registry, hook);
        return inSync;
    }
    RegKey* Find(const std::u16string& path) { return FindKey(registry.tree, path); }
    // The key a handle stands for, with its access; nullptr for a handle never handed out.
    const OpenKey* Resolve(HKEY key) {
        static const OpenKey root{u"", KEY_ALL_ACCESS};
        if (key == HKEY_CURRENT_USER)
            return &root;
        auto* open_key = reinterpret_cast<OpenKey*>(key);
        return open.count(open_key) ? open_key : nullptr;
    }
    HKEY Hand(std::u16string path, REGSAM access) {
        auto* k = new OpenKey{std::move(path), access};
        open.insert(k);
        return reinterpret_cast<HKEY>(k);
    }
};

Store& TheStore() {
    static Store store;
    return store;
}

std::u16string_view View(LPCWSTR text) {
    return text ? std::u16string_view(text, WideLength(text)) : std::u16string_view();
}

fs::path DefaultFile() {
    if (const char* config = std::getenv("XDG_CONFIG_HOME"); config && *config)
        return fs::path(config) / "korvyn" / "registry.reg";
    const char* home = std::getenv("HOME");
    if (!home || !*home) {
        const passwd* pw = ::getpwuid(::getuid());
        home = pw ? pw->pw_dir : ".";
    }
    return fs::path(home) / ".config" / "korvyn" / "registry.reg";
}

} // namespace

void SetRegistryFile(const fs::path& path) {
    Store& store = TheStore();
    std::lock_guard lock(store.mutex);
    store.file = path;
    store.loaded = false;
    store.registry = {};
    store.unsaved = false;
    store.inSync = true;
}

RegistryBatch::RegistryBatch() {
    Store& store = TheStore();
    std::lock_guard lock(store.mutex);
    ++store.batches;
}

RegistryBatch::~RegistryBatch() {
    End();
}

bool RegistryBatch::End() {
    if (ended_)
        return true;
    ended_ = true;
    Store& store = TheStore();
    std::lock_guard lock(store.mutex);
    if (--store.batches > 0 || !store.unsaved)
        return true;
    return store.Save();
}

fs::path RegistryFilePath() {
    if (!TheStore().file.empty())
        return TheStore().file;
    if (const char* file = std::getenv("KORVYN_REGISTRY"); file && *file)
        return file;
    return DefaultFile();
}

bool RegistryFileInSync() {
    Store& store = TheStore();
    std::lock_guard lock(store.mutex);
    return store.inSync;
}

void SetRegistrySaveHook(RegistrySaveHook hook) {
    Store& store = TheStore();
    std::lock_guard lock(store.mutex);
    store.hook = std::move(hook);
}

} // namespace korvyn::platform

using korvyn::platform::TheStore;

LONG RegOpenKeyEx(HKEY key, LPCWSTR subKey, DWORD, REGSAM access, PHKEY result) {
    auto& store = TheStore();
    std::lock_guard lock(store.mutex);
    store.EnsureLoaded();
    const auto* parent = store.Resolve(key);
    if (!result)
        return ERROR_INVALID_PARAMETER;
    *result = nullptr;
    if (!parent)
        return ERROR_INVALID_HANDLE;
    if (!store.Find(parent->path))
        return ERROR_KEY_DELETED;
    const auto path = korvyn::platform::JoinKeyPath(parent->path, korvyn::platform::View(subKey));
    if (!store.Find(path))
        return ERROR_FILE_NOT_FOUND;
    *result = store.Hand(path, access);
    return ERROR_SUCCESS;
}

LONG RegCreateKeyEx(HKEY key, LPCWSTR subKey, DWORD, LPWSTR, DWORD, REGSAM access,
                    LPSECURITY_ATTRIBUTES, PHKEY result, LPDWORD disposition) {
    auto& store = TheStore();
    std::lock_guard lock(store.mutex);
    store.EnsureLoaded();
    const auto* parent = store.Resolve(key);
    if (!result)
        return ERROR_INVALID_PARAMETER;
    *result = nullptr;
    if (!parent)
        return ERROR_INVALID_HANDLE;
    if (!store.Find(parent->path))
        return ERROR_KEY_DELETED;
    const auto path = korvyn::platform::JoinKeyPath(parent->path, korvyn::platform::View(subKey));
    if (!korvyn::platform::IsStorableName(path) ||
        korvyn::platform::KeyDepth(path) > korvyn::platform::kMaxKeyDepth)
        return ERROR_BADKEY;
    const bool existed = store.Find(path) != nullptr;
    if (!existed) {
        korvyn::platform::AddKey(store.registry.tree, path);
        if (!store.Save())
            return ERROR_REGISTRY_IO_FAILED;
    }
    if (disposition)
        *disposition = existed ? REG_OPENED_EXISTING_KEY : REG_CREATED_NEW_KEY;
    *result = store.Hand(path, access);
    return ERROR_SUCCESS;
}

LONG RegCloseKey(HKEY key) {
    auto& store = TheStore();
    std::lock_guard lock(store.mutex);
    if (key == HKEY_CURRENT_USER)
        return ERROR_SUCCESS;
    auto* open = reinterpret_cast<korvyn::platform::OpenKey*>(key);
    if (!store.open.erase(open))
        return ERROR_INVALID_HANDLE;
    delete open;
    return ERROR_SUCCESS;
}

LONG RegQueryValueEx(HKEY key, LPCWSTR name, LPDWORD, LPDWORD type, LPBYTE data, LPDWORD size) {
    auto& store = TheStore();
    std::lock_guard lock(store.mutex);
    store.EnsureLoaded();
    const auto* open = store.Resolve(key);
    if (!open)
        return ERROR_INVALID_HANDLE;
    if (!(open->access & KEY_QUERY_VALUE))
        return ERROR_ACCESS_DENIED;
    if (data && !size)
        return ERROR_INVALID_PARAMETER;
    auto* k = store.Find(open->path);
    if (!k)
        return ERROR_KEY_DELETED;
    const auto* value = k->Find(korvyn::platform::View(name));
    if (!value)
        return ERROR_FILE_NOT_FOUND;
    if (type)
        *type = value->type;
    const auto needed = static_cast<DWORD>(value->data.size());
    if (!size)
        return ERROR_SUCCESS;
    const DWORD room = *size;
    *size = needed;
    if (!data)
        return ERROR_SUCCESS;
    if (needed > room)
        return ERROR_MORE_DATA;
    std::copy(value->data.begin(), value->data.end(), data);
    return ERROR_SUCCESS;
}

LONG RegSetValueEx(HKEY key, LPCWSTR name, DWORD, DWORD type, const BYTE* data, DWORD size) {
    auto& store = TheStore();
    std::lock_guard lock(store.mutex);
    store.EnsureLoaded();
    const auto* open = store.Resolve(key);
    if (!open)
        return ERROR_INVALID_HANDLE;
    if (!(open->access & KEY_SET_VALUE))
        return ERROR_ACCESS_DENIED;
    if (!data && size)
        return ERROR_INVALID_PARAMETER;
    const auto valueName = korvyn::platform::View(name);
    if (!korvyn::platform::IsStorableName(valueName))
        return ERROR_INVALID_PARAMETER;
    auto* k = store.Find(open->path);
    if (!k)
        return ERROR_KEY_DELETED;
    k->Set(valueName, type, std::vector<BYTE>(data, data + size));
    return store.Save() ? ERROR_SUCCESS : ERROR_REGISTRY_IO_FAILED;
}

LONG RegDeleteValue(HKEY key, LPCWSTR name) {
    auto& store = TheStore();
    std::lock_guard lock(store.mutex);
    store.EnsureLoaded();
    const auto* open = store.Resolve(key);
    if (!open)
        return ERROR_INVALID_HANDLE;
    if (!(open->access & KEY_SET_VALUE))
        return ERROR_ACCESS_DENIED;
    auto* k = store.Find(open->path);
    if (!k)
        return ERROR_KEY_DELETED;
    if (!k->Remove(korvyn::platform::View(name)))
        return ERROR_FILE_NOT_FOUND;
    return store.Save() ? ERROR_SUCCESS : ERROR_REGISTRY_IO_FAILED;
}
