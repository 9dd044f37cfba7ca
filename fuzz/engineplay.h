// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>

// Plays the game one fuzz input holds (see EngineInput) and checks it after
// every line (see EngineCheck); with twins, also against a game without a
// console and a game resumed from its saved state.
void playEngineInput(const std::uint8_t *data, std::size_t size, bool twins);
