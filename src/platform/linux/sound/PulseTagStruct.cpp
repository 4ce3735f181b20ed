#include "PulseTagStruct.h"

namespace pulse {

namespace {
enum Tag : uint8_t {
    tagString = 't',
    tagNullString = 'N',
    tagU32 = 'L',
    tagU8 = 'B',
    tagSampleSpec = 'a',
    tagArbitrary = 'x',
    tagTrue = '1',
    tagFalse = '0',
    tagChannelMap = 'm',
    tagVolumes = 'v',
    tagProplist = 'P',
};
} // namespace

void TagWriter::raw32(uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        raw8(static_cast<uint8_t>(value >> shift));
    }
}

TagWriter& TagWriter::u8(uint8_t value) {
    raw8(tagU8);
    raw8(value);
    return *this;
}

TagWriter& TagWriter::u32(uint32_t value) {
    raw8(tagU32);
    raw32(value);
    return *this;
}

TagWriter& TagWriter::boolean(bool value) {
    raw8(value ? tagTrue : tagFalse);
    return *this;
}

TagWriter& TagWriter::string(std::string_view text) {
    raw8(tagString);
    bytes_.insert(bytes_.end(), text.begin(), text.end());
    raw8(0);
    return *this;
}

TagWriter& TagWriter::nullString() {
    raw8(tagNullString);
    return *this;
}

TagWriter& TagWriter::arbitrary(std::span<const uint8_t> data) {
    raw8(tagArbitrary);
    raw32(static_cast<uint32_t>(data.size()));
    bytes_.insert(bytes_.end(), data.begin(), data.end());
    return *this;
}

TagWriter& TagWriter::sampleSpec(uint8_t format, uint8_t channels, uint32_t rate) {
    raw8(tagSampleSpec);
    raw8(format);
    raw8(channels);
    raw32(rate);
    return *this;
}

TagWriter& TagWriter::channelMap(std::span<const uint8_t> positions) {
    raw8(tagChannelMap);
    raw8(static_cast<uint8_t>(positions.size()));
    bytes_.insert(bytes_.end(), positions.begin(), positions.end());
    return *this;
}

TagWriter& TagWriter::volumes(std::span<const uint32_t> perChannel) {
    raw8(tagVolumes);
    raw8(static_cast<uint8_t>(perChannel.size()));
    for (const uint32_t volume : perChannel) {
        raw32(volume);
    }
    return *this;
}

TagWriter&
TagWriter::proplist(std::initializer_list<std::pair<std::string_view, std::string_view>> texts) {
    raw8(tagProplist);
    for (const auto& [key, text] : texts) {
        // A text value is stored with its terminating zero.
        std::vector<uint8_t> value(text.begin(), text.end());
        value.push_back(0);
        string(key).u32(static_cast<uint32_t>(value.size())).arbitrary(value);
    }
    return nullString();
}

std::optional<uint32_t> TagReader::u32() {
    if (data_.size() - next_ < 5 || data_[next_] != tagU32) {
        next_ = data_.size();
        return std::nullopt;
    }
    uint32_t value = 0;
    for (size_t i = 1; i <= 4; ++i) {
        value = value << 8 | data_[next_ + i];
    }
    next_ += 5;
    return value;
}

} // namespace pulse
