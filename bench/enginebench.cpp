// SPDX-License-Identifier: MIT
// Times the engine alone: the bundled adventure's walkthrough played again
// and again in one process, its levels and language held in memory, into a
// console that keeps what a window would show. Prints the median time a turn.
#include "consoletext.h"
#include "filebytes.h"
#include "game.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace {

std::string read(const std::string &path)
{
    std::string why;
    const auto bytes = FileBytes::read(path, &why);
    if (!bytes) {
        std::fprintf(stderr, "enginebench: %s: %s\n", path.c_str(), why.c_str());
        std::exit(1);
    }
    return *bytes;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: enginebench DATA_FOLDER WALKTHROUGH_IN [RUNS]\n");
        return 2;
    }
    const std::string data = argv[1];
    const int runs = argc > 3 ? std::max(1, std::atoi(argv[3])) : 7;
    std::vector<Text> commands;
    // The lines view the text, which must outlive the loop.
    const Text walkthrough = TextCodec::decode(read(argv[2]));
    for (TextView line : TextCodec::lines(walkthrough))
        commands.emplace_back(line);

    Game::Setup setup{data + "/QUILLMOOR.qw", {}, data + "/Language.txt"};
    // The chained level is named as the player finds it: beside the first.
    for (const char *name : {"QUILLMOOR.qw", "SCRIPTORIUM.qw"})
        setup.heldLevels[data + "/" + name] = read(data + "/" + name);

    constexpr int Games = 2000;
    std::vector<double> perTurn;
    long turns = 0;
    for (int run = 0; run < runs; ++run) {
        turns = 0;
        std::chrono::duration<double, std::micro> spent{};
        for (int n = 0; n < Games; ++n) {
            ConsoleText console;
            Game game(console, setup);
            game.start();
            // The turns alone: a command and the description after it,
            // a level load where the walkthrough reaches one.
            const auto start = std::chrono::steady_clock::now();
            for (const Text &command : commands) {
                if (game.state() == Game::State::Asking)
                    game.answer(false);
                if (!game.waiting())
                    break;
                game.enter(command);
                ++turns;
            }
            spent += std::chrono::steady_clock::now() - start;
        }
        perTurn.push_back(spent.count() / double(turns));
    }
    std::sort(perTurn.begin(), perTurn.end());
    std::printf("Engine alone, the bundled walkthrough (%ld turns a run, levels in memory): median %.2f us a turn "
                "over %d runs\n",
                turns, perTurn[perTurn.size() / 2], runs);
    return 0;
}
