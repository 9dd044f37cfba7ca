// SPDX-License-Identifier: MIT
#include "publisher.h"

#include "datafolder.h"
#include "filebytes.h"
#include "gameerror.h"
#include "gamepage.h"
#include "languagetable.h"
#include "levelchain.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <set>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

std::string inQuotes(const std::string &text)
{
    return "\"" + text + "\"";
}

// The deepest folder that holds both.
fs::path commonFolder(const fs::path &a, const fs::path &b)
{
    fs::path common;
    for (auto i = a.begin(), j = b.begin(); i != a.end() && j != b.end() && *i == *j; ++i, ++j)
        common /= *i;
    return common;
}

// Where the page keeps the levels. The engine looks for a chained level from
// the folder it plays in and beside the level naming it, so the page keeps
// the folders the player would pass through where they lie relative to each
// other and to the folder the publisher runs in. They go below "/game" in
// place of the deepest folder they share, so the page shows none of the
// author's folders; only where a level is named by an absolute path do they
// keep their absolute paths.
class Places
{
public:
    explicit Places(const std::vector<LevelChain::File> &levels)
        : here(fs::current_path())
    {
        for (const LevelChain::File &level : levels)
            absolute = absolute || fs::path(level.path).is_absolute();
        std::set<fs::path> folders{here};
        for (const LevelChain::File &level : levels) {
            // Every folder the name passes through, ".." included, must be
            // there for the engine to walk it.
            fs::path walked = fs::path(level.path).is_absolute() ? fs::path("/") : here;
            for (const fs::path &part : fs::path(level.path).parent_path().relative_path())
                folders.insert((walked /= part).lexically_normal());
        }
        root = *folders.begin();
        for (const fs::path &folder : folders)
            root = commonFolder(root, folder);
        for (const fs::path &folder : folders)
            seen.push_back(place(folder));
    }

    std::string place(const fs::path &real) const
    {
        const fs::path normal = (here / real).lexically_normal();
        if (absolute)
            return normal.string();
        std::string inside = (fs::path("/game") / normal.lexically_relative(root)).lexically_normal().string();
        if (inside.size() > 1 && inside.back() == '/')
            inside.pop_back();
        return inside;
    }

    std::string folder() const { return place(here); }
    const std::vector<std::string> &folders() const { return seen; }

private:
    fs::path here;
    bool absolute = false;
    fs::path root;
    std::vector<std::string> seen;
};

// Writes the file whole or not at all: into a new file beside it, which then
// takes its name.
std::string writeWhole(const std::string &path, const std::string &bytes)
{
    const fs::path target(path);
    std::string temporary = (target.parent_path() / ("." + target.filename().string() + ".XXXXXX")).string();
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0)
        return "Cannot write the page " + inQuotes(path) + ": " + std::strerror(errno) + ".";
    auto fail = [&](int why) {
        ::close(fd);
        ::unlink(temporary.c_str());
        return "Cannot write the page " + inQuotes(path) + ": " + std::strerror(why) + ".";
    };
    for (std::size_t done = 0; done < bytes.size();) {
        const ssize_t wrote = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (wrote < 0 && errno == EINTR)
            continue;
        if (wrote < 0)
            return fail(errno);
        done += std::size_t(wrote);
    }
    // A page is read by everyone it is given to, as any file the user makes.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    if (::fchmod(fd, 0666 & ~mask) != 0 || ::fsync(fd) != 0)
        return fail(errno);
    if (::close(fd) != 0) {
        const int why = errno;
        ::unlink(temporary.c_str());
        return "Cannot write the page " + inQuotes(path) + ": " + std::strerror(why) + ".";
    }
    if (::rename(temporary.c_str(), path.c_str()) != 0) {
        const int why = errno;
        ::unlink(temporary.c_str());
        return "Cannot write the page " + inQuotes(path) + ": " + std::strerror(why) + ".";
    }
    return {};
}

bool sameFile(const std::string &a, const std::string &b)
{
    std::error_code ignored;
    return fs::equivalent(a, b, ignored);
}

} // namespace

std::string Publisher::defaultOutput(const std::string &level)
{
    return fs::path(level).replace_extension(".html").string();
}

std::string Publisher::defaultLanguageFile()
{
    return DataFolder::file("Language.txt");
}

std::string Publisher::defaultRuntime()
{
    return DataFolder::file("web/quillmoorpage.html");
}

Publisher::Result Publisher::publish(const Job &job)
{
    Result result;
    std::string level = job.level;
    // The player's command line drops every double quote.
    level.erase(std::remove(level.begin(), level.end(), '"'), level.end());
    if (level.find_first_not_of(' ') == std::string::npos) {
        result.error = "No level file named.";
        return result;
    }
    result.output = job.output.empty() ? defaultOutput(level) : job.output;
    result.languageFile = job.languageFile.empty() ? defaultLanguageFile() : job.languageFile;
    const std::string runtimeFile = job.runtime.empty() ? defaultRuntime() : job.runtime;

    LevelChain::Result chain = LevelChain::follow(level);
    if (!chain.ok()) {
        result.error = chain.error;
        return result;
    }

    std::string why;
    std::optional<std::string> language = FileBytes::read(result.languageFile, &why);
    if (!language) {
        result.error = "Cannot open the language file " + inQuotes(result.languageFile) + ": " + why + ".";
        return result;
    }
    try {
        // The player would stop on a language file it cannot use.
        LanguageTable::read(*language, result.languageFile);
    } catch (const GameError &error) {
        result.error = error.description;
        return result;
    }

    const std::optional<std::string> runtime = FileBytes::read(runtimeFile, &why);
    if (!runtime) {
        result.error = "Cannot open the page runtime " + inQuotes(runtimeFile) + ": " + why
            + ". It is built with the programs where emscripten is installed.";
        return result;
    }

    std::vector<std::string> inputs{result.languageFile};
    for (const LevelChain::File &file : chain.files)
        inputs.push_back(file.path);
    for (const std::string &input : inputs) {
        if (sameFile(result.output, input)) {
            result.error = "The page " + inQuotes(result.output) + " would overwrite " + inQuotes(input)
                + ", which goes into it.";
            return result;
        }
    }

    const Places places(chain.files);
    GamePage::Game game;
    game.folders = places.folders();
    game.folder = places.folder();
    game.level = level;
    // Pages of two games differ in their tabs and bookmarks.
    game.title = fs::path(level).stem().string();
    game.language = "/quillmoor/" + fs::path(result.languageFile).filename().string();
    for (LevelChain::File &file : chain.files) {
        result.levels.push_back(file.path);
        game.files.push_back({places.place(file.path), std::move(file.bytes)});
    }
    game.files.push_back({game.language, std::move(*language)});

    const std::optional<std::string> page = GamePage::fill(*runtime, game);
    if (!page) {
        result.error = "The page runtime " + inQuotes(runtimeFile) + " has no single place for the game ("
            + std::string(GamePage::Marker) + "); it is damaged.";
        return result;
    }
    result.error = writeWhole(result.output, *page);
    return result;
}
