#include "platform/linux/sound/PulseServerAddress.h"
#include "platform/linux/sound/PulseTagStruct.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

TEST(PulseTagReader, ReadsNumbersAndRefusesWhatIsCutShortOrOfAnotherType) {
    struct Case {
        const char* what;
        std::vector<uint8_t> bytes;
        std::vector<std::optional<uint32_t>> reads;
    };
    const Case cases[] = {
        {"two numbers, then the end", {'L', 0, 0, 1, 2, 'L', 0xFF, 0, 0, 0}, {258, 0xFF000000, {}}},
        {"nothing", {}, {{}}},
        {"a number cut short", {'L', 0, 0, 1}, {{}}},
        {"a tag alone", {'L'}, {{}}},
        {"a byte where a number was due", {'B', 7, 'L', 0, 0, 0, 1}, {{}, {}}},
    };
    for (const Case& c : cases) {
        pulse::TagReader reader(c.bytes);
        for (size_t i = 0; i < c.reads.size(); ++i) {
            EXPECT_EQ(reader.u32(), c.reads[i]) << c.what << ", read " << i;
        }
    }
}

TEST(PulseServerAddress, FindsTheLocalSocketAsTheServersOwnClientsDo) {
    struct Case {
        const char* server;
        const char* runtimePath;
        const char* xdgRuntimeDir;
        std::optional<std::string> socket;
    };
    const Case cases[] = {
        {"unix:/run/a/native", "/r", "/x", "/run/a/native"},
        {"/run/b", nullptr, nullptr, "/run/b"},
        {"tcp:host:4713  {0123abcd}unix:/run/c /run/d", nullptr, nullptr, "/run/c"},
        // A network server only: not reachable here, and not a reason to try another.
        {"tcp:host:4713", "/r", "/x", std::nullopt},
        {nullptr, "/r", "/x", "/r/native"},
        {"", "", "/x", "/x/pulse/native"},
        {nullptr, nullptr, nullptr, std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(pulse::serverSocketPath(c.server, c.runtimePath, c.xdgRuntimeDir), c.socket)
            << (c.server ? c.server : "(unset)");
    }
}
