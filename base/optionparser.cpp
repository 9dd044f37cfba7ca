// SPDX-License-Identifier: MIT
#include "optionparser.h"

#include <algorithm>
#include <sstream>
#include <utility>

namespace {

// Lines of the help stay within a terminal of 80 columns.
constexpr std::size_t LineWidth = 79;

// The option's names as the help lists them, with its value.
std::string shown(const std::vector<std::string> &names, const std::string &value)
{
    std::string text;
    for (const std::string &name : names)
        text += (text.empty() ? "" : ", ") + name;
    return value.empty() ? text : text + ' ' + value;
}

// The words of text on lines of at most width characters.
std::vector<std::string> wrapped(const std::string &text, std::size_t width)
{
    std::vector<std::string> lines;
    std::istringstream words(text);
    std::string word;
    while (words >> word) {
        if (!lines.empty() && lines.back().size() + 1 + word.size() <= width)
            lines.back() += ' ' + word;
        else
            lines.push_back(word);
    }
    return lines;
}

// One entry of the list of options: the names, then the help from column on
// (the names always leave room for it).
std::string entry(const std::string &names, const std::string &help, std::size_t column)
{
    std::string text = "  " + names;
    const std::vector<std::string> lines = wrapped(help, LineWidth - column);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0)
            text += '\n';
        text.append(column - (i == 0 ? text.size() : 0), ' ');
        text += lines[i];
    }
    return text + '\n';
}

} // namespace

OptionParser::OptionParser(std::string program, Style style)
    : program(std::move(program))
    , style(style)
{
}

void OptionParser::flag(const std::string &name, const std::string &help, bool &given)
{
    options.push_back({{name}, {}, help, {}, [&given](const std::string &) {
                           given = true;
                           return true;
                       }});
}

void OptionParser::option(const std::vector<std::string> &names, const std::string &value, const std::string &help,
                          const std::string &needs, Take take)
{
    options.push_back({names, value, help, needs, std::move(take)});
}

void OptionParser::option(const std::vector<std::string> &names, const std::string &value, const std::string &help,
                          const std::string &needs, std::string &into)
{
    option(names, value, help, needs, [&into](const std::string &given) {
        into = given;
        return true;
    });
}

bool OptionParser::isOption(const std::string &argument) const
{
    // A lone "-" names a file by custom, except where options come first.
    if (style == Style::OptionsFirst)
        return !argument.empty() && argument[0] == '-';
    return argument.size() > 1 && argument[0] == '-';
}

const OptionParser::Option *OptionParser::find(const std::string &argument, std::string &name,
                                               std::optional<std::string> &attached) const
{
    for (const Option &option : options) {
        for (const std::string &candidate : option.names) {
            if (argument == candidate) {
                name = candidate;
                return &option;
            }
            // Only a long option with a value takes it after "=".
            if (!option.value.empty() && candidate.starts_with("--") && argument.starts_with(candidate + '=')) {
                name = candidate;
                attached = argument.substr(candidate.size() + 1);
                return &option;
            }
        }
    }
    return nullptr;
}

bool OptionParser::parse(const std::vector<std::string> &arguments)
{
    help = false;
    version = false;
    rest.clear();
    problem.clear();
    bool inOptions = true;
    for (std::size_t at = 0; at < arguments.size(); ++at) {
        const std::string &argument = arguments[at];
        if (!inOptions || !isOption(argument)) {
            rest.push_back(argument);
            if (style == Style::OptionsFirst)
                inOptions = false;
            continue;
        }
        if (argument == "--") {
            inOptions = false;
            continue;
        }
        if (argument == "--help" || argument == "--version") {
            (argument == "--help" ? help : version) = true;
            if (helpAtOnce)
                return true;
            continue;
        }
        std::string name;
        std::optional<std::string> attached;
        const Option *option = find(argument, name, attached);
        if (!option)
            return fail("unknown option \"" + argument + "\".");
        if (option->value.empty()) {
            option->take({});
            continue;
        }
        const bool missing = !attached && at + 1 == arguments.size();
        if (missing || !option->take(attached ? *attached : arguments[++at]))
            return fail(name + " needs " + option->needs + ".");
    }
    return true;
}

bool OptionParser::fail(const std::string &complaint)
{
    problem = failure(complaint);
    return false;
}

std::string OptionParser::failure(const std::string &complaint) const
{
    return program + ": " + complaint + " Try \"" + program + " --help\".";
}

std::string OptionParser::helpText(const std::string &usage, const std::string &epilogue) const
{
    std::vector<std::pair<std::string, std::string>> listed;
    for (const Option &option : options)
        listed.emplace_back(shown(option.names, option.value), option.help);
    listed.emplace_back("--help", "show this help and exit");
    listed.emplace_back("--version", "show the version and exit");
    listed.emplace_back("--", "end of the options: what follows names the level");
    std::size_t widest = 0;
    for (const auto &[names, help] : listed)
        widest = std::max(widest, names.size());

    std::string text = usage + "\nOptions:\n";
    for (const auto &[names, help] : listed)
        text += entry(names, help, 2 + widest + 2);
    return epilogue.empty() ? text : text + '\n' + epilogue;
}
