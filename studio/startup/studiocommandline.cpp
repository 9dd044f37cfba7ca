// SPDX-License-Identifier: MIT
#include "studiocommandline.h"

#include "optionparser.h"

namespace {

const char Usage[] = "Usage: studio [OPTIONS] [--] [LEVEL]\n"
                     "Edits the level file LEVEL (a .qw file): an existing file is opened, a\n"
                     "name that does not exist yet starts a new level, written on the first\n"
                     "save. Without LEVEL the start dialog asks for one.\n";

OptionParser parser()
{
    return OptionParser("studio", OptionParser::Style::Mixed);
}

} // namespace

StudioCommandLine StudioCommandLine::parse(const std::vector<std::string> &arguments)
{
    StudioCommandLine result;
    OptionParser options = parser();
    if (!options.parse(arguments)) {
        result.error = options.error();
        return result;
    }
    result.help = options.helpAsked();
    result.version = options.versionAsked();
    // A file manager hands over one file; the studio edits one level a run.
    if (options.operands().size() > 1) {
        result.error = options.failure("name one level file only.");
        return result;
    }
    if (!options.operands().empty())
        result.level = options.operands().front();
    return result;
}

std::string StudioCommandLine::usage()
{
    return parser().helpText(Usage, {});
}
