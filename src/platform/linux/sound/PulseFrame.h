#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>

// What the sound server's socket carries: frames, each a header of five big-endian numbers
// (length, channel, offset high and low, flags) and the length's bytes after it. The control
// channel carries commands and replies; a stream's own channel its audio.
namespace pulse {

constexpr size_t frameHeaderSize = 20;
constexpr uint32_t controlChannel = 0xFFFFFFFF;
// The replies and notices asked for here are small; audio comes in pieces of a few kilobytes.
constexpr uint32_t maxFrameLength = 64 * 1024;

struct FrameHeader {
    uint32_t length = 0;
    uint32_t channel = controlChannel;
};

std::array<uint8_t, frameHeaderSize> encodeFrameHeader(FrameHeader header);

// Nullopt for a header that no frame of this connection can have: an empty or oversized
// frame, or one of shared memory, which this client never offers.
std::optional<FrameHeader> decodeFrameHeader(std::span<const uint8_t, frameHeaderSize> bytes);

} // namespace pulse
