// SPDX-License-Identifier: MIT
#include "pageplaces.h"

#include <algorithm>

namespace fs = std::filesystem;

namespace {

// A folder's path without "." and "..", and without a separator at its end.
fs::path folderPath(const fs::path &path)
{
    fs::path normal = path.lexically_normal();
    if (!normal.has_filename() && normal.has_relative_path())
        normal = normal.parent_path();
    return normal;
}

// The deepest folder that holds both.
fs::path commonFolder(const fs::path &a, const fs::path &b)
{
    fs::path common;
    for (auto i = a.begin(), j = b.begin(); i != a.end() && j != b.end() && *i == *j; ++i, ++j)
        common /= *i;
    return common;
}

} // namespace

PagePlaces::PagePlaces(const std::string &commandLine, const std::vector<LevelChain::File> &levels)
    : current(folderPath(fs::current_path()))
{
    texts.push_back(&commandLine);
    visited.insert(current);
    std::map<std::string, Walk> walks;
    for (const LevelChain::File &level : levels) {
        texts.push_back(&level.bytes);
        for (const LevelChain::Route &route : level.routes)
            walks.try_emplace(route.path, walk(route));
    }

    root = current;
    for (const fs::path &folder : visited)
        root = commonFolder(root, folder);
    // The page's own folder must not be one an absolute LOADLEVEL name needs.
    std::set<fs::path> tops;
    for (const std::string &folder : keptFolders)
        tops.insert(*fs::path(folder).relative_path().begin());
    pageRoot = "/game";
    for (int n = 2; tops.count(pageRoot.relative_path()); ++n)
        pageRoot = "/game" + std::to_string(n);

    here = pageFolder(current).string();
    std::set<std::string> folders(keptFolders);
    for (const fs::path &folder : visited)
        folders.insert(pageFolder(folder).string());
    made.assign(folders.begin(), folders.end());
    for (const auto &[name, to] : walks)
        placed[name] = to.kept ? (to.folder / to.file).string() : (pageFolder(to.folder) / to.file).string();

    command = commandLine;
    if (fs::path(commandLine).is_absolute() && !levels.empty())
        command = fs::path(placed.at(commandLine)).lexically_relative(here).string();
    // The texts are the caller's, and every name is given by now.
    texts.clear();
}

PagePlaces::Walk PagePlaces::walk(const LevelChain::Route &route)
{
    // A name goes from the command line's folder, the root or the current
    // folder, and from there only through the folders it names.
    Walk to;
    fs::path rest(route.path);
    if (route.hidden > 0) {
        to.folder = folderPath(route.path.substr(0, route.hidden));
        rest = route.path.substr(route.hidden);
        visited.insert(to.folder);
    } else if (rest.is_absolute()) {
        to.kept = true;
        to.folder = rest.root_path();
    } else {
        to.folder = current;
    }
    for (const fs::path &part : rest.relative_path().parent_path()) {
        if (part.empty() || part == ".")
            continue;
        to.folder = part == ".." ? to.folder.parent_path() : to.folder / part;
        if (to.kept) {
            if (to.folder.has_relative_path())
                keptFolders.insert(to.folder.string());
            continue;
        }
        visited.insert(to.folder);
        if (part != "..")
            named.insert(to.folder);
    }
    to.file = rest.filename().string();
    return to;
}

fs::path PagePlaces::pageFolder(const fs::path &real)
{
    fs::path page = pageRoot;
    fs::path at = root;
    for (const fs::path &part : real.lexically_relative(root)) {
        if (part.empty() || part == ".")
            continue;
        at /= part;
        page /= named.count(at) ? part : fs::path(ownName(at));
    }
    return page;
}

const std::string &PagePlaces::ownName(const fs::path &real)
{
    const auto known = ownNames.find(real);
    if (known != ownNames.end())
        return known->second;
    // A name that no level and no command line holds is none that a name
    // the engine looks up can meet, nor one of a folder that keeps its own.
    int &given = ownNamesGiven[real.parent_path()];
    std::string name;
    do
        name = "folder" + std::to_string(++given);
    while (std::any_of(texts.begin(), texts.end(),
                       [&name](const std::string *text) { return text->find(name) != std::string::npos; }));
    return ownNames[real] = name;
}
