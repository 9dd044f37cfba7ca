// SPDX-License-Identifier: MIT
#include "platform.h"

#include <QDir>
#include <QFileInfo>

QString Platform::dataFile(const QString &name) const
{
    const QDir folder(programFolder());
    const QString beside = folder.filePath(name);
    if (QFileInfo::exists(beside))
        return beside;
    const QString installed = QDir::cleanPath(folder.filePath(QStringLiteral("../share/quillmoor/") + name));
    return QFileInfo::exists(installed) ? installed : beside;
}
