// SPDX-License-Identifier: MIT
#include "commandline.h"
#include "playerwindow.h"
#include "qtplatform.h"
#include "terminalhost.h"

#include <QApplication>
#include <QCoreApplication>

#include <cstdio>

namespace {

const QString Title = QStringLiteral("Quillmoor Player");

Game::Setup setupFor(const CommandLine &options, const Platform &platform)
{
    return {options.level, platform.dataFile(QStringLiteral("QUILLMOOR.qw")),
            options.languageFile.isEmpty() ? platform.dataFile(QStringLiteral("Language.txt")) : options.languageFile};
}

bool displayAvailable()
{
    // The offscreen and minimal platforms draw nowhere a person could see.
    const QString platform = qEnvironmentVariable("QT_QPA_PLATFORM");
    if (platform.startsWith(QLatin1String("offscreen")) || platform.startsWith(QLatin1String("minimal")))
        return false;
    return !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")
        || !platform.isEmpty();
}

} // namespace

int main(int argc, char *argv[])
{
    // Read before any application object exists: the terminal needs no display.
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    const CommandLine options = CommandLine::parse(arguments);
    if (!options.error.isEmpty()) {
        std::fputs(qPrintable(options.error + u'\n'), stderr);
        return 1;
    }
    if (options.help) {
        std::fputs(qPrintable(CommandLine::usage()), stdout);
        return 0;
    }
    if (options.version) {
        std::fputs("quillmoorplayer " QUILLMOOR_VERSION "\n", stdout);
        return 0;
    }

    if (options.tty || !displayAvailable()) {
        QCoreApplication app(argc, argv);
        const QtPlatform platform(Title);
        TerminalHost terminal;
        return terminal.play(setupFor(options, platform));
    }

    QApplication app(argc, argv);
    QtPlatform platform(Title);
    PlayerWindow window(platform, setupFor(options, platform));
    window.show();
    return app.exec();
}
