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
    std::string_view rest(*bytes);
    while (!rest.empty()) {
        const std::size_t end = rest.find('\n');
        std::string_view line = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        lines.push_back(TextCodec::decodeUtf8Lossy(line));
    }
    return lines;
}
