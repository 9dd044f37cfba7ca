// SPDX-License-Identifier: MIT
#include "filebytes.h"

#include "hugepages.h"

#include <cerrno>
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
