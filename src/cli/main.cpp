#include "cli/Cli.h"
#include "cli/CliOptions.h"
#include "cli/ExitCode.h"
#include "cli/StdioConsole.h"
#include "cli/TerminalText.h"
#include "common/FileNames.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QGuiApplication>

#include <cstdio>
#include <memory>

#ifdef _WIN32
#include <windows.h>

#include <shellapi.h>
#endif

namespace {

#ifdef _WIN32
// Windows hands the arguments over as UTF-16; the narrow ones are in the ANSI code page and
// lose every character it lacks.
QStringList ArgumentsOf(int, char**) {
    int count = 0;
    wchar_t** wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    QStringList arguments;
    for (int i = 1; wide && i < count; ++i) arguments << QString::fromWCharArray(wide[i]);
    ::LocalFree(wide);
    return arguments;
}
#else
// Taken as file names are: a name that is no UTF-8 still opens the file it names.
QStringList ArgumentsOf(int argc, char** argv) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i) arguments << zmt::DecodeFileName(argv[i]);
    return arguments;
}
#endif

// Runs the program's events until `done`: every change the tool waits for comes as an
// event (a timer, a port notification, input, Ctrl-C), so nothing spins meanwhile. The
// condition is also looked at whenever the loop is about to block: Windows' dispatcher may
// handle a timer and wait on without returning. Once it holds it is not asked again.
bool RunEventsUntil(const std::function<bool()>& done) {
    bool finished = false;
    QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance();
    const QMetaObject::Connection look =
        QObject::connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, [&] {
            if (finished || !(finished = done())) return;
            dispatcher->interrupt();
        });
    while (!finished && !(finished = done()))
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    QObject::disconnect(look);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    const zmt::cli::ParsedCommandLine parsed = zmt::cli::ParseCommandLine(ArgumentsOf(argc, argv));
    if (!parsed.options) {
        std::fprintf(stderr, "zmt4824-cli: %s\nTry 'zmt4824-cli --help'.\n",
                     zmt::cli::TerminalText(parsed.error).toUtf8().constData());
        return zmt::cli::UsageError;
    }
    // The sheet is laid out with the toolkit's fonts, which need a (screenless) platform.
    std::unique_ptr<QCoreApplication> application;
    const bool sheets =
        parsed.options->command == zmt::cli::Command::Report || !parsed.options->sheets.isEmpty();
    if (sheets) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        application = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        application = std::make_unique<QCoreApplication>(argc, argv);
    }
    zmt::cli::StdioConsole terminal(parsed.options->quiet);
    zmt::cli::TerminalConsole console(terminal);
    zmt::cli::CliEnvironment environment{console, zmt::SteadyClock(), RunEventsUntil};
    return zmt::cli::RunCli(*parsed.options, environment);
}
