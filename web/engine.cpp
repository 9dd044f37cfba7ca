// SPDX-License-Identifier: MIT
// The engine of the web page, as functions the page's script calls: files
// placed in the WebAssembly file system, and games played over them, each a
// WebSession the script holds. Text goes in and out as UTF-8 with its length
// in bytes.
#include "hint.h"
#include "websession.h"

#include <emscripten.h>

#include <cstdio>
#include <filesystem>
#include <string>

namespace {

// The page searches on its only thread, so a hint stops sooner than the
// window's: a second or so at most, on a level far larger than the bundled one.
constexpr std::size_t PageHintStates = 500'000;

std::string_view bytes(const char *data, int size)
{
    return {data, std::size_t(size > 0 ? size : 0)};
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

// Makes the folder, and makes it the current one, as the folder the player
// was started in.
EMSCRIPTEN_KEEPALIVE int qm_enter_folder(const char *path, int pathSize)
{
    const std::filesystem::path folder(std::string(bytes(path, pathSize)));
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    std::filesystem::current_path(folder, error);
    return !error;
}

EMSCRIPTEN_KEEPALIVE WebSession *qm_new_session()
{
    return new WebSession;
}

// The game as the player plays it with this command line, which
// qm_restart() then starts, or qm_restore() goes on with.
EMSCRIPTEN_KEEPALIVE void qm_set_up(WebSession *session, const char *commandLine, int commandSize,
                                    const char *language, int languageSize)
{
    const std::string level(bytes(commandLine, commandSize));
    session->setUp({level, level, std::string(bytes(language, languageSize))});
}

// A level of the page, found by its digest by a saved game that names it
// otherwise.
EMSCRIPTEN_KEEPALIVE void qm_hold_level(WebSession *session, const char *path, int pathSize)
{
    session->holdLevel(std::string(bytes(path, pathSize)));
}

// Starts the game, or starts it over.
EMSCRIPTEN_KEEPALIVE void qm_restart(WebSession *session)
{
    session->restart();
}

// Goes on with a saved game in place of the game played: hands out why it
// cannot, naming the file, or nothing when it goes on.
EMSCRIPTEN_KEEPALIVE const char *qm_restore(WebSession *session, const char *data, int size, const char *name,
                                            int nameSize)
{
    return session->handOut(session->restore(bytes(data, size), std::string(bytes(name, nameSize))));
}

// Hands out the game played as a saved game's bytes; nothing while there is
// no game to save.
EMSCRIPTEN_KEEPALIVE const char *qm_saved(WebSession *session)
{
    return session->handOut(session->saved());
}

// Hands out the name the page's progress is kept under.
EMSCRIPTEN_KEEPALIVE const char *qm_progress_key(WebSession *session)
{
    return session->handOut(session->progressKey());
}

// A line as typed: the game takes the text after its last ">".
EMSCRIPTEN_KEEPALIVE void qm_enter(WebSession *session, const char *typed, int size)
{
    if (Game *game = session->game())
        game->enter(text::fromUtf8(bytes(typed, size)));
}

EMSCRIPTEN_KEEPALIVE void qm_answer(WebSession *session, int yes)
{
    if (Game *game = session->game())
        game->answer(yes != 0);
}

// Game::State as a number: 0 starting, 1 choosing a language, 2 playing,
// 3 asking, 4 ended, 5 stopped.
EMSCRIPTEN_KEEPALIVE int qm_state(WebSession *session)
{
    const Game *game = session->game();
    return game ? int(game->state()) : 0;
}

EMSCRIPTEN_KEEPALIVE const char *qm_question(WebSession *session)
{
    const Game *game = session->game();
    return session->handOut(game ? text::toUtf8(game->question()) : std::string());
}

EMSCRIPTEN_KEEPALIVE const char *qm_stop_message(WebSession *session)
{
    const Game *game = session->game();
    return session->handOut(game ? game->stopMessage() : std::string());
}

// The hint line: the next command of a shortest way to win
// from here, or why there is none.
EMSCRIPTEN_KEEPALIVE const char *qm_hint(WebSession *session)
{
    const Game *game = session->game();
    return session->handOut(game ? Hint::say(*game, PageHintStates) : std::string(Hint::NoCommand));
}

// The size in bytes of the text handed out last.
EMSCRIPTEN_KEEPALIVE int qm_said_size(WebSession *session)
{
    return int(session->handedOutSize());
}

// The changes to the console since the page last took them.
EMSCRIPTEN_KEEPALIVE int qm_changes(WebSession *session)
{
    return int(session->console().changes().size());
}

EMSCRIPTEN_KEEPALIVE int qm_change_kind(WebSession *session, int i)
{
    return int(session->console().changes()[std::size_t(i)].kind);
}

EMSCRIPTEN_KEEPALIVE const char *qm_change_text(WebSession *session, int i)
{
    return session->console().changes()[std::size_t(i)].text.data();
}

EMSCRIPTEN_KEEPALIVE int qm_change_size(WebSession *session, int i)
{
    return int(session->console().changes()[std::size_t(i)].text.size());
}

EMSCRIPTEN_KEEPALIVE void qm_forget_changes(WebSession *session)
{
    session->console().forget();
}

} // extern "C"
