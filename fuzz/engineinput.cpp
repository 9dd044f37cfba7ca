// SPDX-License-Identifier: MIT
#include "engineinput.h"

#include "textcodec.h"

EngineInput EngineInput::decode(std::string_view input)
{
    std::vector<std::string_view> parts;
    parts.reserve(8);
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
        return n < parts.size() ? std::optional<std::string_view>(parts[n]) : std::nullopt;
    };

    EngineInput decoded;
    decoded.files[0] = part(0);
    decoded.files[1] = part(1);
    decoded.files[2] = part(3);
    decoded.files[3] = part(4);
    if (parts.size() > 2) {
        decoded.lines = TextCodec::lines(parts[2]);
        if (decoded.lines.size() > MaxLines)
            decoded.lines.resize(MaxLines);
    }
    return decoded;
}

Game::Setup EngineInput::setup(const std::string &folder) const
{
    const std::string first = folder + '/' + std::string(FileNames[0]);
    Game::Setup setup{first, first, folder + '/' + std::string(FileNames[1])};
    for (std::size_t i : {0, 2, 3}) {
        if (files[i])
            setup.heldLevels.emplace(folder + '/' + std::string(FileNames[i]), std::string(*files[i]));
    }
    if (files[1])
        setup.heldLanguage = std::string(*files[1]);
    return setup;
}
