// SPDX-License-Identifier: MIT
#include "desktopidentity.h"

#include <QDirIterator>
#include <QGuiApplication>
#include <QIcon>

void DesktopIdentity::apply(IconArtist::Icon program)
{
    const QString name = IconArtist::name(program);
    QGuiApplication::setDesktopFileName(name);
    // The built-in icons serve the build folder and any prefix the desktop's
    // icon theme does not look into.
    QIcon builtIn;
    QDirIterator sizes(QStringLiteral(":/icons"), {name + QStringLiteral(".png")}, QDir::Files,
                       QDirIterator::Subdirectories);
    while (sizes.hasNext())
        builtIn.addFile(sizes.next());
    QGuiApplication::setWindowIcon(QIcon::fromTheme(name, builtIn));
}
