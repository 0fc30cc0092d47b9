#include "engine/output.h"

#include <cstdlib>
#include <cstring>
#include <type_traits>

namespace tone {

namespace {

using namespace std::chrono_literals;

constexpr auto kRetryPause = 500ms; // between two attempts to open a device
constexpr auto kStallLimit = 1s;    // no audio asked for this long while playing: the server stopped answering
constexpr auto kFadeWait = 250ms;   // closing: at most this long for the fade-out to be written...
constexpr auto kDrainWait = 250ms;  // ...and this long for it to be played
constexpr std::int64_t kStalledNs = 200000000; // no call for this long beyond the buffer: stalled

std::int64_t nowNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

} // namespace

OutputStream::OutputStream(Mixer &mixer) : mixer_(mixer)
{
    // Address space only: pages are touched once a device keeps history.
    static_assert(std::is_trivially_copyable_v<Voice::MixState>);
    history_.reset(static_cast<Voice::MixState *>(
        std::malloc(sizeof(Voice::MixState) * TONE_MAX_CHANNELS * std::size_t(kHistoryBlocks))));
    historyAt_.fill(-1);
}

OutputStream::~OutputStream()
{
    stopConnector();
    device_.reset();
    pending_.reset();
    retired_.clear();
}

bool OutputStream::onCallback(float *out, int frames, std::int64_t bufferedNs, bool checkLate)
{
    // A call that comes later than everything buffered could last means the
    // device ran dry in between.
    const std::int64_t now = nowNs();
    const std::int64_t last = lastCallbackNs_.exchange(now, std::memory_order_relaxed);
    if (checkLate && last != 0 && now - last > bufferedNs)
        late_.fetch_add(1, std::memory_order_relaxed);
    bool idle;
    if (keepHistory_ && history_) {
        idle = renderKeepingHistory(out, frames, bufferedNs);
    } else {
        idle = account(mixer_.render(out, frames), frames, bufferedNs);
        frame_ += frames;
    }
    callbacks_.fetch_add(1, std::memory_order_release);
    return idle;
}

// Audio thread: notes whether the last frames rendered held a sounding
// voice. True once the silence rendered lasts longer than `bufferedNs`.
bool OutputStream::account(bool sounding, int frames, std::int64_t bufferedNs)
{
    sounding_.store(sounding, std::memory_order_relaxed);
    const std::int64_t silent =
        sounding ? 0
                 : silentNs_.load(std::memory_order_relaxed) + std::int64_t(frames) * 1000000000LL / TONE_SAMPLE_RATE;
    silentNs_.store(silent, std::memory_order_relaxed);
    return silent > bufferedNs;
}

// Audio thread: renders block by block, keeping the mixer's state at the
// start of each block of the stream.
bool OutputStream::renderKeepingHistory(float *out, int frames, std::int64_t bufferedNs)
{
    const std::size_t voices = std::size_t(mixer_.channels);
    bool idle = false;
    for (int done = 0; done < frames;) {
        const std::int64_t at = frame_ - streamStart_;
        const int into = int(at % kHistoryBlock);
        if (into == 0) {
            mixer_.takeRise();
            const std::size_t slot = std::size_t(at / kHistoryBlock % kHistoryBlocks);
            mixer_.saveState(&history_[slot * voices]);
            historyAt_[slot] = frame_;
        }
        const int n = std::min(frames - done, kHistoryBlock - into);
        idle = account(mixer_.render(out + 2 * done, n), n, bufferedNs);
        frame_ += n;
        done += n;
    }
    return idle;
}

bool OutputStream::rewindTo(std::int64_t frame)
{
    if (!history_ || frame < 0 || frame % kHistoryBlock != 0)
        return false;
    const std::int64_t at = streamStart_ + frame;
    const std::size_t slot = std::size_t(frame / kHistoryBlock % kHistoryBlocks);
    if (at > frame_ || historyAt_[slot] != at)
        return false;
    mixer_.restoreState(&history_[slot * std::size_t(mixer_.channels)]);
    // The silence counted since then is rendered again.
    const std::int64_t again = (frame_ - at) * 1000000000LL / TONE_SAMPLE_RATE;
    silentNs_.store(std::max<std::int64_t>(0, silentNs_.load(std::memory_order_relaxed) - again),
                    std::memory_order_relaxed);
    frame_ = at;
    return true;
}

// The connector's thread.
std::unique_ptr<OutputDevice> OutputStream::openDevice(ToneResult *reason, std::string *detail)
{
    silentNs_ = 0;
    const char *choice = std::getenv("HELICORDIA_OUTPUT");
    const bool rtaudioFirst = choice && std::strcmp(choice, "rtaudio") == 0;
    if (rtaudioFirst)
        if (std::unique_ptr<OutputDevice> device = openRtAudioDevice(*this, reason, detail))
            return device;
    std::unique_ptr<OutputDevice> device = openPulseDevice(*this, reason, detail);
    if (device) {
        pulseWorked_ = true;
        return device;
    }
    // RtAudio only where no PulseAudio server is there at all (not one that
    // is frozen, nor one that is restarting after it has played here).
    const bool noServer = *reason == TONE_ERR_NO_SOUND_SERVER || *reason == TONE_ERR_MODULE_MISSING;
    if (rtaudioFirst || !noServer || pulseWorked_ || cancelled())
        return nullptr;
    ToneResult rtReason = TONE_OK;
    std::string rtDetail;
    device = openRtAudioDevice(*this, &rtReason, &rtDetail);
    // Without either, the missing module is the thing to mend; with no
    // server, the missing server.
    if (!device && rtReason == TONE_ERR_MODULE_MISSING && *reason != TONE_ERR_MODULE_MISSING) {
        *reason = rtReason;
        *detail = rtDetail;
    }
    return device;
}

void OutputStream::open()
{
    stopConnector();
    reported_ = 0;
    late_ = 0;
    failed_ = false;
    everReady_ = false;
    woken_ = false;
    lastCallbackNs_ = 0;
    keepHistory_ = false;
    historyAt_.fill(-1);
    {
        std::lock_guard<std::mutex> lock(mutex_);
        status_ = OutputStatus{};
        outputs_.clear();
        wanted_ = true;
    }
    stopping_ = false;
    pressure_.sample();
    lastPressureAt_ = Clock::now();
    connector_ = std::thread([this] { connect(); });
}

// The connector's thread: opens a device whenever one is wanted, trying
// again every kRetryPause while it cannot, and closes the devices handed
// back, so that the caller's thread never waits for the server.
void OutputStream::connect()
{
    std::unique_lock<std::mutex> lock(mutex_);
    while (!stopping_) {
        wakeConnector_.wait(lock, [this] { return stopping_ || wanted_ || !retired_.empty(); });
        std::vector<std::unique_ptr<OutputDevice>> retired = std::move(retired_);
        retired_.clear();
        const bool wanted = wanted_ && !stopping_;
        lock.unlock();
        retired.clear();
        ToneResult reason = TONE_OK;
        std::string detail;
        std::unique_ptr<OutputDevice> device = wanted ? openDevice(&reason, &detail) : nullptr;
        lock.lock();
        if (!wanted || stopping_) {
            pending_ = std::move(device);
            continue;
        }
        if (device) {
            pending_ = std::move(device);
            wanted_ = false;
            status_.state = TONE_OUTPUT_READY;
            status_.reason = TONE_OK;
            status_.detail.clear();
            continue;
        }
        if (status_.state != TONE_OUTPUT_LOST)
            status_.state = TONE_OUTPUT_UNAVAILABLE;
        status_.reason = reason;
        status_.detail = detail;
        wakeConnector_.wait_for(lock, kRetryPause, [this] { return stopping_.load(); });
    }
}

void OutputStream::stopConnector()
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
    }
    wakeConnector_.notify_all();
    // A device being opened gives up at once when asked to.
    if (connector_.joinable())
        connector_.join();
}

// The caller's thread: takes the device the connector opened.
void OutputStream::adoptPending()
{
    std::unique_ptr<OutputDevice> fresh;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        fresh = std::move(pending_);
    }
    if (!fresh)
        return;
    device_ = std::move(fresh);
    if (everReady_)
        ++reopens_;
    everReady_ = true;
    failed_ = false;
    lastCallbacks_ = callbacks_.load();
    lastProgress_ = Clock::now();
    device_->setBusy(busy_);
    // A tone that has sounded since the start plays on (or, if it has ended
    // since, the device suspends itself again).
    if (woken_)
        device_->resume();
}

// The caller's thread: the device failed; the connector closes it and opens
// another.
void OutputStream::lose(ToneResult reason)
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        retired_.push_back(std::move(device_));
        status_.state = TONE_OUTPUT_LOST;
        status_.reason = reason;
        status_.detail.clear();
        ++status_.losses;
        wanted_ = true;
    }
    wakeConnector_.notify_all();
}

// Asked for nothing lately although it plays: closing need not wait for it.
bool OutputStream::stalled() const
{
    const std::int64_t last = lastCallbackNs_.load(std::memory_order_relaxed);
    if (last == 0)
        return true; // nothing asked for since it (re)started: nothing to fade
    const std::int64_t bufferedNs = std::int64_t(device_->buffered() * 1e9);
    return nowNs() - last > bufferedNs + kStalledNs;
}

// Lets the mixer play the fade-out of every voice before the stream stops,
// so that closing never cuts a tone off mid-wave.
void OutputStream::waitForFadeOut()
{
    // Until a call made after the stop renders nothing more: the whole
    // fade-out has then been written.
    const std::uint64_t start = callbacks_.load(std::memory_order_acquire);
    const auto deadline = Clock::now() + kFadeWait;
    while (Clock::now() < deadline && !failed_.load() && device_->healthy() && !device_->suspended()) {
        if (callbacks_.load(std::memory_order_acquire) > start && !sounding_.load(std::memory_order_relaxed))
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
}

void OutputStream::close()
{
    stopConnector();
    adoptPending();
    if (device_ && !device_->suspended() && device_->healthy() && !failed_ && !stalled()) {
        waitForFadeOut();
        if (!device_->suspended() && !failed_ && !stalled())
            device_->drain(kDrainWait);
    }
    device_.reset();
    std::lock_guard<std::mutex> lock(mutex_);
    retired_.clear();
}

void OutputStream::wake()
{
    woken_ = true;
    adoptPending();
    if (device_)
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
    adoptPending();
    if (!device_)
        return; // the connector is at work

    ToneResult reason = TONE_OK;
    if (!device_->healthy())
        reason = device_->failure();
    else if (failed_.load(std::memory_order_acquire))
        reason = TONE_ERR_OUTPUT_FAILED;
    // A stream whose callback has stopped coming has failed too, unless it
    // is suspended.
    const std::uint64_t calls = callbacks_.load(std::memory_order_acquire);
    if (calls != lastCallbacks_ || device_->suspended()) {
        lastCallbacks_ = calls;
        lastProgress_ = now;
    } else if (reason == TONE_OK && now - lastProgress_ > kStallLimit) {
        reason = TONE_ERR_SERVER_NOT_ANSWERING;
    }
    if (reason == TONE_OK) {
        device_->setBusy(busy_);
        device_->suspendIfIdle();
        return;
    }
    lose(reason);
}

void OutputStream::simulateFailure()
{
    failed_.store(true);
}

void OutputStream::setOutput(const std::string &name, bool whenSilent)
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        chosen_ = name;
    }
    adoptPending();
    if (device_)
        device_->moveTo(name, whenSilent);
}

bool OutputStream::running() const
{
    return device_ && device_->healthy() && !failed_.load();
}

bool OutputStream::suspended() const
{
    return device_ && device_->suspended();
}

double OutputStream::latency() const
{
    return device_ ? device_->latency() : 0.0;
}

OutputStatus OutputStream::status() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return status_;
}

std::vector<OutputChoice> OutputStream::outputs() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return outputs_;
}

} // namespace tone
