// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

#include <string>

class Platform;

// What the studio finds among the files shipped with the programs, beside it
// or in the installed data folder, seen from where the desktop says the studio
// lies. The finding itself is DataFolder's, as for every program.
class ShippedFiles
{
public:
    explicit ShippedFiles(const Platform &platform);

    // A shipped file, by its name among the data files; empty when missing.
    QString file(const QString &name) const;
    // The language file the player takes; empty when missing.
    QString language() const;
    // A location picture, by its file name; empty when missing.
    QString picture(const QString &name) const;
    // Another of the programs, which lie beside the studio.
    QString program(const QString &name) const;
    // The author's guide's start page; empty when missing.
    QString guide() const;

private:
    std::string folder() const;

    const Platform &platform;
};
