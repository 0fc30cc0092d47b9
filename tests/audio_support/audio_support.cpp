#include "tests/audio_support/audio_support.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <limits>
#include <map>
#include <pthread.h>
#include <sched.h>
#include <sstream>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace audiotest {

namespace {

// Waits for a child for at most `timeout`; kills it when it overruns.
// Returns its exit status, or -1 when it did not end normally.
int waitChild(pid_t pid, std::chrono::milliseconds timeout)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    int status = 0;
    for (;;) {
        const pid_t r = waitpid(pid, &status, WNOHANG);
        if (r == pid)
            return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        if (r < 0 && errno != EINTR)
            return -1;
        if (std::chrono::steady_clock::now() >= deadline) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            return -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

// Runs a program to its end (at most five seconds) and gives its standard
// output; *ok tells whether it ended with status 0.
std::string outputOf(const std::vector<std::string> &args, bool *ok = nullptr)
{
    int fds[2];
    if (pipe(fds) != 0)
        return {};
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(fds[1], STDOUT_FILENO);
        const int devnull = open("/dev/null", O_RDWR);
        dup2(devnull, STDERR_FILENO);
        std::vector<char *> argv;
        for (const auto &a : args)
            argv.push_back(const_cast<char *>(a.c_str()));
        argv.push_back(nullptr);
        execvp(argv[0], argv.data());
        _exit(127);
    }
    close(fds[1]);
    std::string text;
    char buffer[4096];
    for (ssize_t n; (n = read(fds[0], buffer, sizeof buffer)) > 0;)
        text.append(buffer, std::size_t(n));
    close(fds[0]);
    const bool ended = pid > 0 && waitChild(pid, std::chrono::milliseconds(5000)) == 0;
    if (ok)
        *ok = ended;
    return text;
}

// Starts a program with its output silenced. `realtime` asks for real-time
// scheduling (or at least a raised priority) for it; `group` puts it in a
// process group of its own, so that it can be ended with its children.
pid_t spawn(const std::vector<std::string> &args, bool quiet, bool realtime = false, bool group = false)
{
    std::vector<char *> argv;
    for (const auto &a : args)
        argv.push_back(const_cast<char *>(a.c_str()));
    argv.push_back(nullptr);
    const pid_t pid = fork();
    if (pid == 0) {
        if (group)
            setpgid(0, 0);
        if (realtime) {
            sched_param param{};
            param.sched_priority = 20;
            if (sched_setscheduler(0, SCHED_FIFO, &param) != 0)
                setpriority(PRIO_PROCESS, 0, -15);
        }
        const int devnull = open("/dev/null", O_RDWR);
        if (devnull >= 0) {
            dup2(devnull, STDIN_FILENO);
            dup2(devnull, STDOUT_FILENO);
            if (quiet)
                dup2(devnull, STDERR_FILENO);
        }
        execvp(argv[0], argv.data());
        _exit(127);
    }
    return pid;
}

std::uint32_t le32(const unsigned char *p)
{
    return p[0] | (p[1] << 8) | (p[2] << 16) | (std::uint32_t(p[3]) << 24);
}
std::uint16_t le16(const unsigned char *p)
{
    return std::uint16_t(p[0] | (p[1] << 8));
}

struct WavLayout {
    int format = 0; // 1 = PCM, 3 = float
    int channels = 0;
    int bits = 0;
    double rate = 0;
    std::size_t dataOffset = 0;
    std::size_t dataSize = 0; // 0 or implausible: to the end of the file
};

bool parseHeader(const std::vector<unsigned char> &b, WavLayout &w, std::string &error)
{
    if (b.size() < 12 || std::memcmp(b.data(), "RIFF", 4) != 0 || std::memcmp(b.data() + 8, "WAVE", 4) != 0) {
        error = "not a RIFF/WAVE file";
        return false;
    }
    std::size_t pos = 12;
    bool haveFmt = false;
    while (pos + 8 <= b.size()) {
        const unsigned char *c = b.data() + pos;
        const std::uint32_t size = le32(c + 4);
        if (std::memcmp(c, "fmt ", 4) == 0) {
            if (pos + 8 + 16 > b.size()) {
                error = "short fmt chunk";
                return false;
            }
            const unsigned char *f = c + 8;
            w.format = le16(f);
            w.channels = le16(f + 2);
            w.rate = le32(f + 4);
            w.bits = le16(f + 14);
            if (w.format == 0xFFFE && size >= 40 && pos + 8 + 40 <= b.size())
                w.format = le16(f + 24); // sub-format GUID starts with the plain tag
            haveFmt = true;
        } else if (std::memcmp(c, "data", 4) == 0) {
            if (!haveFmt) {
                error = "data chunk before fmt chunk";
                return false;
            }
            w.dataOffset = pos + 8;
            w.dataSize = size;
            return true;
        }
        pos += 8 + size + (size & 1);
    }
    error = haveFmt ? "no data chunk" : "no fmt chunk";
    return false;
}

bool readFile(const std::string &path, std::vector<unsigned char> &bytes)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return true;
}

// Positive-going zero crossings (fractional sample positions). With
// phasePerSample > 0 each crossing is placed by the sine through its two
// samples, otherwise by a straight line. A crossing counts only after the
// signal has been below -hysteresis since the previous one.
std::vector<double> crossings(const float *x, std::size_t n, double phasePerSample, double hysteresis)
{
    std::vector<double> t;
    bool armed = false;
    const double c = std::cos(phasePerSample), s = std::sin(phasePerSample);
    for (std::size_t i = 0; i + 1 < n; ++i) {
        if (x[i] < -hysteresis)
            armed = true;
        if (armed && x[i] < 0.0f && x[i + 1] >= 0.0f) {
            const double a = x[i], b = x[i + 1];
            double frac;
            if (phasePerSample > 1e-9 && s > 1e-6) {
                const double theta = std::atan2(a, (b - a * c) / s); // phase of sample i, in (-phi, 0]
                frac = -theta / phasePerSample;
            } else {
                frac = a / (a - b);
            }
            frac = std::clamp(frac, 0.0, 1.0);
            t.push_back(double(i) + frac);
            armed = false;
        }
    }
    return t;
}

// Least-squares slope of the crossing times against their cycle numbers. A
// crossing missed in noise must not shift the count, so each one is numbered
// from the gap to the previous one, measured in rough periods.
double periodOf(const std::vector<double> &t, double roughPeriod)
{
    const std::size_t m = t.size();
    std::vector<double> k(m, 0.0);
    for (std::size_t j = 1; j < m; ++j) {
        const double cycles = roughPeriod > 0 ? std::max(1.0, std::round((t[j] - t[j - 1]) / roughPeriod)) : 1.0;
        k[j] = k[j - 1] + cycles;
    }
    double kMean = 0, tMean = 0;
    for (std::size_t j = 0; j < m; ++j) {
        kMean += k[j];
        tMean += t[j];
    }
    kMean /= double(m);
    tMean /= double(m);
    double num = 0, den = 0;
    for (std::size_t j = 0; j < m; ++j) {
        const double dk = k[j] - kMean;
        num += dk * (t[j] - tMean);
        den += dk * dk;
    }
    return den > 0 ? num / den : 0.0;
}

// The median gap between crossings: a rough period to number them with.
double medianGap(const std::vector<double> &t)
{
    std::vector<double> gaps;
    for (std::size_t j = 1; j < t.size(); ++j)
        gaps.push_back(t[j] - t[j - 1]);
    if (gaps.empty())
        return 0.0;
    std::nth_element(gaps.begin(), gaps.begin() + gaps.size() / 2, gaps.end());
    return gaps[gaps.size() / 2];
}

} // namespace

bool audioRequired()
{
    const char *v = std::getenv("HELICORDIA_AUDIO_REQUIRED");
    return v && std::string(v) == "1";
}

bool soundServerReachable()
{
    const pid_t pid = spawn({"pactl", "info"}, true);
    if (pid < 0)
        return false;
    return waitChild(pid, std::chrono::milliseconds(5000)) == 0;
}

bool serverIsPipeWire()
{
    return outputOf({"pactl", "info"}).find("on PipeWire") != std::string::npos;
}

std::string testSinkName()
{
    const char *v = std::getenv("HELICORDIA_TEST_SINK");
    return v ? std::string(v) : std::string();
}

std::string testMonitorSource()
{
    const std::string sink = testSinkName();
    return sink.empty() ? std::string("@DEFAULT_MONITOR@") : sink + ".monitor";
}

std::vector<float> Recording::channel(int c) const
{
    std::vector<float> out;
    if (c < 0 || c >= channels)
        return out;
    out.reserve(frames());
    for (std::size_t i = 0; i < frames(); ++i)
        out.push_back(samples[i * channels + c]);
    return out;
}

std::vector<float> Recording::mono() const
{
    std::vector<float> out(frames(), 0.0f);
    for (std::size_t i = 0; i < frames(); ++i) {
        double sum = 0;
        for (int c = 0; c < channels; ++c)
            sum += samples[i * channels + c];
        out[i] = float(sum / channels);
    }
    return out;
}

bool loadWav(const std::string &path, Recording &out, std::string *error)
{
    std::string err;
    std::vector<unsigned char> b;
    WavLayout w;
    if (!readFile(path, b)) {
        err = "cannot read " + path;
    } else if (parseHeader(b, w, err)) {
        const int bytes = w.bits / 8;
        if (w.channels <= 0 || w.rate <= 0 || bytes <= 0 ||
            !((w.format == 1 && (bytes == 2 || bytes == 3 || bytes == 4)) ||
              (w.format == 3 && (bytes == 4 || bytes == 8)))) {
            err = "unsupported WAV sample format";
        } else {
            std::size_t avail = b.size() - w.dataOffset;
            if (w.dataSize != 0 && w.dataSize != 0xFFFFFFFFu && w.dataSize <= avail)
                avail = w.dataSize;
            const std::size_t count = avail / bytes / w.channels * w.channels;
            out.channels = w.channels;
            out.rate = w.rate;
            out.samples.resize(count);
            const unsigned char *p = b.data() + w.dataOffset;
            for (std::size_t i = 0; i < count; ++i, p += bytes) {
                float v = 0;
                if (w.format == 3 && bytes == 4) {
                    std::memcpy(&v, p, 4);
                } else if (w.format == 3) {
                    double d;
                    std::memcpy(&d, p, 8);
                    v = float(d);
                } else if (bytes == 2) {
                    v = std::int16_t(le16(p)) / 32768.0f;
                } else if (bytes == 3) {
                    const std::int32_t s = std::int32_t((p[0] << 8) | (p[1] << 16) | (std::uint32_t(p[2]) << 24));
                    v = float(s / 2147483648.0);
                } else {
                    v = float(std::int32_t(le32(p)) / 2147483648.0);
                }
                out.samples[i] = v;
            }
            return true;
        }
    }
    if (error)
        *error = err;
    return false;
}

// ---- MonitorRecorder ------------------------------------------------------

MonitorRecorder::MonitorRecorder(std::string source, std::string wavPath)
    : source_(std::move(source)), path_(std::move(wavPath))
{
    if (path_.empty()) {
        const char *dir = std::getenv("TMPDIR");
        std::string pattern = std::string(dir && *dir ? dir : "/tmp") + "/helicordia-monitor-XXXXXX.wav";
        std::vector<char> buf(pattern.begin(), pattern.end());
        buf.push_back('\0');
        const int fd = mkstemps(buf.data(), 4);
        if (fd >= 0) {
            close(fd);
            path_ = buf.data();
            ownsFile_ = true;
        }
    }
}

MonitorRecorder::~MonitorRecorder()
{
    if (running())
        stop();
    if (ownsFile_ && !path_.empty())
        unlink(path_.c_str());
}

std::size_t MonitorRecorder::dataFramesInFile() const
{
    struct stat st {};
    if (dataOffset_ == 0 || stat(path_.c_str(), &st) != 0 || std::size_t(st.st_size) < dataOffset_)
        return 0;
    return (std::size_t(st.st_size) - dataOffset_) / bytesPerFrame_;
}

bool MonitorRecorder::start(std::chrono::milliseconds timeout)
{
    error_.clear();
    if (running()) {
        error_ = "already recording";
        return false;
    }
    if (path_.empty()) {
        error_ = "no file to record into";
        return false;
    }
    unlink(path_.c_str());
    {
        std::lock_guard<std::mutex> lock(arrivalsMutex_);
        arrivals_.clear();
    }
    dataOffset_ = 0;
    recording_ = Recording{};
    onPipeWire_ = serverIsPipeWire();
    // Under load the recorder runs at raised priority with a larger buffer,
    // so that its own gaps are not blamed on what it records.
    pid_ = spawn({"parec", "-d", source_, "--file-format=wav", "--format=float32le", "--rate=48000", "--channels=2",
                  underLoad_ ? "--latency-msec=100" : "--latency-msec=10", path_},
                 false, underLoad_);
    if (pid_ < 0) {
        error_ = std::string("fork failed: ") + std::strerror(errno);
        return false;
    }
    const auto deadline = Clock::now() + timeout;
    while (Clock::now() < deadline) {
        int status = 0;
        if (waitpid(pid_, &status, WNOHANG) == pid_) {
            pid_ = -1;
            error_ = "parec ended at once (is the source " + source_ + " there?)";
            return false;
        }
        if (dataOffset_ == 0) {
            std::vector<unsigned char> b;
            WavLayout w;
            std::string ignored;
            if (readFile(path_, b) && parseHeader(b, w, ignored)) {
                dataOffset_ = w.dataOffset;
                bytesPerFrame_ = std::size_t(w.channels) * (w.bits / 8);
                rate_ = w.rate;
            }
        }
        if (dataOffset_ != 0 && dataFramesInFile() >= 480)
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    if (dataOffset_ == 0 || dataFramesInFile() < 480) {
        error_ = "no audio arrived from " + source_;
        stop();
        return false;
    }
    watching_ = true;
    watcher_ = std::thread([this] { watch(); });
    return true;
}

void MonitorRecorder::watch()
{
    std::size_t last = 0;
    while (watching_) {
        const std::size_t frames = dataFramesInFile();
        if (frames != last) {
            const auto now = Clock::now();
            std::lock_guard<std::mutex> lock(arrivalsMutex_);
            arrivals_.push_back({now, frames});
            last = frames;
        }
        std::this_thread::sleep_for(std::chrono::microseconds(500));
    }
}

std::size_t MonitorRecorder::framesSoFar() const
{
    return dataFramesInFile();
}

MonitorRecorder::Clock::time_point MonitorRecorder::frameHeardBy(std::size_t frame) const
{
    std::lock_guard<std::mutex> lock(arrivalsMutex_);
    auto best = Clock::time_point::max();
    for (const Arrival &a : arrivals_) {
        if (a.frames <= frame)
            continue;
        const double behind = double(a.frames - 1 - frame) / rate_;
        const auto t = a.when - std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(behind));
        best = std::min(best, t);
    }
    return best;
}

MonitorRecorder::Clock::time_point MonitorRecorder::frameArrivedBy(std::size_t frame) const
{
    std::lock_guard<std::mutex> lock(arrivalsMutex_);
    for (const Arrival &a : arrivals_)
        if (a.frames > frame)
            return a.when;
    return Clock::time_point::max();
}

bool MonitorRecorder::stop()
{
    if (watching_) {
        watching_ = false;
        if (watcher_.joinable())
            watcher_.join();
    }
    if (pid_ > 0) {
        if (onPipeWire_)
            std::this_thread::sleep_for(std::chrono::seconds(1));
        kill(pid_, SIGINT);
        waitChild(pid_, std::chrono::milliseconds(3000));
        pid_ = -1;
    }
    std::string err;
    if (!loadWav(path_, recording_, &err)) {
        if (error_.empty())
            error_ = err;
        return false;
    }
    return true;
}

// ---- PrivateSoundServer ---------------------------------------------------

PrivateSoundServer::PrivateSoundServer(std::vector<std::string> sinks, bool rewinds)
    : sinks_(std::move(sinks)), rewinds_(rewinds)
{
    const char *runtime = std::getenv("XDG_RUNTIME_DIR");
    hadRuntime_ = runtime != nullptr;
    savedRuntime_ = runtime ? runtime : "";
    char pattern[] = "/tmp/helicordia-server-XXXXXX";
    if (mkdtemp(pattern))
        folder_ = pattern;
    setenv("XDG_RUNTIME_DIR", folder_.c_str(), 1);
}

PrivateSoundServer::~PrivateSoundServer()
{
    kill();
    if (hadRuntime_)
        setenv("XDG_RUNTIME_DIR", savedRuntime_.c_str(), 1);
    else
        unsetenv("XDG_RUNTIME_DIR");
    std::error_code ignored;
    if (!folder_.empty())
        std::filesystem::remove_all(folder_, ignored);
}

bool PrivateSoundServer::start()
{
    kill();
    std::error_code ignored;
    std::filesystem::remove(folder_ + "/pulse/pid", ignored); // left by a killed server
    std::vector<std::string> args = {"pulseaudio",
                                     "--daemonize=no",
                                     "--exit-idle-time=-1",
                                     "-n",
                                     "--log-target=stderr",
                                     "--log-level=error",
                                     "--load=module-native-protocol-unix"};
    for (const std::string &sink : sinks_)
        args.push_back("--load=module-null-sink sink_name=" + sink + " rate=48000 channels=2 " +
                       (rewinds_ ? "" : "norewinds=1 ") + "sink_properties=device.description=" + sink);
    pid_ = spawn(args, true);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < deadline) {
        if (pactl({"info"}))
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
}

void PrivateSoundServer::freeze()
{
    if (pid_ > 0)
        ::kill(pid_, SIGSTOP);
}

void PrivateSoundServer::thaw()
{
    if (pid_ > 0)
        ::kill(pid_, SIGCONT);
}

void PrivateSoundServer::kill()
{
    if (pid_ <= 0)
        return;
    ::kill(pid_, SIGKILL);
    waitChild(pid_, std::chrono::milliseconds(5000));
    pid_ = -1;
}

bool PrivateSoundServer::pactl(const std::vector<std::string> &args, std::string *out) const
{
    std::vector<std::string> command = {"pactl"};
    command.insert(command.end(), args.begin(), args.end());
    bool ok = false;
    const std::string text = outputOf(command, &ok);
    if (out)
        *out = text;
    return ok;
}

int PrivateSoundServer::sinkModule(const std::string &sink) const
{
    std::string list;
    if (!pactl({"list", "short", "modules"}, &list))
        return -1;
    std::istringstream lines(list);
    for (std::string line; std::getline(lines, line);)
        if (line.find("module-null-sink") != std::string::npos &&
            line.find("sink_name=" + sink + " ") != std::string::npos)
            return std::atoi(line.c_str());
    return -1;
}

// ---- analysis -------------------------------------------------------------

double measureFrequency(const float *mono, std::size_t n, double rate)
{
    const double hyst = 0.01 * peak(mono, n);
    std::vector<double> t = crossings(mono, n, 0.0, hyst);
    if (t.size() < 2)
        return 0.0;
    const double rough = medianGap(t);
    double period = periodOf(t, rough);
    if (!(period > 0))
        return 0.0;
    for (int pass = 0; pass < 3; ++pass) {
        const double phi = 2.0 * M_PI / period;
        if (!(phi > 0.0 && phi < 3.0))
            break;
        t = crossings(mono, n, phi, hyst);
        if (t.size() < 2)
            break;
        const double p = periodOf(t, period);
        if (!(p > 0))
            break;
        period = p;
    }
    return rate / period;
}

double rms(const float *x, std::size_t n)
{
    if (n == 0)
        return 0.0;
    double sum = 0;
    for (std::size_t i = 0; i < n; ++i)
        sum += double(x[i]) * x[i];
    return std::sqrt(sum / double(n));
}

double peak(const float *x, std::size_t n)
{
    double p = 0;
    for (std::size_t i = 0; i < n; ++i)
        p = std::max(p, std::fabs(double(x[i])));
    return p;
}

double largestStep(const float *x, std::size_t n)
{
    double s = 0;
    for (std::size_t i = 1; i < n; ++i)
        s = std::max(s, std::fabs(double(x[i]) - double(x[i - 1])));
    return s;
}

std::vector<Segment> findSoundSegments(const float *mono, std::size_t n, double rate, double threshold,
                                       double minGapSeconds, double minLengthSeconds)
{
    std::vector<Segment> out;
    const std::size_t minGap = std::size_t(std::max(1.0, minGapSeconds * rate));
    const std::size_t minLength = std::size_t(std::max(0.0, minLengthSeconds * rate));
    bool inSound = false;
    Segment cur;
    std::size_t lastLoud = 0;
    auto close = [&] {
        cur.end = lastLoud + 1;
        if (cur.length() >= minLength)
            out.push_back(cur);
        inSound = false;
    };
    for (std::size_t i = 0; i < n; ++i) {
        if (std::fabs(mono[i]) > threshold) {
            if (!inSound) {
                inSound = true;
                cur.begin = i;
            }
            lastLoud = i;
        } else if (inSound && i - lastLoud >= minGap) {
            close();
        }
    }
    if (inSound)
        close();
    return out;
}

std::size_t findFrequencyChange(const float *mono, std::size_t n, double rate, double fromHz, double toHz)
{
    const std::vector<double> t = crossings(mono, n, 0.0, 0.05 * peak(mono, n));
    const double pa = rate / fromHz, pb = rate / toHz;
    const std::size_t agree = 4;
    for (std::size_t j = 0; j + agree + 1 < t.size(); ++j) {
        bool nearB = true;
        for (std::size_t k = j; k < j + agree && nearB; ++k) {
            const double p = t[k + 1] - t[k];
            nearB = std::fabs(p - pb) < std::fabs(p - pa);
        }
        if (nearB)
            return std::size_t(t[j]);
    }
    return n;
}

// ---- LoadGenerator ------------------------------------------------------------

LoadGenerator::~LoadGenerator()
{
    stop();
}

bool LoadGenerator::start(const std::vector<std::string> &args)
{
    stop();
    pid_ = spawn(args, true, false, true);
    if (pid_ <= 0)
        return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    int status = 0;
    if (waitpid(pid_, &status, WNOHANG) == pid_) {
        pid_ = -1;
        return false;
    }
    return true;
}

void LoadGenerator::stop()
{
    if (pid_ <= 0)
        return;
    kill(-pid_, SIGTERM);
    int status = 0;
    waitpid(pid_, &status, 0);
    kill(-pid_, SIGKILL); // any child that outlived its parent
    pid_ = -1;
}

ThreadWaitWatch::~ThreadWaitWatch()
{
    stop();
}

bool ThreadWaitWatch::start(const std::string &serverName)
{
    stop();
    pid_t server = -1;
    for (const auto &entry : std::filesystem::directory_iterator("/proc")) {
        const std::string name = entry.path().filename();
        if (name.find_first_not_of("0123456789") != std::string::npos)
            continue;
        std::ifstream comm(entry.path() / "comm");
        std::string c;
        struct stat st {};
        if (std::getline(comm, c) && c == serverName && stat(entry.path().c_str(), &st) == 0 && st.st_uid == getuid())
            server = pid_t(std::stol(name));
    }
    if (server <= 0)
        return false;
    pids_ = {server, getpid()};
    running_ = true;
    sampler_ = std::thread([this] {
        sched_param param{};
        param.sched_priority = 30;
        pthread_setschedparam(pthread_self(), SCHED_FIFO, &param);
        struct Task {
            Seen seen;
            double lastWaitMs;
        };
        std::map<std::string, Task> tasks; // by /proc path
        while (running_) {
            if (restartOwn_.exchange(false))
                for (auto &[path, t] : tasks)
                    if (!t.seen.server)
                        t.seen.longestMs = 0.0;
            for (const pid_t pid : pids_) {
                std::error_code ec;
                for (const auto &task :
                     std::filesystem::directory_iterator("/proc/" + std::to_string(pid) + "/task", ec)) {
                    std::ifstream stat(task.path() / "schedstat");
                    double onCpuNs = 0, waitedNs = 0;
                    if (!(stat >> onCpuNs >> waitedNs))
                        continue;
                    auto [it, added] = tasks.try_emplace(task.path().string());
                    Task &t = it->second;
                    std::ifstream comm(task.path() / "comm"); // a thread may name itself late
                    std::getline(comm, t.seen.name);
                    if (added) {
                        t.seen.server = pid == pids_.front();
                        t.seen.longestMs = 0.0;
                        t.lastWaitMs = waitedNs / 1e6;
                    }
                    t.seen.longestMs = std::max(t.seen.longestMs, waitedNs / 1e6 - t.lastWaitMs);
                    t.lastWaitMs = waitedNs / 1e6;
                }
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        for (const auto &[path, t] : tasks)
            seen_.push_back(t.seen);
    });
    return true;
}

void ThreadWaitWatch::stop()
{
    running_ = false;
    if (sampler_.joinable())
        sampler_.join();
}

double ThreadWaitWatch::serverLongest(const std::string &thread) const
{
    double ms = 0.0;
    for (const Seen &s : seen_)
        if (s.server && s.name == thread)
            ms = std::max(ms, s.longestMs);
    return ms;
}

double ThreadWaitWatch::ownLongest(const std::string &thread) const
{
    double ms = 0.0;
    for (const Seen &s : seen_)
        if (!s.server && s.name == thread)
            ms = std::max(ms, s.longestMs);
    return ms;
}

std::string ThreadWaitWatch::summary() const
{
    std::string server, own;
    char buf[96];
    for (const Seen &s : seen_) {
        std::string &out = s.server ? server : own;
        std::snprintf(buf, sizeof buf, "%s%s %.1f ms", out.empty() ? "" : ", ", s.name.c_str(), s.longestMs);
        out += buf;
    }
    return "sound server: " + server + "; this process: " + own;
}

} // namespace audiotest
