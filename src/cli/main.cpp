#include "Cli.h"
#include "CliOptions.h"
#include "ExitCode.h"
#include "StdioConsole.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();
    const zmt::cli::ParsedCommandLine parsed = zmt::cli::ParseCommandLine(arguments);
    if (!parsed.options) {
        std::fprintf(stderr, "zmt4824-cli: %s\nTry 'zmt4824-cli --help'.\n",
                     parsed.error.toLocal8Bit().constData());
        return zmt::cli::UsageError;
    }
    zmt::cli::StdioConsole console(parsed.options->quiet);
    zmt::cli::CliEnvironment environment{
        console, zmt::SteadyClock(), [](const auto& done) {
            while (!done()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
            return true;
        }};
    return zmt::cli::RunCli(*parsed.options, environment);
}
