// SPDX-License-Identifier: MIT
#include "datafolder.h"

#include "buildinfo.h"

#include <filesystem>
#include <initializer_list>

namespace fs = std::filesystem;

namespace {

// installed: where the file lies once installed, seen from the folder of
// whichever kind of program is asking (a program in bin, or a helper).
std::string firstExisting(const std::string &name, std::initializer_list<const char *> installed)
{
    const fs::path folder = DataFolder::programFolder();
    std::error_code ignored;
    const fs::path beside = folder / name;
    if (fs::exists(beside, ignored))
        return beside.string();
    for (const char *place : installed) {
        const fs::path other = (folder / place / name).lexically_normal();
        if (fs::exists(other, ignored))
            return other.string();
    }
    return {};
}

} // namespace

std::string DataFolder::programFolder()
{
    std::error_code error;
    const fs::path self = fs::read_symlink("/proc/self/exe", error);
    if (error)
        return fs::current_path(error).string();
    return self.parent_path().string();
}

std::string DataFolder::file(const std::string &name)
{
    const std::string found = existingFile(name);
    return found.empty() ? (fs::path(programFolder()) / name).string() : found;
}

std::string DataFolder::existingFile(const std::string &name)
{
    return firstExisting(name, {QUILLMOOR_DATA_FROM_BIN, QUILLMOOR_DATA_FROM_LIBEXEC});
}

std::string DataFolder::helperProgram(const std::string &name)
{
    const std::string found = firstExisting(name, {QUILLMOOR_LIBEXEC_FROM_BIN});
    return found.empty() ? (fs::path(programFolder()) / name).string() : found;
}
