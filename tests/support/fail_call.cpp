// Preloaded (LD_PRELOAD) into a copy of the program, fails a system call as a flaky network
// folder or disk would: every call named by DESK_FAIL_CALL fails, "ftruncate" with EIO; "lock"
// is every request for a record lock, refused with ENOLCK as by a share without lock support.

#include <cerrno>
#include <cstdarg>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <fcntl.h>
#include <sys/types.h>

static bool chosen(const char* call)
{
    const char* name = std::getenv("DESK_FAIL_CALL");
    return name && std::strcmp(name, call) == 0;
}

static int lockOrForward(const char* symbol, int fd, int command, va_list args)
{
    void* argument = va_arg(args, void*);
    if (chosen("lock")
        && (command == F_SETLK || command == F_SETLKW || command == F_OFD_SETLK
            || command == F_OFD_SETLKW)) {
        errno = ENOLCK;
        return -1;
    }
    const auto next = reinterpret_cast<int (*)(int, int, ...)>(dlsym(RTLD_NEXT, symbol));
    return next(fd, command, argument);
}

extern "C" int fcntl(int fd, int command, ...)
{
    va_list args;
    va_start(args, command);
    const int result = lockOrForward("fcntl", fd, command, args);
    va_end(args);
    return result;
}

extern "C" int fcntl64(int fd, int command, ...)
{
    va_list args;
    va_start(args, command);
    const int result = lockOrForward("fcntl64", fd, command, args);
    va_end(args);
    return result;
}

extern "C" int ftruncate(int fd, off_t length)
{
    if (chosen("ftruncate")) {
        errno = EIO;
        return -1;
    }
    static const auto next = reinterpret_cast<int (*)(int, off_t)>(dlsym(RTLD_NEXT, "ftruncate"));
    return next(fd, length);
}
