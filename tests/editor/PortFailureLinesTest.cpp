// The lines that say why a port did not open, as the windows' memo and the tool show them:
// the two failure lines of a COM number stay, the cause follows; a device path the user
// gave is told its cause instead of the guess "perhaps already in use".

#include "editor/PortTexts.h"
#include "language/LanguageText.h"

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
    cause.holderName = program;
    cause.holderPid = pid;
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
