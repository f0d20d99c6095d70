// The lines that say why a port did not open, as the windows' memo and the tool show them:
// the two failure lines of a COM number stay, the cause follows; a device path the user
// gave is told its cause instead of the guess "perhaps already in use".

#include "editor/PortTexts.h"
#include "language/LanguageText.h"

#include <sys/stat.h>

namespace zmt {
namespace {

using link::PortFailureKind;

link::PortFailureCause Cause(PortFailureKind kind, const QString& device = "/dev/ttyUSB0") {
    link::PortFailureCause cause;
    cause.kind = kind;
    cause.device = device;
    return cause;
}

link::PortFailureCause HeldBy(const QString& program, pid_t pid) {
    link::PortFailureCause cause = Cause(PortFailureKind::HeldByProgram);
    cause.holders = {{pid, program}};
    return cause;
}

// Held by `count` programs numbered from 101.
link::PortFailureCause HeldByMany(int count) {
    link::PortFailureCause cause = Cause(PortFailureKind::HeldByProgram);
    for (int i = 1; i <= count; ++i) cause.holders.push_back({100 + i, QString("prog%1").arg(i)});
    return cause;
}

link::PortFailureCause Denied(const char* owner, const char* group, mode_t mode) {
    link::PortFailureCause cause = Cause(PortFailureKind::PermissionDenied);
    cause.access = {owner, group, mode};
    return cause;
}

link::PortFailureCause WithAdapter(link::PortFailureCause cause, const QString& adapter) {
    cause.adapter = adapter;
    return cause;
}

struct LinesCase {
    const char* name;
    QString port;
    link::PortFailureCause cause;
    int language;
    QStringList lines;
};

class PortFailureLinesTest : public ::testing::TestWithParam<LinesCase> {};

TEST_P(PortFailureLinesTest, NameThePortAndTheCause) {
    LanguageText texts;
    texts.FillLanguageText();
    const LinesCase& c = GetParam();
    EXPECT_EQ(PortFailureLines(c.port, c.cause, texts, c.language), c.lines) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Causes, PortFailureLinesTest,
    ::testing::Values(
        LinesCase{"ComNumberWithoutACause",
                  "COM1",
                  Cause(PortFailureKind::Unknown),
                  1,
                  {"COM1  -error opening port-", "COM1 (perhaps already in use)"}},
        LinesCase{"ComNumberHeldByModemManager",
                  "COM1",
                  HeldBy("ModemManager", 812),
                  0,
                  {QString::fromUtf8("COM1  kann nicht geöffnet werden"),
                   "COM1 (eventuell bereits belegt)",
                   "  /dev/ttyUSB0 belegt durch ModemManager (PID 812)",
                   "  ModemManager anhalten (sudo systemctl stop ModemManager) oder den Adapter "
                   "mit einer udev-Regel ENV{ID_MM_DEVICE_IGNORE}=\"1\" ausnehmen (siehe README)"}},
        LinesCase{
            "DevicePathHeldByATerminalProgram",
            "/dev/ttyUSB0",
            HeldBy("minicom", 4711),
            1,
            {"/dev/ttyUSB0  -error opening port-", "  /dev/ttyUSB0 held by minicom (PID 4711)"}},
        LinesCase{
            "DevicePathUnplugged",
            "/dev/ttyUSB0",
            Cause(PortFailureKind::NotPresent),
            1,
            {"/dev/ttyUSB0  -error opening port-", "  /dev/ttyUSB0 not present (unplugged?)"}},
        LinesCase{"DevicePathBusyWithoutAHolder",
                  "/dev/ttyUSB0",
                  Cause(PortFailureKind::Unknown),
                  1,
                  {"/dev/ttyUSB0  -error opening port-", "/dev/ttyUSB0 (perhaps already in use)"}},
        LinesCase{"DevicePathNotSerial",
                  "/etc/passwd",
                  Cause(PortFailureKind::NotSerial, "/etc/passwd"),
                  1,
                  {"/etc/passwd  -error opening port-", "  /etc/passwd is not a serial device"}},
        LinesCase{"PermissionDenied",
                  "COM2",
                  Cause(PortFailureKind::PermissionDenied),
                  1,
                  {"COM2  -error opening port-", "COM2 (perhaps already in use)",
                   "  permission denied: the user must be in the group dialout"}},
        LinesCase{"DevicePathHeldByTwoPrograms",
                  "/dev/ttyUSB0",
                  HeldByMany(2),
                  1,
                  {"/dev/ttyUSB0  -error opening port-",
                   "  /dev/ttyUSB0 held by prog1 (PID 101), prog2 (PID 102)"}},
        LinesCase{"DevicePathHeldByThreeProgramsNamesAll",
                  "/dev/ttyUSB0",
                  HeldByMany(3),
                  1,
                  {"/dev/ttyUSB0  -error opening port-",
                   "  /dev/ttyUSB0 held by prog1 (PID 101), prog2 (PID 102), prog3 (PID 103)"}},
        LinesCase{"DevicePathHeldByFiveProgramsCountsTheRest",
                  "/dev/ttyUSB0",
                  HeldByMany(5),
                  0,
                  {QString::fromUtf8("/dev/ttyUSB0  kann nicht geöffnet werden"),
                   "  /dev/ttyUSB0 belegt durch prog1 (PID 101), prog2 (PID 102), prog3 (PID 103) "
                   "und 2 weitere"}},
        LinesCase{"PermissionDeniedByTheOwnerAlone",
                  "/dev/ttyUSB0",
                  Denied("root", "root", S_IFCHR | 0600),
                  1,
                  {"/dev/ttyUSB0  -error opening port-",
                   "  /dev/ttyUSB0: permission denied (owner root, group root, mode crw-------)"}},
        LinesCase{"PermissionDeniedWhereTheGroupMayOpen",
                  "COM1",
                  Denied("root", "dialout", S_IFCHR | 0660),
                  1,
                  {"COM1  -error opening port-", "COM1 (perhaps already in use)",
                   "  /dev/ttyUSB0: permission denied (owner root, group dialout, mode crw-rw----)",
                   "  the user must join the group dialout (sudo usermod -aG dialout $USER, then "
                   "log in again)"}},
        LinesCase{"PermissionDeniedWhereTheGroupMayOnlyRead",
                  "/dev/ttyUSB0",
                  Denied("uucp", "uucp", S_IFCHR | 0640),
                  0,
                  {QString::fromUtf8("/dev/ttyUSB0  kann nicht geöffnet werden"),
                   "  /dev/ttyUSB0: keine Berechtigung (Besitzer uucp, Gruppe uucp, Rechte "
                   "crw-r-----)"}},
        LinesCase{"AdapterClaimedByBrltty",
                  "COM1",
                  WithAdapter(Cause(PortFailureKind::AdapterClaimed), "USB Serial"),
                  1,
                  {"COM1  -error opening port-", "COM1 (perhaps already in use)",
                   "  USB serial adapter USB Serial is connected but has no port: brltty claimed "
                   "it (sudo apt remove brltty, or disable its udev rule)"}},
        LinesCase{"StandardPortWithoutHardware",
                  "COM1",
                  WithAdapter(Cause(PortFailureKind::NoHardwareBehind, "/dev/ttyS0"),
                              "/dev/ttyUSB0 (FT232R USB UART)"),
                  1,
                  {"COM1  -error opening port-", "COM1 (perhaps already in use)",
                   "  /dev/ttyS0 has no serial hardware; the USB serial adapter /dev/ttyUSB0 "
                   "(FT232R USB UART) is connected: assign it with \"Assign serial ports...\""}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace zmt
