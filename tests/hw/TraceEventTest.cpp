#include "sim/bridge/TraceEvent.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace zmt::sim::bridge {
namespace {

struct TraceCase {
    const char* name;
    std::string line;
    bool event;
    Device device;
    std::optional<bool> dtr, rts;
    bool reset;
};

TEST(TraceEvent, ReadsTheModemLinesOfBothDevices) {
    const auto ftdi = Device::Ftdi;
    const auto uart = Device::Uart;
    const std::vector<TraceCase> cases = {
        {"open raises both",
         "16753@1796784330.557470:usb_serial_handle_control dev 0:2 got "
         "control 0x4001, value 0x303",
         true, ftdi, true, true, false},
        {"close drops both", "usb_serial_handle_control dev 0:2 got control 0x4001, value 0x300",
         true, ftdi, false, false, false},
        {"dtr alone", "usb_serial_handle_control dev 0:2 got control 0x4001, value 0x101", true,
         ftdi, true, std::nullopt, false},
        {"rts alone, low", "usb_serial_handle_control dev 0:2 got control 0x4001, value 0x200",
         true, ftdi, std::nullopt, false, false},
        {"level without change flag",
         "usb_serial_handle_control dev 0:2 got control 0x4001, value 0x3", false, ftdi,
         std::nullopt, std::nullopt, false},
        {"reset at open", "usb_serial_handle_control dev 0:2 got control 0x4000, value 0x0", true,
         ftdi, std::nullopt, std::nullopt, true},
        {"purge is no reset", "usb_serial_handle_control dev 0:2 got control 0x4000, value 0x1",
         false, ftdi, std::nullopt, std::nullopt, false},
        {"baud rate", "usb_serial_handle_control dev 0:2 got control 0x4003, value 0x4138", false,
         ftdi, std::nullopt, std::nullopt, false},
        {"descriptor read", "usb_serial_handle_control dev 0:2 got control 0x8006, value 0x100",
         false, ftdi, std::nullopt, std::nullopt, false},
        {"mcr with out2", "16755@1796784327.341282:serial_write write addr 0x04 val 0x0b", true,
         uart, true, true, false},
        {"mcr dtr only", "serial_write write addr 0x04 val 0x09", true, uart, true, false, false},
        {"mcr low", "serial_write write addr 0x04 val 0x08", true, uart, false, false, false},
        {"transmit register", "serial_write write addr 0x00 val 0xa6", false, uart, std::nullopt,
         std::nullopt, false},
        {"line control", "serial_write write addr 0x03 val 0x03", false, uart, std::nullopt,
         std::nullopt, false},
        {"other device's event", "sh_serial_write sci0 size 1 offs 0x04 <- 0x01", false, uart,
         std::nullopt, std::nullopt, false},
        {"cut line", "usb_serial_handle_control dev 0:2 got control 0x4001, value", false, ftdi,
         std::nullopt, std::nullopt, false},
        {"empty", "", false, ftdi, std::nullopt, std::nullopt, false},
    };
    for (const auto& c : cases) {
        const auto event = ParseTraceLine(c.line);
        ASSERT_EQ(event.has_value(), c.event) << c.name;
        if (!event) continue;
        EXPECT_EQ(event->device, c.device) << c.name;
        EXPECT_EQ(event->dtr, c.dtr) << c.name;
        EXPECT_EQ(event->rts, c.rts) << c.name;
        EXPECT_EQ(event->reset, c.reset) << c.name;
    }
}

}  // namespace
}  // namespace zmt::sim::bridge
