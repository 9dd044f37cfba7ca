// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QString>

#include <array>

// The languages of a language file: for each its name and its 27 messages,
// every one the whole line as read. A line "[Name]" opens a language and the
// 27 lines after it are its messages; other lines between languages are
// comments. Each entry keeps its line number so faults can point at it.
class LanguageTable
{
public:
    static constexpr int MaxLanguages = 30;
    static constexpr int MessageCount = 27;

    // Both throw GameError for a file that cannot be used; fileName only
    // names the file in error messages.
    static LanguageTable read(const QByteArray &bytes, const QString &fileName);
    static LanguageTable readFile(const QString &path);

    int count() const { return languages; }
    // language is 1 to count(), message 1 to 27.
    const QString &name(int language) const { return langtable[language - 1][0]; }
    const QString &message(int language, int message) const { return langtable[language - 1][message]; }
    int line(int language, int message) const { return lines[language - 1][message]; }
    const QString &fileName() const { return file; }

    // "[1] English", CR LF, "[2] Deutsch", CR LF, ...
    QString menu() const;

private:
    // Row per language: column 0 the name, columns 1 to 27 the messages.
    std::array<std::array<QString, MessageCount + 1>, MaxLanguages> langtable;
    std::array<std::array<int, MessageCount + 1>, MaxLanguages> lines{};
    int languages = 0;
    QString file;
};
