#include "PulseBeep.h"

#include "PulseConnection.h"
#include "PulseServerAddress.h"

#include <QApplication>
#include <QMetaObject>

#include <algorithm>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <numbers>
#include <optional>
#include <utility>
#include <vector>

namespace {

using std::chrono::milliseconds;
using SteadyClock = std::chrono::steady_clock;

constexpr int sampleRate = 44100;
constexpr double toneHz = 880.0;
constexpr milliseconds toneLength{150};
constexpr milliseconds fadeLength{10};
constexpr double amplitude = 0.5 * 32767;
// A short target buffer: the default one of about two seconds would delay the tone.
constexpr milliseconds bufferLength{50};
// Failing to reach the sound server is cheap, but not free, and it is not going to change
// from one beep to the next.
constexpr auto retryPause = std::chrono::seconds(5);
// How long the sound server may take to answer a connection, or to play the tone out.
constexpr auto answerWait = std::chrono::seconds(5);
// A hung sound server must not keep the program from ending.
constexpr auto shutdownWait = std::chrono::seconds(2);

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
    Player() : tone_(PulseBeep::tone()) {}

    bool connected() const { return connection_.has_value(); }
    void disconnect() { connection_.reset(); }

    // Plays the tone to its end. False when it could not be played.
    bool play() {
        const bool reused = connected();
        if (!reused && !connect()) {
            return false;
        }
        if (write()) {
            return true;
        }
        disconnect();
        // A connection kept from an earlier beep may have been cut by a server restart; a
        // fresh one deserves one more try.
        if (reused && connect() && write()) {
            return true;
        }
        disconnect();
        lastFailure_ = SteadyClock::now();
        return false;
    }

private:
    bool connect() {
        if (lastFailure_ && SteadyClock::now() - *lastFailure_ < retryPause) {
            return false;
        }
        const auto path = pulse::serverSocketPath();
        if (path) {
            connection_ = pulse::Connection::open(
                {*path, pulse::readCookie(), "Pingolet", "Beep", sampleRate,
                 static_cast<uint32_t>(sampleRate * sizeof(int16_t) * bufferLength.count() / 1000)},
                SteadyClock::now() + answerWait);
        }
        if (!connection_) {
            lastFailure_ = SteadyClock::now();
            return false;
        }
        lastFailure_.reset();
        return true;
    }

    bool write() {
        // Draining makes the call last as long as the tone, which is what lets requests that
        // arrive meanwhile collapse into one.
        return connection_->play(tone_, SteadyClock::now() + answerWait);
    }

    std::vector<int16_t> tone_;
    std::optional<pulse::Connection> connection_;
    std::optional<SteadyClock::time_point> lastFailure_;
};

} // namespace

// The sine and cosine of one sample's turn, from their series: the angle is small, so a few
// terms are exact to double precision.
static constexpr std::pair<double, double> sineAndCosine(double x) {
    double sine = 0, cosine = 0, term = 1;
    for (int n = 0; n < 20; ++n) {
        (n % 2 ? sine : cosine) += (n % 4 < 2 ? term : -term);
        term *= x / (n + 1);
    }
    return {sine, cosine};
}

std::vector<int16_t> PulseBeep::tone() {
    const int samples = sampleRate * static_cast<int>(toneLength.count()) / 1000;
    const int fade = sampleRate * static_cast<int>(fadeLength.count()) / 1000;
    std::vector<int16_t> tone(static_cast<size_t>(samples));
    // A pointer turning by one step a sample; its height is the sine. Turned by hand rather
    // than with std::sin, whose library the window otherwise leaves untouched.
    constexpr auto step = sineAndCosine(2 * std::numbers::pi * toneHz / sampleRate);
    double x = 1, y = 0;
    for (int i = 0; i < samples; ++i) {
        // Ramping in and out keeps the speaker from clicking at either end.
        const double ramp = std::min({1.0, double(i) / fade, double(samples - 1 - i) / fade});
        const double value = amplitude * ramp * y;
        tone[static_cast<size_t>(i)] = static_cast<int16_t>(value < 0 ? value - 0.5 : value + 0.5);
        const double turned = x * step.second - y * step.first;
        y = x * step.first + y * step.second;
        x = turned;
    }
    return tone;
}

// Shared with the worker, so that a worker stuck in a hung sound server can be left behind.
struct PulseBeep::Shared {
    std::mutex mutex;
    std::condition_variable wake;
    std::condition_variable finishedChanged;
    bool pending = false;
    bool stopping = false;
    bool finished = false;
    Bell bell;
    milliseconds idleClose;

    void run() {
        Player player;
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
                wake.wait_for(lock, toneLength, [this] { return stopping; });
            }
        }
        lock.unlock();
        player.disconnect();
        lock.lock();
        finished = true;
        finishedChanged.notify_all();
    }
};

PulseBeep::PulseBeep(Bell bell, milliseconds idleClose) : shared_(std::make_shared<Shared>()) {
    shared_->bell = bell ? std::move(bell) : Bell(windowingSystemBell);
    shared_->idleClose = idleClose;
}

PulseBeep::~PulseBeep() {
    if (!worker_.joinable()) {
        return;
    }
    std::unique_lock lock(shared_->mutex);
    shared_->stopping = true;
    shared_->wake.notify_all();
    const bool finished =
        shared_->finishedChanged.wait_for(lock, shutdownWait, [this] { return shared_->finished; });
    lock.unlock();
    if (finished) {
        worker_.join();
    } else {
        // Waiting for a sound server that does not answer; the wait ends at its deadline, and
        // the worker then ends on its own, without ringing the bell.
        worker_.detach();
    }
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
        worker_ = std::thread([shared = shared_] { shared->run(); });
    }
}
