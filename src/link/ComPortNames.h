#pragma once

#include <string>

namespace zmt::link {

// What COMn opens on Linux: the file comN in a folder (the program's working folder, usually
// holding a symbolic link such as com1 -> /dev/ttyUSB0) when it exists, else the standard
// device /dev/ttyS<n-1>.

// "com1" for COM1.
std::string ComLinkName(int number);
// "/dev/ttyS0" for COM1.
std::string StandardComDevice(int number);
// `folder`/comN when that exists (a dangling link counts: opening it then fails), else the
// standard device.
std::string ComPortPathIn(const std::string& folder, int number);
// The same in the working folder, as a relative "comN".
std::string ComPortPath(int number);

}  // namespace zmt::link
