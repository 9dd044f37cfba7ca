// SPDX-License-Identifier: MIT
// Times saving and restoring a game of the bundled adventure, played along
// its walkthrough into its second level: the game saved to a file as the
// player saves it (written whole, flushed to the disk, renamed), saved to
// text alone as a web page keeps it, and restored from the file into a new
// game, its level and language file read and checked. Prints medians.
#include "filebytes.h"
#include "game.h"
#include "gamehost.h"
#include "savedgame.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace {

class Console : public GameHost
{
public:
    void append(TextView text) override { shown += text; }
    void clear() override { shown.clear(); }
    void prependLineBreak() override { shown.insert(0, U"\r\n"); }
    void inform(const std::string &) override { }

    Text shown;
};

[[noreturn]] void fail(const std::string &why)
{
    std::fprintf(stderr, "savebench: %s\n", why.c_str());
    std::exit(1);
}

// The median over runs of the mean time of one call, in milliseconds.
double median(int runs, int calls, const std::function<void()> &call)
{
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
        const auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < calls; ++i)
            call();
        const std::chrono::duration<double, std::milli> spent = std::chrono::steady_clock::now() - start;
        times.push_back(spent.count() / calls);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc < 4) {
        std::fprintf(stderr, "usage: savebench DATA_FOLDER WALKTHROUGH_IN WORK_FOLDER [RUNS]\n");
        return 2;
    }
    const std::string data = argv[1];
    const int runs = argc > 4 ? std::max(1, std::atoi(argv[4])) : 7;
    std::string why;
    const std::optional<std::string> walkthrough = FileBytes::read(argv[2], &why);
    if (!walkthrough)
        fail(std::string(argv[2]) + ": " + why);
    std::filesystem::create_directories(argv[3]);
    const std::string file = std::string(argv[3]) + "/bench.qwsave";

    const Game::Setup setup{data + "/QUILLMOOR.qw", {}, data + "/Language.txt"};
    Console console;
    Game game(console, setup);
    game.start();
    for (TextView line : TextCodec::lines(TextCodec::decode(*walkthrough))) {
        while (game.state() == Game::State::Asking)
            game.answer(false);
        game.enter(line);
    }
    while (game.state() == Game::State::Asking)
        game.answer(false);
    const std::optional<SavedGame> reached = game.saved();
    if (!reached)
        fail("the walkthrough ends in no game to save");

    constexpr int Calls = 100;
    const double toFile = median(runs, Calls, [&] {
        if (!game.saved()->writeFile(file, &why))
            fail(why);
    });
    std::size_t size = 0;
    const double toText = median(runs, Calls, [&] { size = game.saved()->text().size(); });
    const double restore = median(runs, Calls, [&] {
        const std::optional<SavedGame> saved = SavedGame::readFile(file, &why);
        Console shown;
        Game again(shown, setup);
        if (!saved || !(why = again.restore(*saved, file)).empty())
            fail(why);
    });
    std::filesystem::remove(file);

    std::printf("A game of the bundled adventure (%zu records changed, %zu bytes), medians over %d runs of %d:\n",
                reached->records.size(), size, runs, Calls);
    std::printf("  saved to a file: %.3f ms\n", toFile);
    std::printf("  saved to text: %.3f ms\n", toText);
    std::printf("  restored from the file, its level and language file read and checked: %.3f ms\n", restore);
    return 0;
}
