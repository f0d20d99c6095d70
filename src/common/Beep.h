#pragma once

namespace zmt {

// The system's default warning sound. Every beep of the program goes through here so that
// tests can count them.
void Beep();

// Number of beeps since the process started.
int BeepCount();

}  // namespace zmt
