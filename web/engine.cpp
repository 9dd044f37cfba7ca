// SPDX-License-Identifier: MIT
// The engine of the web page: one game over files the page places in the
// WebAssembly file system, driven from the page's script through the
// functions below. Text goes in and out as UTF-8 with its length in bytes.
#include "game.h"
#include "webconsole.h"

#include <emscripten.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

namespace {

WebConsole console;
std::unique_ptr<Game> game;
std::string said; // the last text handed out

std::string_view bytes(const char *data, int size)
{
    return {data, std::size_t(size > 0 ? size : 0)};
}

const char *handOut(std::string text)
{
    said = std::move(text);
    return said.c_str();
}

} // namespace

extern "C" {

// Writes a file, making its folders; false when it cannot be written.
EMSCRIPTEN_KEEPALIVE int qm_put_file(const char *path, int pathSize, const char *data, int size)
{
    const std::filesystem::path file(std::string(bytes(path, pathSize)));
    std::error_code ignored;
    std::filesystem::create_directories(file.parent_path(), ignored);
    std::FILE *out = std::fopen(file.c_str(), "wb");
    if (!out)
        return 0;
    const std::string_view content = bytes(data, size);
    const bool written = std::fwrite(content.data(), 1, content.size(), out) == content.size();
    return std::fclose(out) == 0 && written;
}

// Makes the folder the current one, as the folder the player was started in.
EMSCRIPTEN_KEEPALIVE int qm_enter_folder(const char *path, int pathSize)
{
    const std::filesystem::path folder(std::string(bytes(path, pathSize)));
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    std::filesystem::current_path(folder, error);
    return !error;
}

// Starts the game as the player does with this command line.
EMSCRIPTEN_KEEPALIVE void qm_start(const char *commandLine, int commandSize, const char *language, int languageSize)
{
    const std::string level(bytes(commandLine, commandSize));
    game = std::make_unique<Game>(console, Game::Setup{level, level, std::string(bytes(language, languageSize))});
    game->start();
}

EMSCRIPTEN_KEEPALIVE void qm_enter(const char *typed, int size)
{
    if (game)
        game->enter(text::fromUtf8(bytes(typed, size)));
}

EMSCRIPTEN_KEEPALIVE void qm_answer(int yes)
{
    if (game)
        game->answer(yes != 0);
}

// Game::State as a number: 0 starting, 1 choosing a language, 2 playing,
// 3 asking, 4 ended, 5 stopped.
EMSCRIPTEN_KEEPALIVE int qm_state()
{
    return game ? int(game->state()) : 0;
}

EMSCRIPTEN_KEEPALIVE const char *qm_question()
{
    return handOut(game ? text::toUtf8(game->question()) : std::string());
}

EMSCRIPTEN_KEEPALIVE const char *qm_stop_message()
{
    return handOut(game ? game->stopMessage() : std::string());
}

// The size in bytes of the text the last call handed out.
EMSCRIPTEN_KEEPALIVE int qm_said_size()
{
    return int(said.size());
}

// The changes to the console since the page last took them.
EMSCRIPTEN_KEEPALIVE int qm_changes()
{
    return int(console.changes().size());
}

EMSCRIPTEN_KEEPALIVE int qm_change_kind(int i)
{
    return int(console.changes()[std::size_t(i)].kind);
}

EMSCRIPTEN_KEEPALIVE const char *qm_change_text(int i)
{
    return console.changes()[std::size_t(i)].text.data();
}

EMSCRIPTEN_KEEPALIVE int qm_change_size(int i)
{
    return int(console.changes()[std::size_t(i)].text.size());
}

EMSCRIPTEN_KEEPALIVE void qm_forget_changes()
{
    console.forget();
}

} // extern "C"
