// SPDX-License-Identifier: MIT
#include "gamefileactions.h"

#include "filebytes.h"
#include "levellookup.h"
#include "platform.h"
#include "playerwindow.h"
#include "savedgame.h"
#include "sha256.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QWidget>

#include <filesystem>

namespace {

// Why a game in this state has nothing to save; empty when it has.
QString nothingToSave(Game::State state)
{
    switch (state) {
    case Game::State::Starting:
    case Game::State::ChoosingLanguage:
        return QStringLiteral("There is no game to save yet: choose a language first.");
    case Game::State::Ended:
        return QStringLiteral("There is no game to save: the game has ended.");
    case Game::State::Stopped:
        return QStringLiteral("There is no game to save: the game has stopped.");
    default:
        return {};
    }
}

} // namespace

GameFileActions::GameFileActions(PlayerWindow &window, QWidget &console, Platform &platform, const Game::Setup &setup)
    : QObject(&window)
    , window(window)
    , platform(platform)
    , setup(setup)
{
    setObjectName(QStringLiteral("GameFileActions"));
    auto add = [&](const char *name, const QString &text, const QKeySequence &key, void (GameFileActions::*act)()) {
        auto *action = new QAction(text, &console);
        action->setObjectName(QString::fromLatin1(name));
        action->setShortcut(key);
        connect(action, &QAction::triggered, this, act);
        console.addAction(action);
    };
    add("actionSaveGame", QStringLiteral("Save Game…"), QKeySequence(Qt::CTRL | Qt::Key_S), &GameFileActions::saveGame);
    add("actionRestoreGame", QStringLiteral("Restore Game…"), QKeySequence(Qt::CTRL | Qt::Key_O),
        &GameFileActions::restoreGame);
    add("actionRestart", QStringLiteral("Restart"), QKeySequence(), &GameFileActions::restart);
}

std::string GameFileActions::save(const std::string &path) const
{
    const Game &game = window.currentGame();
    const std::optional<SavedGame> saved = game.saved();
    if (!saved)
        return nothingToSave(game.state()).toStdString();
    std::string why;
    return saved->writeFile(path, &why) ? std::string() : why;
}

std::string GameFileActions::restore(const std::string &path)
{
    std::string why;
    const std::optional<SavedGame> saved = SavedGame::readFile(path, &why);
    if (!saved)
        return why;
    // A saved game from elsewhere (a page, another folder) may name its
    // level by a name that finds no file here: the level this window plays
    // is taken when it holds the very bytes saved.
    Game::Setup restoring = setup;
    std::error_code ignored;
    if (!std::filesystem::is_regular_file(LevelLookup::resolve(saved->level.name, path), ignored)) {
        const Game &played = window.currentGame();
        for (std::size_t i = 0; i < played.levelCount(); ++i) {
            const Game::LoadedLevel &level = played.level(std::uint16_t(i));
            if (level.bytes && Sha256::hex(*level.bytes) == saved->level.sha256)
                restoring.heldLevels.emplace(level.path, *level.bytes);
        }
        const std::string named = LevelLookup::unquoted(setup.commandLine);
        const std::string start = named.find_first_not_of(' ') == std::string::npos ? setup.defaultLevel : named;
        std::optional<std::string> bytes = FileBytes::read(start, &why);
        if (bytes && Sha256::hex(*bytes) == saved->level.sha256)
            restoring.heldLevels.emplace(start, std::move(*bytes));
    }
    why = window.replaceGame(restoring, [&](Game &game) { return game.restore(*saved, path); });
    if (!why.empty())
        return why;
    // Starting over begins this game's first level, found as its level is,
    // where it is a file; else the window's own.
    const std::string first = LevelLookup::resolve(saved->firstLevel, path);
    if (std::filesystem::is_regular_file(first, ignored))
        setup.commandLine = first;
    lastFile = QString::fromStdString(path);
    return {};
}

void GameFileActions::saveGame()
{
    const QString nothing = nothingToSave(window.currentGame().state());
    if (!nothing.isEmpty()) {
        platform.inform(&window, nothing);
        return;
    }
    QString suggested = lastFile;
    if (suggested.isEmpty()) {
        const QFileInfo level(QString::fromStdString(window.currentGame().levelFile()));
        suggested = QDir::current().filePath(level.completeBaseName() + QStringLiteral(".qwsave"));
    }
    const QString path = platform.saveFile(&window, QStringLiteral("Save Game"), QString::fromLatin1(Filter), suggested);
    if (path.isEmpty())
        return;
    const std::string why = save(path.toStdString());
    if (!why.empty()) {
        platform.inform(&window, QString::fromStdString(why));
        return;
    }
    lastFile = path;
}

void GameFileActions::restoreGame()
{
    const QString path = platform.openFile(&window, QStringLiteral("Restore Game"), QString::fromLatin1(Filter));
    if (path.isEmpty())
        return;
    const std::string why = restore(path.toStdString());
    if (!why.empty())
        platform.inform(&window, QString::fromStdString(why));
}

void GameFileActions::restart()
{
    // A mis-click must not lose a game in play: No is the default.
    const Game::State state = window.currentGame().state();
    if ((state == Game::State::Playing || state == Game::State::Asking)
        && !platform.askDefaultNo(&window, QStringLiteral("Start the game again from the beginning? The game as it "
                                                          "stands is lost unless you save it first.")))
        return;
    window.replaceGame(setup, [](Game &game) {
        game.start();
        return std::string();
    });
}
