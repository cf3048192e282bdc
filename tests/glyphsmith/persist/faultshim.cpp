// SPDX-License-Identifier: GPL-3.0-or-later
#include "faultshim.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <dlfcn.h>
#include <unistd.h>

namespace {

struct State
{
    bool armed = false;
    QByteArray folder;
    QList<int> failAt;
    FaultShim::Fault fault = FaultShim::Fault::IoError;
    bool full = false; // after ShortThenFull: no more room
    QStringList calls;
};

State &state()
{
    static State s;
    return s;
}

template <typename F> F real(const char *name)
{
    return reinterpret_cast<F>(::dlsym(RTLD_NEXT, name));
}

bool isOurs(const char *path)
{
    const State &s = state();
    return std::strncmp(path, s.folder.constData(), size_t(s.folder.size())) == 0 &&
           std::strstr(path, ".glyphsmith-") != nullptr;
}

bool isOurFd(int fd)
{
    char link[64];
    char path[PATH_MAX];
    std::snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    const ssize_t n = ::readlink(link, path, sizeof path - 1);
    if (n <= 0)
        return false;
    path[n] = '\0';
    return isOurs(path);
}

// Counts the call when it concerns a temporary of ours, and tells whether it fails.
bool counts(const char *name, bool concerned)
{
    State &s = state();
    if (!s.armed || !concerned)
        return false;
    s.calls << QString::fromLatin1(name);
    return s.failAt.contains(int(s.calls.size()));
}

int errorOf(FaultShim::Fault fault)
{
    return fault == FaultShim::Fault::IoError ? EIO : ENOSPC;
}

} // namespace

namespace FaultShim {

void arm(const QByteArray &folder, QList<int> failAt, Fault fault)
{
    State &s = state();
    s = State();
    s.folder = folder;
    s.failAt = std::move(failAt);
    s.fault = fault;
    s.armed = true;
}

QStringList disarm()
{
    State &s = state();
    s.armed = false;
    s.full = false;
    return s.calls;
}

} // namespace FaultShim

extern "C" {

ssize_t write(int fd, const void *buffer, size_t count)
{
    static const auto next = real<ssize_t (*)(int, const void *, size_t)>("write");
    State &s = state();
    const bool concerned = s.armed && isOurFd(fd);
    if (concerned && s.full) {
        errno = ENOSPC;
        return -1;
    }
    if (!counts("write", concerned))
        return next(fd, buffer, count);
    if (s.fault == FaultShim::Fault::Partial)
        return next(fd, buffer, count > 1 ? count / 2 : count);
    if (s.fault == FaultShim::Fault::ShortThenFull) {
        s.full = true;
        if (count > 1)
            return next(fd, buffer, count / 2);
    }
    errno = errorOf(s.fault);
    return -1;
}

int fsync(int fd)
{
    static const auto next = real<int (*)(int)>("fsync");
    if (counts("fsync", state().armed && isOurFd(fd))) {
        errno = errorOf(state().fault);
        return -1;
    }
    return next(fd);
}

int fdatasync(int fd)
{
    static const auto next = real<int (*)(int)>("fdatasync");
    if (counts("fsync", state().armed && isOurFd(fd))) {
        errno = errorOf(state().fault);
        return -1;
    }
    return next(fd);
}

int close(int fd)
{
    static const auto next = real<int (*)(int)>("close");
    if (counts("close", state().armed && isOurFd(fd))) {
        // The descriptor is gone all the same, as on Linux.
        next(fd);
        errno = errorOf(state().fault);
        return -1;
    }
    return next(fd);
}

int rename(const char *from, const char *to)
{
    static const auto next = real<int (*)(const char *, const char *)>("rename");
    if (counts("rename", state().armed && isOurs(from))) {
        errno = errorOf(state().fault);
        return -1;
    }
    return next(from, to);
}

} // extern "C"
