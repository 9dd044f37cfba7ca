// SPDX-License-Identifier: MIT
#include "webconsole.h"

#include "textcodec.h"

void WebConsole::append(TextView text)
{
    // The game writes a turn in many small pieces; the page adds each run of
    // them as one piece of text, which a screen reader reads as one.
    if (list.empty() || list.back().kind != Kind::Append)
        list.push_back({Kind::Append, {}});
    std::string &out = list.back().text;
    TextCodec::appendUtf8Lines(out, text);
}

void WebConsole::clear()
{
    // What was written before a clear is never seen.
    while (!list.empty() && list.back().kind == Kind::Append)
        list.pop_back();
    list.push_back({Kind::Clear, {}});
}

void WebConsole::prependLineBreak()
{
    list.push_back({Kind::PrependLineBreak, {}});
}

void WebConsole::inform(const std::string &text)
{
    // A message box shows a line break where the text has CR LF.
    list.push_back({Kind::Inform, text::plainLineEnds(text)});
}
