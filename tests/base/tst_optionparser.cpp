// SPDX-License-Identifier: MIT
#include "optionparser.h"

#include <QStringList>
#include <QTest>

#include <charconv>

namespace {

using Style = OptionParser::Style;

// A program with one option of each kind, and what a command line made of it.
struct Program
{
    explicit Program(Style style, bool atOnce = false)
        : parser("prog", style)
    {
        parser.flag("--tty", "play in the terminal", tty);
        parser.option({"--language"}, "FILE", "the languages", "the name of a language file", language);
        parser.option({"-o", "--output"}, "FILE", "the page to write", "a file name", [this](const std::string &file) {
            output = file;
            return !file.empty();
        });
        parser.option({"--number"}, "N", "a number", "a number, 1 to 30", [this](const std::string &text) {
            const auto [end, fault] = std::from_chars(text.data(), text.data() + text.size(), number);
            return fault == std::errc() && end == text.data() + text.size() && number >= 1 && number <= 30;
        });
        if (atOnce)
            parser.answerHelpAtOnce();
    }
    // What was read, or what is wrong.
    QString read(const QStringList &arguments)
    {
        std::vector<std::string> given;
        for (const QString &argument : arguments)
            given.push_back(argument.toStdString());
        if (!parser.parse(given))
            return QString::fromStdString(parser.error());
        QStringList operands;
        for (const std::string &operand : parser.operands())
            operands << QString::fromStdString(operand);
        return QStringLiteral("tty=%1 language=%2 output=%3 number=%4 help=%5 version=%6 [%7]")
            .arg(tty)
            .arg(QString::fromStdString(language), QString::fromStdString(output))
            .arg(number)
            .arg(parser.helpAsked())
            .arg(parser.versionAsked())
            .arg(operands.join(QLatin1Char('|')));
    }
    bool tty = false;
    std::string language;
    std::string output;
    int number = 0;
    OptionParser parser;
};

} // namespace

class TestOptionParser : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void parse_data();
    void parse();
    void helpText();
};

void TestOptionParser::parse_data()
{
    QTest::addColumn<int>("style");
    QTest::addColumn<bool>("atOnce");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("read");

    const int first = int(Style::OptionsFirst);
    const int mixed = int(Style::Mixed);
    const QString none = QStringLiteral("tty=0 language= output= number=0 help=0 version=0 ");
    auto fault = [](const QString &complaint) { return "prog: " + complaint + " Try \"prog --help\"."; };

    QTest::newRow("nothing") << mixed << false << QStringList{} << none + "[]";
    QTest::newRow("a flag and an operand") << mixed << false << QStringList{"--tty", "a.qw"}
                                           << "tty=1 language= output= number=0 help=0 version=0 [a.qw]";
    QTest::newRow("mixed: options after operands") << mixed << false << QStringList{"a.qw", "--tty", "b.qw"}
                                                   << "tty=1 language= output= number=0 help=0 version=0 [a.qw|b.qw]";
    QTest::newRow("options first: an operand ends them") << first << false << QStringList{"a.qw", "--tty"}
                                                         << none + "[a.qw|--tty]";
    QTest::newRow("-- ends them") << mixed << false << QStringList{"--", "--tty", "-"} << none + "[--tty|-]";
    QTest::newRow("value after the option") << mixed << false << QStringList{"--language", "--tty"}
                                            << "tty=0 language=--tty output= number=0 help=0 version=0 []";
    QTest::newRow("value after =") << mixed << false << QStringList{"--language=de.txt"}
                                   << "tty=0 language=de.txt output= number=0 help=0 version=0 []";
    QTest::newRow("an empty value kept") << first << false << QStringList{"--language=", "a.qw"} << none + "[a.qw]";
    QTest::newRow("a short name") << mixed << false << QStringList{"-o", "p.html"}
                                  << "tty=0 language= output=p.html number=0 help=0 version=0 []";
    QTest::newRow("a long name after a short one") << mixed << false << QStringList{"--output=p.html"}
                                                   << "tty=0 language= output=p.html number=0 help=0 version=0 []";
    QTest::newRow("a number") << mixed << false << QStringList{"--number", "30"}
                              << "tty=0 language= output= number=30 help=0 version=0 []";
    QTest::newRow("help and version") << first << false << QStringList{"--version", "--help"}
                                      << "tty=0 language= output= number=0 help=1 version=1 []";
    QTest::newRow("help at once") << mixed << true << QStringList{"--help", "--bogus", "--version"}
                                  << "tty=0 language= output= number=0 help=1 version=0 []";
    QTest::newRow("a lone - names a file") << mixed << false << QStringList{"-"} << none + "[-]";
    QTest::newRow("an empty argument names a file") << first << false << QStringList{"", "--tty"} << none + "[|--tty]";

    QTest::newRow("unknown option") << mixed << false << QStringList{"--bogus", "--language"}
                                    << fault("unknown option \"--bogus\".");
    QTest::newRow("options first: a lone - is an option") << first << false << QStringList{"-"}
                                                          << fault("unknown option \"-\".");
    QTest::newRow("help read on") << mixed << false << QStringList{"--help", "--bogus"}
                                  << fault("unknown option \"--bogus\".");
    QTest::newRow("a flag given a value") << mixed << false << QStringList{"--tty=1"}
                                          << fault("unknown option \"--tty=1\".");
    QTest::newRow("a short name takes no =") << mixed << false << QStringList{"-o=p.html"}
                                             << fault("unknown option \"-o=p.html\".");
    QTest::newRow("a value missing") << mixed << false << QStringList{"--tty", "--language"}
                                     << fault("--language needs the name of a language file.");
    QTest::newRow("a value refused, named as typed") << mixed << false << QStringList{"a.qw", "-o", ""}
                                                     << fault("-o needs a file name.");
    QTest::newRow("an empty value refused") << mixed << false << QStringList{"--output="}
                                            << fault("--output needs a file name.");
    QTest::newRow("a number out of range") << mixed << false << QStringList{"--number", "31"}
                                           << fault("--number needs a number, 1 to 30.");
    QTest::newRow("a number missing") << mixed << false << QStringList{"--number="}
                                      << fault("--number needs a number, 1 to 30.");
}

void TestOptionParser::parse()
{
    QFETCH(int, style);
    QFETCH(bool, atOnce);
    QFETCH(QStringList, arguments);
    QFETCH(QString, read);
    Program program(Style(style), atOnce);
    QCOMPARE(program.read(arguments), read);
}

// The list of options lines up after the widest names and wraps within 79
// columns, as help2man reads it.
void TestOptionParser::helpText()
{
    Program program(Style::Mixed);
    program.parser.option({"--walkthrough"}, "FILE",
                          "type the lines of FILE first, one command a line, as if the user typed them; the window "
                          "types one about every half second",
                          "the name of a file of commands", program.language);
    QCOMPARE(QString::fromStdString(program.parser.helpText("Usage: prog [OPTIONS] [--] LEVEL\nDoes it.\n",
                                                            "Exit status: 0.\n")),
             QStringLiteral("Usage: prog [OPTIONS] [--] LEVEL\n"
                            "Does it.\n"
                            "\n"
                            "Options:\n"
                            "  --tty               play in the terminal\n"
                            "  --language FILE     the languages\n"
                            "  -o, --output FILE   the page to write\n"
                            "  --number N          a number\n"
                            "  --walkthrough FILE  type the lines of FILE first, one command a line, as if\n"
                            "                      the user typed them; the window types one about every\n"
                            "                      half second\n"
                            "  --help              show this help and exit\n"
                            "  --version           show the version and exit\n"
                            "  --                  end of the options: what follows names the level\n"
                            "\n"
                            "Exit status: 0.\n"));
}

QTEST_GUILESS_MAIN(TestOptionParser)
#include "tst_optionparser.moc"
