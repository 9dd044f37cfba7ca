// SPDX-License-Identifier: MIT
// The level editor: the start dialog names the level, the map window edits it.
#include "buildinfo.h"
#include "desktopidentity.h"
#include "qtplatform.h"
#include "startdialog.h"
#include "studiocommandline.h"
#include "windowsystem.h"

#include <QApplication>
#include <QFile>

#include <cstdio>

int main(int argc, char *argv[])
{
    const StudioCommandLine options = StudioCommandLine::parse({argv + 1, argv + argc});
    if (!options.error.empty()) {
        std::fprintf(stderr, "%s\n", options.error.c_str());
        return 1;
    }
    if (options.help) {
        std::fputs(StudioCommandLine::usage().c_str(), stdout);
        return 0;
    }
    if (options.version) {
        std::fputs("studio " QUILLMOOR_VERSION "\n", stdout);
        return 0;
    }

    const std::unique_ptr<QApplication> app = WindowSystem::open(argc, argv, "studio");
    QApplication::setApplicationName(QStringLiteral("Quillmoor Studio"));
    QApplication::setApplicationVersion(QStringLiteral(QUILLMOOR_VERSION));
    DesktopIdentity::apply(IconArtist::Icon::Studio);

    QtPlatform platform(QStringLiteral("Quillmoor Studio"));
    StartDialog start(platform);
    // Closing the start dialog before "Continue" ends the studio; after it the
    // dialog is only hidden, and the map window's close ends the run.
    QObject::connect(&start, &QDialog::rejected, app.get(), &QApplication::quit);
    // A level named on the command line opens at once; one that cannot be
    // opened leaves its name in the start dialog, with the reason told.
    if (options.level.empty() || !start.openFromCommandLine(QFile::decodeName(options.level.c_str())))
        start.show();
    return app->exec();
}
