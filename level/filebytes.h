// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string>

// Reads a whole file. On failure says why in error, in the words the
// desktop uses ("No such file or directory").
class FileBytes
{
public:
    static std::optional<std::string> read(const std::string &path, std::string *error);
};
