#include "PulseConnection.h"

#include "PulseFrame.h"

#include <algorithm>
#include <array>
#include <bit>

namespace pulse {

namespace {
enum Command : uint32_t {
    commandError = 0,
    commandReply = 2,
    commandCreatePlaybackStream = 3,
    commandAuth = 8,
    commandSetClientName = 9,
    commandDrainPlaybackStream = 12,
    commandRequest = 61,
    commandPlaybackStreamKilled = 64,
};

// The version offered, without the flags for shared memory in its top bits, so that the audio
// goes inline. The fields of the commands sent here last changed in version 21: a server of
// 21 or later reads them alike, and an older one is refused.
constexpr uint32_t protocolVersion = 35;
constexpr uint32_t oldestServerVersion = 21;
constexpr uint32_t versionMask = 0xFFFF;

constexpr uint8_t sampleS16NE = std::endian::native == std::endian::little ? 3 : 4;
constexpr uint8_t positionMono = 0;
constexpr uint32_t volumeNormal = 0x10000;
constexpr uint32_t unset = 0xFFFFFFFF; // an index or length the server chooses
} // namespace

TagWriter Connection::command(uint32_t code) {
    TagWriter fields;
    fields.u32(code).u32(++lastTag_);
    return fields;
}

bool Connection::sendFrame(uint32_t channel, std::span<const uint8_t> payload, Deadline deadline,
                           bool withCredentials) {
    const auto header = encodeFrameHeader({static_cast<uint32_t>(payload.size()), channel});
    std::vector<uint8_t> frame(header.begin(), header.end());
    frame.insert(frame.end(), payload.begin(), payload.end());
    return socket_.send(frame, deadline, withCredentials);
}

std::optional<TagReader> Connection::request(const TagWriter& fields, Deadline deadline,
                                             bool withCredentials) {
    reply_.reset();
    if (!sendFrame(controlChannel, fields.bytes(), deadline, withCredentials)) {
        return std::nullopt;
    }
    while (!reply_) {
        if (!receive(deadline)) {
            return std::nullopt;
        }
    }
    return reply_;
}

bool Connection::receive(Deadline deadline) {
    std::array<uint8_t, frameHeaderSize> headerBytes{};
    if (!socket_.receive(headerBytes, deadline)) {
        return false;
    }
    const auto header = decodeFrameHeader(headerBytes);
    if (!header) {
        return false;
    }
    packet_.resize(header->length);
    if (!socket_.receive(packet_, deadline)) {
        return false;
    }
    if (header->channel != controlChannel) {
        return true; // audio for a stream this client does not have
    }
    TagReader fields(packet_);
    const auto code = fields.u32();
    const auto tag = fields.u32();
    if (!code || !tag) {
        return false;
    }
    switch (*code) {
    case commandReply:
        // Replies to anything but the command awaited are from no command of this client.
        if (*tag == lastTag_) {
            reply_ = fields;
        }
        return true;
    case commandError:
        return *tag != lastTag_;
    case commandRequest: {
        const auto channel = fields.u32();
        const auto bytes = fields.u32();
        if (!channel || !bytes) {
            return false;
        }
        if (*channel == stream_) {
            requested_ += *bytes;
        }
        return true;
    }
    case commandPlaybackStreamKilled: {
        const auto channel = fields.u32();
        return channel && *channel != stream_;
    }
    default:
        // Notices of starts, underruns, moves and the like change nothing for a beep.
        return true;
    }
}

std::optional<Connection> Connection::open(const Settings& settings, Deadline deadline) {
    auto socket = Socket::connect(settings.socketPath, deadline);
    if (!socket) {
        return std::nullopt;
    }
    Connection connection(std::move(*socket));

    auto auth = connection.command(commandAuth);
    auth.u32(protocolVersion).arbitrary(settings.cookie);
    auto reply = connection.request(auth, deadline, true);
    const auto serverVersion = reply ? reply->u32() : std::nullopt;
    if (!serverVersion || (*serverVersion & versionMask) < oldestServerVersion) {
        return std::nullopt;
    }

    auto name = connection.command(commandSetClientName);
    name.proplist({{"application.name", settings.clientName}});
    if (!connection.request(name, deadline)) {
        return std::nullopt;
    }

    const std::array<uint8_t, 1> mono{positionMono};
    const std::array<uint32_t, 1> volume{volumeNormal};
    auto create = connection.command(commandCreatePlaybackStream);
    create.sampleSpec(sampleS16NE, 1, settings.sampleRate)
        .channelMap(mono)
        .u32(unset)     // no sink by its index
        .nullString()   // nor by its name: the default one
        .u32(unset)     // maximum length
        .boolean(false) // corked
        .u32(settings.targetBytes)
        .u32(unset) // prebuffering
        .u32(unset) // minimum request
        .u32(0)     // sync group
        .volumes(volume);
    // Remapping and remixing allowed, nothing taken over from the sink, movable, steady rate.
    for (int i = 0; i < 7; ++i) {
        create.boolean(false);
    }
    create
        .boolean(false) // muted
        .boolean(true)  // adjust the sink's latency to the target
        .proplist({{"media.name", settings.streamName}})
        .boolean(false) // volume set: no, the sink's own
        .boolean(false) // early requests
        .boolean(false) // mute set
        .boolean(false) // let the sink suspend while the stream is open
        .boolean(false) // fail when the sink is suspended
        .boolean(false) // relative volume
        .boolean(false) // passthrough
        .u8(0);         // formats beyond the sample spec
    reply = connection.request(create, deadline);
    const auto channel = reply ? reply->u32() : std::nullopt;
    const auto sinkInput = reply ? reply->u32() : std::nullopt;
    const auto missing = reply ? reply->u32() : std::nullopt;
    if (!channel || !sinkInput || !missing) {
        return std::nullopt;
    }
    connection.stream_ = *channel;
    connection.requested_ = *missing;
    return connection;
}

bool Connection::play(std::span<const int16_t> samples, Deadline deadline) {
    const auto bytes = std::as_bytes(samples);
    const std::span<const uint8_t> audio(reinterpret_cast<const uint8_t*>(bytes.data()),
                                         bytes.size());
    size_t sent = 0;
    while (sent < audio.size()) {
        // Whole samples, no more than the server asked for.
        const size_t size = std::min<uint64_t>({requested_, audio.size() - sent, maxFrameLength}) &
                            ~size_t(sizeof(int16_t) - 1);
        if (size == 0) {
            if (!receive(deadline)) {
                return false;
            }
            continue;
        }
        if (!sendFrame(*stream_, audio.subspan(sent, size), deadline)) {
            return false;
        }
        sent += size;
        requested_ -= size;
    }
    auto drain = command(commandDrainPlaybackStream);
    drain.u32(*stream_);
    return request(drain, deadline).has_value();
}

} // namespace pulse
