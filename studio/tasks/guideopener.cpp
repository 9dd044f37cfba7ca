// SPDX-License-Identifier: MIT
#include "guideopener.h"

#include "platform.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>

GuideOpener::GuideOpener(Platform &platform)
    : platform(platform)
    , files(platform)
{
}

void GuideOpener::open(QWidget *parent)
{
    const QString page = files.guide();
    if (page.isEmpty()) {
        platform.inform(parent, QStringLiteral("The author's guide is not installed with the studio. From the "
                                               "Quillmoor source folder, \"./run guide\" builds it."));
        return;
    }
    if (!platform.openUrl(QUrl::fromLocalFile(QFileInfo(page).absoluteFilePath())))
        platform.inform(parent, QStringLiteral("No web browser could be started to show the author's guide. Open "
                                               "\"%1\" in any browser.")
                                    .arg(QDir::toNativeSeparators(page)));
}
