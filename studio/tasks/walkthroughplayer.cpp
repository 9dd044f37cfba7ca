// SPDX-License-Identifier: MIT
#include "walkthroughplayer.h"

#include "checkleveldialog.h"
#include "filebytes.h"
#include "gameerror.h"
#include "languagetable.h"
#include "leveldocument.h"
#include "levelsaver.h"
#include "platform.h"
#include "playerlauncher.h"

#include <QFile>

WalkthroughPlayer::WalkthroughPlayer(LevelDocument &document, Platform &platform, LevelSaver &saver,
                                     PlayerLauncher &player)
    : document(document)
    , platform(platform)
    , saver(saver)
    , player(player)
{
}

void WalkthroughPlayer::play(CheckLevelDialog &checker)
{
    const std::optional<CheckReport> &report = checker.report();
    if (!report || !report->failure.empty() || report->winnable != true || !playable(checker))
        return;
    type(checker, report->walkthrough);
}

void WalkthroughPlayer::playInto(CheckLevelDialog &checker, int deadEnd)
{
    const std::optional<CheckReport> &report = checker.report();
    if (!report || deadEnd < 0 || std::size_t(deadEnd) >= report->deadEnds.size() || !playable(checker))
        return;
    type(checker, report->deadEnds[std::size_t(deadEnd)].walkthrough);
}

void WalkthroughPlayer::type(CheckLevelDialog &checker, const std::vector<std::string> &commands)
{
    QStringList lines;
    // With several languages the player first asks for one: the check played
    // the first.
    try {
        if (LanguageTable::readFile(QFile::encodeName(checker.checkedLanguage()).toStdString()).count() > 1)
            lines << QStringLiteral("1");
    } catch (const GameError &) {
        // The player says itself what is wrong with its language file.
    }
    for (const std::string &command : commands)
        lines << QString::fromStdString(command);
    player.playTyping(&checker, document.levelfile, lines);
}

bool WalkthroughPlayer::playable(CheckLevelDialog &checker)
{
    // The walkthrough wins the level as it was checked, and the player plays
    // the file: both must still be that level.
    if (document.bytesToSave() != checker.checkedBytes() || document.levelfile != checker.checkedPath()) {
        platform.inform(&checker, QStringLiteral("The level has changed since it was checked, so the walkthrough "
                                                 "may no longer win it. Press \"Check Again\", then play the "
                                                 "walkthrough."));
        return false;
    }
    if (FileBytes::read(QFile::encodeName(document.levelfile).toStdString(), nullptr) == checker.checkedBytes())
        return true;
    return platform.ask(&checker, QStringLiteral("The player plays the level file, which does not hold the level "
                                                 "as checked yet. Save the level now and play the walkthrough?"))
        && saver.saveWithWarnings(&checker);
}
