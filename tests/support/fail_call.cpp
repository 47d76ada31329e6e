// Preloaded (LD_PRELOAD) into a copy of the program, fails a system call as a flaky network
// folder or disk would: every call named by DESK_FAIL_CALL fails with EIO.

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <sys/types.h>

extern "C" int ftruncate(int fd, off_t length)
{
    const char* chosen = std::getenv("DESK_FAIL_CALL");
    if (chosen && std::strcmp(chosen, "ftruncate") == 0) {
        errno = EIO;
        return -1;
    }
    static const auto next = reinterpret_cast<int (*)(int, off_t)>(dlsym(RTLD_NEXT, "ftruncate"));
    return next(fd, length);
}
