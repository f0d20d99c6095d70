// A Windows port that does not open: the core's message for each refusal of the system and
// the cause the windows and the tool tell. The prefix the tests run in has COM1..COM4 only;
// nothing here reaches a device (COM5 and COM200 do not exist, the file is no port).

#include "link/PortFailureCause.h"
#include "link/SpComPortCore.h"
#include "link/Win32CommDevice.h"

#include <QFile>
#include <QTemporaryDir>

#include <string>

namespace zmt::link {
namespace {

struct RefusalCase {
    const char* label;
    int number;
    std::string message;
    OpenFailure failure;
};

TEST(Win32PortOpenTest, APortThatDoesNotExistIsAnInvalidPortNumber) {
    const RefusalCase cases[] = {
        {"beyond the four ports", 5, "Invalid port number (COM5)", OpenFailure::NoSuchDevice},
        {"a number only the device name reaches", 200, "Invalid port number (COM200)",
         OpenFailure::NoSuchDevice},
        {"no number at all", 0, "Invalid port number (COM0)", OpenFailure::NoSuchDevice}};
    for (const RefusalCase& c : cases) {
        TSpComPortCore core;
        try {
            core.OpenPort(c.number);
            ADD_FAILURE() << c.label << ": opened";
        } catch (const ESpComPortCoreError& error) {
            EXPECT_EQ(error.what(), c.message) << c.label;
            EXPECT_EQ(error.failure(), c.failure) << c.label;
            EXPECT_EQ(DiagnoseOpenFailure(error).kind,
                      c.number > 0 ? PortFailureKind::NotPresent : PortFailureKind::Unknown)
                << c.label;
        }
        EXPECT_FALSE(core.Opened()) << c.label;
    }
}

TEST(Win32PortOpenTest, AFileThatIsNoPortCannotBeOpenedAsOne) {
    QTemporaryDir folder;
    const QString path = folder.filePath("not-a-port.txt");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    Win32CommDevice device(path.toStdString());
    const OpenResult result = device.open(1);
    EXPECT_EQ(result.failure, OpenFailure::NotSerial);
    EXPECT_FALSE(device.isOpen());
    EXPECT_EQ(DiagnosePortFailure(result.failure, path).kind, PortFailureKind::NotSerial);
}

TEST(Win32PortFailureCauseTest, WhatTheSystemSaysBecomesACauseTheUserCanActOn) {
    const struct {
        OpenFailure failure;
        PortFailureKind kind;
    } cases[] = {{OpenFailure::NoSuchDevice, PortFailureKind::NotPresent},
                 // "Access denied": another program holds the port; the system does not say which.
                 {OpenFailure::Busy, PortFailureKind::HeldByProgram},
                 {OpenFailure::PermissionDenied, PortFailureKind::PermissionDenied},
                 {OpenFailure::NotSerial, PortFailureKind::NotSerial},
                 {OpenFailure::Other, PortFailureKind::Unknown}};
    for (const auto& c : cases) {
        const PortFailureCause cause = DiagnosePortFailure(c.failure, QStringLiteral("COM3"));
        EXPECT_EQ(cause.kind, c.kind) << int(c.failure);
        EXPECT_EQ(cause.device, QStringLiteral("COM3"));
        EXPECT_TRUE(cause.holders.empty());
    }
}

}  // namespace
}  // namespace zmt::link
