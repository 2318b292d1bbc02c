#include "platform/devices/NetlinkLibrary.h"

#include <dlfcn.h>

#include <mutex>

namespace korvyn::platform {
namespace {

template <typename F> bool Find(void* library, const char* name, F& function, std::string& error) {
    function = reinterpret_cast<F>(::dlsym(library, name));
    if (function == nullptr)
        error = std::string("the netlink library has no ") + name;
    return function != nullptr;
}

} // namespace

std::unique_ptr<NetlinkLibrary> LoadNetlinkLibrary(const char* file, std::string& error) {
    // The generic netlink library needs the core one, so dlsym finds both through it.
    void* library = ::dlopen(file, RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) {
        const char* why = ::dlerror();
        error = why != nullptr ? why : std::string("cannot load ") + file;
        return nullptr;
    }
    auto nl = std::make_unique<NetlinkLibrary>();
    if (Find(library, "nl_socket_alloc", nl->socketAlloc, error) &&
        Find(library, "nl_socket_free", nl->socketFree, error) &&
        Find(library, "nl_socket_enable_msg_peek", nl->socketEnableMsgPeek, error) &&
        Find(library, "nl_cb_alloc", nl->cbAlloc, error) &&
        Find(library, "nl_cb_set", nl->cbSet, error) &&
        Find(library, "nl_cb_err", nl->cbErr, error) &&
        Find(library, "nl_cb_put", nl->cbPut, error) &&
        Find(library, "nl_send_auto", nl->sendAuto, error) &&
        Find(library, "nl_recvmsgs", nl->recvmsgs, error) &&
        Find(library, "nlmsg_alloc", nl->msgAlloc, error) &&
        Find(library, "nlmsg_free", nl->msgFree, error) &&
        Find(library, "nlmsg_hdr", nl->msgHeader, error) &&
        Find(library, "nla_data", nl->attrData, error) &&
        Find(library, "nla_len", nl->attrLength, error) &&
        Find(library, "nla_get_u8", nl->getU8, error) &&
        Find(library, "nla_get_u16", nl->getU16, error) &&
        Find(library, "nla_get_u32", nl->getU32, error) &&
        Find(library, "nla_put_u32", nl->putU32, error) &&
        Find(library, "nla_parse_nested", nl->parseNested, error) &&
        Find(library, "genl_connect", nl->genlConnect, error) &&
        Find(library, "genl_ctrl_resolve", nl->genlResolve, error) &&
        Find(library, "genlmsg_put", nl->genlPut, error) &&
        Find(library, "genlmsg_parse", nl->genlParse, error)) {
        return nl;
    }
    ::dlclose(library);
    return nullptr;
}

const NetlinkLibrary* Netlink(std::string* error) {
    static std::unique_ptr<NetlinkLibrary> library;
    static std::string failure;
    static std::once_flag once;
    std::call_once(once, [] { library = LoadNetlinkLibrary(kNetlinkLibraryFile, failure); });
    if (!library && error != nullptr)
        *error = failure;
    return library.get();
}

} // namespace korvyn::platform
