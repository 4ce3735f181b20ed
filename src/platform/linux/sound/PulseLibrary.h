#pragma once

#include <pulse/simple.h>

// The sound server's client library, loaded at the first beep rather than with the program:
// it and the codecs it brings along are not needed to show the window.
struct PulseLibrary {
    decltype(&pa_simple_new) simpleNew;
    decltype(&pa_simple_free) simpleFree;
    decltype(&pa_simple_write) simpleWrite;
    decltype(&pa_simple_drain) simpleDrain;

    // The library, loaded once and kept; nullptr when it cannot be loaded.
    static const PulseLibrary* get();
};
