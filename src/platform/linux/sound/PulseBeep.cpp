#include "PulseBeep.h"

#include "PulseStream.h"

#include <QApplication>
#include <QMetaObject>

#include <pulse/mainloop.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <condition_variable>
#include <mutex>
#include <numbers>
#include <optional>
#include <utility>

namespace {

using std::chrono::milliseconds;
using SteadyClock = std::chrono::steady_clock;

constexpr int sampleRate = 44100;
constexpr double toneHz = 880.0;
constexpr milliseconds toneLength{150};
constexpr milliseconds fadeLength{10};
constexpr double amplitude = 0.5 * 32767;
constexpr milliseconds latency{50};
// Failing to reach the sound server is cheap, but not free, and it is not going to change
// from one beep to the next.
constexpr auto retryPause = std::chrono::seconds(5);
// How long the sound server may take to answer a connection and the tone, both together: a
// server that accepts and never answers gets the bell within two seconds.
constexpr auto answerWait = milliseconds(1500);
// How long it may take to play the tone out once it answered: a sink may play in long blocks.
constexpr auto playOutWait = std::chrono::seconds(3);

void windowingSystemBell() {
    // Only a GUI application has a windowing system to ask.
    if (auto* app = qobject_cast<QApplication*>(QCoreApplication::instance())) {
        QMetaObject::invokeMethod(
            app, [] { QApplication::beep(); }, Qt::QueuedConnection);
    }
}

// The connection to the sound server, owned by the worker thread alone.
class Player {
public:
    Player(pa_mainloop* loop, const std::atomic<bool>& stopping)
        : loop_(loop), stopping_(stopping), tone_(PulseBeep::tone()) {}

    bool connected() const { return stream_ != nullptr; }
    void disconnect() { stream_.reset(); }

    // Plays the tone to its end. False when it could not be played.
    bool play() {
        const auto deadline = SteadyClock::now() + answerWait;
        const auto playedBy = deadline + playOutWait;
        const bool reused = connected();
        if (!reused && !connect(deadline)) {
            return false;
        }
        // Draining makes the call last as long as the tone, which is what lets requests that
        // arrive meanwhile collapse into one.
        if (stream_->play(tone_, deadline, playedBy)) {
            return true;
        }
        disconnect();
        // A connection kept from an earlier beep may have been cut by a server restart; a
        // fresh one deserves one more try.
        if (reused && connect(deadline)) {
            if (stream_->play(tone_, deadline, playedBy)) {
                return true;
            }
            disconnect();
        }
        lastFailure_ = SteadyClock::now();
        return false;
    }

private:
    bool connect(SteadyClock::time_point deadline) {
        if (lastFailure_ && SteadyClock::now() - *lastFailure_ < retryPause) {
            return false;
        }
        stream_ = PulseStream::open(loop_, stopping_, sampleRate, latency, deadline);
        if (!stream_) {
            lastFailure_ = SteadyClock::now();
            return false;
        }
        lastFailure_.reset();
        return true;
    }

    pa_mainloop* loop_;
    const std::atomic<bool>& stopping_;
    std::vector<int16_t> tone_;
    std::unique_ptr<PulseStream> stream_;
    std::optional<SteadyClock::time_point> lastFailure_;
};

} // namespace

std::vector<int16_t> PulseBeep::tone() {
    const int samples = sampleRate * static_cast<int>(toneLength.count()) / 1000;
    const int fade = sampleRate * static_cast<int>(fadeLength.count()) / 1000;
    std::vector<int16_t> tone(static_cast<size_t>(samples));
    for (int i = 0; i < samples; ++i) {
        // Ramping in and out keeps the speaker from clicking at either end.
        const double ramp = std::min({1.0, double(i) / fade, double(samples - 1 - i) / fade});
        const double phase = 2 * std::numbers::pi * toneHz * i / sampleRate;
        tone[static_cast<size_t>(i)] =
            static_cast<int16_t>(std::lround(amplitude * ramp * std::sin(phase)));
    }
    return tone;
}

struct PulseBeep::Shared {
    std::mutex mutex;
    std::condition_variable wake;
    bool pending = false;
    std::atomic<bool> stopping = false;
    Bell bell;
    milliseconds idleClose;
    // The sound library's main loop, run by the worker; woken from the GUI thread to stop it.
    std::unique_ptr<pa_mainloop, decltype(&pa_mainloop_free)> loop{nullptr, &pa_mainloop_free};

    void run() {
        Player player(loop.get(), stopping);
        std::unique_lock lock(mutex);
        const auto requested = [this] { return pending || stopping; };
        while (!stopping) {
            if (player.connected()) {
                if (!wake.wait_for(lock, idleClose, requested)) {
                    // Idle: an open stream keeps the server from suspending the output.
                    lock.unlock();
                    player.disconnect();
                    lock.lock();
                    continue;
                }
            } else {
                wake.wait(lock, requested);
            }
            if (stopping) {
                break;
            }
            pending = false;
            lock.unlock();
            const bool played = player.play();
            lock.lock();
            if (!played && !stopping) {
                bell();
                // A bell is over at once; waiting for as long as a tone would last keeps a
                // fast caller from turning every request into a bell.
                wake.wait_for(lock, toneLength, [this] { return bool(stopping); });
            }
        }
        lock.unlock();
        player.disconnect();
    }
};

PulseBeep::PulseBeep(Bell bell, milliseconds idleClose) : shared_(std::make_unique<Shared>()) {
    shared_->bell = bell ? std::move(bell) : Bell(windowingSystemBell);
    shared_->idleClose = idleClose;
}

PulseBeep::~PulseBeep() {
    if (!worker_.joinable()) {
        return;
    }
    {
        const std::lock_guard lock(shared_->mutex);
        shared_->stopping = true;
    }
    shared_->wake.notify_all();
    // A worker waiting for a sound server that does not answer stops waiting at once.
    if (shared_->loop)
        pa_mainloop_wakeup(shared_->loop.get());
    worker_.join();
}

void PulseBeep::beep() {
    {
        const std::lock_guard lock(shared_->mutex);
        shared_->pending = true;
    }
    startWhenDue();
    shared_->wake.notify_one();
}

void PulseBeep::hold() {
    held_ = true;
}

void PulseBeep::release() {
    held_ = false;
    startWhenDue();
}

// The worker, and with it the connection to the sound server, comes with the first beep that is
// not held back.
void PulseBeep::startWhenDue() {
    if (held_ || worker_.joinable()) {
        return;
    }
    bool pending = false;
    {
        const std::lock_guard lock(shared_->mutex);
        pending = shared_->pending;
    }
    if (pending) {
        shared_->loop.reset(pa_mainloop_new());
        worker_ = std::thread([shared = shared_.get()] { shared->run(); });
    }
}
