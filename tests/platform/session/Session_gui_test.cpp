// The session services: one instance per program file, termination signals turned into
// a call on the UI thread, and the idle-timer reset.
#include "platform/session/IdleTimer.h"
#include "platform/session/SingleInstance.h"
#include "platform/session/TerminationSignals.h"
#include "support/PrivateBus.h"
#include "support/TempDir.h"

#include <QCoreApplication>
#include <QTest>

#include <systemd/sd-bus.h>

#include <chrono>
#include <csignal>
#include <gtest/gtest.h>
#include <vector>

using korvyn::platform::SingleInstance;
using korvyn::test::TempDir;

namespace {

struct Instances : ::testing::Test {
    TempDir dir;
    std::vector<int> waits;

    SingleInstance::Options For(const std::string& program) {
        SingleInstance::Options o;
        o.programPath = "/opt/korvyn/" + program;
        o.folder = dir.path();
        o.wait = [this](int ms) { waits.push_back(ms); };
        return o;
    }
};

TEST_F(Instances, ALaterStartHandsOverAndTheLockIsFreeOnceTheFirstHasEnded) {
    {
        SingleInstance first(For("korvyn"));
        int activations = 0;
        first.SetActivationHandler([&] { ++activations; });
        ASSERT_EQ(first.TryClaim(), SingleInstance::Claim::First);
        EXPECT_TRUE(std::filesystem::exists(SingleInstance::LockPathFor(For("korvyn"))));
        for (int later = 1; later <= 2; ++later) {
            SingleInstance next(For("korvyn"));
            EXPECT_EQ(next.TryClaim(), SingleInstance::Claim::HandedOver);
            EXPECT_TRUE(QTest::qWaitFor([&] { return activations == later; }, 5000));
        }
    }
    SingleInstance next(For("korvyn"));
    EXPECT_EQ(next.TryClaim(), SingleInstance::Claim::First);
    EXPECT_TRUE(waits.empty()) << "answered at the first try";
}

TEST_F(Instances, ProgramsAtOtherPathsRunSideBySide) {
    SingleInstance a(For("korvyn"));
    SingleInstance b(For("KORVYN"));
    SingleInstance c(For("other/korvyn"));
    EXPECT_EQ(a.TryClaim(), SingleInstance::Claim::First);
    EXPECT_EQ(b.TryClaim(), SingleInstance::Claim::First) << "paths differ in case";
    EXPECT_EQ(c.TryClaim(), SingleInstance::Claim::First);
}

TEST_F(Instances, WithoutAnAnswerALaterStartTriesFortyTimesAndGoesOn) {
    SingleInstance first(For("korvyn"));
    ASSERT_EQ(first.TryClaim(), SingleInstance::Claim::First);
    // The running program cannot be reached (as while it is still starting).
    std::filesystem::remove(SingleInstance::SocketPathFor(For("korvyn")));

    SingleInstance second(For("korvyn"));
    EXPECT_EQ(second.TryClaim(), SingleInstance::Claim::GaveUp);
    EXPECT_EQ(waits, std::vector<int>(40, 250));
}

TEST(TerminationSignals, EachSignalReachesTheHandlerOnTheEventLoop) {
    struct sigaction before {};
    sigaction(SIGTERM, nullptr, &before);
    std::vector<int> received;
    {
        korvyn::platform::TerminationSignals catcher([&](int s) { received.push_back(s); });
        ASSERT_TRUE(catcher.Active());
        std::raise(SIGTERM);
        EXPECT_TRUE(received.empty()) << "not from inside the signal handler";
        std::raise(SIGINT);
        std::raise(SIGHUP);
        EXPECT_TRUE(QTest::qWaitFor([&] { return received.size() == 3; }, 5000));
    }
    EXPECT_EQ(received, (std::vector<int>{SIGTERM, SIGINT, SIGHUP}));
    struct sigaction after {};
    sigaction(SIGTERM, nullptr, &after);
    EXPECT_EQ(after.sa_handler, before.sa_handler) << "the previous handling is back";
}

// The window's resets go through the replaceable reset (tests/app); the desktop's reset:
TEST(IdleTimer, TheDesktopResetReachesTheSessionScreenSaver) {
    korvyn::test::PrivateBus bus;
    if (bus.address().empty())
        GTEST_SKIP() << "dbus-daemon could not start a private bus; the screen saver's reset "
                        "is not tested here";
    const auto saver =
        bus.StartMock("org.freedesktop.ScreenSaver",
                      {"--template", KORVYN_SOURCE_DIR "/tests/platform/session/screensaver.py"});
    ASSERT_TRUE(saver) << "python3 -m dbusmock did not come up";
    bool called = false;
    ASSERT_GE(sd_bus_match_signal(
                  bus.control(), nullptr, nullptr, "/org/freedesktop/ScreenSaver",
                  "org.freedesktop.DBus.Mock", "MethodCalled",
                  [](sd_bus_message*, void* flag, sd_bus_error*) {
                      *static_cast<bool*>(flag) = true;
                      return 0;
                  },
                  &called),
              0);
    korvyn::test::ScopedEnv session("DBUS_SESSION_BUS_ADDRESS", bus.address().c_str());
    // A reset never waits, so a new connection may carry its call on a later reset.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!called) {
        ASSERT_LT(std::chrono::steady_clock::now(), deadline) << "no reset reached it";
        SystemIdleTimerReset();
        bus.Wait(100 * 1000);
    }
}

} // namespace
