#include "PulseFrame.h"

namespace pulse {

namespace {
enum Field { lengthField, channelField, offsetHighField, offsetLowField, flagsField };

uint32_t field(std::span<const uint8_t, frameHeaderSize> bytes, Field which) {
    uint32_t value = 0;
    for (size_t i = 0; i < 4; ++i) {
        value = value << 8 | bytes[which * 4 + i];
    }
    return value;
}
} // namespace

std::array<uint8_t, frameHeaderSize> encodeFrameHeader(FrameHeader header) {
    std::array<uint8_t, frameHeaderSize> bytes{};
    const auto put = [&bytes](Field which, uint32_t value) {
        for (size_t i = 0; i < 4; ++i) {
            bytes[which * 4 + i] = static_cast<uint8_t>(value >> (24 - 8 * i));
        }
    };
    put(lengthField, header.length);
    put(channelField, header.channel);
    // Offset zero and no flags: audio goes right after what came before it.
    return bytes;
}

std::optional<FrameHeader> decodeFrameHeader(std::span<const uint8_t, frameHeaderSize> bytes) {
    const FrameHeader header{field(bytes, lengthField), field(bytes, channelField)};
    const uint32_t flags = field(bytes, flagsField);
    // The top byte of the flags marks shared memory; commands have no flags at all.
    const bool flagsFit = header.channel == controlChannel ? flags == 0 : (flags >> 24) == 0;
    if (header.length == 0 || header.length > maxFrameLength || !flagsFit) {
        return std::nullopt;
    }
    return header;
}

} // namespace pulse
