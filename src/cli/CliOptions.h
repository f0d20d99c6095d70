#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace zmt::cli {

enum class Command {
    Read,
    Write,
    Verify,
    Calibrate,
    Show,
    Report,
    Ports,
    Find,
    Help,
    Version,
    Journal,
    Restore,
    Series
};

// The command line as the tool understood it.
struct CliOptions {
    Command command = Command::Help;
    QString port;              // COM1..COM4, or a device path
    QString file;              // the configuration file of write, verify, calibrate and show
    QString from;              // read: fields the meter does not hold
    QString output;            // read: where to save what was read; report: the sheet
    bool verify = false;       // write: read back and compare
    bool yes = false;          // find, restore: no confirmation
    bool otherDevice = false;  // restore: a record of another device may be written
    QStringList findPorts;
    bool json = false;
    bool csv = false;   // journal: the records as a table
    QString id;         // restore: the record
    bool last = false;  // journal: the last `lastCount` records; restore: the last record
    int lastCount = 0;
    bool quiet = false;
    int language = -1;      // 0 German, 1 English, -1 from the locale
    int count = 0;          // series: units to do, 0 until Ctrl-C
    bool noVerify = false;  // series: no read-back after each write
    QString sheets;         // series: the folder for a sheet per unit
};

struct ParsedCommandLine {
    std::optional<CliOptions> options;
    QString error;  // what is wrong, when there are no options
};

// `arguments` without the program's name.
ParsedCommandLine ParseCommandLine(const QStringList& arguments);

// The help text (also the source of the manual page).
QString HelpText();
QString VersionText();

}  // namespace zmt::cli
