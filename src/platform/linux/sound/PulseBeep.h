#pragma once

#include "platform/SystemBeep.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

// A short tone through the default PulseAudio output, played on a worker thread of its own.
// Without a sound server it rings a bell instead: by default the windowing system's.
class PulseBeep : public SystemBeep {
public:
    using Bell = std::function<void()>;

    // bell: called on the worker thread when no tone can be played; it must not call beep().
    // An empty one asks the windowing system for its bell, on the GUI thread.
    // idleClose: how long an unused connection to the sound server stays open.
    explicit PulseBeep(Bell bell = {},
                       std::chrono::milliseconds idleClose = std::chrono::seconds(3));
    ~PulseBeep() override;

    PulseBeep(const PulseBeep&) = delete;
    PulseBeep& operator=(const PulseBeep&) = delete;

    void beep() override;

    // One beep as played: mono, 44100 samples a second.
    static std::vector<int16_t> tone();

private:
    struct Shared;
    std::shared_ptr<Shared> shared_;
    std::thread worker_;
};
