#pragma once

#include <optional>
#include <string_view>

namespace zmt::sim::bridge {

// The two emulated serial devices whose modem lines reach the host through QEMU's trace.
enum class Device { Ftdi, Uart };

// What one trace line says about a device's modem lines. A line that changes neither
// DTR nor RTS leaves the field empty.
struct TraceEvent {
    Device device = Device::Ftdi;
    std::optional<bool> dtr;
    std::optional<bool> rts;
    bool reset = false;  // the FTDI driver resets the chip at every open of the port
};

// Reads one line of QEMU's trace log (with or without the "pid@seconds:" prefix):
// usb_serial_handle_control for the FTDI adapter's modem-control and reset requests,
// serial_write to the 16550's modem control register. Anything else: empty.
std::optional<TraceEvent> ParseTraceLine(std::string_view line);

}  // namespace zmt::sim::bridge
