#pragma once
// An audio device for tests: it notes what the player does as text ("open 11025 8x1",
// "write 551", "drain", "drop", "close"), and can hold every write until the test lets
// it go. A write held for ten seconds gives up, notes "write waited too long" and lets
// the rest through.
#include "platform/sound/PcmOutput.h"

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace korvyn::test {

struct FakeDevice {
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<std::string> events;
    bool holdWrites = false;
    bool opens = true;

    void Note(std::string event) {
        std::lock_guard hold(mutex);
        events.push_back(std::move(event));
        changed.notify_all();
    }
    // Waits (with a generous limit, as a guard against a hang) until count events exist.
    std::vector<std::string> WaitFor(std::size_t count) {
        std::unique_lock hold(mutex);
        changed.wait_for(hold, std::chrono::seconds(10), [&] { return events.size() >= count; });
        return events;
    }
    void Release() {
        std::lock_guard hold(mutex);
        holdWrites = false;
        changed.notify_all();
    }
};

class FakePcmOutput : public platform::PcmOutput {
public:
    explicit FakePcmOutput(std::shared_ptr<FakeDevice> device) : device_(std::move(device)) {}
    bool Open(const platform::WaveFormat& f) override {
        device_->Note("open " + std::to_string(f.samplesPerSecond) + " " +
                      std::to_string(f.bitsPerSample) + "x" + std::to_string(f.channels));
        return device_->opens;
    }
    bool Write(const BYTE*, std::size_t count) override {
        device_->Note("write " + std::to_string(count));
        std::unique_lock hold(device_->mutex);
        if (!device_->changed.wait_for(hold, std::chrono::seconds(10),
                                       [&] { return !device_->holdWrites; })) {
            device_->events.push_back("write waited too long");
            device_->holdWrites = false; // one is enough to tell
        }
        return true;
    }
    void Drain() override { device_->Note("drain"); }
    void Drop() override { device_->Note("drop"); }
    void Close() override { device_->Note("close"); }

private:
    std::shared_ptr<FakeDevice> device_;
};

} // namespace korvyn::test
