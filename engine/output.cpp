#include "engine/output.h"

#include <cstdlib>
#include <cstring>

namespace tone {

namespace {

std::int64_t nowNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

} // namespace

OutputStream::OutputStream(Mixer &mixer) : mixer_(mixer) {}

OutputStream::~OutputStream()
{
    finishWorker();
    device_.reset();
}

bool OutputStream::onCallback(float *out, int frames, std::int64_t bufferedNs, bool checkLate)
{
    // A call that comes later than everything buffered could last means the
    // device ran dry in between.
    const std::int64_t now = nowNs();
    const std::int64_t last = lastCallbackNs_.exchange(now, std::memory_order_relaxed);
    if (checkLate && last != 0 && now - last > bufferedNs)
        late_.fetch_add(1, std::memory_order_relaxed);
    const bool sounding = mixer_.render(out, frames);
    sounding_.store(sounding, std::memory_order_relaxed);
    const std::int64_t silent =
        sounding ? 0
                 : silentNs_.load(std::memory_order_relaxed) + std::int64_t(frames) * 1000000000LL / TONE_SAMPLE_RATE;
    silentNs_.store(silent, std::memory_order_relaxed);
    callbacks_.fetch_add(1, std::memory_order_release);
    return silent > bufferedNs;
}

std::unique_ptr<OutputDevice> OutputStream::openDevice()
{
    lastCallbackNs_ = 0;
    silentNs_ = 0;
    const char *choice = std::getenv("HELICORDIA_OUTPUT");
    const bool rtaudioFirst = choice && std::strcmp(choice, "rtaudio") == 0;
    std::unique_ptr<OutputDevice> device = rtaudioFirst ? openRtAudioDevice(*this) : openPulseDevice(*this);
    if (!device)
        device = rtaudioFirst ? openPulseDevice(*this) : openRtAudioDevice(*this);
    return device;
}

bool OutputStream::open()
{
    reported_ = 0;
    late_ = 0;
    failed_ = false;
    // Connecting takes a moment, longer on a busy machine: long enough for a
    // first look at how busy the processors are. A look this short needs a
    // clearer sign than update()'s.
    pressure_.sample();
    const auto started = Clock::now();
    device_ = openDevice();
    if (!device_)
        return false;
    lastCallbacks_ = callbacks_.load();
    lastProgress_ = Clock::now();
    if (lastProgress_ - started >= std::chrono::milliseconds(2)) {
        busy_ = pressure_.sample() > 0.9;
        lastPressureAt_ = lastProgress_;
    }
    device_->setBusy(busy_);
    return true;
}

void OutputStream::finishWorker()
{
    if (!worker_.joinable())
        return;
    worker_.join();
    if (workerResult_) {
        device_ = std::move(workerResult_);
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
    if (!device_ || device_->suspended())
        return;
    // Until a call made after the stop renders nothing more: the whole
    // fade-out has then been written.
    const std::uint64_t start = callbacks_.load(std::memory_order_acquire);
    const auto deadline = Clock::now() + std::chrono::milliseconds(300);
    while (Clock::now() < deadline && !failed_.load() && device_->healthy() && !device_->suspended()) {
        if (callbacks_.load(std::memory_order_acquire) > start && !sounding_.load(std::memory_order_relaxed))
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
}

void OutputStream::close()
{
    finishWorker();
    waitForFadeOut();
    if (device_ && !device_->suspended())
        device_->drain();
    device_.reset();
}

void OutputStream::wake()
{
    if (device_ && !worker_.joinable())
        device_->resume();
}

void OutputStream::update()
{
    const auto now = Clock::now();
    // Busy: for over half of the last quarter second some task waited for a
    // processor. The sound server's own threads may then wait too.
    if (now - lastPressureAt_ >= std::chrono::milliseconds(250)) {
        lastPressureAt_ = now;
        busy_ = pressure_.sample() > 0.5;
    }
    if (worker_.joinable()) {
        if (workerDone_.load(std::memory_order_acquire))
            finishWorker();
        return;
    }

    bool broken = failed_.load(std::memory_order_acquire) || !device_ || !device_->healthy();
    // A stream whose callback has stopped coming has failed too, unless it
    // is suspended.
    const std::uint64_t calls = callbacks_.load(std::memory_order_acquire);
    if (calls != lastCallbacks_ || (device_ && device_->suspended())) {
        lastCallbacks_ = calls;
        lastProgress_ = now;
    } else if (now - lastProgress_ > std::chrono::seconds(1)) {
        broken = true;
    }
    if (!broken) {
        device_->setBusy(busy_);
        device_->suspendIfIdle();
        return;
    }
    if (now - lastAttempt_ < std::chrono::milliseconds(500))
        return;

    lastAttempt_ = now;
    workerDone_.store(false);
    std::unique_ptr<OutputDevice> old = std::move(device_);
    worker_ = std::thread([this, old = std::move(old)]() mutable {
        old.reset();
        workerResult_ = openDevice();
        workerDone_.store(true, std::memory_order_release);
    });
}

void OutputStream::simulateFailure()
{
    failed_.store(true);
}

bool OutputStream::running() const
{
    return device_ && !worker_.joinable() && device_->healthy() && !failed_.load();
}

bool OutputStream::suspended() const
{
    return device_ && !worker_.joinable() && device_->suspended();
}

double OutputStream::latency() const
{
    return device_ && !worker_.joinable() ? device_->latency() : 0.0;
}

} // namespace tone
