// What the sound output costs the machine, side by side in the same run with
// what a user would play the same tone with instead: sox through its own
// PulseAudio output, and paplay of a rendered file. CPU (program and server
// together) and context switches per second while a tone plays, and the cost
// while the engine is open but silent. All play into a null sink the bench
// loads (one that can go back, as a desktop's outputs can, so the engine
// keeps its long buffer); the engine also with its short buffer
// (HELICORDIA_OUTPUT_BUFFER=short, what outputs that cannot go back get).
// Needs a PulseAudio server (scripts/sound-server.sh will do); seconds per
// stretch from HELICORDIA_BENCH_SECONDS (default 10).
#include "engine/tone.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <fstream>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

struct Usage {
    double cpu = 0;       // seconds
    double switches = 0;  // context switches
    double serverCpu = 0; // seconds, the sound server's part of cpu
    Usage operator-(const Usage &o) const { return {cpu - o.cpu, switches - o.switches, serverCpu - o.serverCpu}; }
    Usage operator+(const Usage &o) const { return {cpu + o.cpu, switches + o.switches, serverCpu + o.serverCpu}; }
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

// CPU and context switches of every thread of another process (the CPU
// from the scheduler's own count in nanoseconds: the clock ticks of
// /proc/PID/stat are too coarse for a server that does little).
Usage processUsage(pid_t pid)
{
    Usage u;
    if (pid <= 0)
        return u;
    const std::string tasks = "/proc/" + std::to_string(pid) + "/task";
    if (DIR *d = opendir(tasks.c_str())) {
        while (dirent *e = readdir(d)) {
            if (e->d_name[0] == '.')
                continue;
            const std::string task = tasks + "/" + e->d_name;
            std::ifstream schedstat(task + "/schedstat");
            double ns = 0;
            if (schedstat >> ns)
                u.cpu += ns * 1e-9;
            std::ifstream status(task + "/status");
            std::string line;
            while (std::getline(status, line))
                if (line.find("ctxt_switches:") != std::string::npos)
                    u.switches += std::stod(line.substr(line.find(':') + 1));
        }
        closedir(d);
    }
    u.serverCpu = u.cpu; // only ever asked of the server
    return u;
}

void sleepMs(int ms)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

constexpr const char *kSink = "helicordia_bench";

// Runs a command, its standard output in *out; its exit status.
int run(const std::string &command, std::string *out = nullptr)
{
    FILE *p = popen(command.c_str(), "r");
    if (!p)
        return -1;
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, p))
        if (out)
            *out += buffer;
    const int status = pclose(p);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// The null sink everything plays into, loaded for the bench's run.
struct BenchSink {
    std::string module;
    BenchSink()
    {
        run(std::string("pactl load-module module-null-sink rate=48000 channels=2 sink_name=") + kSink, &module);
        while (!module.empty() && module.back() == '\n')
            module.pop_back();
    }
    ~BenchSink()
    {
        if (!module.empty())
            run("pactl unload-module " + module);
    }
};

// The engine as the player drives it: a tone, the engine tick every 100 ms.
struct Engine {
    ToneHandle system = 0, osc = 0, channel = 0;
    bool ok = false;
    explicit Engine(bool shortBuffer = false)
    {
        if (shortBuffer)
            setenv("HELICORDIA_OUTPUT_BUFFER", "short", 1);
        else
            unsetenv("HELICORDIA_OUTPUT_BUFFER");
        ok = Tone_System_Create(&system) == TONE_OK &&
             Tone_System_Init(system, TONE_MAX_CHANNELS, TONE_INIT_NORMAL, nullptr) == TONE_OK &&
             Tone_System_SetOutput(system, kSink) == TONE_OK &&
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
Usage measureEngine(int ms, bool silent, std::uint64_t *underruns, bool shortBuffer = false)
{
    Engine engine(shortBuffer);
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

// Another program (and the server) playing the same tone.
Usage measureProgram(const std::vector<std::string> &args)
{
    const pid_t server = serverPid();
    const Usage before = processUsage(server);
    const pid_t child = fork();
    if (child == 0) {
        std::vector<char *> argv;
        for (const std::string &a : args)
            argv.push_back(const_cast<char *>(a.c_str()));
        argv.push_back(nullptr);
        execvp(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    rusage u{};
    wait4(child, &status, 0, &u);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return {-1, -1};
    return fromRusage(u) + (processUsage(server) - before);
}

// sox through its own PulseAudio output, and paplay of the same tone
// rendered to a file beforehand.
Usage measureSox(int ms)
{
    return measureProgram({"sox", "-q", "-n", "-r", "48000", "-c", "2", "-t", "pulseaudio", kSink, "synth",
                           std::to_string(double(ms) / 1000.0), "sine", "440", "vol", "0.354"});
}

Usage measurePaplay(const std::string &file)
{
    return measureProgram({"paplay", std::string("--device=") + kSink, file});
}

void BM_Output_PlayingBesideSoxAndPaplay(benchmark::State &state)
{
    const char *env = std::getenv("HELICORDIA_BENCH_SECONDS");
    const int ms = 1000 * (env ? std::max(1, std::atoi(env)) : 10);
    if (serverPid() <= 0) {
        state.SkipWithError("no PulseAudio server (XDG_RUNTIME_DIR/pulse/pid)");
        return;
    }
    BenchSink sink;
    const std::string file = "/tmp/helicordia_bench_tone_" + std::to_string(getpid()) + ".wav";
    if (sink.module.empty() || run("sox -q -n -r 48000 -c 2 -b 16 " + file + " synth " +
                                   std::to_string(double(ms) / 2000.0) + " sine 440 vol 0.354") != 0) {
        state.SkipWithError("cannot load a null sink or render the file with sox");
        return;
    }
    Usage engine, shortEngine, sox, paplay, silent, idleServer;
    std::uint64_t underruns = 0, u = 0;
    for (auto _ : state) {
        // Interleaved, so that all see the same machine.
        for (int round = 0; round < 2; ++round) {
            engine = engine + measureEngine(ms / 2, false, &u);
            underruns += u;
            shortEngine = shortEngine + measureEngine(ms / 2, false, &u, true);
            underruns += u;
            const Usage s = measureSox(ms / 2), p = measurePaplay(file);
            if (s.cpu < 0 || p.cpu < 0) {
                state.SkipWithError("sox or paplay could not play into the sink");
                std::remove(file.c_str());
                return;
            }
            sox = sox + s;
            paplay = paplay + p;
        }
        silent = measureEngine(ms, true, &u);
        const Usage before = processUsage(serverPid());
        sleepMs(ms);
        idleServer = processUsage(serverPid()) - before;
    }
    std::remove(file.c_str());
    const double secs = ms / 1000.0;
    const auto pct = [secs](const Usage &x) { return 100 * x.cpu / secs; };
    const auto ratio = [](double a, double b) { return b > 0 ? a / b : 0; };
    state.counters["cpu_pct"] = pct(engine);
    state.counters["short_cpu_pct"] = pct(shortEngine);
    state.counters["sox_cpu_pct"] = pct(sox);
    state.counters["paplay_cpu_pct"] = pct(paplay);
    state.counters["ratio_sox"] = ratio(engine.cpu, sox.cpu);
    state.counters["ratio_paplay"] = ratio(engine.cpu, paplay.cpu);
    state.counters["short_ratio_sox"] = ratio(shortEngine.cpu, sox.cpu);
    state.counters["server_cpu_pct"] = 100 * engine.serverCpu / secs;
    state.counters["short_server_cpu_pct"] = 100 * shortEngine.serverCpu / secs;
    state.counters["sox_server_cpu_pct"] = 100 * sox.serverCpu / secs;
    state.counters["paplay_server_cpu_pct"] = 100 * paplay.serverCpu / secs;
    state.counters["cs_per_s"] = engine.switches / secs;
    state.counters["short_cs_per_s"] = shortEngine.switches / secs;
    state.counters["sox_cs_per_s"] = sox.switches / secs;
    state.counters["paplay_cs_per_s"] = paplay.switches / secs;
    state.counters["silent_cpu_pct"] = pct(silent);
    state.counters["silent_cs_per_s"] = silent.switches / secs;
    state.counters["idle_server_cpu_pct"] = pct(idleServer);
    state.counters["idle_server_cs_per_s"] = idleServer.switches / secs;
    state.counters["underruns"] = double(underruns);
}
BENCHMARK(BM_Output_PlayingBesideSoxAndPaplay)->Iterations(1)->Unit(benchmark::kSecond);

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
