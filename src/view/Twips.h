#pragma once

#include <cmath>

// The form model measures in twips; Qt in device-independent pixels.
namespace Twips {
inline constexpr int PerPixel = 15;

inline int toPixels(int twips) {
    return static_cast<int>(std::lround(twips / double(PerPixel)));
}
inline constexpr int fromPixels(int pixels) {
    return pixels * PerPixel;
}
} // namespace Twips
