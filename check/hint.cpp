// SPDX-License-Identifier: MIT
#include "hint.h"

#include "gameerror.h"
#include "winsearch.h"

#include <new>

Hint::Answer Hint::next(const Game &game, std::size_t maxStates, const std::atomic<bool> *cancel)
{
    Answer answer;
    if (game.state() != Game::State::Playing)
        return answer;
    WinSearch search(game.quietCopy(), maxStates, cancel);
    const WinSearch::Outcome outcome = search.run();
    if (outcome.verdict == WinSearch::Verdict::Unwinnable) {
        answer.kind = Answer::Kind::NoWin;
    } else if (outcome.verdict == WinSearch::Verdict::Winnable && !outcome.walkthrough.empty()) {
        answer.kind = Answer::Kind::Command;
        answer.command = outcome.walkthrough.front();
        answer.steps = outcome.walkthrough.size();
    }
    return answer;
}

std::string Hint::line(const Answer &answer)
{
    switch (answer.kind) {
    case Answer::Kind::Command:
        return "Hint: " + text::toUtf8(answer.command);
    case Answer::Kind::NoWin:
        return "You can no longer win from here.";
    case Answer::Kind::Unknown:
        break;
    }
    return {};
}

std::string Hint::say(const Game &game, std::size_t maxStates, const std::atomic<bool> *cancel)
{
    if (game.state() != Game::State::Playing)
        return NoCommand;
    std::string said;
    try {
        said = line(next(game, maxStates, cancel));
    } catch (const std::bad_alloc &) {
        // Too many states for the memory there is: too far to find.
    } catch (const GameError &) {
        // A language the game could not play has stopped it long before.
    }
    return said.empty() ? NotFound : said;
}
