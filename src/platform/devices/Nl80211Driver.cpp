#include "platform/devices/Nl80211Driver.h"

#include "platform/devices/DeviceIo.h"
#include "platform/devices/NetlinkLibrary.h"
#include "platform/devices/Nl80211Scan.h"
#include "platform/system/TextCodec.h"

#include <linux/nl80211.h>
#include <net/if.h>

#include <algorithm>
#include <cerrno>
#include <functional>

namespace korvyn::platform {
namespace {

constexpr int kDumpAttempts = 5;

// One request and its replies, until the kernel acknowledges, ends a dump or refuses.
struct Exchange {
    std::function<void(nl_msg*)> onMessage;
    int error = 0; // 0 or a negative errno
    bool done = false;
    bool interrupted = false; // the dump changed while it was read
};

int OnValid(nl_msg* message, void* arg) {
    auto* exchange = static_cast<Exchange*>(arg);
    if (exchange->onMessage)
        exchange->onMessage(message);
    return NL_OK;
}

int OnDone(nl_msg*, void* arg) {
    static_cast<Exchange*>(arg)->done = true;
    return NL_STOP;
}

int OnInterrupted(nl_msg*, void* arg) {
    static_cast<Exchange*>(arg)->interrupted = true;
    return NL_OK;
}

int OnError(sockaddr_nl*, nlmsgerr* error, void* arg) {
    auto* exchange = static_cast<Exchange*>(arg);
    exchange->error = error->error;
    exchange->done = true;
    return NL_STOP;
}

int Transact(const NetlinkLibrary& nl, nl_sock* socket, nl_msg* message, Exchange& exchange) {
    nl_cb* cb = nl.cbAlloc(NL_CB_DEFAULT);
    if (!cb) {
        nl.msgFree(message);
        return -ENOMEM;
    }
    nl.cbSet(cb, NL_CB_VALID, NL_CB_CUSTOM, OnValid, &exchange);
    nl.cbSet(cb, NL_CB_FINISH, NL_CB_CUSTOM, OnDone, &exchange);
    nl.cbSet(cb, NL_CB_ACK, NL_CB_CUSTOM, OnDone, &exchange);
    nl.cbSet(cb, NL_CB_DUMP_INTR, NL_CB_CUSTOM, OnInterrupted, &exchange);
    nl.cbErr(cb, NL_CB_CUSTOM, OnError, &exchange);
    const int sent = nl.sendAuto(socket, message);
    nl.msgFree(message);
    while (sent >= 0 && !exchange.done) {
        if (nl.recvmsgs(socket, cb) < 0 && !exchange.done) {
            exchange.error = -EIO;
            break;
        }
    }
    nl.cbPut(cb);
    return sent < 0 ? -EIO : exchange.error;
}

DWORD ErrorFromErrno(int error) {
    switch (-error) {
    case 0:
        return ERROR_SUCCESS;
    case EBUSY:
        return ERROR_BUSY;
    case EPERM:
    case EACCES:
        return ERROR_ACCESS_DENIED;
    case ENETDOWN:
        return ERROR_NOT_READY;
    case ENODEV:
    case EOPNOTSUPP:
        return ERROR_NOT_SUPPORTED;
    default:
        return ERROR_GEN_FAILURE;
    }
}

} // namespace

Nl80211Driver::Nl80211Driver(std::filesystem::path interfaces)
    : interfaces_(std::move(interfaces)) {}

Nl80211Driver::~Nl80211Driver() {
    Disconnect();
}

// A socket that failed mid-exchange may still hold stale replies: start afresh.
void Nl80211Driver::Disconnect() {
    if (socket_)
        nl_->socketFree(socket_);
    socket_ = nullptr;
    family_ = -1;
}

bool Nl80211Driver::Connect() {
    if (socket_)
        return true;
    if (!nl_ && !(nl_ = Netlink()))
        return false;
    nl_sock* socket = nl_->socketAlloc();
    if (!socket)
        return false;
    if (nl_->genlConnect(socket) < 0) {
        nl_->socketFree(socket);
        return false;
    }
    const int family = nl_->genlResolve(socket, "nl80211");
    if (family < 0) {
        nl_->socketFree(socket);
        return false;
    }
    nl_->socketEnableMsgPeek(socket); // scan results with long element lists stay whole
    socket_ = socket;
    family_ = family;
    return true;
}

std::set<int> Nl80211Driver::WirelessInterfaces() {
    std::set<int> indexes;
    if (!Connect())
        return indexes;
    nl_msg* message = nl_->msgAlloc();
    if (!message || !nl_->genlPut(message, NL_AUTO_PORT, NL_AUTO_SEQ, family_, 0, NLM_F_DUMP,
                                  NL80211_CMD_GET_INTERFACE, 0)) {
        nl_->msgFree(message);
        return indexes;
    }
    Exchange exchange;
    exchange.onMessage = [&](nl_msg* reply) {
        nlattr* attrs[NL80211_ATTR_MAX + 1];
        if (nl_->genlParse(nl_->msgHeader(reply), 0, attrs, NL80211_ATTR_MAX, nullptr) >= 0 &&
            attrs[NL80211_ATTR_IFINDEX])
            indexes.insert(static_cast<int>(nl_->getU32(attrs[NL80211_ATTR_IFINDEX])));
    };
    Transact(*nl_, socket_, message, exchange);
    return indexes;
}

bool Nl80211Driver::HasWirelessInterface() {
    return !WirelessInterfaces().empty();
}

std::vector<std::u16string> Nl80211Driver::AdapterNames() {
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(interfaces_, ec))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    std::vector<std::u16string> wide;
    for (const std::string& name : names)
        wide.push_back(Utf8ToUtf16(name));
    return wide;
}

DWORD Nl80211Driver::QueryPhysicalMedium(std::u16string_view adapter, ULONG& medium) {
    const std::string name = Utf16ToUtf8(adapter);
    std::error_code ec;
    if (name.empty() || name.find('/') != std::string::npos ||
        !std::filesystem::exists(interfaces_ / name, ec))
        return ERROR_DEV_NOT_EXIST;
    const int index = static_cast<int>(if_nametoindex(name.c_str()));
    medium = index && WirelessInterfaces().count(index) ? NdisPhysicalMediumWirelessLan
                                                        : NdisPhysicalMediumUnspecified;
    return ERROR_SUCCESS;
}

int Nl80211Driver::WirelessIndex(std::u16string_view adapter, DWORD& error) {
    const int index = static_cast<int>(if_nametoindex(Utf16ToUtf8(adapter).c_str()));
    error = !index ? ERROR_DEV_NOT_EXIST : !Connect() ? ERROR_NOT_SUPPORTED : ERROR_SUCCESS;
    return error == ERROR_SUCCESS ? index : 0;
}

DWORD Nl80211Driver::RequestScan(std::u16string_view adapter) {
    DWORD error = ERROR_SUCCESS;
    const int index = WirelessIndex(adapter, error);
    if (!index)
        return error;
    if (!triggerRefused_) {
        nl_msg* message = nl_->msgAlloc();
        if (!message ||
            !nl_->genlPut(message, NL_AUTO_PORT, NL_AUTO_SEQ, family_, 0, 0,
                          NL80211_CMD_TRIGGER_SCAN, 0) ||
            nl_->putU32(message, NL80211_ATTR_IFINDEX, static_cast<std::uint32_t>(index)) < 0) {
            nl_->msgFree(message);
            return ERROR_GEN_FAILURE;
        }
        Exchange exchange;
        const int result = Transact(*nl_, socket_, message, exchange);
        if (result == -EIO)
            Disconnect();
        if (result != -EPERM && result != -EACCES)
            return ErrorFromErrno(result);
        triggerRefused_ = true;
    }
    return networkManager_.RequestScan(Utf16ToUtf8(adapter));
}

DWORD Nl80211Driver::ReadNetworkList(std::u16string_view adapter,
                                     std::vector<NDIS_WLAN_BSSID>& entries) {
    DWORD error = ERROR_SUCCESS;
    const int index = WirelessIndex(adapter, error);
    if (!index)
        return error;
    // A dump that changed while it was read is read again.
    for (int attempt = 0; attempt < kDumpAttempts; ++attempt) {
        entries.clear();
        nl_msg* message = nl_->msgAlloc();
        if (!message ||
            !nl_->genlPut(message, NL_AUTO_PORT, NL_AUTO_SEQ, family_, 0, NLM_F_DUMP,
                          NL80211_CMD_GET_SCAN, 0) ||
            nl_->putU32(message, NL80211_ATTR_IFINDEX, static_cast<std::uint32_t>(index)) < 0) {
            nl_->msgFree(message);
            return ERROR_GEN_FAILURE;
        }
        Exchange exchange;
        exchange.onMessage = [&](nl_msg* reply) {
            if (auto entry = TranslateScanResult(reply))
                entries.push_back(*entry);
        };
        const int result = Transact(*nl_, socket_, message, exchange);
        if (result == -EIO)
            Disconnect();
        if (result != 0)
            return ErrorFromErrno(result);
        if (!exchange.interrupted)
            break;
    }
    return ERROR_SUCCESS;
}

} // namespace korvyn::platform
