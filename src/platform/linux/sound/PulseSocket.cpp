#include "PulseSocket.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <utility>

namespace pulse {

std::optional<Socket> Socket::connect(const std::string& path, Deadline deadline) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.empty() || path.size() >= sizeof(address.sun_path)) {
        return std::nullopt;
    }
    std::copy(path.begin(), path.end(), address.sun_path);
    Socket socket(::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
    if (socket.fd_ < 0) {
        return std::nullopt;
    }
    if (::connect(socket.fd_, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) == 0) {
        return socket;
    }
    // A full backlog (EAGAIN) is a server too busy to take one more.
    if (errno != EINPROGRESS && errno != EINTR) {
        return std::nullopt;
    }
    int error = 0;
    socklen_t size = sizeof(error);
    if (!socket.waitFor(POLLOUT, deadline) ||
        ::getsockopt(socket.fd_, SOL_SOCKET, SO_ERROR, &error, &size) != 0 || error != 0) {
        return std::nullopt;
    }
    return socket;
}

Socket::Socket(Socket&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}

Socket& Socket::operator=(Socket&& other) noexcept {
    std::swap(fd_, other.fd_);
    return *this;
}

Socket::~Socket() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

bool Socket::waitFor(short events, Deadline deadline) const {
    for (;;) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            return false;
        }
        pollfd entry{fd_, events, 0};
        const int ready =
            ::poll(&entry, 1, static_cast<int>(std::min<long long>(left.count(), 60'000)));
        if (ready > 0) {
            // Errors and hang-ups show in the call that follows.
            return true;
        }
        if (ready < 0 && errno != EINTR) {
            return false;
        }
    }
}

bool Socket::send(std::span<const uint8_t> bytes, Deadline deadline, bool withCredentials) {
    while (!bytes.empty()) {
        iovec data{const_cast<uint8_t*>(bytes.data()), bytes.size()};
        msghdr message{};
        message.msg_iov = &data;
        message.msg_iovlen = 1;
        alignas(cmsghdr) char control[CMSG_SPACE(sizeof(ucred))] = {};
        if (withCredentials) {
            const ucred credentials{::getpid(), ::getuid(), ::getgid()};
            message.msg_control = control;
            message.msg_controllen = sizeof(control);
            cmsghdr* header = CMSG_FIRSTHDR(&message);
            header->cmsg_level = SOL_SOCKET;
            header->cmsg_type = SCM_CREDENTIALS;
            header->cmsg_len = CMSG_LEN(sizeof(credentials));
            std::memcpy(CMSG_DATA(header), &credentials, sizeof(credentials));
        }
        // A peer that is gone is an error to return, not a signal that ends the program.
        const ssize_t sent = ::sendmsg(fd_, &message, MSG_NOSIGNAL);
        if (sent > 0) {
            bytes = bytes.subspan(static_cast<size_t>(sent));
            withCredentials = false;
        } else if (sent < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            if (!waitFor(POLLOUT, deadline)) {
                return false;
            }
        } else if (!(sent < 0 && errno == EINTR)) {
            return false;
        }
    }
    return true;
}

bool Socket::receive(std::span<uint8_t> buffer, Deadline deadline) {
    while (!buffer.empty()) {
        const ssize_t got = ::recv(fd_, buffer.data(), buffer.size(), 0);
        if (got > 0) {
            buffer = buffer.subspan(static_cast<size_t>(got));
        } else if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            if (!waitFor(POLLIN, deadline)) {
                return false;
            }
        } else if (!(got < 0 && errno == EINTR)) {
            return false; // closed by the peer, or failed
        }
    }
    return true;
}

} // namespace pulse
