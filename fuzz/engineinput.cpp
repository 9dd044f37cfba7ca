// SPDX-License-Identifier: MIT
#include "engineinput.h"

#include <cstdio>

EngineInput EngineInput::decode(std::string_view input)
{
    std::vector<std::string_view> parts;
    for (;;) {
        const std::size_t at = input.find(Separator);
        if (at == std::string_view::npos) {
            parts.push_back(input);
            break;
        }
        parts.push_back(input.substr(0, at + 1));
        input.remove_prefix(at + Separator.size());
    }
    auto part = [&parts](std::size_t n) {
        return n < parts.size() ? std::optional<std::string>(parts[n]) : std::nullopt;
    };

    EngineInput decoded;
    decoded.files = {{"a.qw", part(0)}, {"Language.txt", part(1)}, {"b.qw", part(3)}, {"c.qw", part(4)}};
    if (parts.size() > 2) {
        std::string_view script = parts[2];
        while (!script.empty() && decoded.lines.size() < MaxLines) {
            const std::size_t end = script.find('\n');
            std::string_view line = script.substr(0, end);
            script.remove_prefix(end == std::string_view::npos ? script.size() : end + 1);
            if (!line.empty() && line.back() == '\r')
                line.remove_suffix(1);
            decoded.lines.push_back(text::fromUtf8(line));
        }
    }
    return decoded;
}

void EngineInput::writeFiles(const std::string &folder) const
{
    for (const File &file : files) {
        const std::string path = folder + '/' + file.name;
        if (!file.bytes) {
            std::remove(path.c_str());
            continue;
        }
        if (std::FILE *out = std::fopen(path.c_str(), "wb")) {
            std::fwrite(file.bytes->data(), 1, file.bytes->size(), out);
            std::fclose(out);
        }
    }
}
