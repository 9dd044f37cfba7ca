// SPDX-License-Identifier: MIT
#pragma once

#include <QApplication>

#include <memory>

// Opens the window system for a desktop program. Where there is no display to
// draw on, Qt would abort with a core dump and advise reinstalling; instead
// the program says why in one line on standard error and exits with status 1.
class WindowSystem
{
public:
    // program: the name the line begins with; hint: a sentence that follows
    // the reason (may be empty). argc lives as long as the application.
    static std::unique_ptr<QApplication> open(int &argc, char **argv, const char *program, const char *hint = "");
};
