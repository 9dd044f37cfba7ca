// SPDX-License-Identifier: MIT
#include "playerlauncher.h"

#include "gameerror.h"
#include "languagetable.h"
#include "platform.h"
#include "savedgame.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryDir>

namespace {

const QString PlayerProgram = QStringLiteral("quillmoorplayer");
const QString LanguageName = QStringLiteral("Language.txt");
const QString FromHereFailed = QStringLiteral("The game player could not be started to play from here.\n%1");

std::string local(const QString &path)
{
    return QFile::encodeName(path).toStdString();
}

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

std::optional<QStringList> PlayerLauncher::languages(QWidget *parent)
{
    const QString languageFile = files.language();
    QString why = QStringLiteral("Its language file %1 is missing.").arg(LanguageName);
    if (!languageFile.isEmpty()) {
        try {
            const LanguageTable table = LanguageTable::readFile(local(languageFile));
            QStringList names;
            for (int language = 1; language <= table.count(); ++language)
                names << QString::fromStdU32String(table.name(language));
            return names;
        } catch (const GameError &error) {
            why = QString::fromStdString(error.description);
        }
    }
    platform.inform(parent, FromHereFailed.arg(why));
    return std::nullopt;
}

void PlayerLauncher::playFrom(QWidget *parent, const QString &level, GridRef at, std::uint32_t carried, int language)
{
    // The level by its whole path, so the player finds it from any folder,
    // and the very language file whose digest the game holds.
    const QString languageFile = files.language();
    QString why = QStringLiteral("Its language file %1 is missing.").arg(LanguageName);
    QString file;
    if (!languageFile.isEmpty()) {
        std::string error;
        std::optional<SavedGame> game = SavedGame::startingAt(local(QFileInfo(level).absoluteFilePath()), at, carried,
                                                              local(languageFile), &error);
        if (game) {
            game->languageNumber = language;
            file = newFile(QStringLiteral("from-%1").arg(QString::fromStdString(at.name())),
                           QString::fromUtf8(SavedGame::Extension), &why);
            if (!file.isEmpty() && !game->writeFile(local(file), &error))
                file.clear();
        }
        if (file.isEmpty() && !error.empty())
            why = QString::fromStdString(error);
    }
    if (file.isEmpty()) {
        platform.inform(parent, FromHereFailed.arg(why));
        return;
    }
    QString error;
    const QStringList arguments{QStringLiteral("--language"), languageFile, QStringLiteral("--restore"), file};
    if (!platform.startProgram(files.program(PlayerProgram), arguments, &error)) {
        platform.inform(parent, FromHereFailed.arg(error));
    }
}

QString PlayerLauncher::newFile(const QString &kind, const QString &suffix, QString *why)
{
    if (!folder)
        folder = std::make_unique<QTemporaryDir>();
    if (!folder->isValid()) {
        *why = folder->errorString();
        return QString();
    }
    return folder->filePath(QStringLiteral("%1-%2%3").arg(kind).arg(++fileCount).arg(suffix));
}

QString PlayerLauncher::walkthroughFile(QWidget *parent, const QStringList &lines)
{
    // Each play keeps its own file until the studio ends.
    QString why;
    const QString path = newFile(QStringLiteral("walkthrough"), QStringLiteral(".txt"), &why);
    if (!path.isEmpty()) {
        QSaveFile file(path);
        const QByteArray text = lines.isEmpty() ? QByteArray() : (lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8();
        if (file.open(QIODevice::WriteOnly) && file.write(text) == text.size() && file.commit())
            return path;
        why = file.errorString();
    }
    platform.inform(parent, QStringLiteral("The walkthrough could not be written for the player: %1.").arg(why));
    return QString();
}
