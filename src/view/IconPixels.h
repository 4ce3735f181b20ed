#pragma once

#include <cstdint>
#include <span>

// The program's icon in the sizes a title bar and a task bar ask for, as 0xAARRGGBB pixels,
// row by row. Made from the PNGs in icons/ at build time.
struct IconPixels {
    int size;
    const uint32_t* argb;
};

std::span<const IconPixels> iconPixels();
