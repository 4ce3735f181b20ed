#pragma once

#include "PulseCookie.h"
#include "PulseSocket.h"
#include "PulseTagStruct.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace pulse {

// A client of the sound server's native protocol with one playback stream of 16-bit mono
// samples: just what a beep needs. The audio goes inline over the socket, never through
// shared memory.
class Connection {
public:
    struct Settings {
        std::string socketPath;
        Cookie cookie{};
        std::string_view clientName;
        std::string_view streamName;
        uint32_t sampleRate = 44100;
        // How much the server keeps queued ahead of what is heard: the latency.
        uint32_t targetBytes = 0;
    };

    // Connects, authenticates and opens the stream. Nullopt when any step fails, is refused,
    // or does not finish by the deadline.
    static std::optional<Connection> open(const Settings& settings, Deadline deadline);

    // Plays the samples to their end: returns once the server has played them out. False when
    // the server failed or went away.
    bool play(std::span<const int16_t> samples, Deadline deadline);

private:
    explicit Connection(Socket socket) : socket_(std::move(socket)) {}

    TagWriter command(uint32_t code);
    // Sends a command begun with command() and waits for the reply to it, whose fields follow.
    std::optional<TagReader> request(const TagWriter& fields, Deadline deadline,
                                     bool withCredentials = false);
    bool sendFrame(uint32_t channel, std::span<const uint8_t> payload, Deadline deadline,
                   bool withCredentials = false);
    // Takes in one frame and acts on it. False when the connection failed or the server
    // refused what was awaited.
    bool receive(Deadline deadline);

    Socket socket_;
    uint32_t lastTag_ = 0;
    std::vector<uint8_t> packet_;
    std::optional<TagReader> reply_;
    std::optional<uint32_t> stream_; // the stream's channel, once open
    uint64_t requested_ = 0;         // bytes the server asked for and has not had yet
};

} // namespace pulse
