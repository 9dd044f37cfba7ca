// SPDX-License-Identifier: MIT
#include "windowsystem.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

struct Held
{
    QtMsgType type;
    const char *file;
    int line;
    const char *function;
    const char *category;
    QString text;
};

// Set only while the application object is being made.
struct Opening
{
    const char *program;
    const char *hint;
    std::vector<Held> held;
};
Opening *opening = nullptr;

std::string variable(const char *name)
{
    const char *value = std::getenv(name);
    return value ? value : "";
}

// Why no window could be opened, from the variables that name the display.
std::string reason()
{
    const std::string platform = variable("QT_QPA_PLATFORM");
    if (!platform.empty())
        return "the window system \"" + platform + "\" did not start (QT_QPA_PLATFORM=" + platform + ")";
    std::string named;
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY"}) {
        const std::string value = variable(name);
        if (!value.empty())
            named += (named.empty() ? "" : ", ") + std::string(name) + '=' + value;
    }
    if (named.empty())
        return "there is no display (DISPLAY is not set)";
    return "the display cannot be opened (" + named + ")";
}

// Qt reports a display it cannot reach with warnings before its fatal error;
// they are held, and passed on only if the window system starts after all.
void hold(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    if (type == QtFatalMsg) {
        std::fprintf(stderr, "%s: cannot open a window: %s.%s%s\n", opening->program,
                     reason().c_str(), *opening->hint ? " " : "", opening->hint);
        std::fflush(stderr);
        std::_Exit(1);
    }
    opening->held.push_back({type, context.file, context.line, context.function, context.category, text});
}

} // namespace

std::unique_ptr<QApplication> WindowSystem::open(int &argc, char **argv, const char *program, const char *hint)
{
    Opening now{program, hint, {}};
    opening = &now;
    const QtMessageHandler previous = qInstallMessageHandler(hold);
    auto application = std::make_unique<QApplication>(argc, argv);
    qInstallMessageHandler(previous);
    opening = nullptr;
    for (const Held &message : now.held)
        previous(message.type, QMessageLogContext(message.file, message.line, message.function, message.category),
                 message.text);
    return application;
}
