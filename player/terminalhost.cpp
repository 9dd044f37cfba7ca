// SPDX-License-Identifier: MIT
#include "terminalhost.h"

#include "filebytes.h"
#include "savedgame.h"
#include "textcodec.h"

#include <cstdio>
#include <cstdlib>
#include <iterator>

#include <unistd.h>

namespace {

void write(std::FILE *stream, const std::string &bytes)
{
    std::fwrite(bytes.data(), 1, bytes.size(), stream);
}

// Messages hold the console's CR LF too; here a line ends in "\n" alone.
void writeMessage(const std::string &text)
{
    write(stderr, text::plainLineEnds(text) + "\n");
}

} // namespace

TerminalHost::TerminalHost()
    : echo(!isatty(STDIN_FILENO))
{
}

TerminalHost::~TerminalHost()
{
    std::free(buffer);
}

int TerminalHost::play(const Game::Setup &setup, const Files &files)
{
    // A long game typed by hand is not played into a save that must fail.
    std::string why;
    if (!files.save.empty() && !FileBytes::writable(files.save, &why)) {
        writeMessage("Cannot save the game to " + text::inQuotes(files.save) + ": " + why + ".");
        return 1;
    }
    Game game(*this, setup);
    if (files.restore.empty()) {
        game.start();
    } else {
        std::optional<SavedGame> saved = SavedGame::readFile(files.restore, &why);
        if (saved)
            why = game.restore(*saved, files.restore);
        if (!why.empty()) {
            writeMessage(why);
            return 1;
        }
    }
    for (;;) {
        if (game.state() == Game::State::Asking) {
            append(game.question() + U" (y/n) ");
            // Both questions end the game on Yes; with no one left to answer, it ends.
            const std::optional<Text> answer = readLine();
            game.answer(!answer || (!answer->empty() && (answer->front() == U'y' || answer->front() == U'Y')));
            continue;
        }
        if (!game.waiting())
            break;
        const std::optional<Text> line = readLine();
        if (!line)
            break;
        game.enter(*line);
    }
    std::fflush(stdout);
    if (game.state() == Game::State::Stopped) {
        writeMessage(game.stopReason());
        return 1;
    }
    return files.save.empty() ? 0 : save(game, files.save);
}

int TerminalHost::save(const Game &game, const std::string &path)
{
    const std::optional<SavedGame> saved = game.saved();
    std::string why;
    if (!saved) {
        writeMessage("The game was not saved to " + text::inQuotes(path) + ": no language was chosen, so it had not begun.");
        return 1;
    }
    if (!saved->writeFile(path, &why)) {
        writeMessage(why);
        return 1;
    }
    return 0;
}

void TerminalHost::append(TextView text)
{
    // The console's CR LF is a plain line end here.
    out.clear();
    TextCodec::appendUtf8Lines(out, text);
    write(stdout, out);
}

void TerminalHost::inform(const std::string &text)
{
    std::fflush(stdout);
    writeMessage(text);
}

void TerminalHost::fault(const std::string &description, const std::string &)
{
    inform(description);
}

void TerminalHost::typeFirst(std::vector<Text> lines)
{
    typed.assign(std::make_move_iterator(lines.begin()), std::make_move_iterator(lines.end()));
}

std::optional<Text> TerminalHost::readLine()
{
    if (!typed.empty()) {
        Text text = std::move(typed.front());
        typed.pop_front();
        append(text + U"\n");
        return text;
    }
    std::fflush(stdout);
    const ssize_t got = ::getline(&buffer, &capacity, stdin);
    if (got < 0)
        return std::nullopt;
    std::string_view line(buffer, std::size_t(got));
    if (!line.empty() && line.back() == '\n')
        line.remove_suffix(1);
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    Text text = TextCodec::decodeUtf8Lossy(line);
    if (echo)
        append(text + U"\n");
    return text;
}
