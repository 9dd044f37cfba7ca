// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// The SHA-256 digest of bytes, fed in pieces or at once: a saved game names
// each file it was played with by this digest, so a changed file is known.
class Sha256
{
public:
    Sha256();

    void add(std::string_view bytes);
    // The digest as 64 lower-case hexadecimal digits; adds nothing more after.
    std::string hex();

    static std::string hex(std::string_view bytes);

private:
    void block(const unsigned char *data);

    std::array<std::uint32_t, 8> state;
    std::array<unsigned char, 64> pending{};
    std::size_t pendingSize = 0;
    std::uint64_t total = 0; // bytes added
};
