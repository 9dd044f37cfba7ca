// SPDX-License-Identifier: MIT
#pragma once

#include <string>

// Where the programs find what is shipped with them: beside the program, as
// in the build folder, or in the installed data folder (share/quillmoor
// beside the programs' bin folder, whatever the prefix), which the helpers in
// libexec/quillmoor find as well.
class DataFolder
{
public:
    // The folder that holds the running program.
    static std::string programFolder();
    // A shipped file: the first of the two places that holds it, or the path
    // beside the program when neither does.
    static std::string file(const std::string &name);
    // The same for a file that may be missing: empty when neither holds it.
    static std::string existingFile(const std::string &name);
    // A helper program: beside the program or in the installed libexec folder.
    static std::string helperProgram(const std::string &name);
};
