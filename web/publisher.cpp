// SPDX-License-Identifier: MIT
#include "publisher.h"

#include "datafolder.h"
#include "filebytes.h"
#include "game.h"
#include "gameerror.h"
#include "gamepage.h"
#include "languagetable.h"
#include "levelchain.h"
#include "levellookup.h"
#include "pageplaces.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

using text::inQuotes;

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
    // The level as the player's command line names it.
    const std::string level = LevelLookup::unquoted(job.level);
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
    result.warnings = chain.warnings;

    std::string why;
    std::optional<std::string> language = FileBytes::read(result.languageFile, &why);
    if (!language) {
        result.error = "Cannot open the language file " + inQuotes(result.languageFile) + ": " + why + ".";
        return result;
    }
    try {
        // The player would stop on a language file it cannot use.
        const LanguageTable table = LanguageTable::read(*language, result.languageFile);
        // A page the player would stop before the first command only ever
        // says that the game has stopped: the engine starts the game here, in
        // every language, and its reason to stop is the publisher's.
        for (int chosen = 1; chosen <= table.count(); ++chosen) {
            Game game(Game::Setup{level, level, result.languageFile});
            game.start();
            if (game.state() == Game::State::ChoosingLanguage)
                game.enter(text::number(chosen));
            if (game.state() == Game::State::Stopped) {
                result.error = game.stopReason();
                return result;
            }
        }
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

    const PagePlaces places(level, chain.files);
    GamePage::Game game;
    game.folders = places.folders();
    game.folder = places.folder();
    game.level = places.commandLine();
    // Pages of two games differ in their tabs and bookmarks.
    game.title = fs::path(level).stem().string();
    game.language = "/quillmoor/" + fs::path(result.languageFile).filename().string();
    for (LevelChain::File &file : chain.files) {
        result.levels.push_back(file.path);
        // A level reached by two names lies in each place they lead to.
        std::vector<std::string> where;
        for (const LevelChain::Route &route : file.routes) {
            const std::string &place = places.place(route.path);
            if (std::find(where.begin(), where.end(), place) == where.end())
                where.push_back(place);
        }
        for (std::size_t i = 0; i < where.size(); ++i)
            game.files.push_back({where[i], i + 1 < where.size() ? file.bytes : std::move(file.bytes)});
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
