#include "PulseServerAddress.h"

#include <algorithm>
#include <cstdlib>
#include <string_view>

namespace pulse {

namespace {
bool isSet(const char* value) {
    return value && *value;
}
} // namespace

std::optional<std::string> serverSocketPath(const char* pulseServer, const char* pulseRuntimePath,
                                            const char* xdgRuntimeDir) {
    if (isSet(pulseServer)) {
        // A list of servers to try in turn: the first local socket is the one. Split by hand:
        // a string stream would bring the library's locales in, some 400 KB of its pages.
        std::string_view list(pulseServer);
        while (!list.empty()) {
            const auto start = list.find_first_not_of(" \t\n");
            if (start == std::string_view::npos)
                break;
            list.remove_prefix(start);
            const auto end = std::min(list.find_first_of(" \t\n"), list.size());
            std::string entry(list.substr(0, end));
            list.remove_prefix(end);
            // "{machine id}" before an entry limits it to one machine; a socket path that is not
            // there on this one fails to connect anyway.
            if (entry.starts_with('{')) {
                const auto closing = entry.find('}');
                entry = closing == std::string::npos ? "" : entry.substr(closing + 1);
            }
            if (entry.starts_with("unix:")) {
                entry.erase(0, 5);
            }
            if (entry.starts_with('/')) {
                return entry;
            }
        }
        return std::nullopt;
    }
    if (isSet(pulseRuntimePath)) {
        return std::string(pulseRuntimePath) + "/native";
    }
    if (isSet(xdgRuntimeDir)) {
        return std::string(xdgRuntimeDir) + "/pulse/native";
    }
    return std::nullopt;
}

std::optional<std::string> serverSocketPath() {
    return serverSocketPath(std::getenv("PULSE_SERVER"), std::getenv("PULSE_RUNTIME_PATH"),
                            std::getenv("XDG_RUNTIME_DIR"));
}

} // namespace pulse
