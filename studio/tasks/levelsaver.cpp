// SPDX-License-Identifier: MIT
#include "levelsaver.h"

#include "filebytes.h"
#include "leveldocument.h"
#include "platform.h"

#include <QDir>
#include <QFile>

namespace {

const QString NoStartWarning
    = QStringLiteral("Warning This Level has no start position - please assign a Start room before testing.");
const QString TestQuestion = QStringLiteral("Level Data Saved. Do you want to test your game?");

} // namespace

LevelSaver::LevelSaver(LevelDocument &document, Platform &platform)
    : document(document)
    , platform(platform)
{
}

LevelDocument::SaveResult LevelSaver::write(QWidget *parent)
{
    // A file that held no level when it was opened is something else of the
    // author's: it is replaced only once the author says so. Asked before the
    // save, which rewrites the records in memory, so No leaves the edits
    // exactly as they were.
    const QString question = QStringLiteral("\"%1\" is not a Quillmoor level. Replace it?").arg(document.levelfile);
    if (document.replacesNonLevel() && !platform.askDefaultNo(parent, question))
        return {};
    const LevelDocument::SaveResult result = document.save();
    if (!result.saved)
        platform.inform(parent, result.error);
    return result;
}

bool LevelSaver::saveWithWarnings(QWidget *parent)
{
    const LevelDocument::SaveResult result = write(parent);
    // After a failed or declined save there is nothing saved to test or publish.
    if (!result.saved)
        return false;
    if (!result.hasStart)
        platform.inform(parent, NoStartWarning);
    return true;
}

bool LevelSaver::saveAndOfferTest(QWidget *parent)
{
    return saveWithWarnings(parent) && platform.ask(parent, TestQuestion);
}

bool LevelSaver::saveBeforePlaying(QWidget *parent, const QString &question)
{
    if (FileBytes::read(QFile::encodeName(document.levelfile).toStdString(), nullptr) == document.bytesToSave())
        return true;
    return platform.ask(parent, question) && write(parent).saved;
}

bool LevelSaver::mayClose(QWidget *parent)
{
    if (!document.isModified())
        return true;
    const QString level = document.levelfile.isEmpty()
                              ? QStringLiteral("this level")
                              : QStringLiteral("\"%1\"").arg(QDir::toNativeSeparators(document.levelfile));
    const QString question = QStringLiteral("The changes to %1 have not been saved.\n"
                                            "Do you want to save them before you close the studio?")
                                 .arg(level);
    switch (platform.askOrCancel(parent, question)) {
    case Platform::Answer::Cancel:
        return false;
    case Platform::Answer::Yes:
        // Closing after a failed save would lose the changes; staying lets
        // the author mend the cause and save, or close without saving.
        return write(parent).saved;
    case Platform::Answer::No:
        break;
    }
    return true;
}
