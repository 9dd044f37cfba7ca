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

    // A file that may be missing, seen from a program lying in folder rather
    // than from the running one (a window program asks its desktop where it
    // lies). Once installed, the file lies in the data folder's installedUnder
    // folder when one is given: the location pictures have a folder of their
    // own there, and lie beside the program in the build.
    static std::string existingFile(const std::string &name, const std::string &folder,
                                    const std::string &installedUnder = {});
    // Another of the programs, seen from a program lying in folder: the
    // programs lie together, in the build and once installed.
    static std::string program(const std::string &name, const std::string &folder);
    // The author's guide's start page, seen from a program lying in folder:
    // built beside the programs, else installed with the package's documents;
    // empty when neither holds it.
    static std::string guidePage(const std::string &folder);
};
