#include "sim/bridge/TraceEvent.h"

#include <charconv>
#include <string>

namespace zmt::sim::bridge {

namespace {

// FTDI vendor requests as QEMU reports them: request type in the high byte.
constexpr int FtdiReset = 0x4000;
constexpr int FtdiSetModemControl = 0x4001;
constexpr int FtdiDtrChanges = 0x0100;
constexpr int FtdiDtrLevel = 0x0001;
constexpr int FtdiRtsChanges = 0x0200;
constexpr int FtdiRtsLevel = 0x0002;

// 16550 modem control register and its line bits.
constexpr int UartModemControl = 4;
constexpr int UartDtr = 0x01;
constexpr int UartRts = 0x02;

// The hexadecimal number after `key` in `text`, such as "value 0x303".
std::optional<int> HexAfter(std::string_view text, std::string_view key) {
    const auto at = text.find(key);
    if (at == std::string_view::npos) return std::nullopt;
    std::string_view rest = text.substr(at + key.size());
    if (rest.substr(0, 2) != "0x") return std::nullopt;
    rest.remove_prefix(2);
    int value = 0;
    const auto [end, error] = std::from_chars(rest.data(), rest.data() + rest.size(), value, 16);
    if (error != std::errc() || end == rest.data()) return std::nullopt;
    return value;
}

// What follows the event's name, once the name is found as a whole word.
std::optional<std::string_view> ArgumentsOf(std::string_view line, std::string_view event) {
    const std::string named = std::string(event) + " ";
    const auto at = line.find(named);
    if (at == std::string_view::npos) return std::nullopt;
    if (at > 0 && line[at - 1] != ':' && line[at - 1] != ' ') return std::nullopt;
    return line.substr(at + named.size());
}

std::optional<TraceEvent> FtdiControl(std::string_view args) {
    const auto request = HexAfter(args, "control ");
    const auto value = HexAfter(args, "value ");
    if (!request || !value) return std::nullopt;
    TraceEvent event;
    event.device = Device::Ftdi;
    if (*request == FtdiReset && *value == 0) {
        event.reset = true;
        return event;
    }
    if (*request != FtdiSetModemControl) return std::nullopt;
    if (*value & FtdiDtrChanges) event.dtr = (*value & FtdiDtrLevel) != 0;
    if (*value & FtdiRtsChanges) event.rts = (*value & FtdiRtsLevel) != 0;
    if (!event.dtr && !event.rts) return std::nullopt;
    return event;
}

std::optional<TraceEvent> UartWrite(std::string_view args) {
    const auto reg = HexAfter(args, "addr ");
    const auto value = HexAfter(args, "val ");
    if (!reg || !value || *reg != UartModemControl) return std::nullopt;
    return TraceEvent{Device::Uart, (*value & UartDtr) != 0, (*value & UartRts) != 0};
}

}  // namespace

std::optional<TraceEvent> ParseTraceLine(std::string_view line) {
    if (const auto args = ArgumentsOf(line, "usb_serial_handle_control")) return FtdiControl(*args);
    if (const auto args = ArgumentsOf(line, "serial_write")) return UartWrite(*args);
    return std::nullopt;
}

}  // namespace zmt::sim::bridge
