// SPDX-License-Identifier: MIT
// The level editor: the start dialog names the level, the map window edits it.
#include "buildinfo.h"
#include "desktopidentity.h"
#include "qtplatform.h"
#include "startdialog.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quillmoor Studio"));
    QApplication::setApplicationVersion(QStringLiteral(QUILLMOOR_VERSION));
    DesktopIdentity::apply(IconArtist::Icon::Studio);

    QtPlatform platform(QStringLiteral("Quillmoor Studio"));
    StartDialog start(platform);
    // Closing the start dialog before "Continue" ends the studio; after it the
    // dialog is only hidden, and the map window's close ends the run.
    QObject::connect(&start, &QDialog::rejected, &app, &QApplication::quit);
    start.show();
    return app.exec();
}
