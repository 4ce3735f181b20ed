#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <utility>
#include <vector>

// The typed fields that the sound server's commands and replies are made of: each value follows
// a one-byte tag naming its type; numbers are big-endian.
namespace pulse {

class TagWriter {
public:
    TagWriter& u8(uint8_t value);
    TagWriter& u32(uint32_t value);
    TagWriter& boolean(bool value);
    TagWriter& string(std::string_view text);
    TagWriter& nullString();
    TagWriter& arbitrary(std::span<const uint8_t> data);
    TagWriter& sampleSpec(uint8_t format, uint8_t channels, uint32_t rate);
    TagWriter& channelMap(std::span<const uint8_t> positions);
    TagWriter& volumes(std::span<const uint32_t> perChannel);
    // Properties whose values are texts, as the server's lists of properties hold them.
    TagWriter& proplist(std::initializer_list<std::pair<std::string_view, std::string_view>> texts);

    const std::vector<uint8_t>& bytes() const { return bytes_; }

private:
    void raw8(uint8_t value) { bytes_.push_back(value); }
    void raw32(uint32_t value);
    std::vector<uint8_t> bytes_;
};

// Reads what the server sent; a field that is cut short or of another type is nullopt, and
// every later read fails too.
class TagReader {
public:
    explicit TagReader(std::span<const uint8_t> data) : data_(data) {}
    std::optional<uint32_t> u32();

private:
    std::span<const uint8_t> data_;
    size_t next_ = 0;
};

} // namespace pulse
