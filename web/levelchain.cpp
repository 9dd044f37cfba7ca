// SPDX-License-Identifier: MIT
#include "levelchain.h"

#include "filebytes.h"
#include "levellookup.h"
#include "levelreader.h"

#include <algorithm>
#include <deque>
#include <filesystem>
#include <map>

namespace fs = std::filesystem;

namespace {

// A level still to read, and the LOADLEVEL that named it.
struct Link
{
    LevelChain::Route route;
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

using text::inQuotes;

// The tag a level names the next one with, as messages quote it.
const std::string LoadLevel = text::toUtf8(LocationRecord::LoadLevelTag);

} // namespace

LevelChain::Result LevelChain::follow(const std::string &firstLevel)
{
    Result result;
    const fs::path first(firstLevel);
    const std::size_t hidden = first.is_absolute() ? first.parent_path().string().size() : 0;
    std::deque<Link> todo{{{firstLevel, hidden}, {}, 0, {}}};
    // Each file read, by its identity, with its place in result.files.
    std::map<std::string, std::size_t> seen;
    while (!todo.empty()) {
        const Link link = std::move(todo.front());
        todo.pop_front();
        const auto [known, added] = seen.try_emplace(identity(link.route.path), result.files.size());
        if (!added) {
            std::vector<Route> &routes = result.files[known->second].routes;
            if (std::none_of(routes.begin(), routes.end(),
                             [&link](const Route &route) { return route.path == link.route.path; }))
                routes.push_back(link.route);
            continue;
        }
        const std::string &path = link.route.path;

        std::string why;
        std::optional<std::string> bytes = FileBytes::read(path, &why);
        if (!bytes) {
            if (link.namedBy.empty()) {
                result.error = "Cannot open the level file " + inQuotes(path) + ": " + why + ".";
            } else {
                result.error = "Level file " + inQuotes(link.namedBy) + ", line " + std::to_string(link.line)
                    + ": " + LoadLevel + " names the level " + inQuotes(link.name) + ", found as " + inQuotes(path)
                    + ", which cannot be read: " + why + ".";
            }
            return result;
        }
        const LevelReader::Result read = LevelReader::read(*bytes, path);
        if (!read.noLevel.empty() || !read.whole()) {
            result.error = read.noLevel.empty() ? read.error : read.noLevel;
            return result;
        }
        if (!read.ok())
            result.warnings.push_back(read.error);

        for (int i = 0; i < Level::LocationCount; ++i) {
            const GridRef ref = GridRef::fromIndex(i);
            // Without "COMMENT=" the player loads nothing there: it stops.
            const std::optional<LocationRecord::LevelLoad> load = read.level.record(ref).levelLoad();
            if (!load)
                continue;
            const std::string named = text::toUtf8(load->file);
            const std::string found = LevelLookup::resolve(named, path);
            const int line = read.lines.lineAt(ref, read.level.record(ref).levelLoadAt());
            std::error_code ignored;
            if (!fs::is_regular_file(found, ignored)) {
                result.error = "Level file " + inQuotes(path) + ", line " + std::to_string(line) + ": the level "
                    + inQuotes(named) + " after " + LoadLevel
                    + " cannot be found, neither from the current folder nor beside " + inQuotes(path) + ".";
                return result;
            }
            // Found beside the level, the name goes on from that level's folder.
            todo.push_back({{found, found == named ? 0 : link.route.hidden}, path, line, named});
        }
        result.files.push_back({path, std::move(*bytes), {link.route}});
    }
    return result;
}
