#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>

struct pa_context;
struct pa_mainloop;
struct pa_stream;

// A connection to the sound server through its client library (libpulse, which PipeWire's
// pipewire-pulse serves too), with one playback stream of 16-bit mono samples. The stream says
// who plays it, so that the desktop's sound settings show Pingolet with its icon and keep a
// volume for it. The library's main loop runs on the caller's thread, and only until a deadline:
// a server that accepts and never answers costs a bounded wait, not the library's 30 s.
class PulseStream {
public:
    using Deadline = std::chrono::steady_clock::time_point;

    // Connects to the server the library finds and opens the stream. Nullptr when that fails, or
    // does not finish by the deadline. The loop is the caller's; when `cancelled` is set and the
    // loop woken (pa_mainloop_wakeup), every wait ends at once.
    static std::unique_ptr<PulseStream> open(pa_mainloop* loop, const std::atomic<bool>& cancelled,
                                             uint32_t sampleRate, std::chrono::milliseconds latency,
                                             Deadline deadline);
    ~PulseStream();

    PulseStream(const PulseStream&) = delete;
    PulseStream& operator=(const PulseStream&) = delete;

    // Plays the samples to their end: returns once the server has played them out. False when
    // the server failed or went away, did not answer by `answerBy`, or had not played them out
    // by `playedBy`.
    bool play(std::span<const int16_t> samples, Deadline answerBy, Deadline playedBy);

private:
    PulseStream(pa_mainloop* loop, const std::atomic<bool>& cancelled);
    // Runs the main loop until `done` holds. False when the connection fails, the wait is
    // cancelled or the deadline passes first.
    bool runUntil(const std::function<bool()>& done, Deadline deadline);

    pa_mainloop* loop_;
    const std::atomic<bool>& cancelled_;
    pa_context* context_ = nullptr;
    pa_stream* stream_ = nullptr;
};
