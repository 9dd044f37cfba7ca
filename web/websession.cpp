// SPDX-License-Identifier: MIT
#include "websession.h"

#include "filebytes.h"
#include "savedgame.h"
#include "sha256.h"

#include <algorithm>
#include <filesystem>
#include <vector>

void WebSession::setUp(Game::Setup setup)
{
    this->setup = std::move(setup);
}

void WebSession::restart()
{
    played = std::make_unique<Game>(shown, setup);
    played->start();
}

void WebSession::holdLevel(const std::string &path)
{
    std::string why;
    std::optional<std::string> bytes = FileBytes::read(path, &why);
    if (!bytes)
        return;
    // Named from the folder the page plays in, as a level's LOADLEVEL and
    // the player's command line name it, so a game saved here names it so.
    std::error_code ignored;
    const std::filesystem::path relative = std::filesystem::path(path).lexically_relative(
        std::filesystem::current_path(ignored));
    levels[relative.empty() ? path : relative.string()] = std::move(*bytes);
}

std::string WebSession::restore(std::string_view bytes, const std::string &fileName)
{
    std::string why;
    const std::optional<SavedGame> saved = SavedGame::read(bytes, fileName, &why);
    if (!saved)
        return why;
    Game::Setup restoring = setup;
    restoring.heldLevels.insert(levels.begin(), levels.end());
    auto next = std::make_unique<Game>(shown, std::move(restoring));
    why = next->restore(*saved, fileName);
    if (!why.empty())
        return why;
    played = std::move(next);
    return {};
}

std::string WebSession::saved() const
{
    const std::optional<SavedGame> game = played ? played->saved() : std::nullopt;
    return game ? game->text() : std::string();
}

std::string WebSession::progressKey() const
{
    // Not by their names: a saved game finds a level by its digest too.
    std::vector<std::string> digests;
    for (const auto &[name, bytes] : levels)
        digests.push_back(Sha256::hex(bytes));
    std::sort(digests.begin(), digests.end());
    std::string why;
    digests.push_back(Sha256::hex(FileBytes::read(setup.languageFile, &why).value_or(std::string())));
    Sha256 sum;
    for (const std::string &digest : digests)
        sum.add(digest + '\n');
    return sum.hex();
}

const char *WebSession::handOut(std::string text)
{
    said = std::move(text);
    return said.c_str();
}
