// Helpers for tests that play real sound: is a sound server there, record a
// sink's monitor with parec, and measure what was recorded (frequency, level,
// steps, the stretches of sound and silence). Plain C++ and POSIX, no Qt.
#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>
#include <mutex>
#include <string>
#include <sys/types.h>
#include <thread>
#include <utility>
#include <vector>

namespace audiotest {

// True when HELICORDIA_AUDIO_REQUIRED=1: a sound test must then fail, not
// skip, when it cannot reach the sound server.
bool audioRequired();

// True when `pactl info` succeeds (a PulseAudio-compatible server answers).
bool soundServerReachable();

// True when the server that answers is PipeWire's PulseAudio service.
bool serverIsPipeWire();

// The sink the tests play into: HELICORDIA_TEST_SINK, or "" for the default.
std::string testSinkName();

// The monitor source of testSinkName() ("<sink>.monitor"), or
// "@DEFAULT_MONITOR@" when no sink is named.
std::string testMonitorSource();

// Samples loaded from a WAV file, interleaved.
struct Recording {
    std::vector<float> samples; // interleaved, channels per frame
    int channels = 0;
    double rate = 0.0;

    std::size_t frames() const { return channels ? samples.size() / channels : 0; }
    std::vector<float> channel(int c) const; // one channel
    std::vector<float> mono() const;         // average of all channels
};

// Reads a RIFF/WAVE file: PCM 16/24/32 bit, IEEE float 32/64, plain or
// WAVE_FORMAT_EXTENSIBLE. A data chunk whose size was never written (a file
// still being recorded) is read to the end of the file.
bool loadWav(const std::string &path, Recording &out, std::string *error = nullptr);

// Records a PulseAudio source (by default the test sink's monitor) into a WAV
// file with parec, as 48 kHz float stereo. stop() ends parec with SIGINT on
// its own PID, so the WAV header is completed, and loads the samples.
//
// While recording, a watcher thread notes when the file grows; frameHeardBy()
// turns that into a wall-clock bound on when a given recorded frame had been
// played, which lets a test measure how soon a change is heard.
class MonitorRecorder {
public:
    using Clock = std::chrono::steady_clock;

    explicit MonitorRecorder(std::string source = testMonitorSource(), std::string wavPath = {});
    ~MonitorRecorder(); // stops parec if still running; removes a temporary file
    MonitorRecorder(const MonitorRecorder &) = delete;
    MonitorRecorder &operator=(const MonitorRecorder &) = delete;

    // Starts parec and waits (up to timeout) until audio data reaches the
    // file. False with a reason in lastError() when parec does not start or
    // no data arrives.
    bool start(std::chrono::milliseconds timeout = std::chrono::milliseconds(3000));
    // Before start(): record as a busy machine needs (raised priority, a
    // larger buffer).
    void setUnderLoad(bool on) { underLoad_ = on; }
    // SIGINT to parec, wait for it, load the file. False if loading fails.
    // On PipeWire, whose parec holds back the last part of what it
    // records, the recording goes on for a second first.
    bool stop();
    bool running() const { return pid_ > 0; }

    // Frames that have reached the file so far (while running).
    std::size_t framesSoFar() const;
    // The latest wall-clock time by which recorded frame `frame` had reached
    // the monitor (an upper bound on when it was played). Valid after stop()
    // for frames seen while running; Clock::time_point::max() if unknown.
    Clock::time_point frameHeardBy(std::size_t frame) const;
    // The time the watcher first saw `frame` in the file: a bound that also
    // holds if the server delivers the monitor in bursts (it includes the
    // recorder's own delay). Clock::time_point::max() if unknown.
    Clock::time_point frameArrivedBy(std::size_t frame) const;

    const Recording &recording() const { return recording_; }
    const std::string &wavPath() const { return path_; }
    const std::string &source() const { return source_; }
    const std::string &lastError() const { return error_; }

private:
    struct Arrival {
        Clock::time_point when;
        std::size_t frames;
    };
    void watch();
    std::size_t dataFramesInFile() const;

    std::string source_;
    std::string path_;
    bool underLoad_ = false;
    bool onPipeWire_ = false;
    bool ownsFile_ = false;
    pid_t pid_ = -1;
    std::string error_;
    Recording recording_;
    std::size_t dataOffset_ = 0;    // byte offset of the sample data in the file
    std::size_t bytesPerFrame_ = 8; // float32 stereo
    double rate_ = 48000.0;

    std::thread watcher_;
    std::atomic<bool> watching_{false};
    mutable std::mutex arrivalsMutex_;
    std::vector<Arrival> arrivals_;
};

// A program that loads the machine (such as stress-ng), started in a process
// group of its own and ended with all its children.
class LoadGenerator {
public:
    LoadGenerator() = default;
    ~LoadGenerator();
    LoadGenerator(const LoadGenerator &) = delete;
    LoadGenerator &operator=(const LoadGenerator &) = delete;

    bool start(const std::vector<std::string> &args); // false if it is not there or ends at once
    void stop();

private:
    pid_t pid_ = -1;
};

// A PulseAudio daemon of a test's own, on a runtime folder of its own, with
// null sinks (the first is the default); it can be frozen, thawed, killed
// and started again, and its outputs loaded and unloaded. While it lives,
// XDG_RUNTIME_DIR points at it, so every client this process starts (the
// program, parec, pactl) talks to it.
class PrivateSoundServer {
public:
    // Null sinks of these names; with `rewinds` they can go back (as a
    // desktop's outputs can) and recordings of their monitors may lose a
    // moment when a stream starts.
    explicit PrivateSoundServer(std::vector<std::string> sinks = {"fault_sink"}, bool rewinds = false);
    ~PrivateSoundServer(); // kills it, gives XDG_RUNTIME_DIR back, removes the folder
    PrivateSoundServer(const PrivateSoundServer &) = delete;
    PrivateSoundServer &operator=(const PrivateSoundServer &) = delete;

    bool start(); // and waits until it answers; false if it does not
    void freeze();
    void thaw();
    void kill(); // at once (SIGKILL)
    // Runs pactl with these arguments; its standard output in *out.
    bool pactl(const std::vector<std::string> &args, std::string *out = nullptr) const;
    // The index of the module of the named null sink, or -1.
    int sinkModule(const std::string &sink) const;

private:
    std::vector<std::string> sinks_;
    bool rewinds_ = false;
    std::string folder_, savedRuntime_;
    bool hadRuntime_ = false;
    pid_t pid_ = -1;
};

// Watches how long the threads of the sound server and of this process wait
// for a processor: samples /proc/PID/task/*/schedstat every 2 ms from a
// real-time thread of its own and keeps each thread's longest wait between
// two runs. Tells a starved sound server from a late program.
class ThreadWaitWatch {
public:
    ThreadWaitWatch() = default;
    ~ThreadWaitWatch();
    ThreadWaitWatch(const ThreadWaitWatch &) = delete;
    ThreadWaitWatch &operator=(const ThreadWaitWatch &) = delete;

    bool start(const std::string &serverName = "pulseaudio"); // false if no such process of ours
    void stop();
    // From now on, for this process's threads (their waits while starting,
    // before any asks for real-time scheduling, do not count).
    void restartOwn() { restartOwn_ = true; }
    // Longest wait in ms of the server's (or this process's) thread so named;
    // 0 if none was seen.
    double serverLongest(const std::string &thread) const;
    double ownLongest(const std::string &thread) const;
    // "sound server: name N ms, ...; this process: name N ms, ..."
    std::string summary() const;

private:
    struct Seen {
        bool server;
        std::string name;
        double longestMs;
    };
    std::vector<pid_t> pids_;
    std::thread sampler_;
    std::atomic<bool> running_{false};
    std::atomic<bool> restartOwn_{false};
    std::vector<Seen> seen_; // filled when the sampler ends
};

// ---- analysis -------------------------------------------------------------

// Frequency of a clean sine in Hz: the positive-going zero crossings, each
// placed between its two samples by the sine through them, and a least-squares
// line through their times. Accurate to far below 0.001 Hz on a few hundred
// milliseconds of a clean tone. Returns 0 with fewer than two crossings.
double measureFrequency(const float *mono, std::size_t n, double rate);

double rms(const float *x, std::size_t n);
double peak(const float *x, std::size_t n); // largest |x|
// Largest |x[i+1] - x[i]|.
double largestStep(const float *x, std::size_t n);

// A stretch of sound: samples [begin, end).
struct Segment {
    std::size_t begin = 0;
    std::size_t end = 0;
    std::size_t length() const { return end - begin; }
};

// The stretches of sound in a recording: a sample is sound when |x| exceeds
// threshold; sound separated by less than minGapSeconds of quiet belongs to
// one stretch (a sine crosses zero every half period), and stretches shorter
// than minLengthSeconds are dropped. Segments come in time order.
std::vector<Segment> findSoundSegments(const float *mono, std::size_t n, double rate, double threshold = 1e-3,
                                       double minGapSeconds = 0.02, double minLengthSeconds = 0.005);

// Within a stretch of sine tone that changes from fromHz to toHz, the sample
// at which the change happens (the first zero-crossing period nearer toHz
// than fromHz, with the next few agreeing). n (the size) when no change is
// found.
std::size_t findFrequencyChange(const float *mono, std::size_t n, double rate, double fromHz, double toHz);

} // namespace audiotest
