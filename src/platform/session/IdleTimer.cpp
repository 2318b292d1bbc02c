#include "platform/session/IdleTimer.h"

#include <QGuiApplication>
#include <QtGui/qguiapplication_platform.h>

#include <dlfcn.h>
#include <systemd/sd-bus.h>
#include <utility>

namespace korvyn::platform {
namespace {

IdleTimerReset& Override() {
    static auto* reset = new IdleTimerReset;
    return *reset;
}

// The session bus, opened on first use and again after it closed. Everything on it is
// driven without waiting: a connection still being set up sends on a later reset.
void ResetScreenSaverOverDBus() {
    static sd_bus* bus = nullptr;
    if (bus != nullptr && sd_bus_is_open(bus) <= 0) {
        bus = sd_bus_close_unref(bus);
    }
    if (bus == nullptr && sd_bus_open_user(&bus) < 0) {
        bus = nullptr;
        return;
    }
    sd_bus_message* call = nullptr;
    if (sd_bus_message_new_method_call(
            bus, &call, "org.freedesktop.ScreenSaver", "/org/freedesktop/ScreenSaver",
            "org.freedesktop.ScreenSaver", "SimulateUserActivity") >= 0) {
        sd_bus_message_set_auto_start(call, 0);
        sd_bus_message_set_expect_reply(call, 0); // a missing service costs nothing
        sd_bus_send(bus, call, nullptr);
    }
    sd_bus_message_unref(call);
    // Lets the connection finish its handshake, write what waits and drop what came in.
    while (sd_bus_process(bus, nullptr) > 0) {
    }
}

// XResetScreenSaver from libX11, looked up at run time so that the program needs no X11
// library where there is no X server.
void ResetScreenSaverOnX11() {
    auto* x11 = qGuiApp != nullptr ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>()
                                   : nullptr;
    if (x11 == nullptr || x11->display() == nullptr) {
        return;
    }
    using ResetFn = int (*)(void*);
    using FlushFn = int (*)(void*);
    static ResetFn reset = nullptr;
    static FlushFn flush = nullptr;
    static bool looked = false;
    if (!looked) {
        looked = true;
        if (void* lib = ::dlopen("libX11.so.6", RTLD_LAZY | RTLD_LOCAL)) {
            reset = reinterpret_cast<ResetFn>(::dlsym(lib, "XResetScreenSaver"));
            flush = reinterpret_cast<FlushFn>(::dlsym(lib, "XFlush"));
        }
    }
    if (reset != nullptr) {
        reset(x11->display());
        if (flush != nullptr) {
            flush(x11->display());
        }
    }
}

} // namespace

IdleTimerReset SetIdleTimerReset(IdleTimerReset reset) {
    return std::exchange(Override(), std::move(reset));
}

} // namespace korvyn::platform

void SystemIdleTimerReset() {
    using namespace korvyn::platform;
    if (Override()) {
        Override()();
        return;
    }
    ResetScreenSaverOverDBus();
    ResetScreenSaverOnX11();
}
