// What the sound output costs the machine, side by side with sox playing the
// same tone into the same sound server in the same run: CPU (program and
// server together) and context switches per second while a tone plays, and
// the cost while the engine is open but silent. Needs a PulseAudio server
// (the tests' null sink will do); seconds per stretch from
// HELICORDIA_BENCH_SECONDS (default 10).
#include "engine/tone.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

struct Usage {
    double cpu = 0;      // seconds
    double switches = 0; // context switches
    Usage operator-(const Usage &o) const { return {cpu - o.cpu, switches - o.switches}; }
    Usage operator+(const Usage &o) const { return {cpu + o.cpu, switches + o.switches}; }
};

double seconds(const timeval &t)
{
    return double(t.tv_sec) + double(t.tv_usec) * 1e-6;
}

Usage fromRusage(const rusage &u)
{
    return {seconds(u.ru_utime) + seconds(u.ru_stime), double(u.ru_nvcsw + u.ru_nivcsw)};
}

Usage selfUsage()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return fromRusage(u);
}

pid_t serverPid()
{
    const char *dir = std::getenv("XDG_RUNTIME_DIR");
    std::ifstream in(std::string(dir ? dir : "") + "/pulse/pid");
    pid_t pid = 0;
    in >> pid;
    return pid;
}

// CPU and context switches of every thread of another process.
Usage processUsage(pid_t pid)
{
    Usage u;
    if (pid <= 0)
        return u;
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    std::getline(stat, line);
    std::istringstream rest(line.substr(line.rfind(')') + 2));
    std::string field;
    unsigned long long utime = 0, stime = 0;
    for (int i = 3; i <= 15 && rest >> field; ++i) {
        if (i == 14)
            utime = std::stoull(field);
        if (i == 15)
            stime = std::stoull(field);
    }
    u.cpu = double(utime + stime) / double(sysconf(_SC_CLK_TCK));
    const std::string tasks = "/proc/" + std::to_string(pid) + "/task";
    if (DIR *d = opendir(tasks.c_str())) {
        while (dirent *e = readdir(d)) {
            if (e->d_name[0] == '.')
                continue;
            std::ifstream status(tasks + "/" + e->d_name + "/status");
            while (std::getline(status, line))
                if (line.find("ctxt_switches:") != std::string::npos)
                    u.switches += std::stod(line.substr(line.find(':') + 1));
        }
        closedir(d);
    }
    return u;
}

void sleepMs(int ms)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

// The engine as the player drives it: a tone, the engine tick every 100 ms.
struct Engine {
    ToneHandle system = 0, osc = 0, channel = 0;
    bool ok = false;
    Engine()
    {
        ok = Tone_System_Create(&system) == TONE_OK &&
             Tone_System_Init(system, TONE_MAX_CHANNELS, TONE_INIT_NORMAL, nullptr) == TONE_OK &&
             Tone_System_CreateDSPByType(system, TONE_DSP_TYPE_OSCILLATOR, &osc) == TONE_OK &&
             Tone_System_PlayDSP(system, TONE_CHANNEL_REUSE, osc, 1, &channel) == TONE_OK;
        Tone_Channel_SetVolume(channel, 0.5f);
        Tone_Channel_SetFrequency(channel, 44000.0f);
    }
    ~Engine()
    {
        Tone_DSP_Release(osc);
        Tone_System_Close(system);
        Tone_System_Release(system);
    }
    void tick(int ms)
    {
        for (int t = 0; t < ms; t += 100) {
            Tone_System_Update(system);
            sleepMs(100);
        }
    }
};

// Program and server while the engine plays (or, silent, after a stop).
Usage measureEngine(int ms, bool silent, std::uint64_t *underruns)
{
    Engine engine;
    if (!engine.ok)
        return {};
    Tone_Channel_SetPaused(engine.channel, 0);
    engine.tick(silent ? 500 : 300);
    if (silent) {
        Tone_Channel_Stop(engine.channel);
        engine.tick(300);
    }
    const pid_t server = serverPid();
    const Usage before = selfUsage() + processUsage(server);
    engine.tick(ms);
    const Usage used = selfUsage() + processUsage(server) - before;
    Tone_System_GetUnderruns(engine.system, underruns);
    return used;
}

// sox (and the server) playing the same tone through ALSA's PulseAudio device.
Usage measureSox(int ms)
{
    const pid_t server = serverPid();
    const Usage before = processUsage(server);
    const std::string length = std::to_string(double(ms) / 1000.0);
    const pid_t child = fork();
    if (child == 0) {
        execlp("sox", "sox", "-q", "-n", "-r", "48000", "-c", "2", "-t", "alsa", "pulse", "synth", length.c_str(),
               "sine", "440", "vol", "0.354", static_cast<char *>(nullptr));
        _exit(127);
    }
    int status = 0;
    rusage u{};
    wait4(child, &status, 0, &u);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return {-1, -1};
    return fromRusage(u) + (processUsage(server) - before);
}

void BM_Output_PlayingBesideSox(benchmark::State &state)
{
    const char *env = std::getenv("HELICORDIA_BENCH_SECONDS");
    const int ms = 1000 * (env ? std::max(1, std::atoi(env)) : 10);
    if (serverPid() <= 0) {
        state.SkipWithError("no PulseAudio server (XDG_RUNTIME_DIR/pulse/pid)");
        return;
    }
    Usage engine, sox, silent, idleServer;
    std::uint64_t underruns = 0, u = 0;
    for (auto _ : state) {
        // Interleaved, so that both see the same machine.
        for (int round = 0; round < 2; ++round) {
            engine = engine + measureEngine(ms / 2, false, &u);
            underruns += u;
            const Usage s = measureSox(ms / 2);
            if (s.cpu < 0) {
                state.SkipWithError("sox could not play through ALSA's pulse device");
                return;
            }
            sox = sox + s;
        }
        silent = measureEngine(ms, true, &u);
        const Usage before = processUsage(serverPid());
        sleepMs(ms);
        idleServer = processUsage(serverPid()) - before;
    }
    const double secs = ms / 1000.0;
    state.counters["cpu_pct"] = 100 * engine.cpu / secs;
    state.counters["sox_cpu_pct"] = 100 * sox.cpu / secs;
    state.counters["cpu_ratio"] = sox.cpu > 0 ? engine.cpu / sox.cpu : 0;
    state.counters["cs_per_s"] = engine.switches / secs;
    state.counters["sox_cs_per_s"] = sox.switches / secs;
    state.counters["cs_ratio"] = sox.switches > 0 ? engine.switches / sox.switches : 0;
    state.counters["silent_cpu_pct"] = 100 * silent.cpu / secs;
    state.counters["silent_cs_per_s"] = silent.switches / secs;
    state.counters["idle_server_cpu_pct"] = 100 * idleServer.cpu / secs;
    state.counters["idle_server_cs_per_s"] = idleServer.switches / secs;
    state.counters["underruns"] = double(underruns);
}
BENCHMARK(BM_Output_PlayingBesideSox)->Iterations(1)->Unit(benchmark::kSecond);

// The program alone while silent: the stream is suspended, so nothing runs
// but the engine tick (which the player keeps calling).
void BM_Output_ProgramWhileSilent(benchmark::State &state)
{
    if (serverPid() <= 0) {
        state.SkipWithError("no PulseAudio server");
        return;
    }
    std::uint64_t u = 0;
    Usage program;
    for (auto _ : state) {
        Engine engine;
        Tone_Channel_SetPaused(engine.channel, 0);
        engine.tick(300);
        Tone_Channel_Stop(engine.channel);
        engine.tick(300);
        const Usage before = selfUsage();
        sleepMs(10000); // no tick: what the engine's own threads cost
        program = selfUsage() - before;
        Tone_System_GetUnderruns(engine.system, &u);
    }
    state.counters["program_cpu_ms_in_10s"] = 1000 * program.cpu;
    state.counters["program_cs_in_10s"] = program.switches;
}
BENCHMARK(BM_Output_ProgramWhileSilent)->Iterations(1)->Unit(benchmark::kSecond);

} // namespace

BENCHMARK_MAIN();
