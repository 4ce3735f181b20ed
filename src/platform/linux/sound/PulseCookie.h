#pragma once

#include <array>
#include <cstdint>

namespace pulse {

using Cookie = std::array<uint8_t, 256>;

// The secret that a sound server shares with its user's clients: from $PULSE_COOKIE, else
// $XDG_CONFIG_HOME/pulse/cookie (~/.config/pulse/cookie), else ~/.pulse-cookie. All zeros when
// none can be read: the server may still accept the process's credentials, or anyone.
Cookie readCookie();

} // namespace pulse
