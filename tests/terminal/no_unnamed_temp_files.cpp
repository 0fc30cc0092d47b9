// Loaded with LD_PRELOAD: the program then runs as on a file system without
// unnamed temporary files (O_TMPFILE: vfat, some network file systems), where
// a file is written under a temporary name first.
#include <cerrno>
#include <cstdarg>
#include <dlfcn.h>
#include <fcntl.h>

namespace {

template <typename Fn> Fn next(const char *name)
{
    return reinterpret_cast<Fn>(::dlsym(RTLD_NEXT, name));
}

bool refused(int flags)
{
    if ((flags & O_TMPFILE) != O_TMPFILE)
        return false;
    errno = EOPNOTSUPP;
    return true;
}

mode_t modeOf(int flags, va_list args)
{
    return (flags & O_CREAT) || (flags & O_TMPFILE) == O_TMPFILE ? mode_t(va_arg(args, int)) : 0;
}

} // namespace

#define HELICORDIA_OPEN(name)                                                                                          \
    extern "C" int name(const char *path, int flags, ...)                                                              \
    {                                                                                                                  \
        va_list args;                                                                                                  \
        va_start(args, flags);                                                                                         \
        const mode_t mode = modeOf(flags, args);                                                                       \
        va_end(args);                                                                                                  \
        static const auto real = next<int (*)(const char *, int, ...)>(#name);                                         \
        return refused(flags) ? -1 : real(path, flags, mode);                                                          \
    }
#define HELICORDIA_OPENAT(name)                                                                                        \
    extern "C" int name(int folder, const char *path, int flags, ...)                                                  \
    {                                                                                                                  \
        va_list args;                                                                                                  \
        va_start(args, flags);                                                                                         \
        const mode_t mode = modeOf(flags, args);                                                                       \
        va_end(args);                                                                                                  \
        static const auto real = next<int (*)(int, const char *, int, ...)>(#name);                                    \
        return refused(flags) ? -1 : real(folder, path, flags, mode);                                                  \
    }
HELICORDIA_OPEN(open)
HELICORDIA_OPEN(open64)
HELICORDIA_OPENAT(openat)
HELICORDIA_OPENAT(openat64)
