// The output device through RtAudio (ALSA, JACK, or PulseAudio's blocking
// path where the asynchronous one is not used). Stopped while silent. Built
// as a module of its own (helicordia_rtaudio.so), loaded on demand by
// output_modules.cpp: it reaches the stream only through DeviceHost
// and the stream's inline members.
//
// The libraries below RtAudio write their own complaints to the terminal
// (ALSA about every card it cannot find, JACK about the server it cannot
// reach); their handlers are set to ones that keep quiet, so that only the
// program's own one-line messages reach the user.
#include "engine/output.h"

#include <RtAudio.h>

#include <algorithm>
#include <cstdlib>
#include <dlfcn.h>
#include <mutex>
#include <string>
#include <vector>

namespace tone {

namespace {

constexpr unsigned kOutputBuffers = 3; // buffer = kOutputBuffers x TONE_BUFFER_FRAMES

class RtAudioDevice final : public OutputDevice {
public:
    explicit RtAudioDevice(OutputStream &stream) : stream_(stream) {}
    ~RtAudioDevice() override { close(false); }

    bool open();
    bool healthy() const override
    {
        if (!audio_)
            return false;
        try {
            return audio_->isStreamOpen() && (suspended_ || audio_->isStreamRunning());
        } catch (...) {
            return false;
        }
    }
    bool suspended() const override { return suspended_; }
    double latency() const override { return latency_; }
    void suspendIfIdle() override
    {
        if (suspended_ || !idle_.load(std::memory_order_relaxed))
            return;
        try {
            audio_->stopStream(); // plays out what is queued: silence
            suspended_ = true;
        } catch (...) {
            stream_.onFailure();
        }
    }
    void resume() override
    {
        if (!suspended_)
            return;
        idle_ = false;
        stream_.restartClock();
        try {
            audio_->startStream();
            suspended_ = false;
        } catch (...) {
            stream_.onFailure();
        }
    }
    void drain(std::chrono::milliseconds) override { close(true); }

private:
    static int callback(void *output, void *, unsigned int frames, double, RtAudioStreamStatus status, void *user);
    static void errorCallback(RtAudioError::Type type, const std::string &text);
    void close(bool drain);

    OutputStream &stream_;
    std::unique_ptr<RtAudio> audio_;
    double latency_ = 0.0;
    std::int64_t bufferedNs_ = 0;
    bool suspended_ = false; // caller's thread
    std::atomic<bool> idle_{false};
};

// RtAudio's error callback carries no user pointer; errors raised on a stream
// thread belong to the stream whose callback runs on that thread. Errors on
// the caller's thread (while opening) come back as exceptions instead.
thread_local OutputStream *tCallbackStream = nullptr;

extern "C" {
void quietAlsa(const char *, int, const char *, int, const char *, ...) {}
void quietJack(const char *) {}
}

// Sets `setter` of the already loaded library `soname` to `handler`.
template <typename Handler> void setHandler(const char *soname, const char *setter, Handler handler)
{
    void *library = ::dlopen(soname, RTLD_LAZY | RTLD_NOLOAD);
    if (!library)
        return;
    if (void *set = ::dlsym(library, setter))
        reinterpret_cast<void (*)(Handler)>(set)(handler);
    ::dlclose(library);
}

// Once, before RtAudio first asks ALSA or JACK anything.
void quietLibraries()
{
    static std::once_flag once;
    std::call_once(once, [] {
        setHandler("libasound.so.2", "snd_lib_error_set_handler", &quietAlsa);
        setHandler("libjack.so.0", "jack_set_error_function", &quietJack);
        setHandler("libjack.so.0", "jack_set_info_function", &quietJack);
    });
}

int RtAudioDevice::callback(void *output, void *, unsigned int frames, double, RtAudioStreamStatus status, void *user)
{
    RtAudioDevice *d = static_cast<RtAudioDevice *>(user);
    tCallbackStream = &d->stream_;
    if (status & RTAUDIO_OUTPUT_UNDERFLOW)
        d->stream_.onUnderrun();
    d->idle_.store(d->stream_.onCallback(static_cast<float *>(output), int(frames), d->bufferedNs_),
                   std::memory_order_relaxed);
    return 0;
}

void RtAudioDevice::errorCallback(RtAudioError::Type type, const std::string &text)
{
    OutputStream *stream = tCallbackStream;
    if (!stream || type == RtAudioError::DEBUG_WARNING)
        return;
    if (text.find("underrun") != std::string::npos || text.find("underflow") != std::string::npos)
        stream->onUnderrun();
    else
        stream->onFailure();
}

// Opens and starts a stream on the default output device.
bool RtAudioDevice::open()
{
    quietLibraries();
    // Each way by name (RtAudio's own choice would ask every one before its
    // warnings can be turned off). PulseAudio is the other module's, unless
    // RtAudio is asked for first, for comparisons.
    std::vector<RtAudio::Api> order;
    RtAudio::getCompiledApi(order);
    const char *choice = std::getenv("HELICORDIA_OUTPUT");
    if (!choice || std::string(choice) != "rtaudio")
        order.erase(std::remove(order.begin(), order.end(), RtAudio::LINUX_PULSE), order.end());

    for (RtAudio::Api api : order) {
        try {
            audio_ = std::make_unique<RtAudio>(api);
            audio_->showWarnings(false);
            if (audio_->getDeviceCount() == 0)
                continue;
            RtAudio::StreamParameters params;
            params.deviceId = audio_->getDefaultOutputDevice();
            params.nChannels = 2;
            params.firstChannel = 0;
            RtAudio::StreamOptions options;
            options.numberOfBuffers = kOutputBuffers;
            options.streamName = "Helicordia";
            options.flags = RTAUDIO_SCHEDULE_REALTIME; // where the system allows it
            options.priority = 10;
            unsigned int bufferFrames = TONE_BUFFER_FRAMES;
            audio_->openStream(&params, nullptr, RTAUDIO_FLOAT32, TONE_SAMPLE_RATE, &bufferFrames, &callback, this,
                               &options, &errorCallback);
            if (!audio_->isStreamOpen())
                continue;
            if (audio_->getStreamSampleRate() != unsigned(TONE_SAMPLE_RATE)) {
                audio_->closeStream();
                continue;
            }
            // The queue can hold all buffers and the one being filled.
            bufferedNs_ = std::int64_t(kOutputBuffers + 1) * bufferFrames * 1000000000LL / TONE_SAMPLE_RATE;
            stream_.onNewStream();
            audio_->startStream();
            if (!audio_->isStreamRunning()) {
                audio_->closeStream();
                continue;
            }
            // RtAudio's PulseAudio output reports no latency: then the
            // buffer it was capped to is the figure.
            const long frames = audio_->getStreamLatency();
            latency_ = frames > 0 ? double(frames) / TONE_SAMPLE_RATE
                                  : double(bufferFrames) * kOutputBuffers / TONE_SAMPLE_RATE;
            return true;
        } catch (const RtAudioError &) {
        } catch (const std::exception &) {
        }
    }
    audio_.reset();
    return false;
}

void RtAudioDevice::close(bool drain)
{
    if (!audio_)
        return;
    try {
        if (audio_->isStreamRunning()) {
            if (drain)
                audio_->stopStream();
            else
                audio_->abortStream();
        }
    } catch (...) {
    }
    try {
        if (audio_->isStreamOpen())
            audio_->closeStream();
    } catch (...) {
    }
    audio_.reset();
}

} // namespace

} // namespace tone

// The module's one entry point: a device the caller owns, or null.
extern "C" __attribute__((visibility("default"))) tone::OutputDevice *
helicordia_open_rtaudio(tone::OutputStream &stream, ToneResult *reason)
{
    auto device = std::make_unique<tone::RtAudioDevice>(stream);
    if (!device->open()) {
        *reason = TONE_ERR_NO_OUTPUT_DEVICE;
        return nullptr;
    }
    *reason = TONE_OK;
    return device.release();
}
