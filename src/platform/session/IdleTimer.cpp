#include "platform/session/IdleTimer.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QGuiApplication>
#include <QtGui/qguiapplication_platform.h>

#include <dlfcn.h>
#include <utility>

namespace korvyn::platform {
namespace {

IdleTimerReset& Override() {
    static auto* reset = new IdleTimerReset;
    return *reset;
}

void ResetScreenSaverOverDBus() {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        return;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.ScreenSaver"),
        QStringLiteral("/org/freedesktop/ScreenSaver"),
        QStringLiteral("org.freedesktop.ScreenSaver"), QStringLiteral("SimulateUserActivity"));
    call.setAutoStartService(false);
    bus.send(call); // no answer awaited: a missing service only costs an error reply
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
