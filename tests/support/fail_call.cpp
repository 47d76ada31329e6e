// Loaded with LD_PRELOAD into a copy of the program, makes one chosen system call fail, as a
// flaky network folder or a failing disk would: every call named by DESK_FAIL_CALL fails with
// the errno value DESK_FAIL_ERRNO (EIO when unset). The other calls go through.

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <sys/types.h>

namespace {

bool failing(const char* call)
{
    const char* chosen = std::getenv("DESK_FAIL_CALL");
    return chosen && std::strcmp(chosen, call) == 0;
}

int fail()
{
    const char* value = std::getenv("DESK_FAIL_ERRNO");
    errno = value ? std::atoi(value) : EIO;
    return -1;
}

} // namespace

extern "C" int ftruncate(int fd, off_t length)
{
    if (failing("ftruncate"))
        return fail();
    using Call = int (*)(int, off_t);
    static const Call next = reinterpret_cast<Call>(dlsym(RTLD_NEXT, "ftruncate"));
    return next(fd, length);
}
