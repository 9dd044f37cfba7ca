// SPDX-License-Identifier: MIT
#include "terminalhost.h"

#include <QByteArray>

#include <cstdio>
#include <iostream>
#include <string>

#include <unistd.h>

namespace {

void write(std::FILE *stream, QString text)
{
    const QByteArray bytes = text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
}

} // namespace

TerminalHost::TerminalHost()
    : echo(!isatty(STDIN_FILENO))
{
}

int TerminalHost::play(const Game::Setup &setup)
{
    Game game(*this, setup);
    game.start();
    while (game.waiting()) {
        const std::optional<QString> line = readLine();
        if (!line)
            return 0;
        game.enter(*line);
    }
    if (game.state() == Game::State::Stopped) {
        std::fflush(stdout);
        write(stderr, game.stopMessage() + u'\n');
        return 1;
    }
    std::fflush(stdout);
    return 0;
}

void TerminalHost::append(const QString &text)
{
    write(stdout, text);
}

bool TerminalHost::ask(const QString &question)
{
    write(stdout, question + QStringLiteral(" (y/n) "));
    const std::optional<QString> answer = readLine();
    // Both questions end the game on Yes; with no one left to answer, it ends.
    if (!answer)
        return true;
    return answer->startsWith(u'y') || answer->startsWith(u'Y');
}

void TerminalHost::inform(const QString &text)
{
    std::fflush(stdout);
    write(stderr, text + u'\n');
}

std::optional<QString> TerminalHost::readLine()
{
    std::fflush(stdout);
    std::string line;
    if (!std::getline(std::cin, line))
        return std::nullopt;
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    const QString text = QString::fromUtf8(line.data(), qsizetype(line.size()));
    if (echo)
        write(stdout, text + u'\n');
    return text;
}
