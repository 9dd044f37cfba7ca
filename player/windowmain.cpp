// SPDX-License-Identifier: MIT
// The player in its window; quillmoorplayer starts it when there is a display.
#include "buildinfo.h"
#include "commandline.h"
#include "datafolder.h"
#include "desktopidentity.h"
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
    if (!options.restoreFile.empty() || !options.saveFile.empty()) {
        std::fprintf(stderr, "quillmoorplayer: the window saves and restores no game yet; --tty plays in the terminal, "
                             "which does.\n");
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
    if (!options.walkthroughFile.empty()) {
        std::string error;
        std::optional<std::vector<Text>> lines = WalkthroughFile::read(options.walkthroughFile, &error);
        if (!lines) {
            // Started from the studio, the player has no terminal to say it in.
            std::fprintf(stderr, "%s\n", error.c_str());
            platform.inform(nullptr, QString::fromStdString(error));
            return 1;
        }
        window.typeLines(std::move(*lines));
    }
    window.show();
    return app->exec();
}
