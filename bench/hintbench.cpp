// SPDX-License-Identifier: MIT
// Times a hint in the player window's path: the quiet copy of the game made
// on the window's thread, the search on the asker's thread and the answer
// handed back through the event loop, from each state the bundled
// adventure's walkthrough passes through. Prints the median state's time
// and the slowest state's, medians of several runs.
#include "filebytes.h"
#include "game.h"
#include "hintasker.h"
#include "textcodec.h"

#include <QCoreApplication>
#include <QEventLoop>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace {

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: hintbench DATA_FOLDER WALKTHROUGH_IN [RUNS]\n");
        return 2;
    }
    const std::string data = argv[1];
    const int runs = argc > 3 ? std::max(1, std::atoi(argv[3])) : 7;
    std::string why;
    const auto bytes = FileBytes::read(argv[2], &why);
    if (!bytes) {
        std::fprintf(stderr, "hintbench: %s: %s\n", argv[2], why.c_str());
        return 1;
    }
    const Text walkthrough = TextCodec::decode(*bytes);

    // Every state the walkthrough waits for a command in, from the start.
    std::vector<Game> states;
    Game game(Game::Setup{data + "/QUILLMOOR.qw", {}, data + "/Language.txt"});
    game.start();
    for (TextView line : TextCodec::lines(walkthrough)) {
        if (game.state() == Game::State::Asking)
            game.answer(false);
        if (game.state() == Game::State::Playing)
            states.push_back(game.quietCopy());
        if (!game.waiting())
            break;
        game.enter(line);
    }

    HintAsker asker;
    std::vector<double> all;
    std::vector<double> slowest;
    for (int run = 0; run < runs; ++run) {
        double slow = 0;
        for (const Game &state : states) {
            QEventLoop wait;
            QObject::connect(&asker, &HintAsker::answered, &wait, &QEventLoop::quit);
            const auto start = std::chrono::steady_clock::now();
            asker.ask(state);
            wait.exec();
            const std::chrono::duration<double, std::milli> spent = std::chrono::steady_clock::now() - start;
            all.push_back(spent.count());
            slow = std::max(slow, spent.count());
        }
        slowest.push_back(slow);
    }
    std::printf("A hint in the player window, from the %zu states the bundled walkthrough waits in, %d runs:\n"
                "  %.1f ms on the clock for the median state, %.1f ms for the slowest (median of the runs)\n",
                states.size(), runs, median(all), median(slowest));
    return 0;
}
