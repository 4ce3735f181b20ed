#pragma once

#include "platform/SystemBeep.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

// A short tone through the default output of the sound server (PulseAudio, or PipeWire in its
// place), played through the server's client library on a worker thread of its own, started
// with the first beep. Without a sound server it rings a bell instead: by default the windowing
// system's. Called from one thread (the GUI's).
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
    // Beeps asked for while held wait, and the first of them sounds at the release: the
    // window appears before the sound server is called.
    void hold();
    void release();

    // One beep as played: mono, 44100 samples a second.
    static std::vector<int16_t> tone();

private:
    void startWhenDue();

    struct Shared;
    std::unique_ptr<Shared> shared_;
    std::thread worker_;
    bool held_ = false;
};
