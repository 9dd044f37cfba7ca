// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string>
#include <string_view>

// Reads and writes a whole file. On failure says why in error, in the words
// the desktop uses ("No such file or directory").
class FileBytes
{
public:
    static std::optional<std::string> read(const std::string &path, std::string *error);

    // Writes bytes as the whole file so that it is always the old file or the
    // new one, never a torn one: into a file of its own in the same folder,
    // flushed to the disk and checked, then renamed over path. A file that
    // was there keeps its permissions. On failure path is as it was.
    static bool write(const std::string &path, std::string_view bytes, std::string *error);
    // Whether write() could create its file beside path and then replace
    // path, found by trying; for a program that writes only at its end.
    static bool writable(const std::string &path, std::string *error);
};
