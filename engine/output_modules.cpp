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

#include <dlfcn.h>
#include <limits.h>
#include <mutex>
#include <string>
#include <unistd.h>

#ifndef HELICORDIA_MODULE_DIR
#error "HELICORDIA_MODULE_DIR: the absolute folder the install puts the output modules in"
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

OpenFn loadModule(const char *file, const char *entry)
{
    const std::string folder = programFolder();
    if (folder.empty())
        return nullptr;
    static_assert(HELICORDIA_MODULE_DIR[0] == '/', "the installed modules' folder is an absolute path");
    for (const std::string &path : {folder + "/" + file, std::string(HELICORDIA_MODULE_DIR "/") + file}) {
        if (void *module = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL))
            return reinterpret_cast<OpenFn>(::dlsym(module, entry));
    }
    return nullptr;
}

struct Module {
    const char *file;
    const char *entry;
    std::once_flag once{};
    OpenFn open = nullptr;

    std::unique_ptr<OutputDevice> device(OutputStream &stream)
    {
        std::call_once(once, [this] { open = loadModule(file, entry); });
        return std::unique_ptr<OutputDevice>(open ? open(stream) : nullptr);
    }
};

Module pulseModule{"helicordia_pulse.so", "helicordia_open_pulse"};
Module rtAudioModule{"helicordia_rtaudio.so", "helicordia_open_rtaudio"};

} // namespace

std::unique_ptr<OutputDevice> openPulseDevice(OutputStream &stream)
{
    return pulseModule.device(stream);
}

std::unique_ptr<OutputDevice> openRtAudioDevice(OutputStream &stream)
{
    return rtAudioModule.device(stream);
}

} // namespace tone
