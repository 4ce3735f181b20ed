#pragma once

#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>

// The stores of the program's arithmetic: integers round halves to even and refuse values
// outside their range; single floats refuse what overflows. A refused store is a failing
// statement, which its caller skips.
namespace Store {

// The program's one rounding rule: halves to even, as the default rounding mode does.
inline double roundHalfEven(double v) {
    return std::nearbyint(v);
}

template <typename Int> std::optional<Int> toInteger(double v) {
    if (!std::isfinite(v))
        return std::nullopt;
    const double r = roundHalfEven(v);
    if (r < double(std::numeric_limits<Int>::min()) || r > double(std::numeric_limits<Int>::max()))
        return std::nullopt;
    return static_cast<Int>(r);
}

inline std::optional<std::int16_t> toInt16(double v) {
    return toInteger<std::int16_t>(v);
}
inline std::optional<std::int32_t> toInt32(double v) {
    return toInteger<std::int32_t>(v);
}

inline std::optional<float> toSingle(double v) {
    if (std::isnan(v))
        return std::nullopt;
    const float f = static_cast<float>(v);
    if (std::isinf(f))
        return std::nullopt;
    return f;
}

template <typename T, typename Conv> bool storeWith(T& target, double v, Conv conv) {
    const auto r = conv(v);
    if (!r)
        return false;
    target = *r;
    return true;
}

inline bool int16(std::int16_t& target, double v) {
    return storeWith(target, v, toInt16);
}
inline bool int32(std::int32_t& target, double v) {
    return storeWith(target, v, toInt32);
}
inline bool single(float& target, double v) {
    return storeWith(target, v, toSingle);
}

} // namespace Store
