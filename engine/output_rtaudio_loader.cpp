// Finds and loads the RtAudio module the first time an RtAudio device is
// asked for: beside the program (as built) or in the program's library folder
// (as installed). The module stays loaded for the life of the process, since
// devices it made may still exist.
#include "engine/output.h"

#include <dlfcn.h>
#include <limits.h>
#include <mutex>
#include <string>
#include <unistd.h>

#ifndef HELICORDIA_MODULE_DIR
#define HELICORDIA_MODULE_DIR "../lib/helicordia"  // relative to the program's folder
#endif

namespace tone {

namespace {

using OpenFn = OutputDevice *(*)(OutputStream &);

std::string programFolder()
{
    char path[PATH_MAX];
    const ssize_t n = ::readlink("/proc/self/exe", path, sizeof path - 1);
    if (n <= 0)
        return {};
    const std::string exe(path, std::size_t(n));
    return exe.substr(0, exe.find_last_of('/'));
}

OpenFn loadModule()
{
    const std::string folder = programFolder();
    if (folder.empty())
        return nullptr;
    for (const std::string &path : {folder + "/helicordia_rtaudio.so",
                                    folder + "/" HELICORDIA_MODULE_DIR "/helicordia_rtaudio.so"}) {
        if (void *module = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL))
            return reinterpret_cast<OpenFn>(::dlsym(module, "helicordia_open_rtaudio"));
    }
    return nullptr;
}

}  // namespace

std::unique_ptr<OutputDevice> openRtAudioDevice(OutputStream &stream)
{
    static std::once_flag once;
    static OpenFn open = nullptr;
    std::call_once(once, [] { open = loadModule(); });
    return std::unique_ptr<OutputDevice>(open ? open(stream) : nullptr);
}

}  // namespace tone
