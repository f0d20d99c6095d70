#pragma once

#include <QString>

namespace zmt {

// The program offers four ports, COM1..COM4.
inline constexpr int ComPortCount = 4;

// "COM1" for 1: the port's name in the menu, the settings file and every message.
inline QString ComName(int number) {
    return QStringLiteral("COM%1").arg(number);
}

}  // namespace zmt
