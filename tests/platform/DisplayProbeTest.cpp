#include "platform/linux/desktop/DisplayProbe.h"

#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstddef>
#include <cstring>
#include <string>

namespace {
// An X server's listening socket in the abstract namespace, where Xorg and Xvfb open one, for
// a display number no server here uses.
class AbstractXSocket {
public:
    explicit AbstractXSocket(int display) {
        const std::string name = "/tmp/.X11-unix/X" + std::to_string(display);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::memcpy(address.sun_path + 1, name.data(), name.size());
        const auto length = socklen_t(offsetof(sockaddr_un, sun_path) + 1 + name.size());
        listening_ = fd_ >= 0 && ::bind(fd_, reinterpret_cast<sockaddr*>(&address), length) == 0 &&
                     ::listen(fd_, 8) == 0;
    }
    ~AbstractXSocket() { ::close(fd_); }
    bool listening() const { return listening_; }

private:
    int fd_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    bool listening_ = false;
};
} // namespace

// A display the probe misreads is a Pingolet that refuses to start on a working desktop.
TEST(DisplayProbe, AsksTheSocketOfTheDisplayNumberInEveryLocalForm) {
    const AbstractXSocket server(4091);
    ASSERT_TRUE(server.listening());
    for (const char* display : {":4091", ":4091.0", "unix:4091", "unix:4091.1"})
        EXPECT_TRUE(DisplayProbe::x11Opens(display)) << display;
    for (const char* display : {":4090", ":40910", ":409", ""})
        EXPECT_FALSE(DisplayProbe::x11Opens(display)) << display;
}
