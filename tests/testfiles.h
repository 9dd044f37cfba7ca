// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QFile>
#include <QStringList>

// Level files for tests: the lines after the map section, joined with CR LF
// the way the studio writes them, and plain reading and writing of files.
class TestFiles
{
public:
    static QByteArray level(const QStringList &afterMap)
    {
        QStringList lines{QStringLiteral("[MAP]")};
        for (int row = 1; row <= 9; ++row)
            lines << QString::number(row) + QStringLiteral(" ABCDEFGHI");
        lines << QString() << afterMap;
        return (lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8();
    }

    static bool write(const QString &path, const QByteArray &bytes)
    {
        QFile file(path);
        return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
    }

    static QByteArray read(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
};
