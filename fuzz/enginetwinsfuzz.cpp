// SPDX-License-Identifier: MIT
// Fuzz target: the engine's twins. The engine target's inputs and checks,
// and besides, a game without a console plays every line alike, and so does
// the game resumed from its saved state before the line. Each twin costs
// about as much as the game, so they have a target of their own and leave
// the engine target its pace.
#include "engineplay.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    playEngineInput(data, size, true);
    return 0;
}
