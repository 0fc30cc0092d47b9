#include "engine/output.h"

#include <RtAudio.h>

#include <algorithm>
#include <string>
#include <vector>

namespace tone {

namespace {

constexpr unsigned kOutputBuffers = 3;  // PulseAudio buffer = kOutputBuffers x TONE_BUFFER_FRAMES

// RtAudio's error callback carries no user pointer; errors raised on a stream
// thread belong to the stream whose callback runs on that thread. Errors on
// the caller's thread (while opening) come back as exceptions instead.
thread_local OutputStream *tCallbackStream = nullptr;

int audioCallback(void *output, void *, unsigned int frames, double, RtAudioStreamStatus status, void *user)
{
    OutputStream *stream = static_cast<OutputStream *>(user);
    tCallbackStream = stream;
    stream->onCallback(static_cast<float *>(output), frames, (status & RTAUDIO_OUTPUT_UNDERFLOW) != 0);
    return 0;
}

void audioErrorCallback(RtAudioError::Type type, const std::string &text)
{
    OutputStream *stream = tCallbackStream;
    if (!stream || type == RtAudioError::DEBUG_WARNING)
        return;
    stream->onError(text.find("underrun") != std::string::npos || text.find("underflow") != std::string::npos);
}

void closeDevice(std::unique_ptr<RtAudio> &audio, bool drain)
{
    if (!audio)
        return;
    try {
        if (audio->isStreamRunning()) {
            if (drain)
                audio->stopStream();
            else
                audio->abortStream();
        }
    } catch (...) {
    }
    try {
        if (audio->isStreamOpen())
            audio->closeStream();
    } catch (...) {
    }
    audio.reset();
}

}  // namespace

OutputStream::OutputStream(Mixer &mixer) : mixer_(mixer) {}

OutputStream::~OutputStream()
{
    finishWorker();
    closeDevice(audio_, false);
}

void OutputStream::onCallback(float *out, unsigned frames, bool underflow)
{
    // A callback that comes later than everything buffered could last means
    // the device ran dry in between (RtAudio's PulseAudio output does not
    // report underruns itself).
    const std::int64_t now =
        std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now().time_since_epoch()).count();
    const std::int64_t buffered =
        std::int64_t(kOutputBuffers + 1) * TONE_BUFFER_FRAMES * 1000000000LL / TONE_SAMPLE_RATE;
    const bool late = lastCallbackNs_ != 0 && now - lastCallbackNs_ > buffered;
    lastCallbackNs_ = now;
    if (underflow || late)
        underruns_.fetch_add(1, std::memory_order_relaxed);
    mixer_.render(out, int(frames));
    callbacks_.fetch_add(1, std::memory_order_release);
}

void OutputStream::onError(bool underrun)
{
    if (underrun)
        underruns_.fetch_add(1, std::memory_order_relaxed);
    else
        failed_.store(true, std::memory_order_release);
}

// Opens and starts a stream on the default output device, PulseAudio first.
std::unique_ptr<RtAudio> OutputStream::openDevice(double &latency)
{
    std::vector<RtAudio::Api> apis;
    RtAudio::getCompiledApi(apis);
    std::vector<RtAudio::Api> order;
    if (std::find(apis.begin(), apis.end(), RtAudio::LINUX_PULSE) != apis.end())
        order.push_back(RtAudio::LINUX_PULSE);
    order.push_back(RtAudio::UNSPECIFIED);

    lastCallbackNs_ = 0;
    for (RtAudio::Api api : order) {
        std::unique_ptr<RtAudio> audio;
        try {
            audio = std::make_unique<RtAudio>(api);
            audio->showWarnings(false);
            if (audio->getDeviceCount() == 0)
                continue;
            RtAudio::StreamParameters params;
            params.deviceId = audio->getDefaultOutputDevice();
            params.nChannels = 2;
            params.firstChannel = 0;
            RtAudio::StreamOptions options;
            options.numberOfBuffers = kOutputBuffers;
            options.streamName = "Helicordia";
            unsigned int bufferFrames = TONE_BUFFER_FRAMES;
            audio->openStream(&params, nullptr, RTAUDIO_FLOAT32, TONE_SAMPLE_RATE, &bufferFrames, &audioCallback,
                              this, &options, &audioErrorCallback);
            if (!audio->isStreamOpen())
                continue;
            if (audio->getStreamSampleRate() != unsigned(TONE_SAMPLE_RATE)) {
                audio->closeStream();
                continue;
            }
            audio->startStream();
            if (!audio->isStreamRunning()) {
                audio->closeStream();
                continue;
            }
            // RtAudio's PulseAudio output reports no latency: then the
            // buffer it was capped to is the figure.
            const long frames = audio->getStreamLatency();
            latency = frames > 0 ? double(frames) / TONE_SAMPLE_RATE
                                 : double(bufferFrames) * kOutputBuffers / TONE_SAMPLE_RATE;
            return audio;
        } catch (const RtAudioError &) {
        } catch (const std::exception &) {
        }
    }
    return nullptr;
}

bool OutputStream::open()
{
    underruns_ = 0;
    failed_ = false;
    audio_ = openDevice(latency_);
    if (!audio_)
        return false;
    lastCallbacks_ = callbacks_.load();
    lastProgress_ = Clock::now();
    return true;
}

void OutputStream::finishWorker()
{
    if (!worker_.joinable())
        return;
    worker_.join();
    if (workerResult_) {
        audio_ = std::move(workerResult_);
        latency_ = workerLatency_;
        ++reopens_;
        failed_.store(false);
        lastCallbacks_ = callbacks_.load();
        lastProgress_ = Clock::now();
    }
}

// Lets the mixer play the fade-out of every voice before the stream stops,
// so that closing never cuts a tone off mid-wave.
void OutputStream::waitForFadeOut()
{
    if (!audio_)
        return;
    const std::uint64_t start = callbacks_.load();
    const std::uint64_t needed = TONE_RAMP_FRAMES / TONE_BUFFER_FRAMES + 2;
    const auto deadline = Clock::now() + std::chrono::milliseconds(100);
    while (callbacks_.load() < start + needed && Clock::now() < deadline && !failed_.load())
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
}

void OutputStream::close()
{
    finishWorker();
    waitForFadeOut();
    closeDevice(audio_, true);
    latency_ = 0.0;
}

void OutputStream::update()
{
    const auto now = Clock::now();
    if (worker_.joinable()) {
        if (workerDone_.load(std::memory_order_acquire))
            finishWorker();
        return;
    }

    bool broken = failed_.load(std::memory_order_acquire) || !audio_;
    if (!broken) {
        try {
            broken = !audio_->isStreamRunning();
        } catch (...) {
            broken = true;
        }
    }
    // A stream whose callback has stopped coming has failed too.
    const std::uint64_t calls = callbacks_.load(std::memory_order_acquire);
    if (calls != lastCallbacks_) {
        lastCallbacks_ = calls;
        lastProgress_ = now;
    } else if (now - lastProgress_ > std::chrono::seconds(1)) {
        broken = true;
    }
    if (!broken || now - lastAttempt_ < std::chrono::milliseconds(500))
        return;

    lastAttempt_ = now;
    workerDone_.store(false);
    std::unique_ptr<RtAudio> old = std::move(audio_);
    worker_ = std::thread([this, old = std::move(old)]() mutable {
        closeDevice(old, false);
        workerResult_ = openDevice(workerLatency_);
        workerDone_.store(true, std::memory_order_release);
    });
}

void OutputStream::simulateFailure() { failed_.store(true); }

bool OutputStream::running() const
{
    if (!audio_ || worker_.joinable())
        return false;
    try {
        return audio_->isStreamRunning() && !failed_.load();
    } catch (...) {
        return false;
    }
}

double OutputStream::latency() const { return audio_ ? latency_ : 0.0; }

}  // namespace tone
