#pragma once

#include <optional>
#include <string>

namespace pulse {

// Where the user's sound server listens, from the variables its own clients read. Each is
// null when unset. Nullopt when PULSE_SERVER names no local socket (only network servers,
// which this client does not reach) or no variable says where to look.
std::optional<std::string> serverSocketPath(const char* pulseServer, const char* pulseRuntimePath,
                                            const char* xdgRuntimeDir);

// The same from this process's environment.
std::optional<std::string> serverSocketPath();

} // namespace pulse
