// SPDX-License-Identifier: MIT
#include "hint.h"

#include "winsearch.h"

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
