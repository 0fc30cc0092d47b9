// The output devices live in modules of their own (helicordia_pulse.so,
// helicordia_rtaudio.so), each loaded the first time one of its devices is
// asked for, from beside the program (as built, or a portable copy) or from
// the folder the install put them in, fixed when the program was built:
// never from a place found relative to the program, which for a copy
// unpacked in a shared folder (/tmp) anyone could write. A program that has
// not played yet loads neither libpulse nor RtAudio, nor what they bring. A
// module stays loaded for the life of the process, since devices it made may
// still exist.
#include "engine/output.h"

#include <cstring>
#include <dlfcn.h>
#include <filesystem>
#include <limits.h>
#include <mutex>
#include <string>
#include <unistd.h>
#include <vector>

#ifndef HELICORDIA_MODULE_DIR
#error "HELICORDIA_MODULE_DIR: the absolute folder the install puts the output modules in"
#endif

namespace tone {

namespace {

using OpenFn = OutputDevice *(*)(OutputStream &, ToneResult *);

std::string programFolder()
{
    char path[PATH_MAX];
    const ssize_t n = ::readlink("/proc/self/exe", path, sizeof path - 1);
    if (n <= 0)
        return {};
    const std::string exe(path, std::size_t(n));
    return exe.substr(0, exe.find_last_of('/'));
}

// The module's entry point, or null with the reason in *problem: the module
// and every folder searched for it.
OpenFn loadModule(const char *file, const char *entry, std::string *problem)
{
    const std::string folder = programFolder();
    static_assert(HELICORDIA_MODULE_DIR[0] == '/', "the installed modules' folder is an absolute path");
    std::vector<std::string> paths = {std::string(HELICORDIA_MODULE_DIR "/") + file};
    if (!folder.empty())
        paths.insert(paths.begin(), folder + "/" + file);
    std::string searched;
    for (const std::string &path : paths) {
        if (void *module = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL))
            return reinterpret_cast<OpenFn>(::dlsym(module, entry));
        if (::access(path.c_str(), F_OK) == 0) {
            const char *why = ::dlerror();
            *problem = std::string(file) + " could not be loaded: " + (why ? why : path);
            return nullptr;
        }
        searched +=
            (searched.empty() ? "" : ", ") + std::filesystem::path(path).parent_path().lexically_normal().string();
    }
    *problem = std::string(file) + " was not found; looked in " + searched + ".";
    return nullptr;
}

struct Module {
    const char *file;
    const char *entry;
    std::once_flag once{};
    OpenFn open = nullptr;
    std::string problem{};

    std::unique_ptr<OutputDevice> device(OutputStream &stream, ToneResult *reason, std::string *detail)
    {
        std::call_once(once, [this] { open = loadModule(file, entry, &problem); });
        *reason = TONE_ERR_MODULE_MISSING;
        *detail = problem;
        if (!open)
            return nullptr;
        detail->clear();
        return std::unique_ptr<OutputDevice>(open(stream, reason));
    }
};

Module pulseModule{"helicordia_pulse.so", "helicordia_open_pulse"};
Module rtAudioModule{"helicordia_rtaudio.so", "helicordia_open_rtaudio"};

} // namespace

std::unique_ptr<OutputDevice> openPulseDevice(OutputStream &stream, ToneResult *reason, std::string *detail)
{
    return pulseModule.device(stream, reason, detail);
}

std::unique_ptr<OutputDevice> openRtAudioDevice(OutputStream &stream, ToneResult *reason, std::string *detail)
{
    return rtAudioModule.device(stream, reason, detail);
}

} // namespace tone
