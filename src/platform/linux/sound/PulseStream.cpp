#include "PulseStream.h"

#include "platform/ApplicationId.h"

#include <pulse/context.h>
#include <pulse/mainloop.h>
#include <pulse/proplist.h>
#include <pulse/stream.h>

namespace {

using Proplist = std::unique_ptr<pa_proplist, decltype(&pa_proplist_free)>;

Proplist proplist(std::initializer_list<std::pair<const char*, QByteArray>> entries) {
    Proplist list(pa_proplist_new(), &pa_proplist_free);
    for (const auto& [key, value] : entries)
        pa_proplist_sets(list.get(), key, value.constData());
    return list;
}

} // namespace

PulseStream::PulseStream(pa_mainloop* loop, const std::atomic<bool>& cancelled)
    : loop_(loop), cancelled_(cancelled) {}

PulseStream::~PulseStream() {
    if (stream_) {
        pa_stream_disconnect(stream_);
        pa_stream_unref(stream_);
    }
    if (context_) {
        pa_context_disconnect(context_);
        pa_context_unref(context_);
    }
}

std::unique_ptr<PulseStream>
PulseStream::open(pa_mainloop* loop, const std::atomic<bool>& cancelled, uint32_t sampleRate,
                  std::chrono::milliseconds latency, Deadline deadline) {
    if (!loop)
        return nullptr;
    std::unique_ptr<PulseStream> self(new PulseStream(loop, cancelled));
    const QByteArray id = applicationId().toUtf8();
    // The client's properties reach its streams too: the mixer shows the stream by them.
    const Proplist client = proplist({{PA_PROP_APPLICATION_NAME, "Pingolet"},
                                      {PA_PROP_APPLICATION_ID, id},
                                      {PA_PROP_APPLICATION_ICON_NAME, id}});
    self->context_ =
        pa_context_new_with_proplist(pa_mainloop_get_api(loop), "Pingolet", client.get());
    // No server is no reason to start one: the bell rings instead.
    if (!self->context_ ||
        pa_context_connect(self->context_, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0 ||
        !self->runUntil([&] { return pa_context_get_state(self->context_) == PA_CONTEXT_READY; },
                        deadline))
        return nullptr;

    // A role of its own: with "event" the alarm would follow the system sounds' volume, which
    // many users turn down or mute.
    const Proplist media = proplist({{PA_PROP_MEDIA_ROLE, "alarm"}});
    const pa_sample_spec format{PA_SAMPLE_S16NE, sampleRate, 1};
    // A short buffer: the default one of about two seconds would delay the tone.
    pa_buffer_attr buffer;
    buffer.maxlength = buffer.prebuf = buffer.minreq = buffer.fragsize = uint32_t(-1);
    buffer.tlength = uint32_t(pa_usec_to_bytes(pa_usec_t(latency.count()) * 1000, &format));
    self->stream_ =
        pa_stream_new_with_proplist(self->context_, "Beep", &format, nullptr, media.get());
    if (!self->stream_ ||
        pa_stream_connect_playback(self->stream_, nullptr, &buffer, PA_STREAM_ADJUST_LATENCY,
                                   nullptr, nullptr) < 0 ||
        !self->runUntil([&] { return pa_stream_get_state(self->stream_) == PA_STREAM_READY; },
                        deadline))
        return nullptr;
    return self;
}

bool PulseStream::play(std::span<const int16_t> samples, Deadline answerBy, Deadline playedBy) {
    // The library copies the samples (no free function given).
    if (pa_stream_write(stream_, samples.data(), samples.size_bytes(), nullptr, 0,
                        PA_SEEK_RELATIVE) < 0)
        return false;
    // The server answers the drain once the samples are played out, which may take as long as
    // the sink's block (a null sink's is two seconds); it answers a question about the timing at
    // once, which tells a server that plays from one that hangs.
    const auto setResult = [](pa_stream*, int success, void* result) {
        *static_cast<int*>(result) = success;
    };
    int drained = -1, timed = -1;
    pa_operation* drain = pa_stream_drain(stream_, setResult, &drained);
    pa_operation* timing = pa_stream_update_timing_info(stream_, setResult, &timed);
    const bool played = drain && timing &&
                        runUntil([&] { return timed >= 0 || drained >= 0; }, answerBy) &&
                        runUntil([&] { return drained >= 0; }, playedBy) && drained == 1;
    // Their callbacks must not reach the results once they are gone.
    for (pa_operation* operation : {drain, timing}) {
        if (operation && pa_operation_get_state(operation) == PA_OPERATION_RUNNING)
            pa_operation_cancel(operation);
        if (operation)
            pa_operation_unref(operation);
    }
    return played;
}

bool PulseStream::runUntil(const std::function<bool()>& done, Deadline deadline) {
    using std::chrono::microseconds;
    while (!done()) {
        const bool failed = !PA_CONTEXT_IS_GOOD(pa_context_get_state(context_)) ||
                            (stream_ && !PA_STREAM_IS_GOOD(pa_stream_get_state(stream_)));
        const auto left =
            std::chrono::duration_cast<microseconds>(deadline - std::chrono::steady_clock::now());
        if (failed || cancelled_ || left <= microseconds::zero())
            return false;
        if (pa_mainloop_prepare(loop_, int(left.count())) < 0 || pa_mainloop_poll(loop_) < 0 ||
            pa_mainloop_dispatch(loop_) < 0)
            return false;
    }
    return true;
}
