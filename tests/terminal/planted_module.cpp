// An output module where a copy of the program must never look for one
// (<program folder>/../lib/helicordia): loaded, it leaves a mark.
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

__attribute__((constructor)) static void leaveMark()
{
    if (const char *mark = std::getenv("HELICORDIA_PLANTED_MARK")) {
        const int fd = ::open(mark, O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
        if (fd >= 0)
            ::close(fd);
    }
}
