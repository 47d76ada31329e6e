// Preloaded (LD_PRELOAD) into a copy of the program, writes down every call that changes what a
// power cut could leave of the files under DESK_TRACE_ROOT, in order, into DESK_TRACE_FILE:
//
//   make <inode> <path>           a file made by an open
//   mkdir <path>
//   write <inode> <offset> <n>    followed by the n bytes written
//   truncate <inode> <length>
//   sync <inode>                  fsync of a file
//   syncdir <path>                fsync of a folder
//   unlink <path>
//   say <n>                       followed by the n bytes the program wrote to its output
//
// Only calls that succeed are written down. Paths are given as the program passed them, made
// absolute by the program itself. These are all the calls the program changes its files with.

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <fcntl.h>
#include <map>
#include <mutex>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

template<typename F> F real(const char* name)
{
    return reinterpret_cast<F>(dlsym(RTLD_NEXT, name));
}

struct Traced {
    std::string path;
    ino_t inode = 0;
    bool folder = false;
};

std::recursive_mutex lock;
std::map<int, Traced>& traced()
{
    static std::map<int, Traced> fds;
    return fds;
}

const std::string& root()
{
    static const std::string value = [] {
        const char* r = std::getenv("DESK_TRACE_ROOT");
        return std::string(r ? r : "/nonexistent-trace-root");
    }();
    return value;
}

bool underRoot(const char* path)
{
    const std::string& r = root();
    return path && std::strncmp(path, r.c_str(), r.size()) == 0
        && (path[r.size()] == '/' || path[r.size()] == '\0');
}

void record(const std::string& line, const void* data = nullptr, size_t size = 0)
{
    static const auto realWrite = real<ssize_t (*)(int, const void*, size_t)>("write");
    static const int out = [] {
        const char* file = std::getenv("DESK_TRACE_FILE");
        static const auto realOpen = real<int (*)(const char*, int, ...)>("open");
        return file ? realOpen(file, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600) : -1;
    }();
    if (out < 0)
        return;
    std::string entry = line + '\n';
    if (data)
        entry.append(static_cast<const char*>(data), size);
    realWrite(out, entry.data(), entry.size());
}

void opened(int fd, const char* path, bool existed)
{
    if (fd < 0 || !underRoot(path))
        return;
    struct stat info { };
    if (::fstat(fd, &info) != 0)
        return;
    const std::lock_guard<std::recursive_mutex> guard(lock);
    traced()[fd] = {path, info.st_ino, S_ISDIR(info.st_mode)};
    if (!existed)
        record("make " + std::to_string(info.st_ino) + ' ' + path);
}

bool exists(const char* path)
{
    struct stat info { };
    return ::lstat(path, &info) == 0;
}

template<typename Open> int tracedOpen(Open next, const char* path, int flags, mode_t mode)
{
    const bool mayMake = (flags & O_CREAT) && underRoot(path);
    const bool existed = !mayMake || exists(path);
    const int fd = next(path, flags, mode);
    opened(fd, path, existed);
    return fd;
}

mode_t modeOf(int flags, va_list args)
{
    return (flags & (O_CREAT | O_TMPFILE)) ? mode_t(va_arg(args, int)) : 0;
}

} // namespace

extern "C" {

int open(const char* path, int flags, ...)
{
    va_list args;
    va_start(args, flags);
    const mode_t mode = modeOf(flags, args);
    va_end(args);
    static const auto next = real<int (*)(const char*, int, ...)>("open");
    return tracedOpen(next, path, flags, mode);
}

int open64(const char* path, int flags, ...)
{
    va_list args;
    va_start(args, flags);
    const mode_t mode = modeOf(flags, args);
    va_end(args);
    static const auto next = real<int (*)(const char*, int, ...)>("open64");
    return tracedOpen(next, path, flags, mode);
}

int close(int fd)
{
    {
        const std::lock_guard<std::recursive_mutex> guard(lock);
        traced().erase(fd);
    }
    static const auto next = real<int (*)(int)>("close");
    return next(fd);
}

ssize_t write(int fd, const void* data, size_t size)
{
    static const auto next = real<ssize_t (*)(int, const void*, size_t)>("write");
    const ssize_t n = next(fd, data, size);
    const std::lock_guard<std::recursive_mutex> guard(lock);
    if (n > 0 && fd == STDOUT_FILENO)
        record("say " + std::to_string(n), data, size_t(n));
    const auto it = traced().find(fd);
    if (n > 0 && it != traced().end()) {
        const off_t end = ::lseek(fd, 0, SEEK_CUR);
        record("write " + std::to_string(it->second.inode) + ' ' + std::to_string(end - n) + ' '
                   + std::to_string(n),
               data, size_t(n));
    }
    return n;
}

int ftruncate(int fd, off_t length)
{
    static const auto next = real<int (*)(int, off_t)>("ftruncate");
    const int result = next(fd, length);
    const std::lock_guard<std::recursive_mutex> guard(lock);
    const auto it = traced().find(fd);
    if (result == 0 && it != traced().end())
        record("truncate " + std::to_string(it->second.inode) + ' ' + std::to_string(length));
    return result;
}

static int tracedSync(int fd, int result)
{
    const std::lock_guard<std::recursive_mutex> guard(lock);
    const auto it = traced().find(fd);
    if (result == 0 && it != traced().end())
        record(it->second.folder ? "syncdir " + it->second.path
                                 : "sync " + std::to_string(it->second.inode));
    return result;
}

int fsync(int fd)
{
    static const auto next = real<int (*)(int)>("fsync");
    return tracedSync(fd, next(fd));
}

int unlink(const char* path)
{
    static const auto next = real<int (*)(const char*)>("unlink");
    const int result = next(path);
    if (result == 0 && underRoot(path))
        record(std::string("unlink ") + path);
    return result;
}

int mkdir(const char* path, mode_t mode)
{
    static const auto next = real<int (*)(const char*, mode_t)>("mkdir");
    const int result = next(path, mode);
    if (result == 0 && underRoot(path))
        record(std::string("mkdir ") + path);
    return result;
}

} // extern "C"
