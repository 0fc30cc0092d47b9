// Loaded with LD_PRELOAD: the program then runs as on a file system without
// unnamed temporary files (O_TMPFILE: vfat, some network file systems), where
// a file is written under a temporary name first. (Qt opens files with open64.)
#include <cerrno>
#include <cstdarg>
#include <dlfcn.h>
#include <fcntl.h>

extern "C" int open64(const char *path, int flags, ...)
{
    const bool unnamed = (flags & O_TMPFILE) == O_TMPFILE;
    va_list args;
    va_start(args, flags);
    const int mode = (flags & O_CREAT) || unnamed ? va_arg(args, int) : 0;
    va_end(args);
    if (unnamed) {
        errno = EOPNOTSUPP;
        return -1;
    }
    static const auto real = reinterpret_cast<int (*)(const char *, int, ...)>(::dlsym(RTLD_NEXT, "open64"));
    return real(path, flags, mode);
}
