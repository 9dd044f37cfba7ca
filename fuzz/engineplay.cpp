// SPDX-License-Identifier: MIT
#include "engineplay.h"

#include "enginecheck.h"
#include "engineinput.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

// An input this long already holds a large level, a language file and a
// long game; more only makes the slowest inputs slower.
constexpr std::size_t MaxInput = 64 * 1024;

// The input's files are held under their names in a folder of this
// process's own, which stays empty (and is removed at exit): a file the
// input does not hold is missing there, as it would be on disk.
class Folder
{
public:
    Folder()
    {
        namespace fs = std::filesystem;
        const char *tmp = std::getenv("TMPDIR");
        const fs::path base = fs::is_directory("/dev/shm") ? fs::path("/dev/shm") : fs::path(tmp ? tmp : "/tmp");
        path = (base / "quillmoor-fuzz-XXXXXX").string();
        if (!mkdtemp(path.data()))
            std::abort();
    }
    ~Folder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }

    std::string path;
};

} // namespace

void playEngineInput(const std::uint8_t *data, std::size_t size, bool twins)
{
    const std::string_view bytes(reinterpret_cast<const char *>(data), std::min(size, MaxInput));
    const EngineInput input = EngineInput::decode(bytes);
    static const Folder folder;
    const Game::Setup setup = input.setup(folder.path);
    EngineCheck check(setup, twins);
    check.run(input.lines);
}
