// SPDX-License-Identifier: MIT
// Says where a program finds the shipped files from the folder it lies in:
// one line for each name given (empty when missing), then the window helper.
// The install test copies it beside the installed programs and helpers.
#include "datafolder.h"

#include <cstdio>

int main(int argc, char *argv[])
{
    for (int i = 1; i < argc; ++i)
        std::printf("%s\n", DataFolder::existingFile(argv[i]).c_str());
    std::printf("%s\n", DataFolder::helperProgram("quillmoorplayer-window").c_str());
    return 0;
}
