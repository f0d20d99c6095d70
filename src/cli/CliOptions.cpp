#include "cli/CliOptions.h"

#include "common/FileNames.h"

#include <map>

namespace zmt::cli {

namespace {

const std::map<QString, Command> kCommands = {
    {"read", Command::Read},           {"write", Command::Write},   {"verify", Command::Verify},
    {"calibrate", Command::Calibrate}, {"show", Command::Show},     {"report", Command::Report},
    {"ports", Command::Ports},         {"find", Command::Find},     {"journal", Command::Journal},
    {"restore", Command::Restore},     {"series", Command::Series},
};

// Which options and how many files each command takes.
struct CommandRule {
    bool needsPort;
    bool needsFile;
    QStringList options;
};

CommandRule RuleOf(Command command) {
    switch (command) {
        case Command::Read:
            return {true, false, {"--port", "--from", "--output"}};
        case Command::Write:
            return {true, true, {"--port", "--verify"}};
        case Command::Verify:
        case Command::Calibrate:
            return {true, true, {"--port"}};
        case Command::Show:
            return {false, true, {}};
        case Command::Report:
            return {false, true, {"--output"}};
        case Command::Find:
            return {false, false, {"--yes"}};
        case Command::Journal:
            return {false, false, {"--last", "--csv"}};
        case Command::Restore:
            return {true, false, {"--port", "--id", "--last", "--yes", "--other-device"}};
        case Command::Series:
            return {true, true, {"--port", "--count", "--no-verify", "--sheets"}};
        default:
            return {false, false, {}};
    }
}

// More units than a series at one interface ever reaches; a larger count is a typing error.
constexpr int kMaxSeriesCount = 100000;

const QStringList kGlobalFlags = {"--json", "--quiet", "--help", "--version"};
const QStringList kValueOptions = {"--port", "--from",  "--output", "--lang",
                                   "--id",   "--count", "--sheets"};

class Parser {
  public:
    explicit Parser(const QStringList& arguments) : arguments_(arguments) {}

    ParsedCommandLine run() {
        for (index_ = 0; index_ < arguments_.size() && error_.isEmpty(); ++index_)
            take(arguments_[index_]);
        if (error_.isEmpty()) finish();
        if (!error_.isEmpty()) return {std::nullopt, error_};
        return {options_, {}};
    }

  private:
    void take(const QString& argument) {
        if (!argument.startsWith("--") || argument == "--") return positional(argument);
        QString name = argument, value;
        const qsizetype equals = argument.indexOf('=');
        if (equals > 0) {
            name = argument.left(equals);
            value = argument.mid(equals + 1);
        } else if (name == "--last") {
            // journal --last N counts, restore --last names the newest record.
            if (index_ + 1 < arguments_.size() && IsCount(arguments_[index_ + 1]))
                value = arguments_[++index_];
        } else if (kValueOptions.contains(name)) {
            if (++index_ >= arguments_.size())
                return fail(QStringLiteral("%1 needs a value").arg(name));
            value = arguments_[index_];
        }
        // A second value would silently win over the first: which one was meant is unknown.
        if (seen_.contains(name)) return fail(QStringLiteral("%1 given twice").arg(name));
        option(name, value);
        seen_ << name;
    }

    void option(const QString& name, const QString& value) {
        if (name == "--port")
            options_.port = value;
        else if (name == "--from")
            options_.from = value;
        else if (name == "--output")
            options_.output = value;
        else if (name == "--lang")
            language(value);
        else if (name == "--id")
            options_.id = value;
        else if (name == "--last")
            last(value);
        else if (name == "--count")
            count(value);
        else if (name == "--sheets")
            options_.sheets = value;
        else if (name == "--no-verify")
            options_.noVerify = true;
        else if (name == "--csv")
            options_.csv = true;
        else if (name == "--verify")
            options_.verify = true;
        else if (name == "--yes")
            options_.yes = true;
        else if (name == "--other-device")
            options_.otherDevice = true;
        else if (name == "--json")
            options_.json = true;
        else if (name == "--quiet")
            options_.quiet = true;
        else if (name == "--help")
            help_ = true;
        else if (name == "--version")
            version_ = true;
        else
            fail(QStringLiteral("unknown option %1").arg(name));
    }

    static bool IsCount(const QString& text) {
        bool number = false;
        text.toInt(&number);
        return number;
    }

    void last(const QString& value) {
        options_.last = true;
        if (value.isEmpty()) return;
        bool number = false;
        options_.lastCount = value.toInt(&number);
        if (!number || options_.lastCount < 1)
            fail(QStringLiteral("--last takes a count of 1 or more, not '%1'").arg(value));
    }

    void count(const QString& value) {
        bool number = false;
        const qlonglong count = value.toLongLong(&number);
        if (number && count >= 1 && count <= kMaxSeriesCount) {
            options_.count = int(count);
            return;
        }
        fail(QStringLiteral("--count takes a count from 1 to %1, not '%2'")
                 .arg(kMaxSeriesCount)
                 .arg(value));
    }

    void language(const QString& value) {
        if (value == "de")
            options_.language = 0;
        else if (value == "en")
            options_.language = 1;
        else
            fail(QStringLiteral("--lang takes de or en, not '%1'").arg(value));
    }

    void positional(const QString& argument) {
        if (!command_) {
            const auto found = kCommands.find(argument);
            if (found == kCommands.end())
                return fail(QStringLiteral("unknown command '%1'").arg(argument));
            command_ = found->second;
            return;
        }
        positionals_ << argument;
    }

    void finish() {
        if (help_ || version_) {
            options_.command = help_ ? Command::Help : Command::Version;
            return;
        }
        if (!command_) return fail(QStringLiteral("no command given"));
        options_.command = *command_;
        const CommandRule rule = RuleOf(*command_);
        for (const QString& name : seen_)
            if (!kGlobalFlags.contains(name) && name != "--lang" && !rule.options.contains(name))
                return fail(QStringLiteral("%1 does not go with %2").arg(name, commandName()));
        if (rule.needsPort && options_.port.isEmpty())
            return fail(QStringLiteral("%1 needs --port PORT").arg(commandName()));
        if (*command_ == Command::Report && options_.output.isEmpty())
            return fail(QStringLiteral("report needs --output SHEET.pdf"));
        // Read by its bytes, a name that is no UTF-8 would be written under another name.
        for (const auto& [name, value] :
             {std::pair{"--output", options_.output}, std::pair{"--sheets", options_.sheets}})
            if (!IsUtf8Name(value))
                return fail(QStringLiteral("%1 '%2' is no UTF-8 name: files are written only "
                                           "under UTF-8 names")
                                .arg(QLatin1String(name), value));
        if (*command_ == Command::Journal && options_.json && options_.csv)
            return fail(QStringLiteral("journal takes --json or --csv, not both"));
        if (*command_ == Command::Journal && options_.last && options_.lastCount == 0)
            return fail(QStringLiteral("journal --last needs a count"));
        if (*command_ == Command::Restore && !options_.id.isEmpty() && options_.last)
            return fail(QStringLiteral("restore takes --id ID or --last, not both"));
        if (*command_ == Command::Restore && options_.id.isEmpty() && !options_.last)
            return fail(QStringLiteral("restore needs --id ID or --last"));
        if (*command_ == Command::Restore && options_.lastCount > 0)
            return fail(QStringLiteral("restore --last takes no count"));
        takePositionals(rule);
    }

    void takePositionals(const CommandRule& rule) {
        if (*command_ == Command::Find) {
            options_.findPorts = positionals_;
            return;
        }
        const int wanted = rule.needsFile ? 1 : 0;
        if (positionals_.size() < wanted)
            return fail(QStringLiteral("%1 needs a configuration FILE").arg(commandName()));
        if (positionals_.size() > wanted)
            return fail(QStringLiteral("unexpected argument '%1'").arg(positionals_[wanted]));
        if (wanted) options_.file = positionals_.first();
    }

    QString commandName() const {
        for (const auto& [name, command] : kCommands)
            if (command_ && command == *command_) return name;
        return {};
    }

    void fail(const QString& why) {
        if (error_.isEmpty()) error_ = why;
    }

    const QStringList& arguments_;
    qsizetype index_ = 0;
    CliOptions options_;
    std::optional<Command> command_;
    QStringList positionals_, seen_;
    bool help_ = false, version_ = false;
    QString error_;
};

}  // namespace

ParsedCommandLine ParseCommandLine(const QStringList& arguments) {
    return Parser(arguments).run();
}

QString VersionText() {
    return QStringLiteral("zmt4824-cli 6.01");
}

namespace {

// What PORT may be, as this platform resolves it.
QString PortHelp() {
#ifdef _WIN32
    return QStringLiteral(
        "PORT is COM1..COM4: COMn opens the Windows port that comN-binding.txt "
        "in the\ncurrent folder names (as the port assignment saves it), "
        "else COMn itself.");
#else
    return QStringLiteral(
        "PORT is COM1..COM4 (COMn opens ./comN in the current directory if "
        "it exists, else\n/dev/ttyS<n-1>) or a device path such as "
        "/dev/ttyUSB0.");
#endif
}

}  // namespace

QString HelpText() {
    return QStringLiteral(R"(Usage: zmt4824-cli COMMAND [OPTIONS]
Reads, writes, verifies and calibrates the ZMT 48x24 digital panel meter through its
programming interface on a serial port, without a window.

Commands:
  read      --port PORT [--from FILE] [--output FILE]
            read the meter's configuration; nothing is written to the meter. Device
            type, test input and language come from --from FILE, else from the
            first-start defaults; --output saves the result as a configuration file
  write     --port PORT FILE [--verify]
            write the configuration of FILE, as the window's write does; with
            --verify read the meter back after its restart and compare
  verify    --port PORT FILE
            read the meter and compare it with what writing FILE would give it
  calibrate --port PORT FILE
            calibrate the meter and write FILE; the two display readings come from
            standard input, one per line
  show      FILE
            evaluate FILE as the main window does
  report    FILE --output SHEET.pdf
            the configuration sheet of FILE as a PDF file (".pdf" is added when
            missing); what the meter was set to, for the plant's documentation
  journal   [--last N] [--json | --csv]
            list the journal of operations on the meter (newest last); --csv one
            column per field and 16 per image, for a spreadsheet
  restore   --port PORT (--id ID | --last) [--yes] [--other-device]
            write the image a journal record found in the meter before its
            operation back, read it back and compare; asks first unless --yes
            (without a terminal, --yes is needed). --last takes the newest
            restorable record of the device that PORT reaches; a record of
            another device (--id) is written only after a question naming both
            devices, or with --other-device
  series    --port PORT FILE [--count N] [--no-verify] [--sheets DIR]
            write FILE into one meter after another: each meter plugged into the
            interface is written (and read back and compared unless --no-verify),
            then the next is awaited once it has been taken off; one line per unit
            (--json: one object per unit and a summary), until N units (1 to
            %1) are done or Ctrl-C; --sheets saves a configuration sheet per
            unit that passed.
            Exit 0 when every unit passed, 1 when any failed, 130 when Ctrl-C
            stopped a unit under way or came before N units were done, else as
            write
  ports     list the serial devices and what COM1..COM4 reach
  find      [--yes] [PORT...]
            look for the programming interface (on the listed devices, or on all
            after a confirmation unless --yes)

%2 FILE is a configuration file
(.dig or initdig.txt) in the program's 20-line format. A FILE name that is not UTF-8
is opened by its bytes; --output and --sheets take UTF-8 names only. Each option is
given once.

What comes from files and the journal (lines, names, fields) is printed with its
control characters written out: \x1b, \t, \u009b, and a byte of a name that is not
UTF-8 as \xff. JSON output holds the values as they are.

Options:
  --json        print one JSON object (read, verify, show, ports, find, journal)
  --lang de|en  language of the output (default: from the locale)
  --quiet       no progress line
  --help        this text
  --version     the tool's version

The power and signal lines: every operation switches the meter off and on as the
program does (DTR supplies the meter, RTS switches the calibration signal to its
input). The restart that would end a command's last operation is left out, so
every command ends with the meter unpowered and the calibration signal off; the
port is always closed on exit, also on Ctrl-C, which drops DTR and RTS. During a write frame the first Ctrl-C lets the frame finish
and stops afterwards, a second one stops at once. SIGTERM and SIGHUP stop the tool
as Ctrl-C does.

Exit status:
  0 success, 1 verify found differences, 2 usage error, 3 port could not be opened,
  4 no interface, 5 no meter, 6 data incomplete or check failed (also a refused
  calibration reading), 7 file error, 130 stopped by Ctrl-C. restore: as write; 6
  also when the read-back differs, 7 when the journal or its record cannot be used.

Journal: every operation on a meter appends one line to journal.jsonl in
$XDG_DATA_HOME/zmt4824 (else ~/.local/share/zmt4824); an operation that writes
appends its first line, with what the meter held, before its write frame, and the
line of its outcome when it ends. A write without an outcome is listed as
interrupted and can be restored.
)")
        .arg(kMaxSeriesCount)
        .arg(PortHelp());
}

}  // namespace zmt::cli
