// SPDX-License-Identifier: MIT
#include "engineplay.h"

#include "enginecheck.h"
#include "engineinput.h"
#include "scratchfolder.h"

#include <algorithm>
#include <cstdint>
#include <string>

namespace {

// An input this long already holds a large level, a language file and a
// long game; more only makes the slowest inputs slower.
constexpr std::size_t MaxInput = 64 * 1024;

} // namespace

void playEngineInput(const std::uint8_t *data, std::size_t size, bool twins)
{
    const std::string_view bytes(reinterpret_cast<const char *>(data), std::min(size, MaxInput));
    const EngineInput input = EngineInput::decode(bytes);
    // The input's files are held under their names in a folder that stays
    // empty: a file the input does not hold is missing there, as on disk.
    static const ScratchFolder folder;
    const Game::Setup setup = input.setup(folder.path);
    EngineCheck check(setup, twins);
    check.run(input.lines);
}
