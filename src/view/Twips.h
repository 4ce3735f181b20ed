#pragma once

// The form model measures in twips; Qt in device-independent pixels.
namespace Twips {
inline constexpr int PerPixel = 15;

// The nearest pixel: fifteenths never end in exactly a half.
inline constexpr int toPixels(int twips) {
    const long long t = twips;
    return static_cast<int>(t >= 0 ? (t + PerPixel / 2) / PerPixel
                                   : -((-t + PerPixel / 2) / PerPixel));
}
inline constexpr int fromPixels(int pixels) {
    return pixels * PerPixel;
}
} // namespace Twips
