// SPDX-License-Identifier: MIT
#include "playerlauncher.h"

#include "platform.h"

#include <QSaveFile>
#include <QTemporaryDir>

namespace {

const QString PlayerProgram = QStringLiteral("quillmoorplayer");

} // namespace

PlayerLauncher::PlayerLauncher(Platform &platform)
    : platform(platform)
    , files(platform)
{
}

PlayerLauncher::~PlayerLauncher() = default;

void PlayerLauncher::test(QWidget *parent, const QString &level)
{
    QString error;
    if (!platform.startProgram(files.program(PlayerProgram), {QStringLiteral("--"), level}, &error)) {
        platform.inform(parent, QStringLiteral("The level is saved, but the game player could not be started "
                                               "to test it.\n%1")
                                    .arg(error));
    }
}

void PlayerLauncher::playTyping(QWidget *parent, const QString &level, const QStringList &lines)
{
    const QString file = walkthroughFile(parent, lines);
    if (file.isEmpty())
        return;
    QString error;
    if (!platform.startProgram(files.program(PlayerProgram),
                               {QStringLiteral("--walkthrough"), file, QStringLiteral("--"), level}, &error)) {
        platform.inform(parent, QStringLiteral("The game player could not be started to play the walkthrough.\n%1")
                                    .arg(error));
    }
}

QString PlayerLauncher::walkthroughFile(QWidget *parent, const QStringList &lines)
{
    // The player reads the file as it starts, which may be after this
    // returns; each play keeps its own file until the studio ends.
    if (!walkthroughs)
        walkthroughs = std::make_unique<QTemporaryDir>();
    QString why = walkthroughs->errorString();
    if (walkthroughs->isValid()) {
        const QString path = walkthroughs->filePath(QStringLiteral("walkthrough-%1.txt").arg(++walkthroughCount));
        QSaveFile file(path);
        const QByteArray text = lines.isEmpty() ? QByteArray() : (lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8();
        if (file.open(QIODevice::WriteOnly) && file.write(text) == text.size() && file.commit())
            return path;
        why = file.errorString();
    }
    platform.inform(parent, QStringLiteral("The walkthrough could not be written for the player: %1.").arg(why));
    return QString();
}
