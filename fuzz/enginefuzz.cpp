// SPDX-License-Identifier: MIT
// Fuzz target: the engine. One input holds a level, a language file, the
// lines a player types and two more levels (see EngineInput); the game is
// played line by line and checked after each against the rules (see
// EngineCheck).
#include "engineplay.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    playEngineInput(data, size, false);
    return 0;
}
