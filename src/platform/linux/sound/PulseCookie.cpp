#include "PulseCookie.h"

#include <cstdlib>
#include <fcntl.h>
#include <optional>
#include <string>
#include <unistd.h>

namespace pulse {

namespace {
std::optional<Cookie> readFrom(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return std::nullopt;
    }
    Cookie cookie{};
    size_t got = 0;
    while (got < cookie.size()) {
        const ssize_t n = ::read(fd, cookie.data() + got, cookie.size() - got);
        if (n <= 0) {
            break;
        }
        got += static_cast<size_t>(n);
    }
    ::close(fd);
    if (got < cookie.size()) {
        return std::nullopt;
    }
    return cookie;
}

std::string fromEnvironment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}
} // namespace

Cookie readCookie() {
    const std::string named = fromEnvironment("PULSE_COOKIE");
    const std::string home = fromEnvironment("HOME");
    std::string configHome = fromEnvironment("XDG_CONFIG_HOME");
    if (configHome.empty() && !home.empty()) {
        configHome = home + "/.config";
    }
    for (const std::string& path : {named, configHome.empty() ? "" : configHome + "/pulse/cookie",
                                    home.empty() ? "" : home + "/.pulse-cookie"}) {
        if (!path.empty()) {
            if (const auto cookie = readFrom(path)) {
                return *cookie;
            }
        }
    }
    return {};
}

} // namespace pulse
