// SPDX-License-Identifier: MIT
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

// Reads a program's command line, the one way every program here does: long
// options ("--tty"), an option's value after it or after "=" ("--language
// FILE", "--language=FILE"), a short name taking its value after it ("-o
// FILE"), "--" ending the options, and the rest as operands (the files named).
// --help and --version come with every program. Each option is declared once,
// with its help, from which the help text's list of options is made. What is
// wrong is said in one line naming the program and pointing at its --help.
class OptionParser
{
public:
    enum class Style {
        // Options come first: the first operand ends them, and every
        // argument before it that starts with "-" is an option ("-" too).
        OptionsFirst,
        // Options and operands mix; "-" and an empty argument are operands.
        Mixed,
    };
    // Takes an option's value; false when the value will not do.
    using Take = std::function<bool(const std::string &value)>;

    OptionParser(std::string program, Style style);

    // An option without a value, set when given.
    void flag(const std::string &name, const std::string &help, bool &given);
    // An option with a value. names: the long name, with its short one first
    // when there is one ("-o", "--output"); value: what the help calls the
    // value ("FILE"); needs: what the option needs, said when its value is
    // missing or not taken ("the name of a language file").
    void option(const std::vector<std::string> &names, const std::string &value, const std::string &help,
                const std::string &needs, Take take);
    // The same, keeping any value as it is, empty too.
    void option(const std::vector<std::string> &names, const std::string &value, const std::string &help,
                const std::string &needs, std::string &into);
    // --help and --version are answered where they stand: nothing after them
    // is read, so nothing after them is wrong.
    void answerHelpAtOnce() { helpAtOnce = true; }

    // False when something is wrong: error() says what.
    bool parse(const std::vector<std::string> &arguments);
    bool helpAsked() const { return help; }
    bool versionAsked() const { return version; }
    const std::vector<std::string> &operands() const { return rest; }
    const std::string &error() const { return problem; }

    // A complaint about the command line, as the program makes it.
    std::string failure(const std::string &complaint) const;
    // The help: the usage lines and what the program does, the options with
    // what each does, then the closing paragraphs (empty: none). Every part
    // ends with a line end.
    std::string helpText(const std::string &usage, const std::string &epilogue) const;

private:
    struct Option
    {
        std::vector<std::string> names;
        std::string value; // empty for a flag
        std::string help;
        std::string needs;
        Take take;
    };

    // The option the argument names, with the value it carries after "=".
    const Option *find(const std::string &argument, std::string &name, std::optional<std::string> &attached) const;
    bool isOption(const std::string &argument) const;
    bool fail(const std::string &complaint);

    std::string program;
    Style style;
    std::vector<Option> options;
    bool helpAtOnce = false;
    bool help = false;
    bool version = false;
    std::vector<std::string> rest;
    std::string problem;
};
