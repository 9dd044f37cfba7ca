// SPDX-License-Identifier: MIT
#pragma once

#include "level.h"

#include <QByteArray>
#include <QString>

// Reads a level file by the rules both programs share. A file that breaks the
// format stops the reading at the fault; what was read before it is kept, and
// the error names the file, the line and the problem.
class LevelReader
{
public:
    struct Result
    {
        Level level;
        QString error; // empty when the whole file was read
        int errorLine = 0; // 1-based; 0 when the fault has no line

        bool ok() const { return error.isEmpty(); }
    };

    // fileName only names the file in error messages.
    static Result read(const QByteArray &bytes, const QString &fileName);
    static Result readFile(const QString &path);
};
