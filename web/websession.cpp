// SPDX-License-Identifier: MIT
#include "websession.h"

void WebSession::start(Game::Setup setup)
{
    played = std::make_unique<Game>(shown, std::move(setup));
    played->start();
}

const char *WebSession::handOut(std::string text)
{
    said = std::move(text);
    return said.c_str();
}
