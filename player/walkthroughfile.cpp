// SPDX-License-Identifier: MIT
#include "walkthroughfile.h"

#include "filebytes.h"
#include "textcodec.h"

std::optional<std::vector<Text>> WalkthroughFile::read(const std::string &path, std::string *error)
{
    std::string why;
    const std::optional<std::string> bytes = FileBytes::read(path, &why);
    if (!bytes) {
        if (error)
            *error = "Cannot open the walkthrough file \"" + path + "\": " + why + ".";
        return std::nullopt;
    }
    // Lines end in LF or CR LF, as typed lines do; a last line without its
    // end still counts, an empty file has none.
    std::vector<Text> lines;
    for (std::string_view line : TextCodec::lines(std::string_view(*bytes)))
        lines.push_back(TextCodec::decodeUtf8Lossy(line));
    return lines;
}
