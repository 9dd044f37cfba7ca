// SPDX-License-Identifier: MIT
#include "commandline.h"

CommandLine CommandLine::parse(const QStringList &arguments)
{
    CommandLine result;
    const QString tryHelp = QStringLiteral(" Try \"quillmoorplayer --help\".");
    qsizetype at = 0;
    for (; at < arguments.size(); ++at) {
        const QString &argument = arguments.at(at);
        if (argument == QLatin1String("--")) {
            ++at;
            break;
        }
        if (!argument.startsWith(u'-'))
            break;
        if (argument == QLatin1String("--tty")) {
            result.tty = true;
        } else if (argument == QLatin1String("--help")) {
            result.help = true;
        } else if (argument == QLatin1String("--version")) {
            result.version = true;
        } else if (argument == QLatin1String("--language")) {
            if (++at == arguments.size()) {
                result.error = QStringLiteral("quillmoorplayer: --language needs the name of a language file.") + tryHelp;
                return result;
            }
            result.languageFile = arguments.at(at);
        } else if (argument.startsWith(QLatin1String("--language="))) {
            result.languageFile = argument.mid(argument.indexOf(u'=') + 1);
        } else {
            result.error = QStringLiteral("quillmoorplayer: unknown option \"%1\".").arg(argument) + tryHelp;
            return result;
        }
    }
    result.level = arguments.mid(at).join(u' ').remove(u'"');
    return result;
}

QString CommandLine::usage()
{
    return QStringLiteral(
        "Usage: quillmoorplayer [OPTIONS] [--] [LEVEL]\n"
        "Plays the level file LEVEL (a .qw file); without LEVEL, the bundled\n"
        "adventure QUILLMOOR.qw.\n"
        "\n"
        "Options:\n"
        "  --tty              play in the terminal instead of a window; taken\n"
        "                     without asking when there is no display\n"
        "  --language FILE    read the languages from FILE instead of Language.txt\n"
        "  --help             show this help and exit\n"
        "  --version          show the version and exit\n"
        "  --                 end of the options: what follows names the level\n"
        "\n"
        "In the terminal each line of standard input is one command; when the\n"
        "input is not a terminal, every line read is echoed after the prompt.\n");
}
