// SPDX-License-Identifier: MIT
// The player in its window; quillmoorplayer starts it when there is a display.
#include "buildinfo.h"
#include "commandline.h"
#include "datafolder.h"
#include "desktopidentity.h"
#include "filebytes.h"
#include "gamefileactions.h"
#include "playerwindow.h"
#include "qtplatform.h"
#include "walkthroughfile.h"
#include "windowsystem.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char *argv[])
{
    const CommandLine options = CommandLine::parse({argv + 1, argv + argc});
    if (!options.error.empty()) {
        std::fprintf(stderr, "%s\n", options.error.c_str());
        return 1;
    }

    // Started by quillmoorplayer, so it speaks as quillmoorplayer.
    const std::unique_ptr<QApplication> app
        = WindowSystem::open(argc, argv, "quillmoorplayer", "\"quillmoorplayer --tty\" plays in the terminal.");
    // The name the desktop knows the player by, whichever program draws it.
    QApplication::setApplicationName(QStringLiteral("quillmoorplayer"));
    QApplication::setApplicationVersion(QStringLiteral(QUILLMOOR_VERSION));
    DesktopIdentity::apply(IconArtist::Icon::Player);
    QtPlatform platform(QStringLiteral("Quillmoor Player"));
    PlayerWindow window(platform, {options.level, DataFolder::file("QUILLMOOR.qw"),
                                   options.languageFile.empty() ? DataFolder::file("Language.txt")
                                                                : options.languageFile});
    // Started from the studio, the player has no terminal to say it in.
    auto refuse = [&platform](const std::string &error) {
        std::fprintf(stderr, "%s\n", error.c_str());
        platform.inform(nullptr, QString::fromStdString(error));
        return 1;
    };
    // A game is not played into a save that must fail.
    std::string error;
    if (!options.saveFile.empty() && !FileBytes::writable(options.saveFile, &error))
        return refuse("Cannot save the game to " + text::inQuotes(options.saveFile) + ": " + error + ".");
    // In place of the banner and the language menu: the saved game, in its language.
    if (!options.restoreFile.empty()) {
        error = window.gameFiles().restore(options.restoreFile);
        if (!error.empty())
            return refuse(error);
    }
    if (!options.walkthroughFile.empty()) {
        std::optional<std::vector<Text>> lines = WalkthroughFile::read(options.walkthroughFile, &error);
        if (!lines)
            return refuse(error);
        window.typeLines(std::move(*lines));
    }
    window.show();
    const int status = app->exec();
    if (options.saveFile.empty())
        return status;
    // The game as it stands when the window closes, as the terminal saves
    // it when its input ends; a game stopped by a fault, which was said,
    // saves nothing.
    const Game::State state = window.currentGame().state();
    if (state == Game::State::Stopped)
        return 1;
    if (state == Game::State::Starting || state == Game::State::ChoosingLanguage) {
        return refuse("The game was not saved to " + text::inQuotes(options.saveFile)
                      + ": no language was chosen, so it had not begun.");
    }
    error = window.gameFiles().save(options.saveFile);
    return error.empty() ? status : refuse(error);
}
