// SPDX-License-Identifier: MIT
#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

// A folder of this process's own for the files a fuzz target needs, on a RAM
// disk where there is one, removed with everything in it at exit.
class ScratchFolder
{
public:
    ScratchFolder()
    {
        namespace fs = std::filesystem;
        const char *tmp = std::getenv("TMPDIR");
        const fs::path base = fs::is_directory("/dev/shm") ? fs::path("/dev/shm") : fs::path(tmp ? tmp : "/tmp");
        path = (base / "quillmoor-fuzz-XXXXXX").string();
        if (!mkdtemp(path.data()))
            std::abort();
    }
    ~ScratchFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
    ScratchFolder(const ScratchFolder &) = delete;
    ScratchFolder &operator=(const ScratchFolder &) = delete;

    std::string path;
};
