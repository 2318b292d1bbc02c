#pragma once
// The netlink library (libnl with its generic netlink part), loaded when the nl80211
// driver first needs it, not with the program: most runs scan a simulated adapter, and
// loading it costs every start.
#include <netlink/attr.h>
#include <netlink/genl/ctrl.h>
#include <netlink/genl/genl.h>
#include <netlink/msg.h>

#include <memory>
#include <string>

namespace korvyn::platform {

// The library's functions that the nl80211 driver calls.
struct NetlinkLibrary {
    decltype(&::nl_socket_alloc) socketAlloc = nullptr;
    decltype(&::nl_socket_free) socketFree = nullptr;
    decltype(&::nl_socket_enable_msg_peek) socketEnableMsgPeek = nullptr;
    decltype(&::nl_cb_alloc) cbAlloc = nullptr;
    decltype(&::nl_cb_set) cbSet = nullptr;
    decltype(&::nl_cb_err) cbErr = nullptr;
    decltype(&::nl_cb_put) cbPut = nullptr;
    decltype(&::nl_send_auto) sendAuto = nullptr;
    decltype(&::nl_recvmsgs) recvmsgs = nullptr;
    decltype(&::nlmsg_alloc) msgAlloc = nullptr;
    decltype(&::nlmsg_free) msgFree = nullptr;
    decltype(&::nlmsg_hdr) msgHeader = nullptr;
    decltype(&::nla_data) attrData = nullptr;
    decltype(&::nla_len) attrLength = nullptr;
    decltype(&::nla_get_u8) getU8 = nullptr;
    decltype(&::nla_get_u16) getU16 = nullptr;
    decltype(&::nla_get_u32) getU32 = nullptr;
    decltype(&::nla_put_u32) putU32 = nullptr;
    decltype(&::nla_parse_nested) parseNested = nullptr;
    decltype(&::genl_connect) genlConnect = nullptr;
    decltype(&::genl_ctrl_resolve) genlResolve = nullptr;
    decltype(&::genlmsg_put) genlPut = nullptr;
    decltype(&::genlmsg_parse) genlParse = nullptr;
};

// The file the library is loaded from; the core library comes with it.
inline constexpr char kNetlinkLibraryFile[] = "libnl-genl-3.so.200";

// Loads the library from a file, or says in error why it could not (the file, or a
// function, missing).
std::unique_ptr<NetlinkLibrary> LoadNetlinkLibrary(const char* file, std::string& error);

// The library, loaded on the first call; null when it could not be, with the reason in
// error (when given) on every call.
const NetlinkLibrary* Netlink(std::string* error = nullptr);

} // namespace korvyn::platform
