// SPDX-License-Identifier: MIT
#include "filebytes.h"

#include "hugepages.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

std::optional<std::string> FileBytes::read(const std::string &path, std::string *error)
{
    auto fail = [error](const char *why) {
        if (error)
            *error = why;
        return std::nullopt;
    };
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return fail(std::strerror(errno));
    struct stat info{};
    if (::fstat(fd, &info) == 0 && S_ISDIR(info.st_mode)) {
        ::close(fd);
        return fail("file to open is a directory");
    }
    std::string bytes;
    if (info.st_size > 0) {
        bytes.reserve(std::size_t(info.st_size));
        adviseHugePages(bytes.data(), std::size_t(info.st_size));
    }
    char chunk[65536];
    for (;;) {
        const ssize_t got = ::read(fd, chunk, sizeof chunk);
        if (got == 0)
            break;
        if (got < 0) {
            if (errno == EINTR)
                continue;
            const int why = errno;
            ::close(fd);
            return fail(std::strerror(why));
        }
        bytes.append(chunk, std::size_t(got));
    }
    ::close(fd);
    return bytes;
}

namespace {

bool fail(std::string *error, int why)
{
    if (error)
        *error = std::strerror(why);
    return false;
}

// A new file beside path, named after it, to be renamed over path; -1 and
// why in error when there can be none.
int createBeside(const std::string &path, std::string *made, std::string *error)
{
    // rename() would replace an empty folder.
    struct stat info{};
    if (::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) {
        fail(error, EISDIR);
        return -1;
    }
    for (int attempt = 0; attempt < 100; ++attempt) {
        static unsigned counter = 0;
        *made = path + ".part" + std::to_string(::getpid()) + "-" + std::to_string(counter++);
        const int fd = ::open(made->c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0)
            return fd;
        if (errno != EEXIST)
            break;
    }
    fail(error, errno);
    return -1;
}

} // namespace

bool FileBytes::write(const std::string &path, std::string_view bytes, std::string *error)
{
    std::string part;
    const int fd = createBeside(path, &part, error);
    if (fd < 0)
        return false;
    auto abandon = [&](int why) {
        ::close(fd);
        ::unlink(part.c_str());
        return fail(error, why);
    };
    while (!bytes.empty()) {
        const ssize_t put = ::write(fd, bytes.data(), bytes.size());
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0)
            return abandon(put < 0 ? errno : ENOSPC);
        bytes.remove_prefix(std::size_t(put));
    }
    struct stat old{};
    if (::stat(path.c_str(), &old) == 0 && ::fchmod(fd, old.st_mode & 07777) != 0)
        return abandon(errno);
    // Only what reached the disk may replace the old file.
    if (::fdatasync(fd) != 0)
        return abandon(errno);
    if (::close(fd) != 0) {
        const int why = errno;
        ::unlink(part.c_str());
        return fail(error, why);
    }
    if (std::rename(part.c_str(), path.c_str()) != 0) {
        const int why = errno;
        ::unlink(part.c_str());
        return fail(error, why);
    }
    return true;
}

bool FileBytes::writable(const std::string &path, std::string *error)
{
    std::string part;
    const int fd = createBeside(path, &part, error);
    if (fd < 0)
        return false;
    ::close(fd);
    ::unlink(part.c_str());
    return true;
}
