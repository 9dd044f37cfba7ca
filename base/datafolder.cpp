// SPDX-License-Identifier: MIT
#include "datafolder.h"

#include "buildinfo.h"

#include <filesystem>
#include <initializer_list>

namespace fs = std::filesystem;

namespace {

// The first of the places, seen from folder, that holds name, in its folder
// under there; empty when none does.
std::string firstIn(const fs::path &folder, std::initializer_list<const char *> places, const std::string &name,
                    const std::string &under = {})
{
    std::error_code ignored;
    for (const char *place : places) {
        const fs::path found = (folder / place / under / name).lexically_normal();
        if (fs::exists(found, ignored))
            return found.string();
    }
    return {};
}

// A file beside the program in folder, else where it lies once installed,
// seen from the folder of whichever kind of program is asking (a program in
// bin, or a helper).
std::string firstExisting(const fs::path &folder, const std::string &name,
                          std::initializer_list<const char *> installed, const std::string &under = {})
{
    std::error_code ignored;
    const fs::path beside = folder / name;
    if (fs::exists(beside, ignored))
        return beside.string();
    return firstIn(folder, installed, name, under);
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
    return existingFile(name, programFolder());
}

std::string DataFolder::existingFile(const std::string &name, const std::string &folder,
                                     const std::string &installedUnder)
{
    return firstExisting(folder, name, {QUILLMOOR_DATA_FROM_BIN, QUILLMOOR_DATA_FROM_LIBEXEC}, installedUnder);
}

std::string DataFolder::helperProgram(const std::string &name)
{
    const std::string found = firstExisting(programFolder(), name, {QUILLMOOR_LIBEXEC_FROM_BIN});
    return found.empty() ? (fs::path(programFolder()) / name).string() : found;
}

std::string DataFolder::program(const std::string &name, const std::string &folder)
{
    return (fs::path(folder) / name).string();
}

std::string DataFolder::guidePage(const std::string &folder)
{
    return firstIn(folder, {"guide", QUILLMOOR_GUIDE_FROM_BIN}, "index.html");
}
