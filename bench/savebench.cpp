// SPDX-License-Identifier: MIT
// Times saving and restoring a game of the bundled adventure, at the point of
// its walkthrough where play has changed the most locations: the game saved
// to text alone, as a web page keeps it; saved to a file as the player saves
// it (written whole, flushed to the disk, renamed), beside the time the disk
// takes to flush as many bytes written plainly, and in memory (/dev/shm),
// where a flush costs nothing; and restored from the file into a new game,
// its level and language file read and checked. Prints medians.
#include "consoletext.h"
#include "filebytes.h"
#include "game.h"
#include "savedgame.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

namespace {

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
    std::optional<SavedGame> reached;
    {
        ConsoleText console;
        Game walked(console, setup);
        walked.start();
        const Text lines = TextCodec::decode(*walkthrough);
        for (TextView line : TextCodec::lines(lines)) {
            while (walked.state() == Game::State::Asking)
                walked.answer(false);
            walked.enter(line);
            const std::optional<SavedGame> now = walked.saved();
            if (now && (!reached || now->records.size() > reached->records.size()))
                reached = now;
        }
    }
    if (!reached)
        fail("the walkthrough reaches no game to save");
    ConsoleText console;
    Game game(console, setup);
    if (!(why = game.restore(*reached, "walkthrough")).empty())
        fail(why);

    constexpr int Calls = 100;
    std::size_t size = 0;
    const double toText = median(runs, Calls, [&] { size = game.saved()->text().size(); });
    auto saveTo = [&](const std::string &path) {
        return median(runs, Calls, [&] {
            if (!game.saved()->writeFile(path, &why))
                fail(why);
        });
    };
    const double toFile = saveTo(file);
    const std::string bytes = reached->text();
    const double flush = median(runs, Calls, [&] {
        const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
        if (fd < 0 || ::write(fd, bytes.data(), bytes.size()) != ssize_t(bytes.size()) || ::fsync(fd) != 0)
            fail("cannot write " + file);
        ::close(fd);
    });
    const std::string memory = "/dev/shm/quillmoor-savebench-" + std::to_string(::getpid()) + ".qwsave";
    const bool inMemory = std::filesystem::is_directory("/dev/shm");
    const double toMemory = inMemory ? saveTo(memory) : 0;
    if (inMemory)
        std::filesystem::remove(memory);
    const double restore = median(runs, Calls, [&] {
        const std::optional<SavedGame> saved = SavedGame::readFile(file, &why);
        ConsoleText shown;
        Game again(shown, setup);
        if (!saved || !(why = again.restore(*saved, file)).empty())
            fail(why);
    });
    std::filesystem::remove(file);

    std::printf("A game of the bundled adventure (%zu records changed, %zu bytes), medians over %d runs of %d:\n",
                reached->records.size(), size, runs, Calls);
    std::printf("  saved to text: %.3f ms\n", toText);
    std::printf("  saved to a file in %s: %.3f ms (the disk flushes as many bytes written plainly in %.3f ms)\n",
                argv[3], toFile, flush);
    if (inMemory)
        std::printf("  saved to a file in /dev/shm: %.3f ms\n", toMemory);
    std::printf("  restored from the file, its level and language file read and checked: %.3f ms\n", restore);
    return 0;
}
