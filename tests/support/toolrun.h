// SPDX-License-Identifier: MIT
#pragma once

#include <QProcess>
#include <QStandardPaths>
#include <QStringList>

// Runs a program to its end for the tests: the installing, packaging and
// desktop tools, the installed programs, and the player the studio starts.
class ToolRun
{
public:
    int exitCode = -1; // -1: did not start, crashed or ran too long
    QByteArray out;
    QByteArray err;

    // environment: changes to this process's own; an empty value removes the variable.
    static ToolRun of(const QString &program, const QStringList &arguments,
                      const QList<std::pair<QString, QString>> &environment = {}, const QByteArray &input = {},
                      const QString &folder = {})
    {
        QProcess process;
        QProcessEnvironment changed = QProcessEnvironment::systemEnvironment();
        for (const auto &[name, value] : environment) {
            if (value.isEmpty())
                changed.remove(name);
            else
                changed.insert(name, value);
        }
        process.setProcessEnvironment(changed);
        if (!folder.isEmpty())
            process.setWorkingDirectory(folder);
        process.start(program, arguments);
        ToolRun result;
        if (!process.waitForStarted())
            return result;
        process.write(input);
        process.closeWriteChannel();
        if (!process.waitForFinished(240000))
            process.kill();
        process.waitForFinished();
        result.out = process.readAllStandardOutput();
        result.err = process.readAllStandardError();
        if (process.exitStatus() == QProcess::NormalExit)
            result.exitCode = process.exitCode();
        return result;
    }

    // What a failed run said, for a test's message.
    QByteArray said() const { return "exit " + QByteArray::number(exitCode) + ":\n" + out + err; }

    // A tool the tests need, or a message saying how to get it.
    static QString find(const QString &name, QString *missing)
    {
        const QString found = QStandardPaths::findExecutable(name);
        if (found.isEmpty() && missing)
            *missing = name + QStringLiteral(" is not installed; tools/ensure-deps package installs it.");
        return found;
    }
};
