#pragma once

// How long the meter is given from power-up before it is spoken to: the exchange waits
// this long after switching DTR on before its first byte, the tool holds a restart this long
// before it reads the display, and the series looks for a meter only after it. The
// simulator's timeline checks take the same figure.

namespace zmt::link {

inline constexpr int MeterStartupMs = 1600;

// The shortest power-up the tool ever gives the meter: a briefer one would be a blip that
// resets it half-way.
inline constexpr int ShortestPowerUpMs = 300;

}  // namespace zmt::link
