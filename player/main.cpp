// SPDX-License-Identifier: MIT
// The player: plays in the terminal itself, and hands a game meant for a
// window to the window program, so that the terminal never waits for a
// window system's libraries to load.
#include "buildinfo.h"
#include "commandline.h"
#include "datafolder.h"
#include "terminalhost.h"
#include "walkthroughfile.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include <unistd.h>

namespace {

bool displayAvailable()
{
    auto set = [](const char *name) {
        const char *value = std::getenv(name);
        return value && *value;
    };
    // The offscreen and minimal platforms draw nowhere a person could see.
    const std::string platform = set("QT_QPA_PLATFORM") ? std::getenv("QT_QPA_PLATFORM") : "";
    if (platform.rfind("offscreen", 0) == 0 || platform.rfind("minimal", 0) == 0)
        return false;
    return set("DISPLAY") || set("WAYLAND_DISPLAY") || !platform.empty();
}

} // namespace

int main(int argc, char *argv[])
{
    const CommandLine options = CommandLine::parse({argv + 1, argv + argc});
    if (!options.error.empty()) {
        std::fprintf(stderr, "%s\n", options.error.c_str());
        return 1;
    }
    if (options.help) {
        std::fputs(CommandLine::usage().c_str(), stdout);
        return 0;
    }
    if (options.version) {
        std::fputs("quillmoorplayer " QUILLMOOR_VERSION "\n", stdout);
        return 0;
    }

    if (options.tty || !displayAvailable()) {
        TerminalHost terminal;
        if (!options.walkthroughFile.empty()) {
            std::string error;
            std::optional<std::vector<Text>> lines = WalkthroughFile::read(options.walkthroughFile, &error);
            if (!lines) {
                std::fprintf(stderr, "%s\n", error.c_str());
                return 1;
            }
            terminal.typeFirst(std::move(*lines));
        }
        return terminal.play({options.level, DataFolder::file("QUILLMOOR.qw"),
                              options.languageFile.empty() ? DataFolder::file("Language.txt") : options.languageFile},
                             {options.restoreFile, options.saveFile});
    }

    // The same arguments go to the window program, which reads them alike.
    const std::string window = DataFolder::helperProgram("quillmoorplayer-window");
    execv(window.c_str(), argv);
    std::fprintf(stderr, "quillmoorplayer: cannot start the window program \"%s\": %s.\n", window.c_str(),
                 std::strerror(errno));
    return 1;
}
