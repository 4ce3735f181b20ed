#pragma once

#include <cstdint>

// OLE colours: 0x00BBGGRR, or a system colour when the top bit is set.
namespace Colors {
using Ole = std::uint32_t;

inline constexpr Ole WindowBackground = 0x80000005;
inline constexpr Ole WindowText = 0x80000008;
inline constexpr Ole ButtonFace = 0x8000000F;

inline constexpr Ole Black = 0x000000;
inline constexpr Ole White = 0xFFFFFF;
inline constexpr Ole Red = 0x0000FF;
inline constexpr Ole Green = 0x00FF00;
inline constexpr Ole Yellow = 0x00FFFF;
inline constexpr Ole Orange = 0x0080FF;

inline constexpr bool isSystem(Ole c) {
    return (c & 0x80000000u) != 0;
}
} // namespace Colors
