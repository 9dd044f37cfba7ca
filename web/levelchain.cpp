// SPDX-License-Identifier: MIT
#include "levelchain.h"

#include "filebytes.h"
#include "levellookup.h"
#include "levelreader.h"

#include <algorithm>
#include <deque>
#include <filesystem>
#include <set>

namespace fs = std::filesystem;

namespace {

// A level still to read, and the LOADLEVEL that named it.
struct Link
{
    std::string path;
    std::string namedBy; // empty for the first level
    int line = 0;
    std::string name; // as written after LOADLEVEL
};

// One name for every way of writing a file's path, so that a chain that
// comes back to a level, by whatever name, ends there.
std::string identity(const std::string &path)
{
    std::error_code error;
    const fs::path canonical = fs::weakly_canonical(fs::absolute(path, error), error);
    return error ? fs::absolute(path).lexically_normal().string() : canonical.string();
}

std::string inQuotes(const std::string &text)
{
    return "\"" + text + "\"";
}

} // namespace

LevelChain::Result LevelChain::follow(const std::string &firstLevel)
{
    Result result;
    std::deque<Link> todo{{firstLevel, {}, 0, {}}};
    std::set<std::string> seen;
    while (!todo.empty()) {
        const Link link = std::move(todo.front());
        todo.pop_front();
        if (!seen.insert(identity(link.path)).second)
            continue;

        std::string why;
        std::optional<std::string> bytes = FileBytes::read(link.path, &why);
        if (!bytes) {
            if (link.namedBy.empty()) {
                result.error = "Cannot open the level file " + inQuotes(link.path) + ": " + why + ".";
            } else {
                result.error = "Level file " + inQuotes(link.namedBy) + ", line " + std::to_string(link.line)
                    + ": LOADLEVEL names the level " + inQuotes(link.name) + ", found as " + inQuotes(link.path)
                    + ", which cannot be read: " + why + ".";
            }
            return result;
        }
        const LevelReader::Result read = LevelReader::read(*bytes, link.path);
        if (!read.ok()) {
            result.error = read.error;
            return result;
        }

        for (int i = 0; i < Level::LocationCount; ++i) {
            const GridRef ref = GridRef::fromIndex(i);
            // Without "COMMENT=" the player loads nothing there: it stops.
            const std::optional<LocationRecord::LevelLoad> load = read.level.record(ref).levelLoad();
            if (!load)
                continue;
            const std::string named = text::toUtf8(load->file);
            const std::string found = LevelLookup::resolve(named, link.path);
            const int line = read.lines.lineAt(ref, read.level.record(ref).text().find(U"LOADLEVEL"));
            std::error_code ignored;
            if (!fs::is_regular_file(found, ignored)) {
                result.error = "Level file " + inQuotes(link.path) + ", line " + std::to_string(line) + ": the level "
                    + inQuotes(named) + " after LOADLEVEL cannot be found, neither from the current folder nor beside "
                    + inQuotes(link.path) + ".";
                return result;
            }
            todo.push_back({found, link.path, line, named});
        }
        result.files.push_back({link.path, std::move(*bytes)});
    }
    return result;
}
