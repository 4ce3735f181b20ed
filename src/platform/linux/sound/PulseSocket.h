#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace pulse {

using Deadline = std::chrono::steady_clock::time_point;

// A connection to a unix stream socket whose every wait ends at a deadline: a server that
// stops answering must not hold its caller for ever.
class Socket {
public:
    // Nullopt when nothing accepts at the path in time.
    static std::optional<Socket> connect(const std::string& path, Deadline deadline);

    Socket(Socket&& other) noexcept;
    Socket& operator=(Socket&& other) noexcept;
    ~Socket();

    // Sends every byte; with credentials, the first ones carry the process's ids, which a
    // server of the same user accepts in place of a cookie. False when the peer is gone or the
    // time is up.
    bool send(std::span<const uint8_t> bytes, Deadline deadline, bool withCredentials = false);
    // Fills the whole buffer. False when the peer closed or failed, or the time is up.
    bool receive(std::span<uint8_t> buffer, Deadline deadline);

private:
    explicit Socket(int fd) : fd_(fd) {}
    bool waitFor(short events, Deadline deadline) const;

    int fd_ = -1;
};

} // namespace pulse
