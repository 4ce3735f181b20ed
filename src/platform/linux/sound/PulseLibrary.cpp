#include "PulseLibrary.h"

#include <dlfcn.h>

namespace {
const PulseLibrary* load() {
    void* handle = dlopen("libpulse-simple.so.0", RTLD_NOW | RTLD_LOCAL);
    if (!handle)
        return nullptr;
    const auto symbol = [handle](const char* name) { return dlsym(handle, name); };
    static PulseLibrary library{
        reinterpret_cast<decltype(&pa_simple_new)>(symbol("pa_simple_new")),
        reinterpret_cast<decltype(&pa_simple_free)>(symbol("pa_simple_free")),
        reinterpret_cast<decltype(&pa_simple_write)>(symbol("pa_simple_write")),
        reinterpret_cast<decltype(&pa_simple_drain)>(symbol("pa_simple_drain")),
    };
    if (!library.simpleNew || !library.simpleFree || !library.simpleWrite || !library.simpleDrain)
        return nullptr;
    return &library;
}
} // namespace

const PulseLibrary* PulseLibrary::get() {
    static const PulseLibrary* const library = load();
    return library;
}
