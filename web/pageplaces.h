// SPDX-License-Identifier: MIT
#pragma once

#include "levelchain.h"

#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

// Where a page keeps the levels of a chain. The engine in the page looks for
// a level as the player does: by its name from the folder it plays in, else
// beside the level naming it. So the page lays out the folders the player
// passes through as they lie relative to each other and to the folder the
// publisher runs in, below "/game" in place of the deepest folder they share.
// A folder keeps its name only where a LOADLEVEL name or a relative command
// line walks into it by that name; any other folder (the author's own, such
// as the one the publisher runs in) gets a name of the page's own, "folder1",
// one that no level and no command line holds. A level that a LOADLEVEL
// names by an absolute path keeps that path: the level naming it holds it.
// So the page holds the levels by the names the player finds them by, and
// nothing else of the author's folders.
class PagePlaces
{
public:
    // levels: the chain of the level the command line names, first.
    PagePlaces(const std::string &commandLine, const std::vector<LevelChain::File> &levels);

    // The folder the page plays in, as the folder the player was started in.
    const std::string &folder() const { return here; }
    // The command line the page plays with: as given, or where it names the
    // level by an absolute path, the level's place from the page's folder.
    const std::string &commandLine() const { return command; }
    // The folders to make before the levels are placed, as the engine may
    // walk through a folder that holds no level.
    const std::vector<std::string> &folders() const { return made; }
    // Where the page places the level the player loads by this name.
    const std::string &place(const std::string &route) const { return placed.at(route); }

private:
    // Where a name leads: the folder, the file's name, and whether it is
    // a path from a LOADLEVEL line kept as it is.
    struct Walk
    {
        std::filesystem::path folder;
        std::string file;
        bool kept = false;
    };

    Walk walk(const LevelChain::Route &route);
    std::filesystem::path pageFolder(const std::filesystem::path &real);
    const std::string &ownName(const std::filesystem::path &real);

    std::filesystem::path current; // where the publisher runs
    std::filesystem::path root; // the deepest folder shared, "/game" in the page
    std::filesystem::path pageRoot;
    std::set<std::filesystem::path> visited; // folders walked through, or to
    std::set<std::filesystem::path> named; // folders walked into by their name
    std::set<std::string> keptFolders; // folders of absolute LOADLEVEL names
    std::map<std::filesystem::path, std::string> ownNames;
    std::map<std::filesystem::path, int> ownNamesGiven; // by parent folder
    std::vector<const std::string *> texts; // what no name of the page's own may occur in

    std::string here;
    std::string command;
    std::vector<std::string> made;
    std::map<std::string, std::string> placed;
};
